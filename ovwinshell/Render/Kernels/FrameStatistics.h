#pragma once
// The five statistics of one frame that the statistics surface prints: the
// standard deviation, the deviation of the pixels near the previous frame's
// mean, the mean, the mean difference from the previous frame and the
// dynamic range. Every pixel contributes one value
//     F = (min(sample << shift, 65535) AND mask) >> down-shift(mask),
// the previous frame's pixel at the same place the value P likewise.
//
// Which sample of a pixel is read: Mono frames have one sample per pixel;
// Bgr frames three (blue, green, red), of which the middle (green) one is
// read. A Bayer frame also holds one sample per pixel (a GRBG mosaic); every
// sample is read as for Mono, whatever its colour in the mosaic: the numbers
// describe the raw sensor values, and the frame is never read as three
// samples per pixel. Unknown layout codes are read like Mono as well, so no
// layout makes the kernels read past width x height samples.
#include <cstdint>

#include "PixelFormat.h"

namespace Render::Kernels {

// The samples a frame's statistics and histogram read: count samples, the
// first at index offset, each next one stride samples further.
struct SampleSelection {
    uint64_t count = 0;
    uint32_t stride = 1;
    uint32_t offset = 0;
};
SampleSelection SelectFrameSamples(uint32_t width, uint32_t height, uint32_t layout);

// All samples of the frame (three per Bgr pixel, one otherwise): what the
// previous-frame store holds.
uint64_t FrameSampleCount(uint32_t width, uint32_t height, uint32_t layout);

// The down-shift of a statistics mask: 8 for 0xFF00, 6 for 0xFFC0, 4 for
// 0xFFF0, 0 for any other mask. Only the low 16 bits of a mask count.
uint32_t StatisticsDownShift(uint32_t mask);

// The value F of one sample.
inline uint32_t StatisticsValue(uint32_t sample, uint32_t shift, uint32_t mask) {
    return (ShiftClamp(sample, shift) & mask & 0xFFFFu) >> StatisticsDownShift(mask);
}

// The values F with 0.7 x previousMean < F < 1.3 x previousMean (both bounds
// strict, compared in double precision): low ... high, none when low > high.
struct ThresholdRange {
    uint32_t low = 1;
    uint32_t high = 0;
    bool Empty() const { return low > high; }
};
ThresholdRange StatisticsThreshold(double previousMean);

// Exact integer sums over the selected samples of a frame.
struct StatisticsSums {
    uint64_t pixels = 0;
    uint64_t sum = 0;               // sum F
    uint64_t sumSquares = 0;        // sum F^2
    uint64_t sumAbsDifference = 0;  // sum |F - P|
    uint64_t thresholdCount = 0;    // pixels inside the threshold range
    uint64_t thresholdSum = 0;      // sum F of those pixels
    uint64_t thresholdSumSquares = 0;
};

// One pass over the current and the previous frame (same size and layout).
StatisticsSums SumFrameStatistics(const uint16_t* current, const uint16_t* previous, uint32_t width, uint32_t height,
                                  uint32_t layout, uint32_t shift, uint32_t mask, double previousMean);

struct FrameStatistics {
    double deviation = 0;           // "СКО"
    double thresholdDeviation = 0;  // "СКОсПорогом"
    double mean = 0;                // "Среднее"
    double meanDifference = 0;      // "СреднееРазн."
    double dynamicRange = 0;        // "ДинДиапазон"
};

// The statistics from the sums, with the division guards: no pixels counts as
// one pixel, no thresholded pixel as one, a deviation below 0.0001 as 1 for
// the dynamic range 1000 / deviation. The new previous mean is .mean.
FrameStatistics FinishFrameStatistics(const StatisticsSums& sums);

inline FrameStatistics ComputeFrameStatistics(const uint16_t* current, const uint16_t* previous, uint32_t width,
                                              uint32_t height, uint32_t layout, uint32_t shift, uint32_t mask,
                                              double previousMean) {
    return FinishFrameStatistics(
        SumFrameStatistics(current, previous, width, height, layout, shift, mask, previousMean));
}

}  // namespace Render::Kernels
