#pragma once
// The histogram window's surface: instead of the image it draws five
// statistics of every frame as text and the frame's histogram as bars. The
// statistics pane creates it, registers it with the renderer and switches
// its parts; the renderer calls Draw with every frame like any surface.
#include <windows.h>
#include <ddraw.h>

#include <array>
#include <cstdint>
#include <vector>

#include "Render/GlyphFont.h"
#include "Render/Kernels/FrameStatistics.h"
#include "Render/Kernels/Histogram.h"
#include "Render/Surface.h"

namespace Render {

// Colours (COLORREF).
constexpr COLORREF kStatisticsBackground = 0xFFFFFF;
constexpr COLORREF kHistogramBar = 0x008000;
constexpr COLORREF kHistogramTick = 0x008080;  // baseline and bars in tick columns
constexpr COLORREF kHistogramTickLine = 0x00CDCD;

// The characters of the two glyph fonts.
constexpr wchar_t kLabelFirst = 1040, kLabelLast = 1103;  // А ... я
constexpr wchar_t kDigitFirst = 32, kDigitLast = 57;      // space ... 9
constexpr uint32_t kLabelCapacity = 64, kDigitCapacity = 26;

class StatisticSurface : public Surface {
public:
    explicit StatisticSurface(HWND window);
    ~StatisticSurface() override;

    // The label font, the digit font, then the image; false if any fails
    // (then no image exists and nothing is drawn).
    bool Create(IDirectDraw7* directDraw, uint32_t width, uint32_t height) override;
    bool Draw(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) override;

    // Settings from the statistics pane; each takes the surface's lock.
    // bits 8 ... 13: 2^bits display bins, scrolled back to bin 0 (other
    // values change nothing).
    void SetHistogramBits(uint32_t bits);
    void SetHistogramScroll(uint32_t firstBin);
    void SetStatisticsMask(uint16_t mask);
    // Each flips its switch and returns the new state.
    bool ToggleHistogram();
    bool ToggleStatistics();
    bool ToggleKeepPicture();
    bool ToggleNormalisation();

    uint32_t HistogramBinCount();
    uint32_t HistogramScroll();
    uint16_t StatisticsMask();
    bool HistogramOn();
    bool StatisticsOn();
    bool KeepPictureOn();
    bool NormalisationOn();
    // What the last drawn frame gave.
    Kernels::FrameStatistics LastStatistics();
    Kernels::HistogramReference LastReference();
    std::vector<uint32_t> HistogramBins();

    const GlyphFont& LabelFont() const { return labelFont_; }
    const GlyphFont& DigitFont() const { return digitFont_; }

    // The mean of the last frame any statistic surface measured (0 before
    // the first): the thresholds of the next frame are taken around it.
    static double PreviousMean();

    // The five lines, top to bottom.
    static constexpr int kLines = 5;
    static const wchar_t* const kLabels[kLines];
    // The x where the values start: the label font's width of "ДинДиапазон" + 5.
    int32_t ValueColumn() const;

private:
    // Settings are read and flipped under the surface's lock (Draw runs on the worker).
    bool Flip(uint8_t& flag);
    template <class T>
    T Locked(const T& field) {
        CritSecLock guard(lock_);
        return field;
    }
    void ComputeStatistics(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout);
    // The five lines of the last statistics, each on a white box.
    void DrawStatisticsText();
    void DrawHistogram(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout);
    // Fills a rectangle of the image (cut to it) with white.
    void FillWhite(int32_t left, int32_t top, int32_t right, int32_t bottom);

    GlyphFont labelFont_{kLabelCapacity};
    GlyphFont digitFont_{kDigitCapacity};
    std::vector<uint32_t> bins_;
    uint32_t binCount_ = 0;
    uint32_t scroll_ = 0;
    std::array<uint32_t, Kernels::kRawHistogramSize> raw_{};
    uint8_t histogramOn_ = 0;
    uint8_t statisticsOn_ = 0;
    uint8_t keepPicture_ = 0;
    uint8_t normalise_ = 1;
    // Until the pane sets its own, the mask of the pane's initial choice "10 бит".
    uint16_t mask_ = 0xFFC0;
    std::vector<uint16_t> previous_;  // the last frame's samples (all of them, 2 or 6 bytes per pixel)
    // The second count table of the histogram scatter.
    std::vector<uint32_t> spare_ = std::vector<uint32_t>(Kernels::kRawHistogramSize);
    Kernels::FrameStatistics last_{};
    Kernels::HistogramReference reference_{};
};

}  // namespace Render
