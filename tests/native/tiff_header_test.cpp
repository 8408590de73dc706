// The TIFF header bytes field by field, the refusal of values that do not fit
// their fields, the pixel reordering and the file-name rule.
#include <gtest/gtest.h>

#include <vector>

#include "Common/FileExtension.h"
#include "Render/Kernels/TiffHeader.h"

using namespace Render::Kernels;

namespace {

uint32_t At16(const TiffHeader& h, uint32_t offset) { return h.bytes[offset] | h.bytes[offset + 1] << 8; }
uint32_t At32(const TiffHeader& h, uint32_t offset) { return At16(h, offset) | At16(h, offset + 2) << 16; }

struct Entry {
    uint32_t tag, type, count, value;
};

Entry EntryAt(const TiffHeader& h, uint32_t index) {
    const uint32_t at = 10 + 12 * index;
    return {At16(h, at), At16(h, at + 2), At32(h, at + 4), At32(h, at + 8)};
}

void ExpectEntry(const TiffHeader& h, uint32_t index, uint32_t tag, uint32_t type, uint32_t value) {
    const Entry e = EntryAt(h, index);
    EXPECT_EQ(e.tag, tag) << "entry " << index;
    EXPECT_EQ(e.type, type) << "entry " << index;
    EXPECT_EQ(e.count, 1u) << "entry " << index;
    EXPECT_EQ(e.value, value) << "entry " << index;
    if (type == 3) {
        EXPECT_EQ(At16(h, 10 + 12 * index + 10), 0u) << "a SHORT leaves the upper half zero";
    }
}

}  // namespace

TEST(TiffHeader, GreyHeaderFieldByField) {
    const TiffHeader h = MakeTiffGrayHeader(640, 480, 16);
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.size, 110u);
    EXPECT_EQ(h.directorySize, 102u);
    EXPECT_EQ(h.stripByteCount, 640u * 480 * 2);
    EXPECT_EQ(h.bytes[0], 'I');
    EXPECT_EQ(h.bytes[1], 'I');
    EXPECT_EQ(At16(h, 2), 42u);
    EXPECT_EQ(At32(h, 4), 8u);
    EXPECT_EQ(At16(h, 8), 8u);
    ExpectEntry(h, 0, 256, 3, 640);
    ExpectEntry(h, 1, 257, 3, 480);
    ExpectEntry(h, 2, 258, 3, 16);
    ExpectEntry(h, 3, 259, 3, 1);
    ExpectEntry(h, 4, 262, 3, 1);
    ExpectEntry(h, 5, 273, 4, 110);
    ExpectEntry(h, 6, 278, 3, 480);
    ExpectEntry(h, 7, 279, 4, 640 * 480 * 2);
    EXPECT_EQ(At32(h, 106), 0u);
    for (uint32_t i = 110; i < h.bytes.size(); ++i) EXPECT_EQ(h.bytes[i], 0) << "beyond the grey header at " << i;
}

TEST(TiffHeader, RgbHeaderListsSamplesPerPixelLast) {
    const TiffHeader h = MakeTiffRgbHeader(640, 480, 48);
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.size, 122u);
    EXPECT_EQ(h.directorySize, 114u);
    EXPECT_EQ(h.stripByteCount, 640u * 480 * 6);
    EXPECT_EQ(At16(h, 0), 0x4949u);
    EXPECT_EQ(At16(h, 2), 42u);
    EXPECT_EQ(At32(h, 4), 8u);
    EXPECT_EQ(At16(h, 8), 9u);
    ExpectEntry(h, 0, 256, 3, 640);
    ExpectEntry(h, 1, 257, 3, 480);
    ExpectEntry(h, 2, 258, 3, 16);  // one count, per sample
    ExpectEntry(h, 3, 259, 3, 1);
    ExpectEntry(h, 4, 262, 3, 2);
    ExpectEntry(h, 5, 273, 4, 122);
    ExpectEntry(h, 6, 278, 3, 480);
    ExpectEntry(h, 7, 279, 4, 640 * 480 * 6);
    ExpectEntry(h, 8, 277, 3, 3);
    EXPECT_EQ(At32(h, 118), 0u);
}

TEST(TiffHeader, ValuesThatDoNotFitTheirFieldsAreRefused) {
    EXPECT_FALSE(MakeTiffGrayHeader(65536, 1, 16).valid);
    EXPECT_FALSE(MakeTiffGrayHeader(1, 65536, 16).valid);
    EXPECT_FALSE(MakeTiffRgbHeader(70000, 480, 48).valid);
    EXPECT_FALSE(MakeTiffRgbHeader(640, 100000, 48).valid);
    EXPECT_FALSE(MakeTiffGrayHeader(1, 1, 65536).valid);
    // Dimensions that fit but a strip of 4 GiB or more: StripByteCounts is 32 bits.
    EXPECT_FALSE(MakeTiffRgbHeader(65535, 65535, 48).valid);
    EXPECT_TRUE(MakeTiffGrayHeader(65535, 32768, 16).valid);  // 4 GiB - 128 KiB
    const TiffHeader largest = MakeTiffRgbHeader(65535, 1, 48);
    EXPECT_TRUE(largest.valid);
    EXPECT_EQ(EntryAt(largest, 0).value, 65535u);
}

TEST(TiffHeader, ReverseSampleOrderSwapsBlueAndRedSamplesOnly) {
    const std::vector<uint8_t> in = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16};
    std::vector<uint8_t> out(in.size() + 1, 0xEE);  // one guard byte
    ReverseSampleOrder48(in.data(), 2, out.data());
    EXPECT_EQ(out,
              (std::vector<uint8_t>{0x05, 0x06, 0x03, 0x04, 0x01, 0x02, 0x15, 0x16, 0x13, 0x14, 0x11, 0x12, 0xEE}));
}

TEST(FrameFileName, ReplacesOnlyTheExtensionOfTheLastComponent) {
    EXPECT_EQ(WithFileExtension(L"C:\\shots\\frame.raw", L".tif"), L"C:\\shots\\frame.tif");
    EXPECT_EQ(WithFileExtension(L"C:\\shots\\frame", L".bmp"), L"C:\\shots\\frame.bmp");
    EXPECT_EQ(WithFileExtension(L"C:\\my.shots\\2024-01-02-03-04-05-7", L".tif"),
              L"C:\\my.shots\\2024-01-02-03-04-05-7.tif");
    EXPECT_EQ(WithFileExtension(L"C:/my.shots/frame", L".tif"), L"C:/my.shots/frame.tif");
    EXPECT_EQ(WithFileExtension(L"C:\\a.b\\c.d.e", L".tif"), L"C:\\a.b\\c.d.tif");
    EXPECT_EQ(WithFileExtension(L"frame.", L".tif"), L"frame.tif");
    EXPECT_EQ(WithFileExtension(L"frame", L".tif"), L"frame.tif");
    EXPECT_EQ(WithFileExtension(L"", L".bmp"), L".bmp");
}
