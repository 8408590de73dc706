// Frame statistics against a literal per-pixel computation in doubles, over
// fixed cases and random frames (all layouts, shifts and masks) under the
// sanitizers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "Render/Kernels/CpuFeatures.h"
#include "Render/Kernels/FrameStatistics.h"
#include "Render/Kernels/FrameStatisticsPaths.h"

using namespace Render::Kernels;

namespace {

struct Expected {
    double deviation, thresholdDeviation, mean, meanDifference, dynamicRange;
    uint64_t thresholdCount;
};

uint32_t Down(uint32_t mask) {
    if (mask == 0xFF00) return 8;
    if (mask == 0xFFC0) return 6;
    if (mask == 0xFFF0) return 4;
    return 0;
}

// The value of one sample, written out step by step: a 64-bit shift cut to
// 32 bits, clamp, mask, down-shift.
uint32_t Value(uint16_t sample, uint32_t shift, uint32_t mask) {
    uint64_t t = shift >= 64 ? 0 : (uint64_t(sample) << shift) & 0xFFFFFFFFull;
    if (t > 65535) t = 65535;
    return (uint32_t(t) & mask) >> Down(mask);
}

Expected Reference(const std::vector<uint16_t>& current, const std::vector<uint16_t>& previous, uint32_t width,
                   uint32_t height, uint32_t layout, uint32_t shift, uint32_t mask, double previousMean) {
    const uint32_t perPixel = layout == 2 ? 3 : 1, which = layout == 2 ? 1 : 0;
    double sum = 0, squares = 0, difference = 0, tSum = 0, tSquares = 0;
    uint64_t counted = 0;
    const uint64_t n = uint64_t(width) * height;
    for (uint64_t i = 0; i < n; ++i) {
        const double f = Value(current[i * perPixel + which], shift, mask);
        const double p = Value(previous[i * perPixel + which], shift, mask);
        sum += f;
        squares += f * f;
        difference += std::fabs(f - p);
        if (0.7 * previousMean < f && f < 1.3 * previousMean) {
            ++counted;
            tSum += f;
            tSquares += f * f;
        }
    }
    Expected e;
    const double pixels = n ? double(n) : 1.0, c = counted ? double(counted) : 1.0;
    e.mean = sum / pixels;
    e.deviation = std::sqrt(std::max(0.0, squares / pixels - e.mean * e.mean));
    e.thresholdDeviation = std::sqrt(std::max(0.0, tSquares / c - (tSum / c) * (tSum / c)));
    e.meanDifference = difference / pixels;
    e.dynamicRange = 1000.0 / (e.deviation < 0.0001 ? 1.0 : e.deviation);
    e.thresholdCount = counted;
    return e;
}

std::string Printed(double value) {
    char text[256];
    std::snprintf(text, sizeof text, "%-16.4f", value);
    return text;
}

// Every loop this processor runs: one by one, SSE2, AVX2.
std::vector<std::pair<const char*, StatisticsRunAdder>> Paths() {
    std::vector<std::pair<const char*, StatisticsRunAdder>> paths = {{"one by one", nullptr},
                                                                     {"SSE2", &AddStatisticsRunSse2}};
    if (Avx2Usable()) paths.push_back({"AVX2", &AddStatisticsRunAvx2});
    return paths;
}

bool SameSums(const StatisticsSums& a, const StatisticsSums& b) {
    return a.pixels == b.pixels && a.sum == b.sum && a.sumSquares == b.sumSquares &&
           a.sumAbsDifference == b.sumAbsDifference && a.thresholdCount == b.thresholdCount &&
           a.thresholdSum == b.thresholdSum && a.thresholdSumSquares == b.thresholdSumSquares;
}

void ExpectNear(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << what;
}

}  // namespace

TEST(FrameStatistics, DownShiftPerMask) {
    EXPECT_EQ(StatisticsDownShift(0xFF00), 8u);
    EXPECT_EQ(StatisticsDownShift(0xFFC0), 6u);
    EXPECT_EQ(StatisticsDownShift(0xFFF0), 4u);
    EXPECT_EQ(StatisticsDownShift(0xFFFF), 0u);
    EXPECT_EQ(StatisticsDownShift(0xF000), 0u);
    EXPECT_EQ(StatisticsDownShift(0x1FF00), 8u);  // only the low 16 bits count
}

TEST(FrameStatistics, UniformFrameHasNoDeviationAndRangeOneThousand) {
    std::vector<uint16_t> frame(37 * 11, 1234);
    const FrameStatistics s = ComputeFrameStatistics(frame.data(), frame.data(), 37, 11, kLayoutMono, 0, 0xFFFF, 0);
    EXPECT_EQ(s.deviation, 0.0);
    EXPECT_EQ(s.mean, 1234.0);
    EXPECT_EQ(s.meanDifference, 0.0);
    EXPECT_EQ(s.dynamicRange, 1000.0);
    EXPECT_EQ(Printed(s.dynamicRange), "1000.0000       ");
    EXPECT_EQ(Printed(s.deviation), "0.0000          ");
}

TEST(FrameStatistics, MaskFF00GivesEightBitUnits) {
    // Samples 0x12AB and 0x34CD: F = 0x12 and 0x34.
    std::vector<uint16_t> frame;
    for (int i = 0; i < 50; ++i) frame.insert(frame.end(), {0x12AB, 0x34CD});
    const FrameStatistics s = ComputeFrameStatistics(frame.data(), frame.data(), 10, 10, kLayoutMono, 0, 0xFF00, 0);
    EXPECT_DOUBLE_EQ(s.mean, (0x12 + 0x34) / 2.0);
    EXPECT_DOUBLE_EQ(s.deviation, (0x34 - 0x12) / 2.0);
    // Saturated by the gain shift: 65535 & 0xFF00 >> 8 = 255, the largest 8-bit value.
    std::vector<uint16_t> bright(64, 0x8000);
    const FrameStatistics b = ComputeFrameStatistics(bright.data(), bright.data(), 8, 8, kLayoutMono, 1, 0xFF00, 0);
    EXPECT_EQ(b.mean, 255.0);
}

TEST(FrameStatistics, ThresholdOfTheFirstFrameCountsNoPixel) {
    std::vector<uint16_t> frame(100);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint16_t(i * 300);
    const StatisticsSums sums = SumFrameStatistics(frame.data(), frame.data(), 10, 10, kLayoutMono, 0, 0xFFFF, 0.0);
    EXPECT_EQ(sums.thresholdCount, 0u);
    EXPECT_EQ(sums.thresholdSum, 0u);
    EXPECT_EQ(FinishFrameStatistics(sums).thresholdDeviation, 0.0);
    EXPECT_TRUE(StatisticsThreshold(0.0).Empty());
}

TEST(FrameStatistics, ThresholdBoundsAreStrict) {
    // Mean 100: 70 < F < 130, so 71 ... 129.
    ThresholdRange r = StatisticsThreshold(100.0);
    EXPECT_EQ(r.low, 71u);
    EXPECT_EQ(r.high, 129u);
    // Mean 10.5: 7.35 < F < 13.65, so 8 ... 13.
    r = StatisticsThreshold(10.5);
    EXPECT_EQ(r.low, 8u);
    EXPECT_EQ(r.high, 13u);
    // Mean 1: 0.7 < F < 1.3, F = 1 only.
    r = StatisticsThreshold(1.0);
    EXPECT_EQ(r.low, 1u);
    EXPECT_EQ(r.high, 1u);
    // Mean 0.5: nothing between 0.35 and 0.65.
    EXPECT_TRUE(StatisticsThreshold(0.5).Empty());
    EXPECT_TRUE(StatisticsThreshold(-5.0).Empty());
    EXPECT_TRUE(StatisticsThreshold(std::nan("")).Empty());
    EXPECT_TRUE(StatisticsThreshold(INFINITY).Empty());
    // Near the top the range stops at 65535.
    r = StatisticsThreshold(65535.0);
    EXPECT_EQ(r.high, 65535u);
    // Every value agrees with the literal comparison.
    for (double mean : {0.3, 1.0, 3.3, 7.0, 10.0, 99.99, 1000.0 / 0.7, 4095.5, 50000.0, 65535.0, 90000.0}) {
        r = StatisticsThreshold(mean);
        for (uint32_t f = 0; f < 65536; ++f) {
            const bool inside = 0.7 * mean < double(f) && double(f) < 1.3 * mean;
            ASSERT_EQ(!r.Empty() && f >= r.low && f <= r.high, inside) << mean << " " << f;
        }
    }
}

TEST(FrameStatistics, ThresholdedStatisticsUseThePreviousMean) {
    // Values 50, 100, 150 with previous mean 100: only 100 is inside (70, 130).
    std::vector<uint16_t> frame = {50, 100, 150, 100, 50, 150};
    const StatisticsSums sums = SumFrameStatistics(frame.data(), frame.data(), 3, 2, kLayoutMono, 0, 0xFFFF, 100.0);
    EXPECT_EQ(sums.thresholdCount, 2u);
    EXPECT_EQ(sums.thresholdSum, 200u);
    EXPECT_EQ(sums.thresholdSumSquares, 20000u);
    EXPECT_EQ(FinishFrameStatistics(sums).thresholdDeviation, 0.0);
}

TEST(FrameStatistics, PreviousFrameDifference) {
    std::vector<uint16_t> current = {10, 20, 30, 40}, previous = {12, 20, 25, 50};
    const FrameStatistics s = ComputeFrameStatistics(current.data(), previous.data(), 2, 2, kLayoutMono, 0, 0xFFFF, 0);
    EXPECT_DOUBLE_EQ(s.meanDifference, (2 + 0 + 5 + 10) / 4.0);
}

TEST(FrameStatistics, BgrReadsTheGreenSampleOnly) {
    // Blue and red are huge; green is 7 and 9.
    std::vector<uint16_t> frame = {60000, 7, 50000, 60000, 9, 50000};
    const FrameStatistics s = ComputeFrameStatistics(frame.data(), frame.data(), 2, 1, kLayoutBgr, 0, 0xFFFF, 0);
    EXPECT_DOUBLE_EQ(s.mean, 8.0);
    EXPECT_DOUBLE_EQ(s.deviation, 1.0);
    EXPECT_EQ(FrameSampleCount(2, 1, kLayoutBgr), 6u);
}

TEST(FrameStatistics, BayerReadsEverySampleOnce) {
    // A 2 x 2 mosaic read as four single samples, not as one three-sample pixel.
    std::vector<uint16_t> frame = {100, 200, 300, 400};
    const FrameStatistics s = ComputeFrameStatistics(frame.data(), frame.data(), 2, 2, kLayoutBayer, 0, 0xFFFF, 0);
    EXPECT_DOUBLE_EQ(s.mean, 250.0);
    EXPECT_EQ(FrameSampleCount(2, 2, kLayoutBayer), 4u);
    const SampleSelection selection = SelectFrameSamples(2, 2, kLayoutBayer);
    EXPECT_EQ(selection.count, 4u);
    EXPECT_EQ(selection.stride, 1u);
}

TEST(FrameStatistics, EmptyFrameCountsAsOnePixel) {
    const FrameStatistics s = ComputeFrameStatistics(nullptr, nullptr, 0, 0, kLayoutMono, 0, 0xFFFF, 5.0);
    EXPECT_EQ(s.mean, 0.0);
    EXPECT_EQ(s.deviation, 0.0);
    EXPECT_EQ(s.dynamicRange, 1000.0);
}

TEST(FrameStatistics, LargeValuesKeepExactSums) {
    // Full 16-bit values (the byte-split sums): 65535 and 0 alternate.
    std::vector<uint16_t> frame(4096);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = i % 2 ? 65535 : 0;
    const StatisticsSums sums =
        SumFrameStatistics(frame.data(), frame.data() + 1, 4095, 1, kLayoutMono, 0, 0xFFFF, 65535.0);
    EXPECT_EQ(sums.sum, 2047ull * 65535);
    EXPECT_EQ(sums.sumSquares, 2047ull * 65535 * 65535);
    EXPECT_EQ(sums.sumAbsDifference, 4095ull * 65535);
    EXPECT_EQ(sums.thresholdCount, 2047u);
    EXPECT_EQ(sums.thresholdSumSquares, 2047ull * 65535 * 65535);
}

TEST(FrameStatistics, RandomFramesMatchTheLiteralComputation) {
    std::mt19937 random(2024);
    const uint32_t masks[] = {0xFF00, 0xFFC0, 0xFFF0, 0xFFFF, 0x0FF0, 0x8001};
    const uint32_t shifts[] = {0, 0, 0, 1, 3, 4, 8, 15, 16, 17, 24, 31, 32, 40};
    const uint32_t layouts[] = {kLayoutMono, kLayoutBayer, kLayoutBgr, 7};
    int roundsWithThresholdedPixels = 0;
    for (int round = 0; round < 400; ++round) {
        uint32_t width = 1 + random() % 90, height = 1 + random() % 30;
        if (round < 8) width = height = 1;
        if (round % 50 == 7) {
            width = 1021 + random() % 5;  // runs longer than one flush block and Bgr chunk
            height = 1 + random() % 3;
        }
        const uint32_t layout = layouts[random() % 4];
        const uint32_t shift = shifts[random() % std::size(shifts)];
        const uint32_t mask = masks[random() % std::size(masks)];
        const uint32_t perPixel = layout == kLayoutBgr ? 3 : 1;
        ASSERT_EQ(FrameSampleCount(width, height, layout), uint64_t(width) * height * perPixel);
        std::vector<uint16_t> current(size_t(width) * height * perPixel), previous(current.size());
        const uint32_t kind = random() % 4;
        for (size_t i = 0; i < current.size(); ++i) {
            const uint16_t base = uint16_t(kind == 0 ? random() : kind == 1 ? random() % 4096 : 2000 + random() % 64);
            current[i] = kind == 3 ? 1500 : base;
            previous[i] = random() % 3 ? uint16_t(base + random() % 200 - 100) : uint16_t(random());
        }
        // A previous mean near the frame's own values makes the threshold count something.
        const double previousMean =
            random() % 4 == 0 ? 0.0 : Value(current[current.size() / 2], shift, mask) + double(random() % 100) / 37.0;
        // Exact-size copies: the sanitizers catch any read past the frame.
        const Expected e = Reference(current, previous, width, height, layout, shift, mask, previousMean);
        SCOPED_TRACE(::testing::Message() << "round " << round << " " << width << "x" << height << " layout " << layout
                                          << " shift " << shift << " mask " << std::hex << mask);
        const StatisticsSums sums =
            SumFrameStatistics(current.data(), previous.data(), width, height, layout, shift, mask, previousMean);
        ASSERT_EQ(sums.thresholdCount, e.thresholdCount);
        roundsWithThresholdedPixels += sums.thresholdCount > 0;
        const FrameStatistics s = FinishFrameStatistics(sums);
        ExpectNear(s.mean, e.mean, "mean");
        ExpectNear(s.deviation, e.deviation, "deviation");
        ExpectNear(s.thresholdDeviation, e.thresholdDeviation, "thresholded deviation");
        ExpectNear(s.meanDifference, e.meanDifference, "mean difference");
        ExpectNear(s.dynamicRange, e.dynamicRange, "dynamic range");
        // Every other loop gives the very same integer sums.
        for (const auto& [name, adder] : Paths()) {
            const StatisticsSums other = SumFrameStatisticsWith(adder, current.data(), previous.data(), width, height,
                                                                layout, shift, mask, previousMean);
            ASSERT_TRUE(SameSums(other, sums)) << name;
        }
    }
    EXPECT_GT(roundsWithThresholdedPixels, 100);
}

TEST(FrameStatistics, VectorLoopsOnLongRunsOfExtremes) {
    // Long runs (many flushes of the narrow lanes) of the values that stress
    // the lane widths: all 0 (x = -32768 in the wide sums), all 65535, and
    // alternating extremes against a constant previous frame.
    const uint32_t count = 64 * 16 * 5 + 13;
    for (const uint32_t mask : {0xFFFFu, 0xFFF0u, 0xFF00u}) {
        for (int pattern = 0; pattern < 3; ++pattern) {
            std::vector<uint16_t> current(count), previous(count, pattern == 2 ? 0 : 65535);
            for (uint32_t i = 0; i < count; ++i)
                current[i] = pattern == 0 ? 0 : pattern == 1 ? 65535 : (i % 3 ? 65535 : 0);
            for (const double mean : {0.0, 1.0, double(Value(65535, 0, mask)) - 1}) {
                const StatisticsSums expected = SumFrameStatisticsWith(nullptr, current.data(), previous.data(), count,
                                                                       1, kLayoutMono, 0, mask, mean);
                for (const auto& [name, adder] : Paths()) {
                    const StatisticsSums sums = SumFrameStatisticsWith(adder, current.data(), previous.data(), count, 1,
                                                                       kLayoutMono, 0, mask, mean);
                    EXPECT_TRUE(SameSums(sums, expected)) << name << " mask " << mask << " pattern " << pattern;
                }
            }
            const Expected literal = Reference(current, previous, count, 1, kLayoutMono, 0, mask, 0);
            const FrameStatistics s =
                ComputeFrameStatistics(current.data(), previous.data(), count, 1, kLayoutMono, 0, mask, 0);
            ExpectNear(s.mean, literal.mean, "mean");
            ExpectNear(s.deviation, literal.deviation, "deviation");
            ExpectNear(s.meanDifference, literal.meanDifference, "mean difference");
        }
    }
}
