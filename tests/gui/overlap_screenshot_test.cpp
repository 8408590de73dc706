// Windows over live frames: the About box and the pixel readout's tooltip are
// read back from the screen while frames arrive under them and again once the
// view is paused and the window repainted. A frame drawn over them would make
// the two pictures differ.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AppGui/AppState.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Resources/resource.h"
#include "DialogDriver.h"
#include "GuiTestSupport.h"
#include "Render/PrivateRenderer.h"
#include "ovlib3_sim.h"

namespace {

using AppGui::MainWindow;
using guitest::DialogDriver;
using guitest::Pump;
using guitest::PumpFor;
using guitest::PumpUntil;

// The screen's pixels inside `rect`, row by row.
std::vector<uint32_t> Grab(const RECT& rect) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<uint32_t> pixels(size_t(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

size_t Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    size_t count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) count += a[i] != b[i];
    return count;
}

class OverlapTest : public ::testing::Test {
protected:
    void SetUp() override {
        OvSimReset();
        OvSimSetFastMode(1);
        const std::wstring path = guitest::ScratchFile(L"ov-overlap.ovp");
        WritePrivateProfileStringW(L"SYSTEM", L"TYPE_ID", L"1", path.c_str());
        WritePrivateProfileStringW(L"SYSTEM", L"NAME", L"overlap", path.c_str());
        WritePrivateProfileStringW(L"SERIA", L"Value", L"0", path.c_str());
        window_ = std::make_unique<MainWindow>(path);
        ASSERT_NE(window_->CreateMain(), nullptr);
        ShowWindow(window_->Handle(), SW_SHOWMAXIMIZED);
        ASSERT_TRUE(PumpUntil([&] { return window_->IsSystemOpen(); }));
        Render::PrivateRenderer& renderer = AppState::Get().Renderer();
        double rate = 0;
        ASSERT_TRUE(PumpUntil([&] { return renderer.GetFrameRate(&rate) && rate > 0; }));
        view_ = window_->FrameZoom()->Child().Handle();
    }
    void TearDown() override {
        if (window_ && window_->Handle()) DestroyWindow(window_->Handle());
        Pump();
        window_.reset();
    }
    bool Overlaps(HWND window) {
        RECT a{}, b{}, both{};
        GetWindowRect(window, &a);
        GetWindowRect(view_, &b);
        return IntersectRect(&both, &a, &b) != FALSE;
    }
    // The window's picture while frames arrive, then paused and repainted.
    void LiveAndPaused(HWND window, std::vector<uint32_t>* live, std::vector<uint32_t>* paused) {
        PumpFor(600);
        RECT rect{};
        GetWindowRect(window, &rect);
        *live = Grab(rect);
        SendMessageW(window_->Handle(), WM_COMMAND, ID_PAUSE_INPUT, 0);
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFor(200);
        *paused = Grab(rect);
    }

    std::unique_ptr<MainWindow> window_;
    HWND view_ = nullptr;
};

// The part of the frame view that the main window's client area shows.
RECT VisibleViewRect(HWND view) {
    RECT rect{}, host{}, shown{};
    GetWindowRect(view, &rect);
    GetWindowRect(GetParent(view), &host);
    IntersectRect(&shown, &rect, &host);
    return shown;
}

TEST_F(OverlapTest, LiveFramesReachTheScreen) {
    const RECT rect = VisibleViewRect(view_);
    ASSERT_FALSE(IsRectEmpty(&rect));
    const std::vector<uint32_t> first = Grab(rect);
    PumpFor(400);
    EXPECT_GT(Differing(first, Grab(rect)), first.size() / 100);  // the test pattern moves
}

TEST_F(OverlapTest, PausedFrameComesBackWhenAClosedBoxUncoversIt) {
    SendMessageW(window_->Handle(), WM_COMMAND, ID_PAUSE_INPUT, 0);
    PumpFor(200);
    const RECT rect = VisibleViewRect(view_);
    const std::vector<uint32_t> before = Grab(rect);
    DialogDriver driver;
    bool overlaps = false;
    driver.Then([&](HWND dialog) {
        overlaps = Overlaps(dialog);
        PumpFor(200);
        DialogDriver::Click(dialog, IDOK);
    });
    SendMessageW(window_->Handle(), WM_COMMAND, ID_APP_ABOUT, 0);
    PumpFor(300);
    ASSERT_TRUE(overlaps);
    EXPECT_EQ(Differing(before, Grab(rect)), 0u);
}

TEST_F(OverlapTest, AboutBoxStaysWholeOverLiveFrames) {
    DialogDriver driver;
    std::vector<uint32_t> live, paused;
    bool overlaps = false;
    driver.Then([&](HWND dialog) {
        overlaps = Overlaps(dialog);
        LiveAndPaused(dialog, &live, &paused);
        DialogDriver::Click(dialog, IDOK);
    });
    SendMessageW(window_->Handle(), WM_COMMAND, ID_APP_ABOUT, 0);
    ASSERT_TRUE(overlaps);
    ASSERT_FALSE(live.empty());
    EXPECT_EQ(Differing(live, paused), 0u) << "of " << live.size();
}

TEST_F(OverlapTest, ReadoutTooltipStaysWholeOverLiveFrames) {
    SendMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
    HWND tip = window_->FrameZoom()->Child().Tooltip();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }));
    ASSERT_TRUE(Overlaps(tip));
    std::vector<uint32_t> live, paused;
    LiveAndPaused(tip, &live, &paused);
    SendMessageW(view_, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    ASSERT_FALSE(live.empty());
    EXPECT_EQ(Differing(live, paused), 0u) << "of " << live.size();
}

// Not a test: holds the About box open over live frames while
// scripts/overlap-screenshot.sh takes a picture of the screen.
TEST_F(OverlapTest, ShowForScreenshot) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"OV_OVERLAP_SCREENSHOT_DIR", folder, MAX_PATH))
        GTEST_SKIP() << "only for scripts/overlap-screenshot.sh";
    const std::wstring ready = std::wstring(folder) + L"\\ready", done = std::wstring(folder) + L"\\done";
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        PumpFor(1000);
        CloseHandle(CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        for (int i = 0; i < 30000 && !guitest::FileExists(done); ++i) PumpFor(2);
        DialogDriver::Click(dialog, IDOK);
    });
    SendMessageW(window_->Handle(), WM_COMMAND, ID_APP_ABOUT, 0);
}

}  // namespace
