// The split window: bar arithmetic, pane layout on real windows, dragging the
// bar (with its ghost) and losing the drag, nesting, focus.
#include <gtest/gtest.h>

#include <cstdio>

#include "AppGui/Framework/SplittedWindow.h"
#include "GuiTestSupport.h"

namespace {

using AppGui::SplitLayout;
using AppGui::SplittedWindow;
using AppGui::Splitter;
using AppGui::SplitterBar;
using guitest::RecordingPane;
using guitest::RectInParent;
using guitest::TopWindow;

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

std::string Show(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "{%ld,%ld,%ld,%ld}", r.left, r.top, r.right, r.bottom);
    return text;
}

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_TRUE(SameRect((actual), RECT{l, t, r, b})) << Show(actual)

TEST(SplitterBar, ThicknessFollowsTheEdgeMetrics) {
    EXPECT_EQ(Splitter<1>().Thickness(), 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(Splitter<0>().Thickness(), 2 * GetSystemMetrics(SM_CYEDGE));
    EXPECT_TRUE(Splitter<1>().IsVertical());
    EXPECT_FALSE(Splitter<0>().IsVertical());
}

TEST(SplitterBar, ANewBarSitsAtZeroAndNeverGoesNegative) {
    Splitter<1> bar;
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
    const int t = bar.Thickness();
    const SplitLayout layout = bar.Layout(SIZE{300, 200});
    EXPECT_RECT(layout.first, 0, 0, 0, 200);
    EXPECT_RECT(layout.bar, 0, 0, t, 200);
    EXPECT_RECT(layout.second, t, 0, 300, 200);
}

TEST(SplitterBar, VerticalBarSplitsTheWidth) {
    Splitter<1> bar;
    const int t = bar.Thickness();
    bar.SetPosition(100);
    const SplitLayout layout = bar.Layout(SIZE{300, 200});
    EXPECT_RECT(layout.first, 0, 0, 100, 200);
    EXPECT_RECT(layout.bar, 100, 0, 100 + t, 200);
    EXPECT_RECT(layout.second, 100 + t, 0, 300, 200);
    EXPECT_EQ(bar.Position(), 100);
}

TEST(SplitterBar, HorizontalBarSplitsTheHeight) {
    Splitter<0> bar;
    const int t = bar.Thickness();
    bar.SetPosition(50);
    const SplitLayout layout = bar.Layout(SIZE{300, 200});
    EXPECT_RECT(layout.first, 0, 0, 300, 50);
    EXPECT_RECT(layout.bar, 0, 50, 300, 50 + t);
    EXPECT_RECT(layout.second, 0, 50 + t, 300, 200);
}

TEST(SplitterBar, ATooNarrowClientPullsTheBarInAndLeavesTheSecondPaneNothing) {
    Splitter<1> bar;
    const int t = bar.Thickness();
    bar.SetPosition(250);
    SplitLayout layout = bar.Layout(SIZE{200, 100});
    EXPECT_EQ(bar.Position(), 200 - t);
    EXPECT_RECT(layout.first, 0, 0, 200 - t, 100);
    EXPECT_RECT(layout.bar, 200 - t, 0, 200, 100);
    EXPECT_EQ(layout.second.right - layout.second.left, 0);

    // The bar stays where it was pulled when the client grows again.
    layout = bar.Layout(SIZE{400, 100});
    EXPECT_EQ(bar.Position(), 200 - t);
    EXPECT_RECT(layout.second, 200, 0, 400, 100);

    // Narrower than the bar itself: the near edge stops at 1.
    layout = bar.Layout(SIZE{t - 1, 100});
    EXPECT_EQ(bar.Position(), 1);
    EXPECT_EQ(layout.second.right - layout.second.left, 0);
    EXPECT_EQ(layout.second.left, 1 + t);
}

TEST(SplitterBar, ABarAtZeroIsNotPushedOut) {
    Splitter<0> bar;
    bar.Layout(SIZE{100, 1});
    EXPECT_EQ(bar.Position(), 0);
}

using Split = SplittedWindow<RecordingPane, RecordingPane, Splitter<1>>;

class SplitWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingPane::initialSize = SIZE{0, 0};
        ASSERT_NE(top_.CreateWithClient(400, 300), nullptr);
        ASSERT_NE(split_.Create(top_.Handle(), RECT{0, 0, 400, 300}, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS),
                  nullptr);
        t_ = split_.Thickness();
    }
    void TearDown() override {
        if (GetCapture()) ReleaseCapture();
        top_.Destroy();
    }
    HWND First() { return split_.FirstPane().Handle(); }
    HWND Second() { return split_.SecondPane().Handle(); }
    void Press(int x, int y) { SendMessageW(split_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Move(int x, int y, WPARAM keys = MK_LBUTTON) {
        SendMessageW(split_.Handle(), WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    }
    void Release(int x, int y) { SendMessageW(split_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

    TopWindow top_;
    Split split_;
    int t_ = 0;
};

TEST_F(SplitWindowTest, PanesAreChildrenLaidOutAroundTheBar) {
    ASSERT_NE(First(), nullptr);
    ASSERT_NE(Second(), nullptr);
    EXPECT_EQ(GetParent(First()), split_.Handle());
    EXPECT_EQ(GetDlgCtrlID(First()), 1);
    EXPECT_EQ(GetDlgCtrlID(Second()), 2);
    // A new split window: bar at 0, all to the second pane.
    EXPECT_RECT(RectInParent(First()), 0, 0, 0, 300);
    EXPECT_RECT(RectInParent(Second()), t_, 0, 400, 300);

    split_.SetPosition(120);
    split_.UpdateLayout();
    EXPECT_RECT(RectInParent(First()), 0, 0, 120, 300);
    EXPECT_RECT(RectInParent(Second()), 120 + t_, 0, 400, 300);
}

TEST_F(SplitWindowTest, ResizingTheWindowReLaysOutThePanes) {
    split_.SetPosition(120);
    MoveWindow(split_.Handle(), 0, 0, 300, 250, TRUE);
    EXPECT_RECT(RectInParent(First()), 0, 0, 120, 250);
    EXPECT_RECT(RectInParent(Second()), 120 + t_, 0, 300, 250);
    MoveWindow(split_.Handle(), 0, 0, 100, 250, TRUE);
    EXPECT_EQ(split_.Position(), 100 - t_);
    EXPECT_RECT(RectInParent(First()), 0, 0, 100 - t_, 250);
    EXPECT_EQ(guitest::WindowSize(Second()).cx, 0);
}

TEST_F(SplitWindowTest, DraggingTheBarMovesItOnRelease) {
    split_.SetPosition(120);
    split_.UpdateLayout();
    Press(121, 50);  // grabbed one pixel into the bar
    EXPECT_TRUE(split_.IsDragging());
    EXPECT_EQ(GetCapture(), split_.Handle());
    Move(201, 60);
    EXPECT_EQ(split_.DragPosition(), 200);
    // The panes wait for the release.
    EXPECT_RECT(RectInParent(First()), 0, 0, 120, 300);
    Move(301, 60, 0);  // no button: ignored
    EXPECT_EQ(split_.DragPosition(), 200);
    Release(201, 60);
    EXPECT_FALSE(split_.IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(split_.Position(), 200);
    EXPECT_RECT(RectInParent(First()), 0, 0, 200, 300);
    EXPECT_RECT(RectInParent(Second()), 200 + t_, 0, 400, 300);
}

TEST_F(SplitWindowTest, ADragStaysBetweenOneAndTheFarEnd) {
    split_.SetPosition(120);
    split_.UpdateLayout();
    Press(120, 10);
    Move(-50, 10);
    EXPECT_EQ(split_.DragPosition(), 1);
    Move(1000, 10);
    EXPECT_EQ(split_.DragPosition(), 400 - t_);
    Move(-50, 10);
    Release(-50, 10);
    EXPECT_EQ(split_.Position(), 1);
    EXPECT_RECT(RectInParent(First()), 0, 0, 1, 300);
}

TEST_F(SplitWindowTest, PressingBesideTheBarStartsNothing) {
    split_.SetPosition(120);
    split_.UpdateLayout();
    Press(60, 10);
    EXPECT_FALSE(split_.IsDragging());
    EXPECT_NE(GetCapture(), split_.Handle());
}

TEST_F(SplitWindowTest, LosingTheCaptureEndsTheDragAtTheGhost) {
    split_.SetPosition(120);
    split_.UpdateLayout();
    Press(120, 10);
    Move(80, 10);
    SetCapture(top_.Handle());  // another window takes the mouse
    EXPECT_FALSE(split_.IsDragging());
    EXPECT_EQ(split_.Position(), 80);
    EXPECT_RECT(RectInParent(First()), 0, 0, 80, 300);
    ReleaseCapture();
}

// The colour of a pixel of a window as the screen shows it.
COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

TEST_F(SplitWindowTest, TheGhostIsAHalftoneInversionThatLeavesNoTrace) {
    split_.SetPosition(120);
    split_.UpdateLayout();
    ShowWindow(top_.Handle(), SW_SHOW);
    RedrawWindow(top_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    guitest::Pump();
    // Over the first pane (white), where the ghost will be after a move.
    const int x = 60, y = 100;
    const COLORREF a = PixelOf(split_.Handle(), x, y), b = PixelOf(split_.Handle(), x + 1, y);
    ASSERT_EQ(a, RGB(255, 255, 255));
    ASSERT_EQ(b, RGB(255, 255, 255));

    Press(120, y);
    Move(x, y);
    // Neighbouring pixels of the ghost: one inverted, one kept.
    const COLORREF ghostA = PixelOf(split_.Handle(), x, y), ghostB = PixelOf(split_.Handle(), x + 1, y);
    EXPECT_NE(ghostA, ghostB);
    EXPECT_TRUE((ghostA == RGB(0, 0, 0)) != (ghostB == RGB(0, 0, 0)));
    // Moving on removes it from its old place.
    Move(x + 100, y);
    EXPECT_EQ(PixelOf(split_.Handle(), x, y), a);
    EXPECT_EQ(PixelOf(split_.Handle(), x + 1, y), b);
    Release(x + 100, y);
}

TEST_F(SplitWindowTest, FocusGoesToTheActivePane) {
    SetForegroundWindow(top_.Handle());
    split_.SetPosition(120);
    split_.UpdateLayout();
    EXPECT_EQ(split_.ActivePane(), 0);
    SetFocus(split_.Handle());
    EXPECT_EQ(GetFocus(), First());
    split_.SetActivePane(1);
    SetFocus(split_.Handle());
    EXPECT_EQ(GetFocus(), Second());
    split_.SetActivePane(0);
    SetFocus(split_.Handle());
    EXPECT_EQ(GetFocus(), First());
}

TEST_F(SplitWindowTest, AClickedPaneBecomesTheActiveOne) {
    split_.SetPosition(120);
    split_.UpdateLayout();
    // What a click does first: the pane under the cursor asks its parents whether to activate.
    auto clickInto = [&](HWND pane) {
        RECT rect{};
        GetWindowRect(pane, &rect);
        SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(pane, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top_.Handle()),
                     MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    };
    clickInto(Second());
    EXPECT_EQ(split_.ActivePane(), 1);
    clickInto(First());
    EXPECT_EQ(split_.ActivePane(), 0);
}

TEST_F(SplitWindowTest, ShowsTheResizeCursorOverTheBar) {
    const LRESULT handled = SendMessageW(split_.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(split_.Handle()),
                                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(handled, TRUE);
    EXPECT_EQ(GetCursor(), AppGui::StockCursor(IDC_SIZEWE));
}

using Inner = SplittedWindow<RecordingPane, RecordingPane, Splitter<0>>;
using Outer = SplittedWindow<RecordingPane, Inner, Splitter<1>>;

TEST(NestedSplitWindows, TheInnerSplitFollowsTheOuterBar) {
    TopWindow top;
    ASSERT_NE(top.CreateWithClient(500, 400), nullptr);
    Outer outer;
    ASSERT_NE(outer.Create(top.Handle(), RECT{0, 0, 500, 400}, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN),
              nullptr);
    Inner& inner = outer.SecondPane();
    ASSERT_NE(inner.Handle(), nullptr);
    const int tv = outer.Thickness(), th = inner.Thickness();
    inner.SetPosition(250);
    outer.SetPosition(150);
    outer.UpdateLayout();
    EXPECT_RECT(RectInParent(inner.Handle()), 150 + tv, 0, 500, 400);
    EXPECT_RECT(RectInParent(inner.FirstPane().Handle()), 0, 0, 500 - 150 - tv, 250);
    EXPECT_RECT(RectInParent(inner.SecondPane().Handle()), 0, 250 + th, 500 - 150 - tv, 400);

    // Collapsing the bottom pane: bar at the full height.
    inner.SetPosition(400);
    inner.UpdateLayout();
    EXPECT_EQ(inner.Position(), 400 - th);
    EXPECT_EQ(guitest::WindowSize(inner.SecondPane().Handle()).cy, 0);
    top.Destroy();
    EXPECT_EQ(inner.FirstPane().Handle(), nullptr);
}

}  // namespace
