#pragma once
// The arithmetic and texts of the VEXT recording panel, apart from any
// window: playback speed, stepping, the level sliders, the available-frames
// line, the rate-dependent setting and the film name.
#include <cstdint>
#include <string>

namespace AppGui::VextPanel {

// Speed slider positions 1 ... 5 give 0.25, 0.5, 1, 2, 4 in the direction of
// the current speed (0 counts as forwards).
double SpeedForSlider(int position, double currentSpeed);

// One frame from current in direction step (+1 or -1) within [minimum,
// maximum]: below the minimum wraps to the maximum and past the maximum to
// the minimum.
int32_t SteppedFrame(int32_t current, int step, int32_t minimum, int32_t maximum);

struct Levels {
    int black;
    int white;
};
// Keeps black below white after one slider moved; both sliders span
// [minimum, maximum].
Levels PushedLevels(int black, int white, bool whiteMoved, int minimum, int maximum);

// " Доступно для записи: %d кадров (Время: %-6.2fсек.)" for the memory's
// total frame count n, the frame multiplier k and the frame rate: (n - 1) x k
// frames, none when n < 1.
std::wstring AvailableFramesText(int32_t totalFrames, int32_t multiplier, int32_t framesPerSecond);

// "Состояние ввода: Min %d, Max %d".
std::wstring RecordingStateText(int32_t first, int32_t last);

// The frame-position value written after a frame-rate change: 200000 / period
// (µs) + 5, at least 1.
int32_t RateDependentValue(int32_t periodMicroseconds);

// The gamma slider's position 1 ... 25 as gamma (x 0.2) and its text "%3.1f".
float GammaForSlider(int position);
std::wstring GammaText(int position);

// The "Файл" text cut at the first "." of its file name and, for AVI,
// followed by ".avi"; empty stays empty.
std::wstring NormalisedFilmName(const std::wstring& text, bool avi);

}  // namespace AppGui::VextPanel
