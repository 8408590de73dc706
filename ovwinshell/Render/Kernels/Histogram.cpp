#include "Histogram.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

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

// Tables the direct count spreads its samples over (sample i goes to table
// i % kBinTables), so that runs of samples in one bin, which a display bin
// of 128 or more raw values makes common, do not each wait on the previous
// increment of the same counter.
constexpr uint32_t kBinTables = 8;

// Counts samples into kBinTables tables of binCount counts each, bin(v)
// giving each sample's bin.
template <typename Bin>
void CountIntoTables(const uint16_t* p, uint64_t n, uint32_t stride, uint32_t* tables, uint32_t binCount, Bin bin) {
    uint64_t i = 0;
    for (; i + kBinTables <= n; i += kBinTables)
        for (uint32_t k = 0; k < kBinTables; ++k) ++tables[size_t(k) * binCount + bin(p[(i + k) * stride])];
    for (; i < n; ++i) ++tables[bin(p[i * stride])];
}

// The common case, contiguous samples without a gain shift: bin v >> GroupBits.
// The bin count and so each table's place are constants here, and each
// 64-bit load gives four samples.
template <uint32_t GroupBits>
void CountUnshiftedIntoTables(const uint16_t* p, uint64_t n, uint32_t* tables) {
    constexpr uint32_t kBins = kRawHistogramSize >> GroupBits, kMask = kBins - 1;
    uint64_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t low, high;  // four samples each, the first in the low bits
        std::memcpy(&low, p + i, sizeof low);
        std::memcpy(&high, p + i + 4, sizeof high);
        ++tables[0 * kBins + (uint32_t(low >> GroupBits) & kMask)];
        ++tables[1 * kBins + (uint32_t(low >> (16 + GroupBits)) & kMask)];
        ++tables[2 * kBins + (uint32_t(low >> (32 + GroupBits)) & kMask)];
        ++tables[3 * kBins + uint32_t(low >> (48 + GroupBits))];
        ++tables[4 * kBins + (uint32_t(high >> GroupBits) & kMask)];
        ++tables[5 * kBins + (uint32_t(high >> (16 + GroupBits)) & kMask)];
        ++tables[6 * kBins + (uint32_t(high >> (32 + GroupBits)) & kMask)];
        ++tables[7 * kBins + uint32_t(high >> (48 + GroupBits))];
    }
    for (; i < n; ++i) ++tables[p[i] >> GroupBits];
}

template <uint32_t... GroupBits>
void CountUnshifted(uint32_t groupBits, const uint16_t* p, uint64_t n, uint32_t* tables,
                    std::integer_sequence<uint32_t, GroupBits...>) {
    ((groupBits == GroupBits ? CountUnshiftedIntoTables<GroupBits>(p, n, tables) : void()), ...);
}

}  // namespace

void CountHistogramBins(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout, uint32_t shift,
                        uint32_t binCount, uint32_t* bins, uint32_t* raw, uint32_t* spare) {
    if (binCount == 0) return;
    std::memset(bins, 0, size_t(binCount) * sizeof *bins);
    if (!IsHistogramBinCount(binCount)) return;
    const uint32_t groupBits = uint32_t(std::countr_zero(kRawHistogramSize / binCount));
    if (shift > groupBits) {
        CountRawHistogram(samples, width, height, layout, shift, raw, spare);
        BinHistogram(raw, binCount, bins);
        return;
    }
    const SampleSelection selection = SelectFrameSamples(width, height, layout);
    if (!samples || selection.count == 0) return;
    static_assert(kBinTables * 8192 <= kRawHistogramSize, "the bin tables live in the raw table");
    std::memset(raw, 0, size_t(kBinTables) * binCount * sizeof *raw);
    const uint16_t* p = samples + selection.offset;
    if (shift == 0 && selection.stride == 1) {
        // Bin counts 8192 ... 256: groups of 2^3 ... 2^8 raw values.
        CountUnshifted(groupBits, p, selection.count, raw, std::integer_sequence<uint32_t, 3, 4, 5, 6, 7, 8>());
    } else {
        // min(v << shift, 65535) >> groupBits without leaving 16 bits.
        const uint32_t limit = 0xFFFFu >> shift, down = groupBits - shift;
        CountIntoTables(p, selection.count, selection.stride, raw, binCount,
                        [=](uint32_t v) { return (v < limit ? v : limit) >> down; });
    }
    for (uint32_t k = 0; k < kBinTables; ++k)
        for (uint32_t j = 0; j < binCount; ++j) bins[j] += raw[size_t(k) * binCount + j];
}

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
