// The scrolling host: its child's style, scroll ranges and pages, centring a
// small child, every kind of scroll request, and passing the focus on.
#include <gtest/gtest.h>

#include "AppGui/Framework/ScrollLayout.h"
#include "AppGui/Framework/ScrollableWindow.h"
#include "GuiTestSupport.h"

namespace {

using AppGui::ScrollableWindow;
using guitest::ClientSize;
using guitest::RecordingPane;
using guitest::RectInParent;
using guitest::TopWindow;

TEST(ScrollArithmetic, PlacesScrolledOrCentred) {
    EXPECT_EQ(AppGui::PlaceOnAxis(100, 300, 40), -40);
    EXPECT_EQ(AppGui::PlaceOnAxis(300, 100, 40), 100);  // the position does not count
    EXPECT_EQ(AppGui::PlaceOnAxis(101, 100, 0), 0);     // (101 - 100) / 2
    EXPECT_EQ(AppGui::PlaceOnAxis(100, 100, 5), 0);
}

TEST(ScrollArithmetic, RequestsMoveByTenthsAndPages) {
    SCROLLINFO info{};
    info.nMin = 0;
    info.nMax = 600;
    info.nPage = 250;
    info.nPos = 100;
    info.nTrackPos = 333;
    int position = 0;
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_LINEDOWN, info, 0, &position));
    EXPECT_EQ(position, 125);
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_LINEUP, info, 0, &position));
    EXPECT_EQ(position, 75);
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_PAGEDOWN, info, 0, &position));
    EXPECT_EQ(position, 350);
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_PAGEUP, info, 0, &position));
    EXPECT_EQ(position, -150);  // the system clamps it
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_THUMBPOSITION, info, -2, &position));
    EXPECT_EQ(position, -2);
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_THUMBTRACK, info, 7, &position));
    EXPECT_EQ(position, 333);
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_TOP, info, 0, &position));
    EXPECT_EQ(position, 0);
    ASSERT_TRUE(AppGui::RequestedScrollPosition(SB_BOTTOM, info, 0, &position));
    EXPECT_EQ(position, 600);
    EXPECT_FALSE(AppGui::RequestedScrollPosition(SB_ENDSCROLL, info, 0, &position));
}

using Host = ScrollableWindow<RecordingPane>;

class ScrollHostTest : public ::testing::Test {
protected:
    void Make(SIZE child, SIZE host = SIZE{300, 200}) {
        RecordingPane::initialSize = child;
        ASSERT_NE(top_.CreateWithClient(500, 400), nullptr);
        RECT rect{0, 0, host.cx, host.cy};
        ASSERT_NE(host_.CreateChild(top_.Handle(), 5, &rect), nullptr);
        RecordingPane::initialSize = SIZE{0, 0};
        child_ = host_.Child().Handle();
        ASSERT_NE(child_, nullptr);
    }
    void TearDown() override { top_.Destroy(); }

    SCROLLINFO Info(int bar) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(host_.Handle(), bar, &info);
        return info;
    }
    void Scroll(UINT message, int code, int thumb = 0) {
        SendMessageW(host_.Handle(), message, MAKEWPARAM(code, static_cast<WORD>(thumb)), 0);
    }
    bool BarShown(int bar) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        GetScrollBarInfo(host_.Handle(), bar == SB_HORZ ? OBJID_HSCROLL : OBJID_VSCROLL, &info);
        return !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    }

    TopWindow top_;
    Host host_;
    HWND child_ = nullptr;
};

TEST_F(ScrollHostTest, StylesOfHostAndChild) {
    Make(SIZE{100, 50});
    const LONG hostStyle = GetWindowLongW(host_.Handle(), GWL_STYLE);
    for (LONG bit : {WS_CHILD, WS_VISIBLE, WS_CLIPSIBLINGS, WS_CLIPCHILDREN}) EXPECT_TRUE(hostStyle & bit) << bit;
    EXPECT_TRUE(GetWindowLongW(host_.Handle(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    const LONG childStyle = GetWindowLongW(child_, GWL_STYLE);
    for (LONG bit : {WS_CHILD, WS_BORDER, WS_VISIBLE, WS_CLIPSIBLINGS, WS_CLIPCHILDREN})
        EXPECT_TRUE(childStyle & bit) << bit;
    EXPECT_EQ(GetParent(child_), host_.Handle());
}

TEST_F(ScrollHostTest, ASmallChildIsCentredAndDoesNotScroll) {
    Make(SIZE{100, 50});
    const SIZE client = ClientSize(host_.Handle());
    EXPECT_FALSE(BarShown(SB_HORZ));
    EXPECT_FALSE(BarShown(SB_VERT));
    const RECT expected{(client.cx - 100) / 2, (client.cy - 50) / 2, (client.cx - 100) / 2 + 100,
                        (client.cy - 50) / 2 + 50};
    const RECT before = RectInParent(child_);
    EXPECT_TRUE(EqualRect(&expected, &before));
    Scroll(WM_HSCROLL, SB_LINEDOWN);
    Scroll(WM_VSCROLL, SB_PAGEDOWN);
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 30);
    const RECT after = RectInParent(child_);
    EXPECT_TRUE(EqualRect(&expected, &after));
    EXPECT_EQ(host_.ChildOffset().x, 0);
    EXPECT_EQ(host_.ChildOffset().y, 0);
}

TEST_F(ScrollHostTest, ALargeChildGetsRangesPagesAndScrolls) {
    Make(SIZE{600, 400});
    EXPECT_TRUE(BarShown(SB_HORZ));
    EXPECT_TRUE(BarShown(SB_VERT));
    const SIZE client = ClientSize(host_.Handle());
    SCROLLINFO h = Info(SB_HORZ), v = Info(SB_VERT);
    EXPECT_EQ(h.nMin, 0);
    EXPECT_EQ(h.nMax, 600);
    EXPECT_EQ(static_cast<int>(h.nPage), client.cx);
    EXPECT_EQ(v.nMax, 400);
    EXPECT_EQ(static_cast<int>(v.nPage), client.cy);
    EXPECT_EQ(RectInParent(child_).left, 0);

    Scroll(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(RectInParent(child_).left, -(client.cx / 10));
    Scroll(WM_HSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(RectInParent(child_).left, -(client.cx / 10 + client.cx));
    Scroll(WM_HSCROLL, SB_LINEUP);
    EXPECT_EQ(RectInParent(child_).left, -client.cx);
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 50);
    EXPECT_EQ(RectInParent(child_).left, -50);
    EXPECT_EQ(host_.ChildOffset().x, -50);
    Scroll(WM_HSCROLL, SB_THUMBTRACK);  // not tracking: the tracking position is the position
    EXPECT_EQ(RectInParent(child_).left, -50);
    Scroll(WM_HSCROLL, SB_ENDSCROLL);
    EXPECT_EQ(RectInParent(child_).left, -50);
    // The other axis is untouched.
    EXPECT_EQ(RectInParent(child_).top, 0);

    // The system keeps the position in range.
    for (int i = 0; i < 10; ++i) Scroll(WM_VSCROLL, SB_PAGEDOWN);
    const int lastY = 400 - client.cy + 1;
    EXPECT_EQ(GetScrollPos(host_.Handle(), SB_VERT), lastY);
    EXPECT_EQ(RectInParent(child_).top, -lastY);
    EXPECT_EQ(host_.ChildOffset().y, -lastY);
    for (int i = 0; i < 10; ++i) Scroll(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(RectInParent(child_).top, 0);
    Scroll(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(RectInParent(child_).top, -lastY);
    Scroll(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(RectInParent(child_).top, 0);
}

TEST_F(ScrollHostTest, GrowingTheHostPastTheChildCentresIt) {
    Make(SIZE{350, 100});
    EXPECT_TRUE(BarShown(SB_HORZ));
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 20);
    EXPECT_EQ(RectInParent(child_).left, -20);
    // Wider than the child now: centred, and the horizontal bar goes.
    MoveWindow(host_.Handle(), 0, 0, 480, 200, TRUE);
    const SIZE client = ClientSize(host_.Handle());
    EXPECT_FALSE(BarShown(SB_HORZ));
    EXPECT_EQ(RectInParent(child_).left, (client.cx - 350) / 2);
    EXPECT_EQ(RectInParent(child_).top, (client.cy - 100) / 2);
    EXPECT_EQ(host_.ChildOffset().x, 0);
}

TEST_F(ScrollHostTest, OneAxisScrollsWhileTheOtherIsCentred) {
    Make(SIZE{800, 60});
    const SIZE client = ClientSize(host_.Handle());
    EXPECT_TRUE(BarShown(SB_HORZ));
    EXPECT_FALSE(BarShown(SB_VERT));
    EXPECT_EQ(RectInParent(child_).left, 0);
    EXPECT_EQ(RectInParent(child_).top, (client.cy - 60) / 2);
    Scroll(WM_HSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(RectInParent(child_).left, -client.cx);
    EXPECT_EQ(RectInParent(child_).top, (client.cy - 60) / 2);
}

TEST_F(ScrollHostTest, AChildThatResizesItselfIsTakenUpByUpdateLayout) {
    Make(SIZE{100, 100});
    EXPECT_FALSE(BarShown(SB_VERT));
    SetWindowPos(child_, nullptr, 0, 0, 100, 900, SWP_NOMOVE | SWP_NOZORDER);
    host_.UpdateLayout();
    EXPECT_TRUE(BarShown(SB_VERT));
    EXPECT_EQ(Info(SB_VERT).nMax, 900);
    EXPECT_EQ(RectInParent(child_).top, 0);
}

TEST_F(ScrollHostTest, FocusPassesToTheChildAndFromTheChildToTheParent) {
    Make(SIZE{100, 100});
    SetForegroundWindow(top_.Handle());
    SetFocus(host_.Handle());
    EXPECT_EQ(GetFocus(), child_);
    // The child gives it back: the host hands it up to its parent.
    SetFocus(host_.Handle());
    EXPECT_EQ(GetFocus(), top_.Handle());
}

}  // namespace
