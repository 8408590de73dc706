#pragma once
// The frame files' own TIFF writer: uncompressed, one strip, 16-bit grey or
// 48-bit RGB. An image object is the file header; Write puts it and the
// caller's sample bytes into a file.
#include <windows.h>

#include <cstdint>
#include <string>

#include "Render/Kernels/TiffHeader.h"

class CTiffFormat {
public:
    virtual ~CTiffFormat();

    // Creates (or replaces) path with ".tif" in place of the file's own
    // extension and writes the 8-byte header, the directory and
    // StripByteCount() bytes from sampleBytes. False when a step fails (a
    // partly written file stays), and without creating a file when the
    // image's width, height or size do not fit the TIFF fields.
    bool Write(const std::wstring& path, const void* sampleBytes) const;

    bool Fits() const { return header_.valid; }
    uint32_t DataOffset() const { return header_.size; }
    uint32_t StripByteCount() const { return header_.stripByteCount; }
    const uint8_t* HeaderBytes() const { return header_.bytes.data(); }

protected:
    explicit CTiffFormat(const Render::Kernels::TiffHeader& header) : header_(header) {}

private:
    Render::Kernels::TiffHeader header_;
};

// One channel; samples row by row from the top.
class CTiffGrayImage : public CTiffFormat {
public:
    CTiffGrayImage(uint32_t width, uint32_t height, uint32_t bitsPerSample);
    ~CTiffGrayImage() override;
};

// Three channels, samples red, green, blue per pixel; bitsPerPixel is 48.
class CTiffRGBImage : public CTiffFormat {
public:
    CTiffRGBImage(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
    ~CTiffRGBImage() override;
};
