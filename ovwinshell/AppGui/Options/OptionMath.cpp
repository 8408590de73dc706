#include "OptionMath.h"

#include <algorithm>
#include <cctype>

namespace AppGui::Options {

std::vector<int64_t> TrackValueList(int64_t maximum, int trackWidth) {
    const int d = trackWidth / 4;
    std::vector<int64_t> entries;
    if (d <= 0) return entries;
    entries.reserve(size_t(d) * 2);
    const int64_t quarter = maximum / 4;
    const int64_t lowStep = quarter / d;
    for (int i = 0; i < d; ++i) entries.push_back(std::min(quarter, int64_t(i) * lowStep));
    entries.back() = quarter;
    const int64_t highStep = (maximum - quarter) / d;
    for (int i = 0; i < d; ++i) entries.push_back(std::min(maximum, quarter + int64_t(i) * highStep));
    entries.back() = maximum;
    return entries;
}

int TrackPositionOf(const std::vector<int64_t>& entries, int64_t value) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] >= value) return int(i);
    return entries.empty() ? 0 : int(entries.size()) - 1;
}

int64_t ParseClamped(const std::string& text, int64_t minimum, int64_t maximum) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > (INT64_MAX - 9) / 10) overflow = true;
        if (!overflow) value = value * 10 + (text[i] - '0');
    }
    if (overflow) value = INT64_MAX;
    if (negative) value = -value;
    return std::clamp(value, minimum, maximum);
}

uint32_t CentredOffset(uint32_t maximum, uint32_t size, uint32_t k) { return ((maximum - size) * k) / 2; }

int DigitalGainMaximum(bool hasOption, int32_t optionValue) {
    if (!hasOption) return 8;
    switch (optionValue) {
        case 14:
            return 1;
        case 15:
            return 2;
        case 16:
            return 4;
        case 17:
            return 8;
        case 18:
            return 10;
        case 19:
            return 12;
        case 20:
            return 16;
        default:
            return optionValue;
    }
}

int BinningIndex(int factor) {
    int index = 0;
    while (index < 3 && (2 << index) <= factor) ++index;
    return index;
}

int BinningFactor(int index) { return 1 << std::clamp(index, 0, 3); }

int WorkModeFromSync(int32_t syncValue) {
    switch (syncValue) {
        case 4:
            return 1;
        case 5:
            return 2;
        case 6:
            return 0;
        default:
            return -1;
    }
}

int32_t SyncFromWorkMode(int mode) {
    switch (mode) {
        case 0:
            return 6;
        case 1:
            return 4;
        case 2:
        case 3:
            return 5;
        default:
            return -1;
    }
}

}  // namespace AppGui::Options
