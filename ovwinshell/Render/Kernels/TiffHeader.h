#pragma once
// The uncompressed one-strip TIFF header of the frame files: the 8-byte file
// header followed by the image file directory, little-endian whatever the
// host. Also the pixel reordering and the file-name rule of the frame writers.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace Render::Kernels {

constexpr uint32_t kTiffFileHeaderSize = 8;
constexpr uint32_t kTiffEntrySize = 12;
constexpr uint32_t kTiffGrayEntries = 8;
constexpr uint32_t kTiffRgbEntries = 9;
// Directory: entry count (2), entries, next-directory offset (4).
constexpr uint32_t kTiffGrayDirectorySize = 2 + kTiffGrayEntries * kTiffEntrySize + 4;  // 102
constexpr uint32_t kTiffRgbDirectorySize = 2 + kTiffRgbEntries * kTiffEntrySize + 4;    // 114
constexpr uint32_t kTiffGrayDataOffset = kTiffFileHeaderSize + kTiffGrayDirectorySize;  // 110
constexpr uint32_t kTiffRgbDataOffset = kTiffFileHeaderSize + kTiffRgbDirectorySize;    // 122
// ImageWidth, ImageLength, BitsPerSample and RowsPerStrip are SHORT fields.
constexpr uint32_t kTiffMaxShort = 65535;

// The complete header as it goes into the file. A header whose values do not
// fit their fields (a dimension or bit count above 65535, a strip of 4 GiB or
// more) is not valid and must not be written.
struct TiffHeader {
    std::array<uint8_t, kTiffRgbDataOffset> bytes{};  // the first `size` bytes are used
    uint32_t size = 0;                                // 110 (grey) or 122 (RGB): where the samples start
    uint32_t directorySize = 0;                       // size - 8
    uint32_t stripByteCount = 0;                      // the sample bytes that follow
    bool valid = false;
};

// One channel of bitsPerSample bits; PhotometricInterpretation 1 (black is zero).
TiffHeader MakeTiffGrayHeader(uint32_t width, uint32_t height, uint32_t bitsPerSample);

// Three channels of bitsPerPixel / 3 bits each; PhotometricInterpretation 2 (RGB),
// SamplesPerPixel 3 listed last.
TiffHeader MakeTiffRgbHeader(uint32_t width, uint32_t height, uint32_t bitsPerPixel);

// Copies pixelCount pixels of three 16-bit samples, reversing the sample order
// of each pixel (blue, green, red becomes red, green, blue). The bytes of each
// sample are kept as they are. in and out must not overlap.
void ReverseSampleOrder48(const uint8_t* in, uint64_t pixelCount, uint8_t* out);

}  // namespace Render::Kernels
