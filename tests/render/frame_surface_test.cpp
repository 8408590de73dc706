// The camera frame surfaces on a real software DirectDraw device: resize
// requests, the region of interest from the simulated camera, the grey field,
// and the drawn pixels against the conversion rules.
#include <vector>

#include "DisplayFixture.h"
#include "Render/ImageProcessor.h"
#include "Render/VextFrameSurface.h"
#include "Render/ZelFrameSurface.h"
#include "native/PixelReference.h"

namespace {

using namespace rendertest;
using Render::VextFrameSurface;
using Render::ZelFrameSurface;

constexpr uint32_t kMono = 0, kBayer = 1, kBgr = 2;

std::vector<uint16_t> Flat(uint32_t width, uint32_t height, uint16_t value, uint32_t samplesPerPixel = 1) {
    return std::vector<uint16_t>(size_t(width) * height * samplesPerPixel, value);
}

// Every sample different, wrapping through the 16-bit range.
std::vector<uint16_t> Ramp(uint32_t width, uint32_t height, uint32_t samplesPerPixel = 1) {
    std::vector<uint16_t> samples(size_t(width) * height * samplesPerPixel);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = uint16_t(i * 2654435761u >> 7);
    return samples;
}

class FrameSurfaceTest : public DisplayTest {
protected:
    // Draws until the surface is created at its requested size: the first frame
    // must only ask for the resize.
    template <class S>
    void CreateThroughFirstFrame(S& surface, const std::vector<uint16_t>& frame, uint32_t width, uint32_t height,
                                 uint32_t layout) {
        const size_t before = requests_.size();
        EXPECT_FALSE(surface.Draw(frame.data(), width, height, layout));
        ASSERT_EQ(requests_.size(), before + 1);
        EXPECT_EQ(requests_.back().surface, reinterpret_cast<LPARAM>(static_cast<Render::Surface*>(&surface)));
        EXPECT_EQ(surface.OffScreen(), nullptr);  // nothing drawn, nothing created
        ASSERT_TRUE(AnswerResize(surface));
    }

    DllModule::Lib3Wrapper::OvTypeLib::IOvRectOption* Region(ovtest::IOvSystem* system) {
        auto* option = FindOption(system, DllModule::Lib3Wrapper::OvTypeLib::OptionIds::kRegion);
        return option ? option->AsRect() : nullptr;
    }
};

TEST_F(FrameSurfaceTest, WithoutRegionOptionTheFirstFrameRequestsTheSizeAndOneMoreIsSkipped) {
    ZelFrameSurface surface(window_, nullptr);
    EXPECT_FALSE(surface.HasRegionOption());
    const auto frame = Flat(24, 10, 0x4000);
    CreateThroughFirstFrame(surface, frame, 24, 10, kMono);
    EXPECT_EQ(requests_.back().width, 24u);
    EXPECT_EQ(requests_.back().height, 10u);
    surface.Fill(0);
    // Stored rectangle (0, 0, 0, 0) against (0, 0, 24, 10): stored, not drawn.
    EXPECT_TRUE(surface.Draw(frame.data(), 24, 10, kMono));
    EXPECT_EQ(ReadBack(surface).At(3, 3), 0u);
    EXPECT_TRUE(surface.Draw(frame.data(), 24, 10, kMono));
    EXPECT_EQ(ReadBack(surface).At(3, 3), Grey(0x40));
    EXPECT_EQ(requests_.size(), 1u);
}

TEST_F(FrameSurfaceTest, ResizeRequestsCarryTheLargestSizeSoFar) {
    ZelFrameSurface surface(window_, nullptr);
    const auto wide = Flat(300, 20, 1), tall = Flat(100, 90, 1);
    EXPECT_FALSE(surface.Draw(wide.data(), 300, 20, kMono));
    EXPECT_FALSE(surface.Draw(tall.data(), 100, 90, kMono));
    ASSERT_EQ(requests_.size(), 2u);
    EXPECT_EQ(requests_[1].width, 300u);
    EXPECT_EQ(requests_[1].height, 90u);
    EXPECT_EQ(surface.MaxWidth(), 300u);
    ASSERT_TRUE(AnswerResize(surface));
    // A smaller frame no longer asks: the surface keeps the largest size.
    EXPECT_TRUE(surface.Draw(tall.data(), 100, 90, kMono));
    EXPECT_EQ(requests_.size(), 2u);
}

TEST_F(FrameSurfaceTest, MonoAndBgrPixelsFollowTheConversionInsideTheGreyField) {
    ZelFrameSurface surface(window_, nullptr);
    const uint32_t w = 33, h = 7;
    const auto mono = Ramp(w, h), bgr = Ramp(w, h, 3);
    CreateThroughFirstFrame(surface, mono, w, h, kMono);
    surface.SetGainShift(1);
    EXPECT_TRUE(surface.Draw(mono.data(), w, h, kMono));  // region stored
    EXPECT_TRUE(surface.Draw(mono.data(), w, h, kMono));
    Image image = ReadBack(surface);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            ASSERT_EQ(image.At(x, y), Grey(pixelref::Byte(mono[size_t(y) * w + x], 1))) << x << "," << y;
    EXPECT_TRUE(surface.Draw(bgr.data(), w, h, kBgr));
    image = ReadBack(surface);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint16_t* s = &bgr[(size_t(y) * w + x) * 3];
            const uint32_t expected =
                pixelref::Byte(s[0], 1) | pixelref::Byte(s[1], 1) << 8 | pixelref::Byte(s[2], 1) << 16;
            ASSERT_EQ(image.At(x, y), expected) << x << "," << y;
        }
    // A layout the ZEL view cannot show leaves the grey field.
    EXPECT_TRUE(surface.Draw(mono.data(), w, h, kBayer));
    for (uint32_t p : ReadBack(surface).pixels) ASSERT_EQ(p, Grey(0x80));
}

TEST_F(FrameSurfaceTest, GainShiftTwoShowsA0x4000SampleWhite) {
    ZelFrameSurface surface(window_, nullptr);
    const auto frame = Flat(8, 8, 0x4000);
    CreateThroughFirstFrame(surface, frame, 8, 8, kMono);
    surface.SetGainShift(2);
    surface.Draw(frame.data(), 8, 8, kMono);
    EXPECT_TRUE(surface.Draw(frame.data(), 8, 8, kMono));
    EXPECT_EQ(ReadBack(surface).At(7, 7), 0xFFFFFFu);
}

TEST_F(FrameSurfaceTest, RegionChangeSkipsExactlyOneFrameAndShowsTheFrameAtItsSensorPosition) {
    ovtest::IOvSystem* system = CreateAndInit(ovtest::kZelMono);
    ASSERT_NE(system, nullptr);
    auto* region = Region(system);
    ASSERT_NE(region, nullptr);
    ZelFrameSurface surface(window_, system);
    EXPECT_TRUE(surface.HasRegionOption());
    EXPECT_EQ(surface.MaxWidth(), 1280u);
    EXPECT_EQ(surface.MaxHeight(), 1024u);
    EXPECT_EQ(surface.StoredRegion(), (Render::RegionRect{0, 0, 1280, 1024}));

    const auto full = Flat(1280, 1024, 0x4000);
    CreateThroughFirstFrame(surface, full, 1280, 1024, kMono);
    // The region is unchanged since construction: the next frame is drawn.
    EXPECT_TRUE(surface.Draw(full.data(), 1280, 1024, kMono));
    EXPECT_EQ(ReadBack(surface).At(100, 100), Grey(0x40));

    ASSERT_TRUE(region->SetRect(64, 16, 640, 480));
    const auto part = Flat(640, 480, 0xC000);
    EXPECT_TRUE(surface.Draw(part.data(), 640, 480, kMono));  // skipped
    Image image = ReadBack(surface);
    EXPECT_EQ(image.At(100, 100), Grey(0x40));
    EXPECT_EQ(surface.StoredRegion(), (Render::RegionRect{64, 16, 640, 480}));
    EXPECT_TRUE(surface.Draw(part.data(), 640, 480, kMono));  // drawn
    image = ReadBack(surface);
    EXPECT_EQ(image.width, 1280u);
    for (auto [x, y] : {std::pair{64u, 16u}, {703u, 16u}, {64u, 495u}, {703u, 495u}, {300u, 200u}})
        EXPECT_EQ(image.At(x, y), Grey(0xC0)) << x << "," << y;
    for (auto [x, y] : {std::pair{63u, 16u}, {704u, 16u}, {64u, 15u}, {64u, 496u}, {0u, 0u}, {1279u, 1023u}})
        EXPECT_EQ(image.At(x, y), Grey(0x80)) << x << "," << y;
    EXPECT_TRUE(surface.Draw(part.data(), 640, 480, kMono));  // and the next one too
    EXPECT_EQ(requests_.size(), 1u);
}

TEST_F(FrameSurfaceTest, UnreadableRegionSkipsTheFrame) {
    ovtest::IOvSystem* system = CreateAndInit(ovtest::kZelMono);
    ASSERT_NE(system, nullptr);
    ZelFrameSurface surface(window_, system);
    const auto full = Flat(1280, 1024, 0x4000);
    CreateThroughFirstFrame(surface, full, 1280, 1024, kMono);
    surface.Fill(0);
    OvSimFailCall("OvLib3OptionGetRect", 1, 0);
    EXPECT_FALSE(surface.Draw(full.data(), 1280, 1024, kMono));
    EXPECT_EQ(ReadBack(surface).At(0, 0), 0u);
    EXPECT_TRUE(surface.Draw(full.data(), 1280, 1024, kMono));
    EXPECT_EQ(ReadBack(surface).At(0, 0), Grey(0x40));
}

TEST_F(FrameSurfaceTest, FramesReachingPastTheImageAreCut) {
    // A frame larger than its region (binning, a region changed under way)
    // placed at the region's position reaches past the surface.
    ovtest::IOvSystem* system = CreateAndInit(ovtest::kZelMono);
    ASSERT_NE(system, nullptr);
    ASSERT_TRUE(Region(system)->SetRect(640, 512, 640, 512));
    ZelFrameSurface surface(window_, system);
    const auto frame = Flat(1280, 1024, 0x2000);
    CreateThroughFirstFrame(surface, frame, 1280, 1024, kMono);
    ASSERT_TRUE(surface.Draw(frame.data(), 1280, 1024, kMono));
    const Image image = ReadBack(surface);
    EXPECT_EQ(image.At(640, 512), Grey(0x20));
    EXPECT_EQ(image.At(1279, 1023), Grey(0x20));
    EXPECT_EQ(image.At(639, 1023), Grey(0x80));
    EXPECT_EQ(image.At(1279, 511), Grey(0x80));
}

TEST_F(FrameSurfaceTest, TheFieldAroundASmallerRegionCoversTheLargerFrameBeforeIt) {
    // Only the surface outside the frame is filled: what a full frame left
    // there must still turn grey.
    ovtest::IOvSystem* system = CreateAndInit(ovtest::kZelMono);
    ASSERT_NE(system, nullptr);
    ZelFrameSurface surface(window_, system);
    const auto full = Flat(1280, 1024, 0x2000), part = Flat(640, 512, 0x6000);
    CreateThroughFirstFrame(surface, full, 1280, 1024, kMono);
    ASSERT_TRUE(surface.Draw(full.data(), 1280, 1024, kMono));
    ASSERT_TRUE(Region(system)->SetRect(320, 256, 640, 512));
    EXPECT_TRUE(surface.Draw(part.data(), 640, 512, kMono));  // the region change: not drawn
    EXPECT_TRUE(surface.Draw(part.data(), 640, 512, kMono));
    const Image image = ReadBack(surface);
    for (uint32_t y = 0; y < 1024; ++y)
        for (uint32_t x = 0; x < 1280; ++x) {
            const bool inside = x >= 320 && x < 960 && y >= 256 && y < 768;
            ASSERT_EQ(image.At(x, y), Grey(inside ? 0x60 : 0x80)) << x << "," << y;
        }
}

TEST_F(FrameSurfaceTest, VextSurfaceDrawsThroughTheImageProcessorWithItsShift) {
    Render::ImageProcessor& processor = Render::ImageProcessor::Instance();
    processor.SetWhiteBalanceMode(Render::WbOff);
    processor.SetLevels(0, 65535);
    processor.SetGamma(1.0f);
    processor.SetGainShift(1);
    VextFrameSurface surface(window_, nullptr);
    surface.SetGainShift(5);  // not used by the VEXT view
    const uint32_t w = 19, h = 6;
    const auto mosaic = Ramp(w, h);
    std::vector<uint16_t> samples(mosaic);
    for (uint16_t& v : samples) v = uint16_t(v >> 2);  // keep most values below the clamp
    CreateThroughFirstFrame(surface, samples, w, h, kBayer);
    EXPECT_TRUE(surface.Draw(samples.data(), w, h, kBayer));
    EXPECT_TRUE(surface.Draw(samples.data(), w, h, kBayer));
    Image image = ReadBack(surface);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const pixelref::Cell cell = pixelref::CellOf(samples, w, h, y, x);
            const uint32_t expected =
                pixelref::Byte(cell.blue, 1) | pixelref::Byte(cell.green, 1) << 8 | pixelref::Byte(cell.red, 1) << 16;
            ASSERT_EQ(image.At(x, y), expected) << x << "," << y;
        }
    EXPECT_TRUE(surface.Draw(samples.data(), w, h, kMono));
    image = ReadBack(surface);
    EXPECT_EQ(image.At(4, 2), Grey(pixelref::Byte(samples[2 * w + 4], 1)));
    EXPECT_TRUE(surface.Draw(samples.data(), w, h, kBgr));  // not a VEXT layout: grey
    for (uint32_t p : ReadBack(surface).pixels) ASSERT_EQ(p, Grey(0x80));
    processor.SetGainShift(0);
}

TEST_F(FrameSurfaceTest, VextSurfaceTakesTheVextRegionOption) {
    ovtest::IOvSystem* system = CreateAndInit(ovtest::kVext);
    ASSERT_NE(system, nullptr);
    auto* region = Region(system);
    ASSERT_NE(region, nullptr);
    ASSERT_TRUE(region->SetRect(128, 32, 256, 64));
    VextFrameSurface surface(window_, system);
    EXPECT_EQ(surface.MaxWidth(), 1024u);
    EXPECT_EQ(surface.StoredRegion(), (Render::RegionRect{128, 32, 256, 64}));
    Render::ImageProcessor::Instance().SetGainShift(0);
    const auto frame = Flat(256, 64, 0x3000);
    CreateThroughFirstFrame(surface, frame, 256, 64, kMono);
    EXPECT_EQ(requests_.back().width, 1024u);
    EXPECT_EQ(requests_.back().height, 1024u);
    EXPECT_TRUE(surface.Draw(frame.data(), 256, 64, kMono));
    const Image image = ReadBack(surface);
    EXPECT_EQ(image.At(128, 32), Grey(0x30));
    EXPECT_EQ(image.At(383, 95), Grey(0x30));
    EXPECT_EQ(image.At(127, 32), Grey(0x80));
    EXPECT_EQ(image.At(128, 96), Grey(0x80));
}

}  // namespace
