// Device-independent bitmap rows of high bytes: padding to 4 bytes, sample order kept.
#include <gtest/gtest.h>

#include <random>
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
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,  //
                                         10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0}));
}

TEST(DibPixels, RandomGreyFramesGiveTheHighBytes) {
    std::mt19937 random(4242);
    for (int round = 0; round < 100; ++round) {
        const uint32_t width = 1 + random() % 37, height = 1 + random() % 9;
        const uint32_t spp = random() % 2 ? 3 : 1;
        std::vector<uint16_t> samples(uint64_t(width) * height * spp);
        for (uint16_t& s : samples) s = uint16_t(random());
        const uint64_t stride = DibRowStride(width, spp);
        std::vector<uint8_t> out(stride * height);
        PackHighBytes(samples.data(), width, height, spp, out.data());
        for (uint32_t y = 0; y < height; ++y)
            for (uint64_t k = 0; k < stride; ++k) {
                const uint8_t expected = k < uint64_t(width) * spp ? samples[y * width * spp + k] >> 8 : 0;
                ASSERT_EQ(out[y * stride + k], expected) << width << "x" << height << " spp " << spp;
            }
    }
}
