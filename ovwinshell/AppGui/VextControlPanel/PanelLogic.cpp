#include "PanelLogic.h"

#include <cwchar>

namespace AppGui::VextPanel {

double SpeedForSlider(int position, double currentSpeed) {
    static constexpr double kMagnitudes[] = {0.25, 0.5, 1.0, 2.0, 4.0};
    const int slot = position < 1 ? 0 : position > 5 ? 4 : position - 1;
    return currentSpeed < 0 ? -kMagnitudes[slot] : kMagnitudes[slot];
}

int32_t SteppedFrame(int32_t current, int step, int32_t minimum, int32_t maximum) {
    const int64_t next = int64_t(current) + step;
    if (next < minimum) return maximum;
    if (next > maximum) return minimum;
    return int32_t(next);
}

Levels PushedLevels(int black, int white, bool whiteMoved, int minimum, int maximum) {
    if (black < white) return {black, white};
    if (whiteMoved) {
        if (white - 1 < minimum)
            white = minimum + 1;
        else
            black = white - 1;
    } else {
        if (black + 1 > maximum)
            black = maximum - 1;
        else
            white = black + 1;
    }
    return {black, white};
}

std::wstring AvailableFramesText(int32_t totalFrames, int32_t multiplier, int32_t framesPerSecond) {
    const int32_t frames = totalFrames < 1 ? 0 : (totalFrames - 1) * multiplier;
    const double seconds = double(frames) / (framesPerSecond ? framesPerSecond : 1);
    wchar_t text[160];
    std::swprintf(text, 160, L" Доступно для записи: %d кадров (Время: %-6.2fсек.)", frames, seconds);
    return text;
}

std::wstring RecordingStateText(int32_t first, int32_t last) {
    wchar_t text[100];
    std::swprintf(text, 100, L"Состояние ввода: Min %d, Max %d", first, last);
    return text;
}

int32_t RateDependentValue(int32_t periodMicroseconds) {
    const int32_t value = 200000 / (periodMicroseconds ? periodMicroseconds : 1) + 5;
    return value < 1 ? 1 : value;
}

float GammaForSlider(int position) { return float(position) * 0.2f; }

std::wstring GammaText(int position) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%3.1f", double(GammaForSlider(position)));
    return text;
}

std::wstring NormalisedFilmName(const std::wstring& text, bool avi) {
    if (text.empty()) return text;
    // The first "." of the file's own name: a folder with a dot in its name stays whole.
    const size_t slash = text.find_last_of(L"\\/");
    const size_t dot = text.find(L'.', slash == std::wstring::npos ? 0 : slash + 1);
    std::wstring name = text.substr(0, dot);
    if (avi) name += L".avi";
    return name;
}

}  // namespace AppGui::VextPanel
