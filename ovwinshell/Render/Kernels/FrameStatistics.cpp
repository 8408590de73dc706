#include "FrameStatistics.h"

#include <algorithm>
#include <cmath>

#include "CpuFeatures.h"
#include "FrameStatisticsPaths.h"

namespace Render::Kernels {

namespace {

// The literal rule, one pixel at a time: what the vector loops leave over and
// the whole run where no vector loop applies.
void AddRunOneByOne(const uint16_t* current, const uint16_t* previous, uint64_t count, uint32_t shift, uint32_t mask,
                    const ThresholdRange& range, StatisticsSums& sums) {
    for (uint64_t i = 0; i < count; ++i) {
        const uint32_t f = StatisticsValue(current[i], shift, mask);
        const uint32_t p = StatisticsValue(previous[i], shift, mask);
        sums.sum += f;
        sums.sumSquares += uint64_t(f) * f;
        sums.sumAbsDifference += f > p ? f - p : p - f;
        if (f >= range.low && f <= range.high) {
            ++sums.thresholdCount;
            sums.thresholdSum += f;
            sums.thresholdSumSquares += uint64_t(f) * f;
        }
    }
}

}  // namespace

SampleSelection SelectFrameSamples(uint32_t width, uint32_t height, uint32_t layout) {
    SampleSelection selection;
    selection.count = uint64_t(width) * height;
    if (layout == kLayoutBgr) {
        selection.stride = 3;
        selection.offset = 1;
    }
    return selection;
}

uint64_t FrameSampleCount(uint32_t width, uint32_t height, uint32_t layout) {
    return uint64_t(width) * height * (layout == kLayoutBgr ? 3 : 1);
}

uint32_t StatisticsDownShift(uint32_t mask) {
    switch (mask & 0xFFFF) {
        case 0xFF00:
            return 8;
        case 0xFFC0:
            return 6;
        case 0xFFF0:
            return 4;
        default:
            return 0;
    }
}

ThresholdRange StatisticsThreshold(double previousMean) {
    const double lowBound = 0.7 * previousMean, highBound = 1.3 * previousMean;
    ThresholdRange range;
    // Also false for a mean of 0, a negative one, infinities and NaN: no value fits.
    if (!(lowBound < highBound)) return range;
    // The smallest integer above lowBound and the largest below highBound.
    const double low = lowBound < 0 ? 0.0 : std::floor(lowBound) + 1.0;
    const double high = highBound > 65536.0 ? 65535.0 : std::ceil(highBound) - 1.0;
    if (low > 65535.0 || high < low) return range;
    range.low = uint32_t(low);
    range.high = uint32_t(high);
    return range;
}

VectorStatisticsRule MakeVectorStatisticsRule(uint32_t shift, uint32_t mask, const ThresholdRange& threshold) {
    VectorStatisticsRule rule;
    rule.shift = shift;
    rule.mask = mask & 0xFFFF;
    rule.down = StatisticsDownShift(mask);
    rule.low = threshold.low;
    rule.high = threshold.high;
    rule.threshold = !threshold.Empty();
    rule.wide = (rule.mask >> rule.down) > 4095;
    return rule;
}

StatisticsRunAdder BestStatisticsRunAdder() {
    static const StatisticsRunAdder best = Avx2Usable() ? &AddStatisticsRunAvx2 : &AddStatisticsRunSse2;
    return best;
}

StatisticsSums SumFrameStatisticsWith(StatisticsRunAdder adder, const uint16_t* current, const uint16_t* previous,
                                      uint32_t width, uint32_t height, uint32_t layout, uint32_t shift, uint32_t mask,
                                      double previousMean) {
    StatisticsSums sums;
    const SampleSelection selection = SelectFrameSamples(width, height, layout);
    sums.pixels = selection.count;
    if (selection.count == 0 || !current || !previous) return sums;
    mask &= 0xFFFF;
    const ThresholdRange range = StatisticsThreshold(previousMean);
    const VectorStatisticsRule rule = MakeVectorStatisticsRule(shift, mask, range);
    // A run: the vector loop takes what it can, the rest goes one by one.
    auto addRun = [&](const uint16_t* c, const uint16_t* p, uint64_t count) {
        const uint64_t done = adder ? adder(c, p, count, rule, sums) : 0;
        AddRunOneByOne(c + done, p + done, count - done, shift, mask, range, sums);
    };
    if (selection.stride == 1) {
        addRun(current + selection.offset, previous + selection.offset, selection.count);
        return sums;
    }
    // Bgr: the green samples are gathered into short contiguous runs first.
    constexpr uint64_t kChunk = 1024;
    uint16_t greens[kChunk], previousGreens[kChunk];
    const uint16_t* c = current + selection.offset;
    const uint16_t* p = previous + selection.offset;
    for (uint64_t done = 0; done < selection.count;) {
        const uint64_t n = std::min(kChunk, selection.count - done);
        for (uint64_t i = 0; i < n; ++i) {
            greens[i] = c[i * 3];
            previousGreens[i] = p[i * 3];
        }
        addRun(greens, previousGreens, n);
        c += n * 3;
        p += n * 3;
        done += n;
    }
    return sums;
}

StatisticsSums SumFrameStatistics(const uint16_t* current, const uint16_t* previous, uint32_t width, uint32_t height,
                                  uint32_t layout, uint32_t shift, uint32_t mask, double previousMean) {
    return SumFrameStatisticsWith(BestStatisticsRunAdder(), current, previous, width, height, layout, shift, mask,
                                  previousMean);
}

FrameStatistics FinishFrameStatistics(const StatisticsSums& sums) {
    FrameStatistics result;
    const double n = double(std::max<uint64_t>(sums.pixels, 1));
    const double c = double(std::max<uint64_t>(sums.thresholdCount, 1));
    result.mean = double(sums.sum) / n;
    result.deviation = std::sqrt(std::max(0.0, double(sums.sumSquares) / n - result.mean * result.mean));
    const double thresholdMean = double(sums.thresholdSum) / c;
    result.thresholdDeviation =
        std::sqrt(std::max(0.0, double(sums.thresholdSumSquares) / c - thresholdMean * thresholdMean));
    result.meanDifference = double(sums.sumAbsDifference) / n;
    result.dynamicRange = 1000.0 / (result.deviation < 0.0001 ? 1.0 : result.deviation);
    return result;
}

}  // namespace Render::Kernels
