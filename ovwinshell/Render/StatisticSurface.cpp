#include "StatisticSurface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "Render/RenderMessages.h"

namespace Render {

namespace {

// Shared by every statistic surface of the process. Both are touched only
// inside Draw, which runs on the acquisition worker under the renderer lock.
double previousMean = 0.0;
// Armed by every resize request: the next drawn picture starts from white.
bool firstPictureMark = false;

// The digit font's text of a value: printf formatting, which only produces
// characters below 128, widened character by character.
std::wstring Printed(const char* format, double value) {
    char narrow[256];
    std::snprintf(narrow, sizeof narrow, format, value);
    return std::wstring(narrow, narrow + std::strlen(narrow));
}

std::wstring PrintedIndex(uint32_t index) {
    char narrow[16];
    std::snprintf(narrow, sizeof narrow, "%d", int(index));
    return std::wstring(narrow, narrow + std::strlen(narrow));
}

}  // namespace

const wchar_t* const StatisticSurface::kLabels[kLines] = {L"СКО", L"СКОсПорогом", L"Среднее", L"СреднееРазн.",
                                                          L"ДинДиапазон"};

StatisticSurface::StatisticSurface(HWND window) : Surface(window) {}

StatisticSurface::~StatisticSurface() = default;

double StatisticSurface::PreviousMean() { return previousMean; }

bool StatisticSurface::Create(IDirectDraw7* directDraw, uint32_t width, uint32_t height) {
    CritSecLock guard(lock_);
    if (!labelFont_.Build(directDraw, kLabelFirst, kLabelLast) ||
        !digitFont_.Build(directDraw, kDigitFirst, kDigitLast)) {
        labelFont_.Clear();
        digitFont_.Clear();
        if (surface_) surface_->Release();  // no image without its fonts
        surface_ = nullptr;
        return false;
    }
    return Surface::Create(directDraw, width, height);
}

bool StatisticSurface::Draw(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
    CritSecLock guard(lock_);
    RECT client{};
    GetClientRect(window_, &client);
    const uint32_t clientWidth = uint32_t(std::max<LONG>(client.right - client.left, 0));
    const uint32_t clientHeight = uint32_t(std::max<LONG>(client.bottom - client.top, 0));
    if (clientWidth != width_ || clientHeight != height_) {
        const WPARAM size = WPARAM((clientHeight & 0xFFFF) << 16 | (clientWidth & 0xFFFF));
        SendNotifyMessageW(window_, UWM_FRAME_SIZE, size, reinterpret_cast<LPARAM>(static_cast<Surface*>(this)));
        firstPictureMark = true;
        return false;
    }
    if (!surface_ || !labelFont_.Built() || !digitFont_.Built()) return false;
    if (firstPictureMark) {
        FillRetrying(kStatisticsBackground);
        firstPictureMark = false;
    }
    if (!keepPicture_) Fill(kStatisticsBackground);
    if (samples && statisticsOn_) ComputeStatistics(samples, width, height, layout);
    if (samples && histogramOn_) DrawHistogram(samples, width, height, layout);
    // The text goes last, on white boxes, so that no bar covers it.
    if (samples && statisticsOn_) DrawStatisticsText();
    return true;
}

int32_t StatisticSurface::ValueColumn() const { return labelFont_.Measure(kLabels[4]) + 5; }

void StatisticSurface::ComputeStatistics(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
    // The first frame, and every frame of another size in bytes, is compared with itself.
    const uint64_t count = Kernels::FrameSampleCount(width, height, layout);
    if (previous_.size() != count) previous_.assign(samples, samples + count);
    last_ =
        Kernels::ComputeFrameStatistics(samples, previous_.data(), width, height, layout, shift_, mask_, previousMean);
    previousMean = last_.mean;
    if (count) std::memcpy(previous_.data(), samples, size_t(count) * sizeof(uint16_t));
}

void StatisticSurface::DrawStatisticsText() {
    const double values[kLines] = {last_.deviation, last_.thresholdDeviation, last_.mean, last_.meanDifference,
                                   last_.dynamicRange};
    const int32_t lineHeight = digitFont_.TextHeight();
    const int32_t valueX = ValueColumn();
    for (int line = 0; line < kLines; ++line) {
        const int32_t y = line * lineHeight;
        FillWhite(2, y, 2 + labelFont_.Measure(kLabels[line]), y + lineHeight);
        labelFont_.Draw(surface_, 2, y, kLabels[line]);
        const std::wstring text = Printed("%-16.4f", values[line]);
        FillWhite(valueX, y, valueX + digitFont_.Measure(text), y + lineHeight);
        digitFont_.Draw(surface_, valueX, y, text);
    }
}

void StatisticSurface::DrawHistogram(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
    Kernels::CountHistogramBins(samples, width, height, layout, shift_, binCount_, bins_.data(), raw_.data(),
                                spare_.data());
    reference_ = Kernels::FindHistogramReference(bins_.data(), binCount_);

    const int32_t imageWidth = int32_t(std::min<uint32_t>(width_, INT32_MAX));
    const int32_t baseline = Kernels::HistogramBaseline(height_);
    const float scale = Kernels::HistogramScale(reference_.reference, baseline, normalise_ != 0);
    if (!Lock()) return;
    DrawLine(0, baseline, std::max(imageWidth - 1, 0), baseline, kHistogramTick);
    std::vector<std::pair<int32_t, uint32_t>> labels;  // (column, bin) of the ticks
    for (int32_t x = 0; x < imageWidth; ++x) {
        const uint64_t bin = uint64_t(scroll_) + uint32_t(x);
        const bool tick = bin % Kernels::kHistogramTickSpacing == 0;
        if (bin < binCount_) {
            const int32_t top = Kernels::HistogramBarTop(bins_[size_t(bin)], scale, baseline);
            if (tick) DrawLine(x, top, x, 2, kHistogramTickLine);
            DrawLine(x, baseline, x, top, tick ? kHistogramTick : kHistogramBar);
        } else if (tick) {
            DrawLine(x, baseline, x, 2, kHistogramTickLine);
        }
        if (tick) labels.emplace_back(x, uint32_t(bin));
    }
    Unlock();
    // Glyphs are blitted, which needs the image unlocked.
    for (const auto& [x, bin] : labels) {
        const std::wstring text = PrintedIndex(bin);
        if (int64_t(x) + digitFont_.Measure(text) < imageWidth) digitFont_.Draw(surface_, x, baseline + 1, text);
    }
}

void StatisticSurface::FillWhite(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!surface_) return;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface_->GetSurfaceDesc(&desc))) return;
    RECT box{std::max(left, 0), std::max(top, 0), LONG(std::min<int64_t>(right, desc.dwWidth)),
             LONG(std::min<int64_t>(bottom, desc.dwHeight))};
    if (box.left >= box.right || box.top >= box.bottom) return;
    const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    // White: every colour bit set.
    fx.dwFillColor = (format.dwFlags & DDPF_RGB) && format.dwRBitMask
                         ? format.dwRBitMask | format.dwGBitMask | format.dwBBitMask
                         : 0xFFFFFF;
    surface_->Blt(&box, nullptr, nullptr, DDBLT_COLORFILL, &fx);
}

void StatisticSurface::SetHistogramBits(uint32_t bits) {
    CritSecLock guard(lock_);
    if (bits < 8 || bits > 13) return;
    const uint32_t count = 1u << bits;
    if (count != binCount_) {
        binCount_ = count;
        bins_.assign(count, 0);
    }
    scroll_ = 0;
}

void StatisticSurface::SetHistogramScroll(uint32_t firstBin) {
    CritSecLock guard(lock_);
    scroll_ = firstBin;
}

void StatisticSurface::SetStatisticsMask(uint16_t mask) {
    CritSecLock guard(lock_);
    mask_ = mask;
}

bool StatisticSurface::Flip(uint8_t& flag) {
    CritSecLock guard(lock_);
    flag = !flag;
    return flag != 0;
}

bool StatisticSurface::ToggleHistogram() { return Flip(histogramOn_); }
bool StatisticSurface::ToggleStatistics() { return Flip(statisticsOn_); }
bool StatisticSurface::ToggleKeepPicture() { return Flip(keepPicture_); }
bool StatisticSurface::ToggleNormalisation() { return Flip(normalise_); }

uint32_t StatisticSurface::HistogramBinCount() { return Locked(binCount_); }
uint32_t StatisticSurface::HistogramScroll() { return Locked(scroll_); }
uint16_t StatisticSurface::StatisticsMask() { return Locked(mask_); }
bool StatisticSurface::HistogramOn() { return Locked(histogramOn_); }
bool StatisticSurface::StatisticsOn() { return Locked(statisticsOn_); }
bool StatisticSurface::KeepPictureOn() { return Locked(keepPicture_); }
bool StatisticSurface::NormalisationOn() { return Locked(normalise_); }

Kernels::FrameStatistics StatisticSurface::LastStatistics() {
    CritSecLock guard(lock_);
    return last_;
}

Kernels::HistogramReference StatisticSurface::LastReference() {
    CritSecLock guard(lock_);
    return reference_;
}

std::vector<uint32_t> StatisticSurface::HistogramBins() {
    CritSecLock guard(lock_);
    return bins_;
}

}  // namespace Render
