// The statistics surface on a real window and a software DirectDraw device:
// resize requests, glyph fonts, the five lines, histogram bars, ticks and
// labels, the switches; statistics of simulator frames against a literal
// computation.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "DisplayFixture.h"
#include "Render/StatisticSurface.h"
#include "support/AcquireHelpers.h"

namespace {

using namespace rendertest;
using namespace DllModule::Lib3Wrapper::OvTypeLib;
using Render::StatisticSurface;

// The readback value of a COLORREF: blue in the low byte, red in the high one.
uint32_t Shown(COLORREF colour) { return (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16; }
constexpr uint32_t kWhite = 0xFFFFFF;

struct Frame {
    uint32_t width = 0, height = 0, layout = 0;
    std::vector<uint16_t> samples;
};

Frame Uniform(uint32_t width, uint32_t height, uint16_t value) {
    return {width, height, 0, std::vector<uint16_t>(size_t(width) * height, value)};
}

// One row holding count[j] samples in each histogram bin j of 256 (value j * 256 + 17).
Frame BinCounts(const std::vector<uint32_t>& count) {
    Frame frame;
    for (uint32_t j = 0; j < count.size(); ++j)
        for (uint32_t k = 0; k < count[j]; ++k) frame.samples.push_back(uint16_t(j * 256 + 17));
    frame.width = uint32_t(frame.samples.size());
    frame.height = 1;
    return frame;
}

class StatisticSurfaceTest : public DisplayTest {
protected:
    // A surface with its image at the window's client size: the first frame
    // asks for the size, the answer creates it.
    std::unique_ptr<StatisticSurface> MakeSurface() {
        auto surface = std::make_unique<StatisticSurface>(window_);
        const Frame frame = Uniform(4, 4, 100);
        requests_.clear();
        EXPECT_FALSE(surface->Draw(frame.samples.data(), 4, 4, 0));
        EXPECT_TRUE(AnswerResize(*surface));
        return surface;
    }
    bool DrawFrame(StatisticSurface& surface, const Frame& frame) {
        return surface.Draw(frame.samples.data(), frame.width, frame.height, frame.layout);
    }
    RECT Client() const {
        RECT client{};
        GetClientRect(window_, &client);
        return client;
    }
    // The ink of a rectangle: pixels that are not white.
    static int Ink(const Image& image, int32_t left, int32_t top, int32_t right, int32_t bottom) {
        int ink = 0;
        for (int32_t y = std::max(top, 0); y < std::min<int32_t>(bottom, image.height); ++y)
            for (int32_t x = std::max(left, 0); x < std::min<int32_t>(right, image.width); ++x)
                ink += image.At(x, y) != kWhite;
        return ink;
    }
    // A white scratch surface with text drawn by a font at (0, 0).
    IDirectDrawSurface7* Scratch(uint32_t width, uint32_t height) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.dwWidth = width;
        desc.dwHeight = height;
        IDirectDrawSurface7* scratch = nullptr;
        EXPECT_EQ(directDraw_->CreateSurface(&desc, &scratch, nullptr), DD_OK);
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = 0xFFFFFF;
        scratch->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
        return scratch;
    }
};

TEST_F(StatisticSurfaceTest, FirstFrameAsksForTheClientSizeThenCreateBuildsBothFonts) {
    StatisticSurface surface(window_);
    EXPECT_FALSE(surface.HistogramOn());
    EXPECT_FALSE(surface.StatisticsOn());
    EXPECT_FALSE(surface.KeepPictureOn());
    EXPECT_TRUE(surface.NormalisationOn());
    EXPECT_EQ(surface.HistogramBinCount(), 0u);
    const Frame frame = Uniform(8, 8, 500);
    EXPECT_FALSE(DrawFrame(surface, frame));
    ASSERT_EQ(requests_.size(), 1u);
    const RECT client = Client();
    EXPECT_EQ(requests_[0].width, uint32_t(client.right));
    EXPECT_EQ(requests_[0].height, uint32_t(client.bottom));
    EXPECT_EQ(requests_[0].surface, reinterpret_cast<LPARAM>(static_cast<Render::Surface*>(&surface)));
    EXPECT_EQ(surface.OffScreen(), nullptr);

    ASSERT_TRUE(AnswerResize(surface));
    EXPECT_TRUE(surface.LabelFont().Built());
    EXPECT_EQ(surface.LabelFont().Count(), 64u);
    EXPECT_EQ(surface.LabelFont().First(), L'А');
    EXPECT_TRUE(surface.DigitFont().Built());
    EXPECT_EQ(surface.DigitFont().Count(), 26u);
    EXPECT_EQ(surface.DigitFont().First(), L' ');
    EXPECT_GT(surface.DigitFont().TextHeight(), 4);
    // Every glyph has a cell, side by side in the atlas.
    const Render::GlyphFont& digits = surface.DigitFont();
    for (uint32_t i = 1; i < digits.Count(); ++i)
        EXPECT_EQ(digits.GlyphAt(i).cellX, digits.GlyphAt(i - 1).cellX + digits.GlyphAt(i - 1).cellWidth);
    EXPECT_GT(digits.GlyphAt(digits.IndexOf(L'8')).cellWidth, 0);

    // Everything off: the picture is white.
    EXPECT_TRUE(DrawFrame(surface, frame));
    EXPECT_EQ(requests_.size(), 1u);
    const Image image = ReadBack(surface);
    ASSERT_EQ(image.width, uint32_t(client.right));
    ASSERT_EQ(image.height, uint32_t(client.bottom));
    for (uint32_t p : image.pixels) ASSERT_EQ(p, kWhite);
}

TEST_F(StatisticSurfaceTest, FontRangesBeyondTheirCapacityFail) {
    Render::GlyphFont font(26);
    EXPECT_FALSE(font.Build(directDraw_, L' ', wchar_t(L' ' + 26)));  // 27 characters
    EXPECT_FALSE(font.Built());
    EXPECT_FALSE(font.Build(directDraw_, L'9', L'0'));
    EXPECT_FALSE(font.Build(nullptr, L' ', L'9'));
    ASSERT_TRUE(font.Build(directDraw_, L' ', L'9'));
    EXPECT_EQ(font.IndexOf(L'0'), 16u);
    EXPECT_EQ(font.IndexOf(L'A'), 0u);  // outside: the first glyph
    EXPECT_EQ(font.Measure(L"00"), 2 * font.GlyphAt(16).advance);
}

TEST_F(StatisticSurfaceTest, SettersAndToggles) {
    StatisticSurface surface(window_);
    EXPECT_TRUE(surface.ToggleHistogram());
    EXPECT_FALSE(surface.ToggleHistogram());
    EXPECT_TRUE(surface.ToggleStatistics());
    EXPECT_TRUE(surface.StatisticsOn());
    EXPECT_TRUE(surface.ToggleKeepPicture());
    EXPECT_FALSE(surface.ToggleNormalisation());
    EXPECT_TRUE(surface.ToggleNormalisation());

    surface.SetHistogramBits(9);
    EXPECT_EQ(surface.HistogramBinCount(), 512u);
    EXPECT_EQ(surface.HistogramBins().size(), 512u);
    surface.SetHistogramScroll(100);
    EXPECT_EQ(surface.HistogramScroll(), 100u);
    surface.SetHistogramBits(9);  // same count: the scroll still restarts
    EXPECT_EQ(surface.HistogramScroll(), 0u);
    surface.SetHistogramBits(13);
    EXPECT_EQ(surface.HistogramBinCount(), 8192u);
    surface.SetHistogramScroll(7);
    surface.SetHistogramBits(14);  // out of range: nothing changes
    surface.SetHistogramBits(7);
    EXPECT_EQ(surface.HistogramBinCount(), 8192u);
    EXPECT_EQ(surface.HistogramScroll(), 7u);

    EXPECT_EQ(surface.StatisticsMask(), 0xFFC0);
    surface.SetStatisticsMask(0xFF00);
    EXPECT_EQ(surface.StatisticsMask(), 0xFF00);
}

TEST_F(StatisticSurfaceTest, NormalisationOffClipsATallBarAtRowTwo) {
    auto surface = MakeSurface();
    surface->ToggleHistogram();
    surface->SetHistogramBits(9);  // 512 bins of 128 raw values
    // 4046 samples of 3000 (bin 23) and 50 of 10000 (bin 78).
    Frame frame = Uniform(64, 64, 3000);
    for (int i = 0; i < 50; ++i) frame.samples[i * 7] = 10000;
    ASSERT_FALSE(surface->ToggleNormalisation());
    ASSERT_TRUE(DrawFrame(*surface, frame));
    Image image = ReadBack(*surface);
    const int32_t f = std::max<int32_t>(int32_t(image.height) - 20, 3);
    ASSERT_GT(f - 2, 50) << "the window is too low for this test";
    const uint32_t bar = Shown(Render::kHistogramBar);
    // The tall bar: rows 2 ... f, rows 0 and 1 white.
    for (int32_t y = 2; y <= f; ++y) ASSERT_EQ(image.At(23, y), bar) << y;
    EXPECT_EQ(image.At(23, 1), kWhite);
    EXPECT_EQ(image.At(23, 0), kWhite);
    // One count per row: 50 rows above the baseline.
    for (int32_t y = f - 50; y <= f; ++y) ASSERT_EQ(image.At(78, y), bar) << y;
    EXPECT_EQ(image.At(78, f - 51), kWhite);
    // An empty bin's bar is its bottom pixel alone, over the baseline.
    EXPECT_EQ(image.At(50, f), bar);
    EXPECT_EQ(image.At(50, f - 1), kWhite);

    // Normalised: the peak dominates (4046 > 1.3 x 50), so the second bin is
    // the reference and reaches row 2 as well.
    ASSERT_TRUE(surface->ToggleNormalisation());
    ASSERT_TRUE(DrawFrame(*surface, frame));
    EXPECT_EQ(surface->LastReference().top, 4046u);
    EXPECT_EQ(surface->LastReference().reference, 50u);
    image = ReadBack(*surface);
    EXPECT_EQ(image.At(78, 2), bar);
    EXPECT_EQ(image.At(78, 1), kWhite);
    EXPECT_EQ(image.At(23, 2), bar);
}

TEST_F(StatisticSurfaceTest, BarTickAndBaselineColoursAtTheirColumns) {
    auto surface = MakeSurface();
    surface->ToggleHistogram();
    surface->ToggleNormalisation();  // one count per row
    surface->SetHistogramBits(8);    // 256 bins
    surface->SetHistogramScroll(100);
    std::vector<uint32_t> counts(256, 0);
    for (uint32_t j = 100; j < 256; ++j) counts[j] = 1 + j % 7;
    ASSERT_TRUE(DrawFrame(*surface, BinCounts(counts)));
    const Image image = ReadBack(*surface);
    const int32_t width = int32_t(image.width), f = std::max<int32_t>(int32_t(image.height) - 20, 3);
    ASSERT_GT(width, 160) << "the window is too narrow for this test";
    const uint32_t bar = Shown(Render::kHistogramBar), tick = Shown(Render::kHistogramTick),
                   tickLine = Shown(Render::kHistogramTickLine);
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t bin = 100 + uint32_t(x);
        SCOPED_TRACE(::testing::Message() << "column " << x << " bin " << bin);
        if (bin < 256) {
            const int32_t top = f - int32_t(counts[bin]);
            const bool isTick = bin % 128 == 0;
            for (int32_t y = top; y <= f; ++y) ASSERT_EQ(image.At(x, y), isTick ? tick : bar) << y;
            for (int32_t y = 2; y < top; ++y) ASSERT_EQ(image.At(x, y), isTick ? tickLine : kWhite) << y;
        } else if (bin % 128 == 0) {
            for (int32_t y = 2; y <= f; ++y) ASSERT_EQ(image.At(x, y), tickLine) << y;
        } else {
            for (int32_t y = 0; y < f; ++y) ASSERT_EQ(image.At(x, y), kWhite) << y;
            ASSERT_EQ(image.At(x, f), tick);  // the baseline
        }
        ASSERT_EQ(image.At(x, 0), kWhite);
        ASSERT_EQ(image.At(x, 1), kWhite);
    }
    // Labels under the ticks, when they fit: 128 at column 28, 256 at 156, 384 at 284.
    const Render::GlyphFont& digits = surface->DigitFont();
    const int32_t lineHeight = digits.TextHeight();
    for (const auto& [x, text] : {std::pair{28, L"128"}, {156, L"256"}, {284, L"384"}}) {
        const int32_t textWidth = digits.Measure(text);
        const int ink = Ink(image, x, f + 1, x + textWidth, f + 1 + lineHeight);
        if (x + textWidth < width)
            EXPECT_GT(ink, 5) << text;
        else
            EXPECT_EQ(ink, 0) << text;
    }
    // Nothing between the labels.
    EXPECT_EQ(Ink(image, 28 + digits.Measure(L"128") + 2, f + 1, 150, f + 1 + lineHeight), 0);
}

TEST_F(StatisticSurfaceTest, KeepPictureDrawsOverThePreviousOne) {
    auto surface = MakeSurface();
    surface->SetHistogramBits(9);
    surface->ToggleHistogram();
    const Frame frame = Uniform(16, 16, 3000);
    ASSERT_TRUE(DrawFrame(*surface, frame));
    const Image withBars = ReadBack(*surface);
    EXPECT_NE(withBars.At(23, 2), kWhite);
    surface->ToggleHistogram();
    ASSERT_TRUE(surface->ToggleKeepPicture());
    ASSERT_TRUE(DrawFrame(*surface, frame));
    EXPECT_TRUE(ReadBack(*surface).pixels == withBars.pixels);  // kept as it was
    surface->ToggleKeepPicture();
    ASSERT_TRUE(DrawFrame(*surface, frame));
    for (uint32_t p : ReadBack(*surface).pixels) ASSERT_EQ(p, kWhite);
}

TEST_F(StatisticSurfaceTest, FullStopOfAMeanDifferenceIsDrawnWithTheFirstGlyph) {
    auto surface = MakeSurface();
    surface->ToggleStatistics();
    ASSERT_TRUE(DrawFrame(*surface, Uniform(8, 8, 1000)));
    const Image image = ReadBack(*surface);
    const Render::GlyphFont& labels = surface->LabelFont();
    const Image atlas = ReadBack(labels.Atlas());
    ASSERT_GT(atlas.width, 0u);

    // "СреднееРазн." is line 3; the stop follows the advances of the letters.
    const int32_t y = 3 * surface->DigitFont().TextHeight();
    const int32_t penX = 2 + labels.Measure(L"СреднееРазн");
    EXPECT_EQ(labels.IndexOf(L'.'), 0u);
    const Render::GlyphFont::Glyph& first = labels.GlyphAt(0);
    const Render::GlyphFont::Glyph& before = labels.GlyphAt(labels.IndexOf(L'н'));
    const int32_t left = penX + first.leftBearing;
    // The ink of the letter before ends left of the stop's cell.
    ASSERT_LE(penX - before.advance + before.leftBearing + before.cellWidth, left);
    // The value column starts where "ДинДиапазон" ends, and a stop drawn as
    // 'А' reaches into it: the value's white box and digits cover the rest.
    const int32_t visible = std::min(first.cellWidth, surface->ValueColumn() - left);
    ASSERT_GE(visible, 4);
    int ink = 0;
    for (int32_t dy = 0; dy < labels.TextHeight(); ++dy) {
        for (int32_t dx = 0; dx < visible; ++dx) {
            const uint32_t glyph = atlas.At(uint32_t(first.cellX + dx), uint32_t(dy));
            ASSERT_EQ(image.At(uint32_t(left + dx), uint32_t(y + dy)), glyph) << dx << "," << dy;
            ink += glyph != kWhite;
        }
    }
    EXPECT_GT(ink, 5);  // the glyph of 'А', not a dot
}

TEST_F(StatisticSurfaceTest, LabelsAndValuesAreDrawnOnTheirLines) {
    auto surface = MakeSurface();
    surface->ToggleStatistics();
    surface->SetStatisticsMask(0xFFFF);
    ASSERT_TRUE(DrawFrame(*surface, Uniform(8, 8, 1000)));
    const Render::Kernels::FrameStatistics s = surface->LastStatistics();
    EXPECT_EQ(s.deviation, 0.0);
    EXPECT_EQ(s.thresholdDeviation, 0.0);
    EXPECT_EQ(s.mean, 1000.0);
    EXPECT_EQ(s.meanDifference, 0.0);  // the first frame is compared with itself
    EXPECT_EQ(s.dynamicRange, 1000.0);
    EXPECT_EQ(StatisticSurface::PreviousMean(), 1000.0);
    const wchar_t* const values[] = {L"0.0000          ", L"0.0000          ", L"1000.0000       ", L"0.0000          ",
                                     L"1000.0000       "};

    const Image image = ReadBack(*surface);
    const Render::GlyphFont& labels = surface->LabelFont();
    const Render::GlyphFont& digits = surface->DigitFont();
    const int32_t lineHeight = digits.TextHeight(), valueX = surface->ValueColumn();
    EXPECT_EQ(valueX, labels.Measure(L"ДинДиапазон") + 5);
    for (int line = 0; line < StatisticSurface::kLines; ++line) {
        SCOPED_TRACE(::testing::Message() << "line " << line);
        // The same texts drawn alone on white: label from x = 2, value from 0.
        const int32_t valueWidth = digits.Measure(values[line]);
        IDirectDrawSurface7* label = Scratch(uint32_t(valueX), uint32_t(lineHeight));
        IDirectDrawSurface7* value = Scratch(uint32_t(valueWidth), uint32_t(lineHeight));
        labels.Draw(label, 2, 0, StatisticSurface::kLabels[line]);
        digits.Draw(value, 0, 0, values[line]);
        const Image labelImage = ReadBack(label), valueImage = ReadBack(value);
        label->Release();
        value->Release();
        const int32_t y = line * lineHeight;
        for (int32_t dy = 0; dy < lineHeight; ++dy) {
            for (int32_t x = 0; x < valueX; ++x)
                ASSERT_EQ(image.At(x, y + dy), labelImage.At(x, dy)) << "label " << x << "," << dy;
            for (int32_t x = 0; x < valueWidth; ++x)
                ASSERT_EQ(image.At(valueX + x, y + dy), valueImage.At(x, dy)) << "value " << x << "," << dy;
        }
        EXPECT_GT(Ink(labelImage, 0, 0, valueX, lineHeight), 10);
        EXPECT_GT(Ink(valueImage, 0, 0, valueWidth, lineHeight), 10);
    }
    // Below the five lines the picture is white.
    EXPECT_EQ(Ink(image, 0, 5 * lineHeight, int32_t(image.width), int32_t(image.height)), 0);
}

TEST_F(StatisticSurfaceTest, TextStaysReadableOverFullHeightBars) {
    auto surface = MakeSurface();
    surface->ToggleStatistics();
    surface->ToggleHistogram();
    surface->SetHistogramBits(9);  // 512 bins of 128 raw values
    ASSERT_FALSE(surface->ToggleNormalisation());
    // 300 samples in every bin: with one count per row every bar reaches row 2.
    Frame frame;
    for (uint32_t bin = 0; bin < 512; ++bin) frame.samples.insert(frame.samples.end(), 300, uint16_t(bin * 128 + 1));
    frame.width = 512;
    frame.height = uint32_t(frame.samples.size() / 512);
    ASSERT_TRUE(DrawFrame(*surface, frame));
    const Image image = ReadBack(*surface);
    const Render::Kernels::FrameStatistics s = surface->LastStatistics();
    const double values[] = {s.deviation, s.thresholdDeviation, s.mean, s.meanDifference, s.dynamicRange};
    const uint32_t barColours[] = {Shown(Render::kHistogramBar), Shown(Render::kHistogramTick),
                                   Shown(Render::kHistogramTickLine)};
    const int32_t lineHeight = surface->DigitFont().TextHeight(), valueX = surface->ValueColumn();
    ASSERT_GT(int32_t(image.height) - 20, 5 * lineHeight) << "the window is too low for this test";
    // The bars do run under the text: just below it they cover the column.
    const uint32_t below = image.At(valueX + 1, 5 * lineHeight);
    ASSERT_TRUE(below == barColours[0] || below == barColours[1]) << std::hex << below;
    for (int line = 0; line < StatisticSurface::kLines; ++line) {
        SCOPED_TRACE(::testing::Message() << "line " << line);
        wchar_t text[64];
        swprintf(text, 64, L"%-16.4f", values[line]);
        const int32_t y = line * lineHeight;
        const int32_t labelRight = 2 + surface->LabelFont().Measure(StatisticSurface::kLabels[line]);
        const int32_t valueRight = valueX + surface->DigitFont().Measure(text);
        for (int32_t dy = 0; dy < lineHeight; ++dy) {
            for (int32_t x = 2; x < valueRight; ++x) {
                if (x >= labelRight && x < valueX) continue;  // between the boxes the bars may show
                for (uint32_t bar : barColours) ASSERT_NE(image.At(x, y + dy), bar) << x << "," << dy;
            }
        }
        EXPECT_GT(Ink(image, 2, y, labelRight, y + lineHeight), 10);
        EXPECT_GT(Ink(image, valueX, y, valueRight, y + lineHeight), 10);
    }
}

// The statistics of a frame written out literally (as the native tests do).
struct Literal {
    double deviation, thresholdDeviation, mean, meanDifference;
};

Literal LiteralStatistics(const std::vector<uint16_t>& current, const std::vector<uint16_t>& previous, uint32_t pixels,
                          uint32_t perPixel, uint32_t shift, uint32_t mask, double previousMean) {
    const uint32_t down = mask == 0xFF00 ? 8 : mask == 0xFFC0 ? 6 : mask == 0xFFF0 ? 4 : 0;
    auto value = [&](uint16_t sample) {
        uint64_t t = (uint64_t(sample) << shift) & 0xFFFFFFFFull;
        return double((uint32_t(std::min<uint64_t>(t, 65535)) & mask) >> down);
    };
    double sum = 0, squares = 0, difference = 0, tSum = 0, tSquares = 0, counted = 0;
    const uint32_t which = perPixel == 3 ? 1 : 0;
    for (uint32_t i = 0; i < pixels; ++i) {
        const double f = value(current[i * perPixel + which]), p = value(previous[i * perPixel + which]);
        sum += f;
        squares += f * f;
        difference += std::fabs(f - p);
        if (0.7 * previousMean < f && f < 1.3 * previousMean) {
            ++counted;
            tSum += f;
            tSquares += f * f;
        }
    }
    const double n = pixels ? pixels : 1, c = counted ? counted : 1;
    Literal literal;
    literal.mean = sum / n;
    literal.deviation = std::sqrt(std::max(0.0, squares / n - literal.mean * literal.mean));
    literal.thresholdDeviation = std::sqrt(std::max(0.0, tSquares / c - (tSum / c) * (tSum / c)));
    literal.meanDifference = difference / n;
    return literal;
}

void ExpectStatistics(const Render::Kernels::FrameStatistics& s, const Literal& literal) {
    EXPECT_NEAR(s.mean, literal.mean, 1e-9 * std::max(1.0, literal.mean));
    EXPECT_NEAR(s.deviation, literal.deviation, 1e-6);
    EXPECT_NEAR(s.thresholdDeviation, literal.thresholdDeviation, 1e-6);
    EXPECT_NEAR(s.meanDifference, literal.meanDifference, 1e-9 * std::max(1.0, literal.meanDifference));
}

TEST_F(StatisticSurfaceTest, SimulatorFramesAgainstTheLiteralStatistics) {
    IOvSystem* system = CreateAndInit(ovtest::kZelMono);
    ASSERT_NE(system, nullptr);
    IOvDataTransfer* transfer = nullptr;
    ASSERT_TRUE(system->GetDataTransfer(0, &transfer));
    const ovtest::Grabbed a = ovtest::Grab(transfer), b = ovtest::Grab(transfer);
    ASSERT_TRUE(a.ok && b.ok);
    ASSERT_EQ(a.layout, 0u);
    ASSERT_EQ(a.samples.size(), b.samples.size());
    ASSERT_NE(a.samples, b.samples);
    const uint32_t pixels = a.width * a.height;

    auto surface = MakeSurface();
    surface->ToggleStatistics();
    surface->ToggleHistogram();
    surface->SetHistogramBits(9);
    surface->SetGainShift(1);
    const double before = StatisticSurface::PreviousMean();
    ASSERT_TRUE(surface->Draw(a.samples.data(), a.width, a.height, a.layout));
    const Literal first = LiteralStatistics(a.samples, a.samples, pixels, 1, 1, 0xFFC0, before);
    ExpectStatistics(surface->LastStatistics(), first);
    EXPECT_EQ(surface->LastStatistics().meanDifference, 0.0);
    EXPECT_DOUBLE_EQ(StatisticSurface::PreviousMean(), first.mean);

    // The next frame: differences from the stored one, thresholds around its mean.
    surface->SetStatisticsMask(0xFFF0);
    ASSERT_TRUE(surface->Draw(b.samples.data(), b.width, b.height, b.layout));
    const Literal second = LiteralStatistics(b.samples, a.samples, pixels, 1, 1, 0xFFF0, first.mean);
    ExpectStatistics(surface->LastStatistics(), second);
    EXPECT_GT(second.meanDifference, 0.0);

    // The histogram of the shifted samples: every pixel in some bin, the peak bin's count.
    const std::vector<uint32_t> bins = surface->HistogramBins();
    std::vector<uint32_t> expected(512, 0);
    for (uint16_t v : b.samples) expected[std::min<uint32_t>(uint32_t(v) << 1, 65535) / 128] += 1;
    EXPECT_EQ(bins, expected);
    EXPECT_EQ(surface->LastReference().top, *std::max_element(expected.begin(), expected.end()));
}

TEST_F(StatisticSurfaceTest, BgrFramesUseTheGreenSample) {
    auto surface = MakeSurface();
    surface->ToggleStatistics();
    surface->ToggleHistogram();
    surface->SetHistogramBits(9);
    surface->SetStatisticsMask(0xFFFF);
    Frame frame{10, 3, 2, {}};
    for (int i = 0; i < 30; ++i) frame.samples.insert(frame.samples.end(), {60000, uint16_t(3000 + i % 2), 50000});
    ASSERT_TRUE(DrawFrame(*surface, frame));
    EXPECT_DOUBLE_EQ(surface->LastStatistics().mean, 3000.5);
    EXPECT_DOUBLE_EQ(surface->LastStatistics().deviation, 0.5);
    EXPECT_EQ(surface->HistogramBins()[3000 / 128], 30u);
    EXPECT_EQ(surface->LastReference().top, 30u);
}

TEST_F(StatisticSurfaceTest, NothingIsDrawnWithoutAnImage) {
    StatisticSurface surface(window_);
    surface.ToggleStatistics();
    surface.ToggleHistogram();
    const Frame frame = Uniform(8, 8, 500);
    EXPECT_FALSE(DrawFrame(surface, frame));
    ASSERT_FALSE(requests_.empty());
    // A failed creation leaves no image and no fonts; the next frames only ask again.
    EXPECT_FALSE(surface.Create(nullptr, requests_.back().width, requests_.back().height));
    EXPECT_EQ(surface.OffScreen(), nullptr);
    EXPECT_FALSE(surface.LabelFont().Built());
    EXPECT_FALSE(DrawFrame(surface, frame));
}

// Not a check: shows a simulator frame's statistics in a visible window for
// scripts/stats-screenshot.sh, which sets OV_STATS_SCREENSHOT_DIR, waits for
// "ready" there, takes the screenshot and then creates "done". The picture
// is also written there as stats.bmp.
TEST_F(StatisticSurfaceTest, ShowForScreenshot) {
    const char* folder = std::getenv("OV_STATS_SCREENSHOT_DIR");
    if (!folder) GTEST_SKIP() << "only for scripts/stats-screenshot.sh";
    const std::string dir = folder;
    HWND shown = CreateWindowExW(0, L"OvRenderTestWindow", L"Статистика", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20,
                                 660, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(shown, nullptr);
    SetWindowLongPtrW(shown, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<DisplayTest*>(this)));

    IOvSystem* system = CreateAndInit(ovtest::kZelMono);
    ASSERT_NE(system, nullptr);
    IOvDataTransfer* transfer = nullptr;
    ASSERT_TRUE(system->GetDataTransfer(0, &transfer));
    StatisticSurface surface(shown);
    surface.ToggleStatistics();
    surface.ToggleHistogram();
    surface.SetHistogramBits(9);
    // The bars are drawn after the text; the simulator's main peak lies in
    // the first 170 bins, so those are scrolled out to leave the text clear.
    surface.SetHistogramScroll(170);
    surface.SetStatisticsMask(0xFFC0);
    requests_.clear();
    ovtest::Grabbed frame = ovtest::Grab(transfer);
    ASSERT_TRUE(frame.ok);
    EXPECT_FALSE(surface.Draw(frame.samples.data(), frame.width, frame.height, frame.layout));
    ASSERT_TRUE(AnswerResize(surface));

    auto show = [&] {
        const ovtest::Grabbed next = ovtest::Grab(transfer);
        if (next.ok) frame = next;
        if (!surface.Draw(frame.samples.data(), frame.width, frame.height, frame.layout)) return;
        HDC from = nullptr;
        if (FAILED(surface.OffScreen()->GetDC(&from))) return;
        HDC to = GetDC(shown);
        BitBlt(to, 0, 0, int(surface.Width()), int(surface.Height()), from, 0, 0, SRCCOPY);
        ReleaseDC(shown, to);
        surface.OffScreen()->ReleaseDC(from);
    };
    for (int i = 0; i < 3; ++i) show();

    // The picture as a 24-bit bottom-up BMP.
    const Image image = ReadBack(surface);
    const uint32_t rowBytes = (image.width * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + rowBytes * image.height;
    info.biSize = sizeof info;
    info.biWidth = LONG(image.width);
    info.biHeight = LONG(image.height);
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<uint8_t> rows(size_t(rowBytes) * image.height, 0);
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, image.height - 1 - y);
            std::memcpy(&rows[size_t(y) * rowBytes + x * 3], &p, 3);
        }
    if (FILE* out = std::fopen((dir + "/stats.bmp").c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(rows.data(), 1, rows.size(), out);
        std::fclose(out);
    }

    if (FILE* ready = std::fopen((dir + "/ready").c_str(), "w")) std::fclose(ready);
    const std::string done = dir + "/done";  // dir is a Windows path (Z:/...)
    for (int i = 0; i < 600 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        show();
        Sleep(100);
    }
    DestroyWindow(shown);
}

}  // namespace
