// Binning against a direct block sum, over random sizes (including frames
// smaller than one block) under the sanitizers.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Render/Kernels/Binning.h"

using namespace Render::Kernels;

namespace {

uint16_t ReferenceBin(const std::vector<uint16_t>& in, uint32_t width, uint32_t spp, uint32_t b, uint32_t ox,
                      uint32_t oy, uint32_t s) {
    uint32_t sum = 0;
    for (uint32_t y = oy * b; y < oy * b + b; ++y)
        for (uint32_t x = ox * b; x < ox * b + b; ++x) sum += in[(uint64_t(y) * width + x) * spp + s];
    uint32_t value = sum - (b * b - 1) * 768u;
    return value > 65535u ? 65535 : uint16_t(value);
}

}  // namespace

TEST(Binning, FourThousandsGiveSixteenNinetySix) {
    std::vector<uint16_t> in(4, 1000), out(1);
    ASSERT_TRUE(BinFrame(in.data(), 2, 2, 1, 2, out.data()));
    EXPECT_EQ(out[0], 1696);
}

TEST(Binning, DarkBlocksAndOverflowClampToTheTop) {
    std::vector<uint16_t> dark(16, 0), bright(16, 65535), out(1);
    ASSERT_TRUE(BinFrame(dark.data(), 4, 4, 1, 4, out.data()));
    EXPECT_EQ(out[0], 65535);  // below the offset: wraps and clamps
    ASSERT_TRUE(BinFrame(bright.data(), 4, 4, 1, 4, out.data()));
    EXPECT_EQ(out[0], 65535);
}

TEST(Binning, OtherFactorsProduceNothing) {
    std::vector<uint16_t> in(9, 1), out(1, 7);
    EXPECT_FALSE(BinFrame(in.data(), 3, 3, 1, 3, out.data()));
    EXPECT_FALSE(BinFrame(in.data(), 3, 3, 1, 1, out.data()));
    EXPECT_EQ(out[0], 7);
    EXPECT_EQ(BinnedSampleCount(1000, 1000, 1, 2), 250000u);
    EXPECT_EQ(BinnedSampleCount(7, 9, 3, 8), 0u);
}

TEST(Binning, RandomFramesMatchTheBlockSums) {
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        const uint32_t b = 2u << (random() % 3);
        const uint32_t spp = random() % 2 ? 3 : 1;
        const uint32_t width = 1 + random() % 700, height = 1 + random() % 40;
        std::vector<uint16_t> in(uint64_t(width) * height * spp);
        for (uint16_t& v : in) v = uint16_t(random() % 3 ? random() % 4096 : random());
        std::vector<uint16_t> out(BinnedSampleCount(width, height, spp, b));
        ASSERT_TRUE(BinFrame(in.data(), width, height, spp, b, out.data()));
        for (uint32_t oy = 0; oy < height / b; ++oy)
            for (uint32_t ox = 0; ox < width / b; ++ox)
                for (uint32_t s = 0; s < spp; ++s)
                    ASSERT_EQ(out[(uint64_t(oy) * (width / b) + ox) * spp + s],
                              ReferenceBin(in, width, spp, b, ox, oy, s))
                        << width << "x" << height << " spp " << spp << " b " << b;
    }
}
