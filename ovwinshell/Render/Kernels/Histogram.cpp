#include "Histogram.h"

#include <algorithm>
#include <cstring>

#include "FrameStatistics.h"
#include "PixelFormat.h"

namespace Render::Kernels {

namespace {

// Moves every count of sample v to its gain-shifted bin min(v << shift, 65535).
// The target of v is v itself, a higher bin, or (shifts from 16 on) bin 0.
// Walking from the top down, a higher target has already been visited and
// keeps what it receives, and bin 0 is visited last, so the table can be
// rewritten in place.
void ShiftCounts(uint32_t* raw, uint32_t shift) {
    if (shift == 0) return;
    for (uint32_t v = kRawHistogramSize; v-- > 0;) {
        const uint32_t target = ShiftClamp(v, shift);
        if (target == v || raw[v] == 0) continue;
        raw[target] += raw[v];
        raw[v] = 0;
    }
}

}  // namespace

void CountRawHistogram(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout, uint32_t shift,
                       uint32_t* raw, uint32_t* spare) {
    std::memset(raw, 0, kRawHistogramSize * sizeof *raw);
    const SampleSelection selection = SelectFrameSamples(width, height, layout);
    if (!samples || selection.count == 0) return;
    std::memset(spare, 0, kRawHistogramSize * sizeof *spare);
    // Counting is a scatter: alternate samples go to two tables, so runs of
    // equal samples (flat or saturated areas) do not wait on one counter's
    // previous store; the tables are added afterwards. The gain shift is
    // applied to the counts, not to every sample.
    const uint16_t* p = samples + selection.offset;
    const uint64_t n = selection.count;
    uint64_t i = 0;
    if (selection.stride == 1) {
        for (; i + 4 <= n; i += 4) {
            uint64_t four;  // four samples, the first in the low bits
            std::memcpy(&four, p + i, sizeof four);
            ++raw[four & 0xFFFF];
            ++spare[four >> 16 & 0xFFFF];
            ++raw[four >> 32 & 0xFFFF];
            ++spare[four >> 48];
        }
        for (; i < n; ++i) ++raw[p[i]];
    } else {
        const uint64_t step = selection.stride;
        for (; i + 2 <= n; i += 2) {
            ++raw[p[i * step]];
            ++spare[p[(i + 1) * step]];
        }
        for (; i < n; ++i) ++raw[p[i * step]];
    }
    for (uint32_t v = 0; v < kRawHistogramSize; ++v) raw[v] += spare[v];
    ShiftCounts(raw, shift);
}

bool IsHistogramBinCount(uint32_t binCount) {
    return binCount >= 256 && binCount <= 8192 && (binCount & (binCount - 1)) == 0;
}

void BinHistogram(const uint32_t* raw, uint32_t binCount, uint32_t* bins) {
    if (binCount == 0) return;
    std::memset(bins, 0, size_t(binCount) * sizeof *bins);
    if (!IsHistogramBinCount(binCount)) return;
    const uint32_t group = kRawHistogramSize / binCount;
    for (uint32_t j = 0; j < binCount; ++j) {
        const uint32_t* first = raw + size_t(j) * group;
        uint32_t sum = 0;
        for (uint32_t k = 0; k < group; ++k) sum += first[k];
        bins[j] = sum;
    }
}

HistogramReference FindHistogramReference(const uint32_t* bins, uint32_t binCount) {
    HistogramReference result;
    for (uint32_t j = 0; j < binCount; ++j) result.top = std::max(result.top, bins[j]);
    for (uint32_t j = 0; j < binCount; ++j)
        if (bins[j] < result.top) result.second = std::max(result.second, bins[j]);
    const bool dominant = result.second != 0 && double(result.top) > 1.3 * double(result.second);
    result.reference = dominant ? result.second : result.top;
    return result;
}

int32_t HistogramBaseline(uint32_t imageHeight) {
    const int64_t baseline = int64_t(imageHeight) - 20;
    return int32_t(std::clamp<int64_t>(baseline, 3, INT32_MAX));
}

float HistogramScale(uint32_t reference, int32_t baseline, bool normalise) {
    if (!normalise || reference == 0) return 1.0f;
    return float(reference) / float(baseline - 2);
}

int32_t HistogramBarTop(uint32_t count, float scale, int32_t baseline) {
    const float rows = float(count) / scale;
    // Bars of baseline - 1 rows and more (or a non-finite height) end at row 2.
    if (!(double(rows) < double(baseline) - 1.0)) return 2;
    return std::max<int32_t>(baseline - int32_t(int64_t(rows)), 2);
}

}  // namespace Render::Kernels
