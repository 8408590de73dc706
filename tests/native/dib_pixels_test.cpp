// Device-independent bitmap rows of high bytes: padding to 4 bytes, sample order kept.
#include <gtest/gtest.h>

#include <vector>

#include "Render/Kernels/DibPixels.h"

using namespace Render::Kernels;

TEST(DibPixels, RowStrideIsPaddedToFourBytes) {
    EXPECT_EQ(DibRowStride(1, 1), 4u);
    EXPECT_EQ(DibRowStride(4, 1), 4u);
    EXPECT_EQ(DibRowStride(5, 1), 8u);
    EXPECT_EQ(DibRowStride(1, 3), 4u);
    EXPECT_EQ(DibRowStride(13, 3), 40u);
    EXPECT_EQ(DibRowStride(640, 3), 1920u);
    EXPECT_EQ(DibRowStride(0, 3), 0u);
    EXPECT_EQ(DibRowStride(0xFFFFFFFFu, 3), 0x300000000ull);  // no 32-bit wrap
}

TEST(DibPixels, ColourRowsKeepTheSampleOrderAndPadWithZero) {
    // 3 x 2 pixels: rows of 9 bytes padded to 12.
    std::vector<uint16_t> samples(18);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = uint16_t((i + 1) << 8 | 0xFF);
    std::vector<uint8_t> out(24, 0xEE);
    PackHighBytes(samples.data(), 3, 2, 3, out.data());
    EXPECT_EQ(out, (std::vector<uint8_t>{1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,  //
                                         10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0}));
}

TEST(DibPixels, GreyRowsOfAnOddWidth) {
    const std::vector<uint16_t> samples = {0x01FF, 0x0200, 0x03AA, 0x0455, 0x0500, 0x0600};
    std::vector<uint8_t> out(8, 0xEE);
    PackHighBytes(samples.data(), 3, 2, 1, out.data());
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));
}
