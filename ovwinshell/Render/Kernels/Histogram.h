#pragma once
// The frame histogram of the statistics surface: a raw table of 65536 counts
// of the gain-shifted samples, display bins summed over equal power-of-two
// groups of it, the reference count the bars are scaled to, and the bar
// heights. Samples are selected as for the statistics (FrameStatistics.h):
// every sample of Mono and Bayer frames, the green sample of Bgr pixels.
#include <cstdint>

namespace Render::Kernels {

constexpr uint32_t kRawHistogramSize = 65536;

// raw[min(v << shift, 65535)] := the number of selected samples v. raw is
// cleared first; spare is a second table of kRawHistogramSize counts used
// while counting (its contents are overwritten).
void CountRawHistogram(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout, uint32_t shift,
                       uint32_t* raw, uint32_t* spare);

// 256, 512, 1024, 2048, 4096 and 8192 display bins are drawn; other counts
// leave every bin 0.
bool IsHistogramBinCount(uint32_t binCount);

// Clears binCount bins; for a drawn count bin j := the sum of raw bins
// j * g ... (j + 1) * g - 1 with g = 65536 / binCount.
void BinHistogram(const uint32_t* raw, uint32_t binCount, uint32_t* bins);

// BinHistogram of the CountRawHistogram of the frame, into binCount bins
// (cleared first, left 0 for counts that are not drawn). raw and spare are
// work tables of kRawHistogramSize counts each (contents overwritten). With
// a gain shift of at most log2(65536 / binCount) each sample is counted
// straight into its bin; larger shifts go through the raw table.
void CountHistogramBins(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout, uint32_t shift,
                        uint32_t binCount, uint32_t* bins, uint32_t* raw, uint32_t* spare);

// top: the largest bin; second: the largest bin value strictly below top (0
// if none); reference: second when there is one and top > 1.3 x second (a
// single dominant peak does not flatten the rest), otherwise top, so that
// with one peak alone (a uniform frame) the peak itself is the reference.
struct HistogramReference {
    uint32_t top = 0;
    uint32_t second = 0;
    uint32_t reference = 0;
};
HistogramReference FindHistogramReference(const uint32_t* bins, uint32_t binCount);

// The baseline row: image height - 20 (20 rows stay for the labels), at least 3.
int32_t HistogramBaseline(uint32_t imageHeight);

// Counts per row: reference / (baseline - 2) when normalising with a nonzero
// reference, otherwise 1 (one count per row).
float HistogramScale(uint32_t reference, int32_t baseline, bool normalise);

// The top row of a bar: baseline - (count / scale, truncated), at least row 2.
int32_t HistogramBarTop(uint32_t count, float scale, int32_t baseline);

// Bins whose index is a multiple of this carry a tick and a label.
constexpr uint32_t kHistogramTickSpacing = 128;

}  // namespace Render::Kernels
