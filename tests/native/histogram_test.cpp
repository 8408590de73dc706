// The histogram kernels against direct counting: raw counts with the gain
// shift, display bins, the reference rule and bar heights; random frames
// under the sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "Render/Kernels/FrameStatistics.h"
#include "Render/Kernels/Histogram.h"

using namespace Render::Kernels;

namespace {

struct Tables {
    std::vector<uint32_t> raw = std::vector<uint32_t>(65536, 0xDEAD);
    std::vector<uint32_t> spare = std::vector<uint32_t>(65536, 0xBEEF);
};

std::vector<uint32_t> ReferenceRaw(const std::vector<uint16_t>& frame, uint32_t width, uint32_t height, uint32_t layout,
                                   uint32_t shift) {
    std::vector<uint32_t> raw(65536, 0);
    const uint32_t perPixel = layout == 2 ? 3 : 1, which = layout == 2 ? 1 : 0;
    for (uint64_t i = 0; i < uint64_t(width) * height; ++i) {
        uint64_t v = shift >= 64 ? 0 : (uint64_t(frame[i * perPixel + which]) << shift) & 0xFFFFFFFFull;
        raw[std::min<uint64_t>(v, 65535)] += 1;
    }
    return raw;
}

std::vector<uint32_t> ReferenceBins(const std::vector<uint32_t>& raw, uint32_t n) {
    std::vector<uint32_t> bins(n, 0);
    if (n == 256 || n == 512 || n == 1024 || n == 2048 || n == 4096 || n == 8192)
        for (uint32_t v = 0; v < 65536; ++v) bins[v / (65536 / n)] += raw[v];
    return bins;
}

}  // namespace

TEST(Histogram, UniformFrameFillsOneBin) {
    std::vector<uint16_t> frame(13 * 7, 3000);
    Tables t;
    CountRawHistogram(frame.data(), 13, 7, kLayoutMono, 0, t.raw.data(), t.spare.data());
    EXPECT_EQ(t.raw[3000], 91u);
    EXPECT_EQ(std::count(t.raw.begin(), t.raw.end(), 0u), 65535);
    std::vector<uint32_t> bins(512, 77);
    BinHistogram(t.raw.data(), 512, bins.data());
    EXPECT_EQ(bins[3000 / 128], 91u);
    EXPECT_EQ(std::count(bins.begin(), bins.end(), 0u), 511);
    const HistogramReference r = FindHistogramReference(bins.data(), 512);
    EXPECT_EQ(r.top, 91u);
    EXPECT_EQ(r.second, 0u);
    EXPECT_EQ(r.reference, 91u);
}

TEST(Histogram, With512BinsEachBinCovers128RawValues) {
    std::vector<uint32_t> raw(65536, 0);
    for (uint32_t v = 0; v < 65536; ++v) raw[v] = v % 128 == 0 ? 1000 : v % 128 == 127 ? 1 : 0;
    std::vector<uint32_t> bins(512);
    BinHistogram(raw.data(), 512, bins.data());
    for (uint32_t j = 0; j < 512; ++j) ASSERT_EQ(bins[j], 1001u) << j;
    // One raw value at each end of bin 5: 640 and 767 land in it, 639 and 768 do not.
    std::fill(raw.begin(), raw.end(), 0u);
    raw[640] = 1;
    raw[767] = 2;
    raw[639] = 4;
    raw[768] = 8;
    BinHistogram(raw.data(), 512, bins.data());
    EXPECT_EQ(bins[5], 3u);
    EXPECT_EQ(bins[4], 4u);
    EXPECT_EQ(bins[6], 8u);
}

TEST(Histogram, OtherBinCountsStayZero) {
    std::vector<uint32_t> raw(65536, 1), bins(300, 5);
    BinHistogram(raw.data(), 300, bins.data());
    EXPECT_EQ(std::count(bins.begin(), bins.end(), 0u), 300);
    EXPECT_FALSE(IsHistogramBinCount(128));
    EXPECT_FALSE(IsHistogramBinCount(16384));
    for (uint32_t n : {256u, 512u, 1024u, 2048u, 4096u, 8192u}) EXPECT_TRUE(IsHistogramBinCount(n));
    BinHistogram(raw.data(), 0, nullptr);  // nothing to clear
}

TEST(Histogram, GainShiftMovesAndClampsCounts) {
    std::vector<uint16_t> frame = {0, 1, 0x4000, 0x3FFF, 0xFFFF, 0x8001};
    Tables t;
    CountRawHistogram(frame.data(), 6, 1, kLayoutMono, 2, t.raw.data(), t.spare.data());
    EXPECT_EQ(t.raw[0], 1u);
    EXPECT_EQ(t.raw[4], 1u);
    EXPECT_EQ(t.raw[0xFFFC], 1u);
    EXPECT_EQ(t.raw[65535], 3u);  // 0x4000 << 2 = 0x10000 and above clamp
    // From 16 on a sample keeps only its low bits: any of them saturates, none gives 0.
    CountRawHistogram(frame.data(), 6, 1, kLayoutMono, 31, t.raw.data(), t.spare.data());
    EXPECT_EQ(t.raw[0], 2u);  // 0 and 0x4000 (bit 0 clear)
    EXPECT_EQ(t.raw[65535], 4u);
    CountRawHistogram(frame.data(), 6, 1, kLayoutMono, 32, t.raw.data(), t.spare.data());
    EXPECT_EQ(t.raw[0], 6u);
}

TEST(Histogram, ReferenceRule) {
    // top 200, second 100: 200 > 130, so the second is the reference.
    std::vector<uint32_t> bins = {5, 200, 100, 0, 100, 7};
    HistogramReference r = FindHistogramReference(bins.data(), uint32_t(bins.size()));
    EXPECT_EQ(r.top, 200u);
    EXPECT_EQ(r.second, 100u);
    EXPECT_EQ(r.reference, 100u);
    // top 130, second 100: not above 1.3 x 100, the top is the reference.
    bins = {130, 100, 130};
    r = FindHistogramReference(bins.data(), 3);
    EXPECT_EQ(r.second, 100u);
    EXPECT_EQ(r.reference, 130u);
    bins = {131, 100};
    EXPECT_EQ(FindHistogramReference(bins.data(), 2).reference, 100u);
    // Equal peaks: the second is the next lower value.
    bins = {50, 50, 10};
    r = FindHistogramReference(bins.data(), 3);
    EXPECT_EQ(r.top, 50u);
    EXPECT_EQ(r.second, 10u);
    EXPECT_EQ(r.reference, 10u);
    // Nothing counted.
    bins = {0, 0};
    r = FindHistogramReference(bins.data(), 2);
    EXPECT_EQ(r.reference, 0u);
    EXPECT_EQ(FindHistogramReference(nullptr, 0).reference, 0u);
}

TEST(Histogram, BarsScaleAndClip) {
    EXPECT_EQ(HistogramBaseline(220), 200);
    EXPECT_EQ(HistogramBaseline(22), 3);
    EXPECT_EQ(HistogramBaseline(0), 3);
    // Normalised: the reference reaches row 2 exactly.
    const float scale = HistogramScale(396, 200, true);
    EXPECT_FLOAT_EQ(scale, 2.0f);
    EXPECT_EQ(HistogramBarTop(396, scale, 200), 2);
    EXPECT_EQ(HistogramBarTop(100, scale, 200), 150);
    EXPECT_EQ(HistogramBarTop(3, scale, 200), 199);  // 1.5 rows truncate to 1
    EXPECT_EQ(HistogramBarTop(0, scale, 200), 200);
    // Off: one count per row, taller bars clipped at row 2.
    EXPECT_EQ(HistogramScale(396, 200, false), 1.0f);
    EXPECT_EQ(HistogramScale(0, 200, true), 1.0f);
    EXPECT_EQ(HistogramBarTop(150, 1.0f, 200), 50);
    EXPECT_EQ(HistogramBarTop(198, 1.0f, 200), 2);
    EXPECT_EQ(HistogramBarTop(199, 1.0f, 200), 2);
    EXPECT_EQ(HistogramBarTop(4000000000u, 1.0f, 200), 2);
    EXPECT_EQ(HistogramBarTop(4000000000u, 1e-9f, 2000000000), 2);
}

TEST(Histogram, RandomFramesMatchDirectCounting) {
    std::mt19937 random(99);
    const uint32_t shifts[] = {0, 0, 1, 2, 5, 8, 15, 16, 20, 31, 32};
    const uint32_t layouts[] = {kLayoutMono, kLayoutBayer, kLayoutBgr, 5};
    const uint32_t binCounts[] = {256, 512, 1024, 2048, 4096, 8192};
    Tables t;
    for (int round = 0; round < 150; ++round) {
        uint32_t width = 1 + random() % 70, height = 1 + random() % 25;
        if (round < 6) width = height = 1;
        if (round % 40 == 3) width = 1027;
        const uint32_t layout = layouts[random() % 4], shift = shifts[random() % std::size(shifts)];
        std::vector<uint16_t> frame(FrameSampleCount(width, height, layout));
        const uint32_t kind = random() % 3;
        for (uint16_t& v : frame) v = uint16_t(kind == 0 ? random() : kind == 1 ? random() % 4096 : 777);
        CountRawHistogram(frame.data(), width, height, layout, shift, t.raw.data(), t.spare.data());
        const std::vector<uint32_t> expected = ReferenceRaw(frame, width, height, layout, shift);
        ASSERT_TRUE(t.raw == expected) << "round " << round << " layout " << layout << " shift " << shift;
        const uint32_t n = binCounts[random() % 6];
        std::vector<uint32_t> bins(n);
        BinHistogram(t.raw.data(), n, bins.data());
        ASSERT_TRUE(bins == ReferenceBins(expected, n)) << round;
        uint64_t total = 0;
        for (uint32_t b : bins) total += b;
        ASSERT_EQ(total, uint64_t(width) * height);
    }
}

// Counting straight into the display bins gives the bins of the raw counts,
// for shifts on both sides of the bin width and every layout.
TEST(Histogram, DirectBinCountsEqualTheBinnedRawCounts) {
    std::mt19937 random(123);
    const uint32_t shifts[] = {0, 0, 0, 1, 3, 7, 8, 9, 16, 31};
    const uint32_t layouts[] = {kLayoutMono, kLayoutBayer, kLayoutBgr, 5};
    const uint32_t binCounts[] = {256, 512, 1024, 2048, 4096, 8192, 300, 128};
    Tables t;
    for (int round = 0; round < 200; ++round) {
        const uint32_t width = 1 + random() % 90, height = 1 + random() % 20;
        const uint32_t layout = layouts[random() % 4], shift = shifts[random() % std::size(shifts)];
        const uint32_t n = binCounts[random() % std::size(binCounts)];
        std::vector<uint16_t> frame(FrameSampleCount(width, height, layout));
        const uint32_t kind = random() % 3;
        for (uint16_t& v : frame) v = uint16_t(kind == 0 ? random() : kind == 1 ? random() % 4096 : 65535);
        std::vector<uint32_t> bins(n, 0xABCD);
        CountHistogramBins(frame.data(), width, height, layout, shift, n, bins.data(), t.raw.data(), t.spare.data());
        ASSERT_TRUE(bins == ReferenceBins(ReferenceRaw(frame, width, height, layout, shift), n))
            << "round " << round << " layout " << layout << " shift " << shift << " bins " << n;
    }
}
