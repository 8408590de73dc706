#pragma once
// A frame of 8-bit data (the high byte of each 16-bit sample) as a GDI+
// bitmap, saved through the BMP encoder. One object serves one save: it starts
// GDI+ and builds the bitmap on construction and releases both on destruction.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Gdiplus {
class GpBitmap;
}

class CBmpImage {
public:
    // bits 16: one sample per pixel, an 8-bit bitmap with a grey palette;
    // bits 48: blue, green, red samples, a 24-bit bitmap. Other bit counts (and
    // sizes a bitmap cannot describe) make no bitmap. samples hold width x height
    // pixels and are copied.
    CBmpImage(uint32_t width, uint32_t height, uint32_t bits, const uint16_t* samples);
    ~CBmpImage();
    CBmpImage(const CBmpImage&) = delete;
    CBmpImage& operator=(const CBmpImage&) = delete;

    // Writes path with ".bmp" in place of the file's own extension through the
    // first encoder of MIME type "image/bmp"; true when the file was saved.
    bool SaveBmp(const std::wstring& path);

    bool HasBitmap() const { return bitmap_ != nullptr; }
    // The GDI+ status of the last step (0 when it succeeded).
    int Status() const { return status_; }

private:
    bool Build(uint32_t width, uint32_t height, uint32_t bits, const uint16_t* samples);

    ULONG_PTR token_ = 0;
    bool started_ = false;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
    std::vector<uint8_t> info_;    // BITMAPINFOHEADER, with the palette for 8 bits
    std::vector<uint8_t> pixels_;  // the bitmap's rows; GDI+ may refer to them
    int status_ = 0;
};
