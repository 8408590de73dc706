// The renderer's display side with a real frame surface: resize requests,
// redraw of a kept frame after a binning change, surfaces of closed windows.
#include "AppGui/AppState.h"
#include "DisplayFixture.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvFrameImpl.h"
#include "Render/PrivateRenderer.h"
#include "Render/ZelFrameSurface.h"
#include "support/MessagePump.h"

namespace rendertest {
namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

class RendererDisplayTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_TRUE(renderer_.InitDisplay(window_));
        frame_.GetCurrent(&buffer_);
    }
    // A kept frame of width x height mono samples, value = x + y.
    void MakeFrame(uint32_t width, uint32_t height) {
        buffer_->SetFormat(width, height, 2);
        uint8_t* data = nullptr;
        buffer_->GetData(&data);
        auto* samples = reinterpret_cast<uint16_t*>(data);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) samples[y * width + x] = uint16_t((x + y) * 64);
    }
    void Draw() {
        CritSecLock guard(renderer_.Lock());
        renderer_.DrawFrame(buffer_, Mono);
    }
    void Pump() { ovtest::Pump(); }

    Render::PrivateRenderer renderer_{AppState::Get()};
    Impl::OvFrameImpl frame_;
    IOvFrameMemBuffer* buffer_ = nullptr;
};

TEST_F(RendererDisplayTest, BinningChangesTheRequestedSurfaceSize) {
    Render::ZelFrameSurface surface(window_, nullptr);
    renderer_.AddSurface(&surface);
    MakeFrame(200, 100);
    Draw();
    Pump();
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].width, 200u);
    EXPECT_EQ(requests_[0].height, 100u);
    ASSERT_TRUE(renderer_.ResizeSurface(&surface, 200, 100));
    Draw();  // stores the region (0, 0, 200, 100)
    Draw();
    Image full = ReadBack(surface);
    EXPECT_EQ(full.At(10, 5), Grey(uint8_t((15 * 64) >> 8)));

    // The surface never shrinks: a binned frame is drawn into the same image,
    // inside the grey field.
    renderer_.SetBinning(2);
    Draw();  // the region changed to 100 x 50: this frame only stores it
    Draw();
    Image binned = ReadBack(surface);
    EXPECT_EQ(requests_.size(), 1u);
    const uint32_t sum = ((20 + 10) + (21 + 10) + (20 + 11) + (21 + 11)) * 64;  // block (10, 5): x 20..21, y 10..11
    EXPECT_EQ(binned.At(10, 5), Grey(uint8_t((sum - 3 * 768) >> 8)));
    EXPECT_EQ(binned.At(150, 80), 0x808080u);
    renderer_.RemoveSurface(&surface);
}

TEST_F(RendererDisplayTest, SurfacesOfClosedWindowsAreSkipped) {
    HWND other = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    Render::ZelFrameSurface gone(other, nullptr);
    Render::ZelFrameSurface kept(window_, nullptr);
    renderer_.AddSurface(&gone);
    renderer_.AddSurface(&kept);
    DestroyWindow(other);
    MakeFrame(64, 32);
    Draw();
    Pump();
    ASSERT_EQ(requests_.size(), 1u);  // only the live window was asked
    EXPECT_EQ(requests_[0].surface, reinterpret_cast<LPARAM>(&kept));
    EXPECT_EQ(gone.MaxWidth(), 0u);
    renderer_.RemoveSurface(&gone);
    renderer_.RemoveSurface(&kept);
}

}  // namespace
}  // namespace rendertest
