#pragma once
// The arithmetic of the option controls, kept apart from the windows so it can
// be checked on its own: the scalar track bar's two-segment value list, edit
// text parsing and clamping, rectangle centring, the digital gain bound, the
// binning list index and the work-mode <-> sync value mapping.
#include <cstdint>
#include <string>
#include <vector>

namespace AppGui::Options {

// Ranges at least this wide get the two-segment value list on the track bar.
constexpr int64_t kListRangeThreshold = 100000;

inline bool IsContinuousRange(int64_t minimum, int64_t maximum) { return maximum - minimum < kListRangeThreshold; }

// The track bar's values for a wide range on a bar `trackWidth` pixels wide:
// 2d entries (d = trackWidth / 4), the first d from 0 to max / 4, the next d
// from max / 4 to max. Empty when the bar is too narrow for any entry.
std::vector<int64_t> TrackValueList(int64_t maximum, int trackWidth);

// The first position whose entry is not below `value`; the last position when
// every entry is below it; 0 for an empty list.
int TrackPositionOf(const std::vector<int64_t>& entries, int64_t value);

// The edit's text as a decimal 64-bit integer (leading blanks and a sign
// allowed, parsing stops at the first other character; no digits gives 0),
// clamped to minimum..maximum.
int64_t ParseClamped(const std::string& text, int64_t minimum, int64_t maximum);

// Centred position of a `size` wide rectangle in `maximum`, x scaled by k.
uint32_t CentredOffset(uint32_t maximum, uint32_t size, uint32_t k = 1);

// The digital gain's maximum for the bounding option's value; `hasOption`
// false gives 8.
int DigitalGainMaximum(bool hasOption, int32_t optionValue);

// Binning factor 1, 2, 4, 8 <-> list index 0..3 (other factors: the index of
// the highest power of two not above it, at least 0).
int BinningIndex(int factor);
int BinningFactor(int index);

// Sync option value -> work mode (4 -> 1, 5 -> 2, 6 -> 0, else -1) and the
// value a work mode sets (0 -> 6, 1 -> 4, 2 and 3 -> 5; else -1).
int WorkModeFromSync(int32_t syncValue);
int32_t SyncFromWorkMode(int mode);

}  // namespace AppGui::Options
