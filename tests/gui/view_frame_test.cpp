// The frame view: readout texts, tip placement, and the real pane in a zoom
// window over the renderer with a simulated camera (frame size requests,
// readouts at several zooms, colour readouts, pick mode).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Framework/ZoomWindow.h"
#include "AppGui/Panes/ViewFrameChildPane.h"
#include "GuiTestSupport.h"
#include "Render/FrameSurface.h"
#include "Render/ImageProcessor.h"
#include "Render/PrivateRenderer.h"
#include "Render/VextFrameSurface.h"
#include "Render/ZelFrameSurface.h"
#include "support/CameraFixture.h"

namespace {

using namespace AppGui;

std::wstring Readout(int x, int y, std::vector<uint32_t> values) {
    wchar_t text[kTipTextLength];
    FormatPixelReadout(text, kTipTextLength, x, y, values.data(), static_cast<uint32_t>(values.size()));
    return text;
}

TEST(FrameViewReadout, ViewPointsAreScaledDownByTheZoom) {
    POINT p = ViewPointToImage(POINT{100, 60}, 200);
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 30);
    p = ViewPointToImage(POINT{101, 61}, 200);
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 30);
    p = ViewPointToImage(POINT{37, 15}, 100);
    EXPECT_EQ(p.x, 37);
    EXPECT_EQ(p.y, 15);
    p = ViewPointToImage(POINT{799, 1600}, 800);
    EXPECT_EQ(p.x, 99);
    EXPECT_EQ(p.y, 200);
    p = ViewPointToImage(POINT{10, 10}, 150);  // 1000 / 150
    EXPECT_EQ(p.x, 6);
}

TEST(FrameViewReadout, PointsLeftOfOrAboveTheViewStayOutsideTheImage) {
    const POINT p = ViewPointToImage(POINT{-1, -3}, 200);
    EXPECT_EQ(p.x, -1);
    EXPECT_EQ(p.y, -2);
}

TEST(FrameViewReadout, TextsForOneThreeAndNoValues) {
    EXPECT_EQ(Readout(5, 7, {1234}), L"x = 5; y = 7; Уровень: 1234");
    EXPECT_EQ(Readout(0, 1, {10, 20, 30}), L"x = 0; y = 1; Уровень: B 10 ;G 20; R 30");
    EXPECT_EQ(Readout(-4, 9, {}), L"x = -4; y = 9; Уровень: ???");
    EXPECT_EQ(Readout(1, 2, {1, 2}), L"x = 1; y = 2; Уровень: ???");
    EXPECT_EQ(Readout(3, 4, {65535}), L"x = 3; y = 4; Уровень: 65535");
}

TEST(FrameViewReadout, ATooShortBufferIsCutAndTerminated) {
    wchar_t text[8];
    std::fill(std::begin(text), std::end(text), L'#');
    const uint32_t value = 1;
    FormatPixelReadout(text, 8, 1, 2, &value, 1);
    EXPECT_EQ(std::wstring(text), L"x = 1; ");
}

TEST(FrameViewReadout, BelowOneHundredPercentTheZoomNoticeIsShown) {
    int asked = 0;
    auto pixel = [&](int32_t, int32_t, uint32_t values[3], uint32_t* count) {
        ++asked;
        values[0] = 7;
        *count = 1;
        return true;
    };
    wchar_t text[kTipTextLength];
    for (int zoom : {99, 50, 30, -75, -50, -25}) {
        FormatTipText(text, kTipTextLength, POINT{10, 10}, zoom, pixel);
        EXPECT_STREQ(text, L"Масштаб должен быть не менее 100%.") << zoom;
    }
    EXPECT_EQ(asked, 0);
    FormatTipText(text, kTipTextLength, POINT{10, 10}, 100, pixel);
    EXPECT_STREQ(text, L"x = 10; y = 10; Уровень: 7");
    EXPECT_EQ(asked, 1);
}

TEST(FrameViewReadout, ThePixelIsAskedAtImageCoordinatesAndAFailureReadsUnknown) {
    std::vector<POINT> asked;
    auto pixel = [&](int32_t x, int32_t y, uint32_t values[3], uint32_t* count) {
        asked.push_back(POINT{x, y});
        values[0] = 1;
        values[1] = 2;
        values[2] = 3;
        *count = 3;
        return x < 40;
    };
    wchar_t text[kTipTextLength];
    FormatTipText(text, kTipTextLength, POINT{100, 60}, 400, pixel);
    EXPECT_STREQ(text, L"x = 25; y = 15; Уровень: B 1 ;G 2; R 3");
    FormatTipText(text, kTipTextLength, POINT{200, 60}, 400, pixel);
    EXPECT_STREQ(text, L"x = 50; y = 15; Уровень: ???");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].x, 50);
    EXPECT_EQ(asked[1].y, 15);
}

TEST(FrameViewTip, GoesFifteenPixelsRightAndBelowTheCursor) {
    const POINT p = PlaceTip(POINT{100, 200}, SIZE{80, 20}, RECT{0, 0, 1000, 800});
    EXPECT_EQ(p.x, 115);
    EXPECT_EQ(p.y, 215);
}

TEST(FrameViewTip, ExactlyTouchingTheEdgesIsNotMoved) {
    const POINT p = PlaceTip(POINT{905, 765}, SIZE{80, 20}, RECT{0, 0, 1000, 800});
    EXPECT_EQ(p.x, 920);
    EXPECT_EQ(p.y, 780);
}

TEST(FrameViewTip, AnOverhangOnTheRightOrAtTheBottomIsTakenBack) {
    const POINT p = PlaceTip(POINT{950, 790}, SIZE{80, 20}, RECT{0, 0, 1000, 800});
    EXPECT_EQ(p.x, 920);  // 965 + 80 sticks out by 45
    EXPECT_EQ(p.y, 780);
    // A parent that does not start at the origin.
    const POINT q = PlaceTip(POINT{590, 395}, SIZE{100, 30}, RECT{200, 100, 600, 400});
    EXPECT_EQ(q.x, 500);
    EXPECT_EQ(q.y, 370);
}

TEST(FrameViewTip, NeverGoesPastTheLeftOrTopEdge) {
    // A tip wider and taller than its parent sticks out on the right and at the bottom.
    const POINT p = PlaceTip(POINT{250, 150}, SIZE{500, 400}, RECT{200, 100, 600, 400});
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 100);
}

TEST(FrameViewTip, ACursorLeftOfTheParentIsNotPulledIn) {
    // Only the right and bottom overhangs are corrected.
    const POINT p = PlaceTip(POINT{100, 50}, SIZE{40, 20}, RECT{200, 100, 600, 400});
    EXPECT_EQ(p.x, 115);
    EXPECT_EQ(p.y, 65);
}

// The pane in a zoom window on a top-level window, over the application's
// renderer and an open simulated camera.
using FrameZoom = ZoomWindow<ViewFrameChildPane>;
constexpr uint32_t kIgnoredCommand = 9;  // taken only after the previous one was carried out

class FrameViewTest : public ovtest::CameraTest {
protected:
    void TearDown() override {
        top_.Destroy();
        Render::PrivateRenderer& renderer = AppState::Get().Renderer();
        if (renderer.IsRunning()) {
            renderer.SendCommand(Render::CommandStop);  // forgets the frame of the closing camera
            renderer.SendCommand(kIgnoredCommand);
        }
        AppState& state = AppState::Get();
        state.system = nullptr;
        state.transfer = nullptr;
        state.systemTypeId = 0;
        CameraTest::TearDown();
    }

    // Opens a camera of that type, puts it into the application state and
    // builds the view; the renderer takes the camera's transfer.
    void Open(uint32_t type) {
        system_ = CreateAndInit(type);
        ASSERT_NE(system_, nullptr);
        ASSERT_TRUE(system_->GetDataTransfer(0, &transfer_));
        AppState& state = AppState::Get();
        state.systemTypeId = type;
        state.system = system_;
        state.transfer = transfer_;
        ASSERT_NE(top_.CreateWithClient(900, 700), nullptr);
        Render::PrivateRenderer& renderer = state.Renderer();
        static const bool display = renderer.InitDisplay(top_.Handle());
        ASSERT_TRUE(display);
        ASSERT_NE(renderer.Start(), nullptr);
        ASSERT_TRUE(renderer.SendCommand(Render::CommandReloadRange));
        ASSERT_TRUE(renderer.SendCommand(kIgnoredCommand));
        RECT rect{0, 0, 800, 600};
        ASSERT_NE(zoom_.CreateChild(top_.Handle(), 5, &rect), nullptr);
        view_ = zoom_.Child().Handle();
        ASSERT_NE(view_, nullptr);
    }

    // Takes a frame as the current one and redraws it: the first time the
    // view's surface asks for the frame's size.
    void FetchAndDraw() {
        int32_t index = 0;
        uint32_t layout = 0;
        Render::PrivateRenderer& renderer = AppState::Get().Renderer();
        ASSERT_TRUE(renderer.FetchFrame(&index, &layout));
        ASSERT_TRUE(renderer.FetchFrame(&index, &layout));  // the first one may renegotiate
        renderer.Redraw();
        guitest::Pump();
    }

    SIZE RegionSize() {
        int32_t x = 0, y = 0, width = 0, height = 0;
        EXPECT_TRUE(FindOption(system_, 0x400006)->AsRect()->GetRect(&x, &y, &width, &height));
        return SIZE{width, height};
    }

    int Zoom() { return static_cast<int>(SendMessageW(zoom_.Handle(), UWM_GET_ZOOM, 0, 0)); }
    void SetZoom(int zoom) { SendMessageW(zoom_.Handle(), UWM_SET_ZOOM, static_cast<WPARAM>(zoom), 0); }
    void Press(int x, int y) { SendMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Move(int x, int y) { SendMessageW(view_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Release(int x, int y) { SendMessageW(view_, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    int ToolCount() { return static_cast<int>(SendMessageW(zoom_.Child().Tooltip(), TTM_GETTOOLCOUNT, 0, 0)); }

    std::wstring RendererReadout(int x, int y) {
        uint32_t values[3] = {}, count = 0;
        if (!AppState::Get().Renderer().GetPixel(x, y, values, &count)) count = 0;
        wchar_t text[kTipTextLength];
        FormatPixelReadout(text, kTipTextLength, x, y, values, count);
        return text;
    }

    ovtest::IOvSystem* system_ = nullptr;
    ovtest::IOvDataTransfer* transfer_ = nullptr;
    guitest::TopWindow top_;
    FrameZoom zoom_;
    HWND view_ = nullptr;
};

TEST_F(FrameViewTest, IsAFrameViewWithAZelSurfaceAndAPlainTooltip) {
    Open(ovtest::kZelMono);
    wchar_t name[64] = {};
    GetClassNameW(view_, name, 64);
    EXPECT_STREQ(name, L"FrameView");
    ViewFrameChildPane& pane = zoom_.Child();
    EXPECT_NE(dynamic_cast<Render::ZelFrameSurface*>(pane.FrameSurface()), nullptr);
    EXPECT_EQ(pane.FrameSurface()->Window(), view_);
    ASSERT_NE(pane.Tooltip(), nullptr);
    GetClassNameW(pane.Tooltip(), name, 64);
    EXPECT_STREQ(name, L"tooltips_class32");
    const LONG style = GetWindowLongW(pane.Tooltip(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & (TTS_ALWAYSTIP | TTS_NOPREFIX), TTS_ALWAYSTIP | TTS_NOPREFIX);
    EXPECT_FALSE(pane.PickMode());
    EXPECT_EQ(ToolCount(), 0);
    // Nothing is erased: the renderer covers the whole view.
    HDC dc = GetDC(view_);
    EXPECT_NE(SendMessageW(view_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    ReleaseDC(view_, dc);
}

TEST_F(FrameViewTest, AVextSystemGetsTheVextSurface) {
    Open(ovtest::kVext);
    EXPECT_NE(dynamic_cast<Render::VextFrameSurface*>(zoom_.Child().FrameSurface()), nullptr);
}

TEST_F(FrameViewTest, TheFirstFrameSizesSurfaceAndViewAndTheZoomStays) {
    Open(ovtest::kZelMono);
    const SIZE frame = RegionSize();
    ASSERT_GT(frame.cx, 0);
    ASSERT_GT(frame.cy, 0);
    FetchAndDraw();
    Render::FrameSurface* surface = zoom_.Child().FrameSurface();
    EXPECT_EQ(surface->Width(), static_cast<uint32_t>(frame.cx));
    EXPECT_EQ(surface->Height(), static_cast<uint32_t>(frame.cy));
    const SIZE view = guitest::WindowSize(view_);
    EXPECT_EQ(view.cx, frame.cx);
    EXPECT_EQ(view.cy, frame.cy);
    EXPECT_EQ(Zoom(), 100);
    EXPECT_EQ(zoom_.NaturalSize().cx, frame.cx);
    EXPECT_EQ(zoom_.NaturalSize().cy, frame.cy);
    // The scroll range of the host follows the new size.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    GetScrollInfo(zoom_.Handle(), SB_HORZ, &info);
    EXPECT_EQ(info.nMax, frame.cx);

    // Twice the size from now on.
    SetZoom(200);
    EXPECT_EQ(guitest::WindowSize(view_).cx, 2 * frame.cx);
    EXPECT_EQ(guitest::WindowSize(view_).cy, 2 * frame.cy);
}

TEST_F(FrameViewTest, AFrameSizeRequestAwayFromOneHundredKeepsZoomAndNaturalSize) {
    Open(ovtest::kZelMono);
    FetchAndDraw();
    const SIZE natural = zoom_.NaturalSize();
    SetZoom(200);
    Render::FrameSurface* surface = zoom_.Child().FrameSurface();
    SendMessageW(view_, UWM_FRAME_SIZE, MAKEWPARAM(320, 240), reinterpret_cast<LPARAM>(surface));
    EXPECT_EQ(surface->Width(), 320u);
    EXPECT_EQ(surface->Height(), 240u);
    EXPECT_EQ(Zoom(), 200);
    EXPECT_EQ(zoom_.NaturalSize().cx, natural.cx);
    // The view was given 320 x 240 and then the zoom again: 200% of the old natural size.
    EXPECT_EQ(guitest::WindowSize(view_).cx, 2 * natural.cx);
    EXPECT_EQ(guitest::WindowSize(view_).cy, 2 * natural.cy);

    // Back at 100 a request becomes the natural size.
    SetZoom(100);
    SendMessageW(view_, UWM_FRAME_SIZE, MAKEWPARAM(320, 240), reinterpret_cast<LPARAM>(surface));
    EXPECT_EQ(zoom_.NaturalSize().cx, 320);
    EXPECT_EQ(zoom_.NaturalSize().cy, 240);
    EXPECT_EQ(guitest::WindowSize(view_).cx, 320);
}

TEST_F(FrameViewTest, AtTwoHundredPercentThePointReadsTheHalvedPixel) {
    Open(ovtest::kZelMono);
    FetchAndDraw();
    SetZoom(200);
    ViewFrameChildPane& pane = zoom_.Child();
    Press(100, 60);
    EXPECT_EQ(std::wstring(pane.TipText()), RendererReadout(50, 30));
    EXPECT_EQ(std::wstring(pane.TipText()).rfind(L"x = 50; y = 30; Уровень: ", 0), 0u) << pane.TipText();
    EXPECT_EQ(std::wstring(pane.TipText()).find(L"???"), std::wstring::npos);
    EXPECT_TRUE(pane.Tracking());
    EXPECT_EQ(GetCapture(), view_);
    EXPECT_EQ(ToolCount(), 1);

    // Moving with the button held follows the cursor.
    Move(121, 81);
    EXPECT_EQ(std::wstring(pane.TipText()), RendererReadout(60, 40));
    // Outside the frame nothing is read.
    Move(-10, -20);
    EXPECT_STREQ(pane.TipText(), L"x = -5; y = -10; Уровень: ???");

    Release(-10, -20);
    EXPECT_FALSE(pane.Tracking());
    EXPECT_NE(GetCapture(), view_);
    EXPECT_EQ(ToolCount(), 0);
    // Moving without the button changes nothing.
    Move(4, 4);
    EXPECT_STREQ(pane.TipText(), L"x = -5; y = -10; Уровень: ???");
}

TEST_F(FrameViewTest, AtFiftyPercentTheZoomNoticeIsShown) {
    Open(ovtest::kZelMono);
    FetchAndDraw();
    SetZoom(50);
    Press(20, 20);
    EXPECT_STREQ(zoom_.Child().TipText(), L"Масштаб должен быть не менее 100%.");
    EXPECT_TRUE(zoom_.Child().Tracking());
    Release(20, 20);
    SetZoom(kZoomFitWhole);
    Press(20, 20);
    EXPECT_STREQ(zoom_.Child().TipText(), L"Масштаб должен быть не менее 100%.");
    Release(20, 20);
}

TEST_F(FrameViewTest, WithoutAFrameThePixelIsUnknown) {
    Open(ovtest::kZelMono);
    Press(3, 4);
    EXPECT_STREQ(zoom_.Child().TipText(), L"x = 3; y = 4; Уровень: ???");
    Release(3, 4);
}

TEST_F(FrameViewTest, AColourCameraReadsThreeValues) {
    Open(ovtest::kZelColour);
    FetchAndDraw();
    uint32_t values[3] = {}, count = 0;
    ASSERT_TRUE(AppState::Get().Renderer().GetPixel(17, 9, values, &count));
    ASSERT_EQ(count, 3u);
    Press(17, 9);
    const std::wstring text = zoom_.Child().TipText();
    EXPECT_EQ(text, RendererReadout(17, 9));
    EXPECT_EQ(text, L"x = 17; y = 9; Уровень: B " + std::to_wstring(values[0]) + L" ;G " + std::to_wstring(values[1]) +
                        L"; R " + std::to_wstring(values[2]));
    Release(17, 9);
}

TEST_F(FrameViewTest, TheTipStaysInsideTheZoomWindow) {
    Open(ovtest::kZelMono);
    FetchAndDraw();
    ViewFrameChildPane& pane = zoom_.Child();
    RECT host{};
    GetWindowRect(zoom_.Handle(), &host);
    // A point near the host's bottom-right corner, inside the view.
    POINT corner{host.right - 3, host.bottom - 3};
    ScreenToClient(view_, &corner);
    Press(corner.x, corner.y);
    ASSERT_TRUE(IsWindowVisible(pane.Tooltip()));
    RECT tip{};
    GetWindowRect(pane.Tooltip(), &tip);
    EXPECT_LE(tip.right, host.right) << tip.left << "," << tip.top << " " << tip.right << "," << tip.bottom;
    EXPECT_LE(tip.bottom, host.bottom);
    EXPECT_GE(tip.left, host.left);
    Release(corner.x, corner.y);
}

// Renders a small mosaic frame whose sample at (x, y) is 1000 + 100 y + x
// and returns the red and blue references that a pending pick took from it.
void RenderPickFrame(uint16_t* blue, uint16_t* red) {
    constexpr uint32_t kWidth = 16, kHeight = 12;
    std::vector<uint16_t> samples(kWidth * kHeight);
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x) samples[y * kWidth + x] = static_cast<uint16_t>(1000 + 100 * y + x);
    std::vector<uint8_t> image(kWidth * kHeight * 4);
    Render::ImageProcessor& processor = Render::ImageProcessor::Instance();
    processor.Render8(0, 0, kWidth, kHeight, image.data(), kWidth * 4, 32, samples.data(), 1 /* Bayer */);
    uint16_t green = 0;
    processor.GetBalanceReferences(blue, &green, red);
}

TEST_F(FrameViewTest, PickModeHandsTheClickedPointToTheImageProcessor) {
    Open(ovtest::kVext);
    Render::ImageProcessor& processor = Render::ImageProcessor::Instance();
    processor.SetWhiteBalanceMode(Render::WbOff);
    processor.SetWhiteBalanceMode(Render::WbPixel);
    ASSERT_FALSE(processor.PickPending());

    // Outside pick mode a click only reads.
    Press(6, 4);
    Release(6, 4);
    EXPECT_FALSE(processor.PickPending());

    SendMessageW(view_, UWM_FRAME_VIEW, 1, 0);
    ASSERT_TRUE(zoom_.Child().PickMode());
    Press(6, 4);
    EXPECT_FALSE(zoom_.Child().Tracking());
    EXPECT_EQ(ToolCount(), 0);
    EXPECT_FALSE(processor.PickPending());  // the point is handed over when the button goes up
    Release(6, 4);
    EXPECT_TRUE(processor.PickPending());
    uint16_t blue = 0, red = 0;
    RenderPickFrame(&blue, &red);
    EXPECT_FALSE(processor.PickPending());
    EXPECT_EQ(red, 1000 + 400 + 7);  // the cell at (6, 4): G R / B G
    EXPECT_EQ(blue, 1000 + 500 + 6);

    // Any other value ends pick mode.
    SendMessageW(view_, UWM_FRAME_VIEW, 2, 0);
    EXPECT_FALSE(zoom_.Child().PickMode());
    Press(8, 2);
    Release(8, 2);
    EXPECT_FALSE(processor.PickPending());
    processor.SetWhiteBalanceMode(Render::WbOff);
}

TEST_F(FrameViewTest, DestroyingTheViewTakesItsSurfaceOutOfTheRenderer) {
    Open(ovtest::kZelMono);
    FetchAndDraw();
    zoom_.Destroy();
    EXPECT_EQ(zoom_.Child().FrameSurface(), nullptr);
    EXPECT_EQ(zoom_.Child().Tooltip(), nullptr);
    // The renderer draws on without the surface (it would use a deleted one otherwise).
    AppState::Get().Renderer().Redraw();
    guitest::Pump();
}

}  // namespace
