#include "TiffHeader.h"

namespace Render::Kernels {

namespace {

enum : uint16_t { kTypeShort = 3, kTypeLong = 4 };

enum : uint16_t {
    kTagImageWidth = 256,
    kTagImageLength = 257,
    kTagBitsPerSample = 258,
    kTagCompression = 259,
    kTagPhotometric = 262,
    kTagStripOffsets = 273,
    kTagSamplesPerPixel = 277,
    kTagRowsPerStrip = 278,
    kTagStripByteCounts = 279,
};

class HeaderBuilder {
public:
    explicit HeaderBuilder(TiffHeader& header) : bytes_(header.bytes.data()) {}

    void Put16(uint32_t value) {
        bytes_[at_++] = uint8_t(value);
        bytes_[at_++] = uint8_t(value >> 8);
    }
    void Put32(uint32_t value) {
        Put16(value & 0xFFFFu);
        Put16(value >> 16);
    }
    // A SHORT value sits in the first two bytes of the 4-byte value field,
    // which as a little-endian 32-bit number is the value itself.
    void Entry(uint16_t tag, uint16_t type, uint32_t value) {
        Put16(tag);
        Put16(type);
        Put32(1);
        Put32(value);
    }
    uint32_t Position() const { return at_; }

private:
    uint8_t* bytes_;
    uint32_t at_ = 0;
};

bool FitsShort(uint64_t value) { return value <= kTiffMaxShort; }

TiffHeader Build(uint32_t width, uint32_t height, uint32_t bitsPerSample, uint32_t bitsPerPixel, bool rgb) {
    TiffHeader header;
    const uint32_t entries = rgb ? kTiffRgbEntries : kTiffGrayEntries;
    header.directorySize = rgb ? kTiffRgbDirectorySize : kTiffGrayDirectorySize;
    header.size = rgb ? kTiffRgbDataOffset : kTiffGrayDataOffset;

    const uint64_t stripBytes = uint64_t(width) * height * bitsPerPixel / 8;
    header.valid = FitsShort(width) && FitsShort(height) && FitsShort(bitsPerSample) && stripBytes <= UINT32_MAX;
    header.stripByteCount = uint32_t(stripBytes);

    HeaderBuilder out(header);
    out.Put16(0x4949);  // "II"
    out.Put16(42);
    out.Put32(kTiffFileHeaderSize);
    out.Put16(entries);
    out.Entry(kTagImageWidth, kTypeShort, width);
    out.Entry(kTagImageLength, kTypeShort, height);
    out.Entry(kTagBitsPerSample, kTypeShort, bitsPerSample);
    out.Entry(kTagCompression, kTypeShort, 1);
    out.Entry(kTagPhotometric, kTypeShort, rgb ? 2 : 1);
    out.Entry(kTagStripOffsets, kTypeLong, header.size);
    out.Entry(kTagRowsPerStrip, kTypeShort, height);
    out.Entry(kTagStripByteCounts, kTypeLong, header.stripByteCount);
    if (rgb) out.Entry(kTagSamplesPerPixel, kTypeShort, 3);
    out.Put32(0);  // no next directory
    return header;
}

}  // namespace

TiffHeader MakeTiffGrayHeader(uint32_t width, uint32_t height, uint32_t bitsPerSample) {
    return Build(width, height, bitsPerSample, bitsPerSample, false);
}

TiffHeader MakeTiffRgbHeader(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    return Build(width, height, bitsPerPixel / 3, bitsPerPixel, true);
}

void ReverseSampleOrder48(const uint8_t* in, uint64_t pixelCount, uint8_t* out) {
    for (uint64_t i = 0; i < pixelCount; ++i, in += 6, out += 6) {
        out[0] = in[4];
        out[1] = in[5];
        out[2] = in[2];
        out[3] = in[3];
        out[4] = in[0];
        out[5] = in[1];
    }
}

}  // namespace Render::Kernels
