// The display processing state: operations, white-balance modes, and whole
// frames through Render8 / Render16 against the literal rules, including a
// randomised sweep over frame shapes, settings and pick points.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "PixelReference.h"
#include "Render/Kernels/PixelPipeline.h"

using namespace Render::Kernels;

namespace {

struct References {
    uint16_t blue, green, red;
};

References ReferencesOf(const PixelPipeline& p) {
    References r{};
    p.GetBalanceReferences(&r.blue, &r.green, &r.red);
    return r;
}

// The tables the settings must produce, from the reference arithmetic.
pixelref::Tables Expected(float gamma, uint16_t black, uint16_t white, const References& refs) {
    return pixelref::ChannelTables(pixelref::GammaTable(gamma), black, white, refs.red, refs.green, refs.blue);
}

void ExpectTables(const PixelPipeline& p, const pixelref::Tables& expected) {
    const uint16_t* red = p.Table(ChannelRed);
    const uint16_t* green = p.Table(ChannelGreen);
    const uint16_t* blue = p.Table(ChannelBlue);
    const uint16_t* grey = p.Table(ChannelGrey);
    for (uint32_t i = 0; i < kTableSize; ++i) {
        ASSERT_EQ(red[i], expected.red[i]) << "red " << i;
        ASSERT_EQ(green[i], expected.green[i]) << "green " << i;
        ASSERT_EQ(blue[i], expected.blue[i]) << "blue " << i;
        ASSERT_EQ(grey[i], expected.grey[i]) << "grey " << i;
    }
}

std::unique_ptr<PixelPipeline> NewPipeline() { return std::make_unique<PixelPipeline>(); }

// A 2 x 2 GRBG frame: greens g1 (top-left) and g2 (bottom-right).
std::vector<uint16_t> Cell(uint16_t g1, uint16_t red, uint16_t blue, uint16_t g2) { return {g1, red, blue, g2}; }

}  // namespace

TEST(PixelPipeline, StartsWithIdentityTablesAndDefaults) {
    auto p = NewPipeline();
    EXPECT_EQ(p->Mode(), uint32_t(WbOff));
    EXPECT_EQ(p->BlackLevel(), 0);
    EXPECT_EQ(p->WhiteLevel(), 65535);
    EXPECT_EQ(p->GainShift(), 0u);
    EXPECT_FLOAT_EQ(p->Gamma(), 1.0f);
    const References refs = ReferencesOf(*p);
    EXPECT_EQ(refs.red, 65535);
    EXPECT_EQ(refs.green, 65535);
    EXPECT_EQ(refs.blue, 65535);
    for (uint32_t i = 0; i < kTableSize; ++i) {
        ASSERT_EQ(p->GammaTable()[i], i);
        ASSERT_EQ(p->Table(ChannelRed)[i], i);
        ASSERT_EQ(p->Table(ChannelGrey)[i], i);
    }
}

TEST(PixelPipeline, SettingsRebuildTheTables) {
    auto p = NewPipeline();
    p->SetGamma(2.2f);
    p->SetLevels(300, 50000);
    EXPECT_FLOAT_EQ(p->Gamma(), 2.2f);
    ExpectTables(*p, Expected(2.2f, 300, 50000, {65535, 65535, 65535}));
    p->SetWhiteBalanceMode(WbManual);
    p->SetManualBalance(20000, 40000, 60000);
    const References refs = ReferencesOf(*p);
    EXPECT_EQ(refs.blue, 20000);
    EXPECT_EQ(refs.green, 40000);
    EXPECT_EQ(refs.red, 60000);
    ExpectTables(*p, Expected(2.2f, 300, 50000, refs));
}

TEST(PixelPipeline, OffAfterManualReturnsToIdentityWithLevelsAndGamma) {
    auto p = NewPipeline();
    p->SetGamma(1.6f);
    p->SetLevels(1000, 60000);
    p->SetWhiteBalanceMode(WbManual);
    p->SetManualBalance(10000, 30000, 50000);
    p->SetWhiteBalanceMode(WbOff);
    const References refs = ReferencesOf(*p);
    EXPECT_EQ(refs.blue, 1);
    EXPECT_EQ(refs.green, 1);
    EXPECT_EQ(refs.red, 1);
    for (uint32_t i = 0; i < kTableSize; ++i) {
        ASSERT_EQ(p->Table(ChannelRed)[i], p->Table(ChannelGrey)[i]) << i;
        ASSERT_EQ(p->Table(ChannelBlue)[i], p->Table(ChannelGrey)[i]) << i;
    }
    ExpectTables(*p, Expected(1.6f, 1000, 60000, {1, 1, 1}));
}

TEST(PixelPipeline, ManualBalanceOutsideManualModeChangesNothing) {
    auto p = NewPipeline();
    for (uint32_t mode : {WbAuto, WbPixel, WbOff}) {
        p->SetWhiteBalanceMode(mode);
        const References before = ReferencesOf(*p);
        const uint16_t redAt1000 = p->Table(ChannelRed)[1000];
        p->SetManualBalance(1, 2, 3);
        const References after = ReferencesOf(*p);
        EXPECT_EQ(after.blue, before.blue) << "mode " << mode;
        EXPECT_EQ(after.red, before.red) << "mode " << mode;
        EXPECT_EQ(p->Table(ChannelRed)[1000], redAt1000) << "mode " << mode;
    }
}

TEST(PixelPipeline, PickOutsidePixelModeChangesNothing) {
    auto p = NewPipeline();
    p->SetWhiteBalanceMode(WbManual);
    p->SetManualBalance(100, 200, 300);
    p->PickBalancePixel(0, 0);
    EXPECT_FALSE(p->PickPending());
    const std::vector<uint16_t> frame = Cell(1000, 2000, 3000, 1000);
    std::vector<uint8_t> out(16);
    ASSERT_TRUE(p->Render8(0, 0, 2, 2, out.data(), 8, 32, frame.data(), kLayoutBayer));
    const References refs = ReferencesOf(*p);
    EXPECT_EQ(refs.blue, 100);
    EXPECT_EQ(refs.green, 200);
    EXPECT_EQ(refs.red, 300);
}

TEST(PixelPipeline, PickTakesTheCellOfTheNextBayerFrameOnce) {
    auto p = NewPipeline();
    p->SetWhiteBalanceMode(WbPixel);
    p->PickBalancePixel(0, 0);
    EXPECT_TRUE(p->PickPending());
    std::vector<uint8_t> out(16);
    // A Mono frame leaves the pick pending.
    const std::vector<uint16_t> mono(4, 5);
    ASSERT_TRUE(p->Render8(0, 0, 2, 2, out.data(), 8, 32, mono.data(), kLayoutMono));
    EXPECT_TRUE(p->PickPending());
    const std::vector<uint16_t> frame = Cell(1001, 2000, 3000, 1004);
    ASSERT_TRUE(p->Render8(0, 0, 2, 2, out.data(), 8, 32, frame.data(), kLayoutBayer));
    EXPECT_FALSE(p->PickPending());
    References refs = ReferencesOf(*p);
    EXPECT_EQ(refs.red, 2000);
    EXPECT_EQ(refs.blue, 3000);
    EXPECT_EQ(refs.green, 1002);  // (1001 + 1004) / 2
    ExpectTables(*p, Expected(1.0f, 0, 65535, refs));
    // The next frame keeps the picked balance.
    const std::vector<uint16_t> other = Cell(9, 9, 9, 9);
    ASSERT_TRUE(p->Render8(0, 0, 2, 2, out.data(), 8, 32, other.data(), kLayoutBayer));
    refs = ReferencesOf(*p);
    EXPECT_EQ(refs.red, 2000);
    // Render16 takes a pick too.
    p->PickBalancePixel(0, 0);
    std::vector<uint16_t> wide(12);
    ASSERT_TRUE(p->Render16(0, 0, 2, 2, wide.data(), 6, 48, other.data(), kLayoutBayer));
    EXPECT_EQ(ReferencesOf(*p).red, 9);
}

TEST(PixelPipeline, LeavingPixelModeDropsAPendingPick) {
    auto p = NewPipeline();
    p->SetWhiteBalanceMode(WbPixel);
    p->PickBalancePixel(0, 0);
    p->SetWhiteBalanceMode(WbManual);
    EXPECT_FALSE(p->PickPending());
}

TEST(PixelPipeline, AutoBalanceAveragesEveryFrame) {
    auto p = NewPipeline();
    p->SetWhiteBalanceMode(WbAuto);
    std::vector<uint8_t> out(16);
    const std::vector<uint16_t> frame = Cell(1000, 2000, 4000, 1002);
    ASSERT_TRUE(p->Render8(0, 0, 2, 2, out.data(), 8, 32, frame.data(), kLayoutBayer));
    References refs = ReferencesOf(*p);
    // All four pixels use the one cell of a 2 x 2 frame.
    EXPECT_EQ(refs.red, 2000);
    EXPECT_EQ(refs.blue, 4000);
    EXPECT_EQ(refs.green, 1001);
    // Drawn with the balance of this very frame: red 2000 * 4000 / 2000.
    EXPECT_EQ(out[2], pixelref::Byte(4000, 0));
    EXPECT_EQ(out[0], pixelref::Byte(4000, 0));
    const std::vector<uint16_t> black(4, 0);
    ASSERT_TRUE(p->Render8(0, 0, 2, 2, out.data(), 8, 32, black.data(), kLayoutBayer));
    refs = ReferencesOf(*p);
    EXPECT_EQ(refs.red, 0);  // kept as 0, used as 1
    ExpectTables(*p, Expected(1.0f, 0, 65535, {1, 1, 1}));
    // Saving keeps the references of the frame on screen.
    ASSERT_TRUE(p->Render8(0, 0, 2, 2, out.data(), 8, 32, frame.data(), kLayoutBayer));
    std::vector<uint16_t> wide(12);
    ASSERT_TRUE(p->Render16(0, 0, 2, 2, wide.data(), 6, 48, black.data(), kLayoutBayer));
    EXPECT_EQ(ReferencesOf(*p).red, 2000);
    EXPECT_EQ(ReferencesOf(*p).blue, 4000);
}

TEST(PixelPipeline, GainShiftAppliesAfterTheTables) {
    auto p = NewPipeline();
    p->SetGainShift(2);
    const std::vector<uint16_t> samples{0x4000, 0x0100, 0x3FFF, 0};
    std::vector<uint8_t> out(16, 0xA5);
    ASSERT_TRUE(p->Render8(0, 0, 4, 1, out.data(), 16, 32, samples.data(), kLayoutMono));
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[4], 4);
    EXPECT_EQ(out[8], 255);
    EXPECT_EQ(out[12], 0);
    p->SetGamma(1.5f);  // the table path
    ASSERT_TRUE(p->Render8(0, 0, 4, 1, out.data(), 16, 32, samples.data(), kLayoutMono));
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[4], pixelref::Byte(pixelref::GammaTable(1.5f)[0x100], 2));
    std::vector<uint16_t> wide(4);
    ASSERT_TRUE(p->Render16(0, 0, 4, 1, wide.data(), 4, 16, samples.data(), kLayoutMono));
    EXPECT_EQ(wide[0], 65535);
}

TEST(PixelPipeline, RenderPlacesTheFrameAtItsOffsetAndClips) {
    auto p = NewPipeline();
    const std::vector<uint16_t> samples(6, 0x8000);  // 3 x 2
    const uint32_t canvasWidth = 4, canvasHeight = 3, pitch = canvasWidth * 4;
    std::vector<uint8_t> out(pitch * canvasHeight, 0xA5);
    ASSERT_TRUE(p->Render8(2, 1, 3, 2, out.data(), pitch, 32, samples.data(), kLayoutMono, canvasWidth, canvasHeight));
    for (uint32_t y = 0; y < canvasHeight; ++y)
        for (uint32_t x = 0; x < canvasWidth; ++x) {
            const bool drawn = x >= 2 && y >= 1;
            EXPECT_EQ(out[y * pitch + x * 4], drawn ? 0x80 : 0xA5) << x << "," << y;
        }
}

TEST(PixelPipeline, UndrawableRequestsDrawNothing) {
    auto p = NewPipeline();
    const std::vector<uint16_t> samples(12, 0x8000);
    std::vector<uint8_t> out(64, 0xA5);
    EXPECT_FALSE(p->Render8(0, 0, 2, 2, out.data(), 16, 16, samples.data(), kLayoutMono));
    EXPECT_FALSE(p->Render8(0, 0, 2, 2, out.data(), 16, 32, samples.data(), kLayoutBgr));
    EXPECT_FALSE(p->Render8(0, 0, 2, 2, nullptr, 16, 32, samples.data(), kLayoutMono));
    for (uint8_t b : out) ASSERT_EQ(b, 0xA5);
    std::vector<uint16_t> wide(16, 7);
    EXPECT_FALSE(p->Render16(0, 0, 2, 2, wide.data(), 8, 16, samples.data(), kLayoutBayer));
    EXPECT_FALSE(p->Render16(0, 0, 2, 2, wide.data(), 8, 48, samples.data(), kLayoutBgr));
    EXPECT_FALSE(p->Render16(-1, 0, 2, 2, wide.data(), 8, 16, samples.data(), kLayoutMono));
    for (uint16_t w : wide) ASSERT_EQ(w, 7);
}

// Random frames (1 x 1 up, odd sizes), settings, modes and pick points; every
// output byte and word against the reference, under the sanitizers.
TEST(PixelPipeline, RandomFramesAndSettingsMatchTheReference) {
    std::mt19937 random(4242);
    auto p = NewPipeline();
    float gamma = 1.0f;
    const float gammas[] = {1.0f, 0.8f, 2.2f};
    std::vector<std::vector<uint16_t>> gammaTables;
    for (float g : gammas) gammaTables.push_back(pixelref::GammaTable(g));
    size_t gammaIndex = 0;
    int32_t pickX = 0, pickY = 0;
    for (int round = 0; round < 160; ++round) {
        // Change one or two settings.
        switch (random() % 6) {
            case 0:
                gammaIndex = random() % 3;
                gamma = gammas[gammaIndex];
                p->SetGamma(gamma);
                break;
            case 1: {
                const uint16_t black = uint16_t(random() % 2000),
                               white = uint16_t(random() % 3 ? 65535 - random() % 9000 : black);
                p->SetLevels(black, white);
                break;
            }
            case 2:
                p->SetWhiteBalanceMode(random() % 4);
                break;
            case 3:
                p->SetWhiteBalanceMode(WbManual);
                p->SetManualBalance(uint16_t(random() % 3 ? random() : 0), uint16_t(random()), uint16_t(random()));
                break;
            case 4:
                p->SetGainShift(random() % 5 ? random() % 4 : random() % 33);
                break;
            case 5:
                p->SetWhiteBalanceMode(WbPixel);
                pickX = int32_t(random() % 50) - 5;
                pickY = int32_t(random() % 20) - 5;
                p->PickBalancePixel(pickX, pickY);
                break;
        }
        const uint32_t width = random() % 8 == 0 ? 1 : 1 + random() % 21;
        const uint32_t height = random() % 8 == 0 ? 1 : 1 + random() % 9;
        const bool bayer = random() % 3 != 0;
        std::vector<uint16_t> samples(size_t(width) * height);
        for (uint16_t& v : samples) v = uint16_t(random() % 2 ? random() % 8192 : random());

        // What the frame's balance step must leave as references.
        const bool pickPending = p->PickPending();
        References refs = ReferencesOf(*p);
        const uint32_t shift = p->GainShift();
        const uint32_t bpp = random() % 4 ? 32 : 24;
        const uint32_t x = random() % 3, y = random() % 3;
        const size_t pitch = size_t(width + x) * (bpp / 8) + random() % 4;
        std::vector<uint8_t> out(pitch * (height + y), 0xA5);
        const bool sixteen = random() % 4 == 0;
        std::vector<uint16_t> wide;
        size_t stride = 0;
        const uint32_t words = bayer ? 3 : 1;
        if (sixteen) {
            stride = size_t(width + x) * words + random() % 3;
            wide.assign(stride * (height + y), 0xBEEF);
            ASSERT_TRUE(p->Render16(int32_t(x), int32_t(y), width, height, wide.data(), stride, words * 16,
                                    samples.data(), bayer ? kLayoutBayer : kLayoutMono));
        } else {
            ASSERT_TRUE(p->Render8(int32_t(x), int32_t(y), width, height, out.data(), ptrdiff_t(pitch), bpp,
                                   samples.data(), bayer ? kLayoutBayer : kLayoutMono));
        }

        // The references after the frame's balance step.
        if (bayer && pickPending && p->Mode() == WbPixel) {
            // The picked point taken as the nearest pixel of the frame, its cell moved inside.
            EXPECT_FALSE(p->PickPending());
            const uint32_t column = uint32_t(std::clamp<int32_t>(pickX, 0, int32_t(width) - 1));
            const uint32_t row = uint32_t(std::clamp<int32_t>(pickY, 0, int32_t(height) - 1));
            const pixelref::Cell cell = pixelref::CellOf(samples, width, height, row, column);
            refs = {uint16_t(cell.blue), uint16_t(cell.green), uint16_t(cell.red)};
        } else if (bayer && !sixteen && p->Mode() == WbAuto) {
            // Drawing balances each frame; saving (Render16) keeps the references.
            uint64_t red = 0, green = 0, blue = 0;
            for (uint32_t r = 0; r < height; ++r)
                for (uint32_t c = 0; c < width; ++c) {
                    const pixelref::Cell cell = pixelref::CellOf(samples, width, height, r, c);
                    red += cell.red;
                    green += cell.green;
                    blue += cell.blue;
                }
            const uint64_t n = uint64_t(width) * height;
            refs = {uint16_t(blue / n), uint16_t(green / n), uint16_t(red / n)};
        }
        const References now = ReferencesOf(*p);
        ASSERT_EQ(now.red, refs.red) << "round " << round;
        ASSERT_EQ(now.green, refs.green) << "round " << round;
        ASSERT_EQ(now.blue, refs.blue) << "round " << round;

        const pixelref::Tables t = pixelref::ChannelTables(gammaTables[gammaIndex], p->BlackLevel(), p->WhiteLevel(),
                                                           refs.red, refs.green, refs.blue);
        SCOPED_TRACE(testing::Message() << "round " << round << " " << width << "x" << height << " bayer " << bayer
                                        << " shift " << shift << " at " << x << "," << y);
        for (uint32_t r = 0; r < height + y; ++r) {
            for (uint32_t c = 0; c < width + x; ++c) {
                const bool inside = r >= y && c >= x;
                uint32_t expected[3] = {0, 0, 0};
                if (inside) {
                    const uint32_t fr = r - y, fc = c - x;
                    if (bayer) {
                        const pixelref::Cell cell = pixelref::CellOf(samples, width, height, fr, fc);
                        expected[0] = pixelref::Shifted(t.red[cell.red], shift);
                        expected[1] = pixelref::Shifted(t.green[cell.green], shift);
                        expected[2] = pixelref::Shifted(t.blue[cell.blue], shift);
                    } else {
                        expected[0] = pixelref::Shifted(t.grey[samples[size_t(fr) * width + fc]], shift);
                    }
                }
                if (sixteen) {
                    for (uint32_t k = 0; k < words; ++k) {
                        const uint16_t got = wide[r * stride + size_t(c) * words + k];
                        ASSERT_EQ(got, inside ? expected[k] : 0xBEEF) << "word " << k << " of " << c << "," << r;
                    }
                } else {
                    const uint8_t* px = out.data() + r * pitch + size_t(c) * (bpp / 8);
                    // Display bytes: blue, green, red; Mono repeats the grey value.
                    const uint32_t blue = bayer ? expected[2] : expected[0], green = bayer ? expected[1] : expected[0],
                                   red = expected[0];
                    ASSERT_EQ(px[0], inside ? blue >> 8 : 0xA5) << c << "," << r;
                    ASSERT_EQ(px[1], inside ? green >> 8 : 0xA5) << c << "," << r;
                    ASSERT_EQ(px[2], inside ? red >> 8 : 0xA5) << c << "," << r;
                }
            }
        }
        if (HasFatalFailure()) return;
    }
}
