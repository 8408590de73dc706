// Zoom levels: child sizes for every mode, clamping, captions, the main
// window's steps, the natural size, and the zoom window's messages.
#include <gtest/gtest.h>

#include "AppGui/AppMessages.h"
#include "AppGui/Framework/Zoom.h"
#include "AppGui/Framework/ZoomWindow.h"
#include "GuiTestSupport.h"

namespace {

using namespace AppGui;

::testing::AssertionResult SizeIs(SIZE actual, long cx, long cy) {
    if (actual.cx == cx && actual.cy == cy) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.cx << "x" << actual.cy << " instead of " << cx << "x" << cy;
}

const SIZE kNatural{400, 300};

TEST(ZoomSizes, PercentagesScaleTheNaturalSizeWithIntegerDivision) {
    EXPECT_TRUE(SizeIs(ZoomedSize(100, kNatural, SIZE{10, 10}), 400, 300));
    EXPECT_TRUE(SizeIs(ZoomedSize(200, kNatural, SIZE{10, 10}), 800, 600));
    EXPECT_TRUE(SizeIs(ZoomedSize(50, kNatural, SIZE{10, 10}), 200, 150));
    EXPECT_TRUE(SizeIs(ZoomedSize(33, SIZE{401, 301}, SIZE{10, 10}), 132, 99));
    EXPECT_TRUE(SizeIs(ZoomedSize(800, kNatural, SIZE{10, 10}), 3200, 2400));
}

TEST(ZoomSizes, ZeroAndOtherNegativeLevelsGiveNoSize) {
    EXPECT_TRUE(SizeIs(ZoomedSize(0, kNatural, SIZE{10, 10}), 0, 0));
    EXPECT_TRUE(SizeIs(ZoomedSize(-10, kNatural, SIZE{10, 10}), 0, 0));
}

TEST(ZoomSizes, FitOnAWideClientTakesTheFullHeight) {
    EXPECT_TRUE(SizeIs(ZoomedSize(kZoomFitWhole, kNatural, SIZE{1000, 500}), 666, 500));
}

TEST(ZoomSizes, FitOnANarrowClientTakesTheFullWidth) {
    EXPECT_TRUE(SizeIs(ZoomedSize(kZoomFitWhole, kNatural, SIZE{300, 500}), 300, 225));
}

TEST(ZoomSizes, FitWidthAndFitHeightIgnoreTheOtherSide) {
    EXPECT_TRUE(SizeIs(ZoomedSize(kZoomFitWidth, kNatural, SIZE{1000, 500}), 1000, 750));
    EXPECT_TRUE(SizeIs(ZoomedSize(kZoomFitHeight, kNatural, SIZE{300, 600}), 800, 600));
}

TEST(ZoomSizes, AnEmptyNaturalSizeDividesByOne) {
    EXPECT_TRUE(SizeIs(ZoomedSize(kZoomFitWhole, SIZE{0, 0}, SIZE{300, 200}), 300, 0));
    EXPECT_TRUE(SizeIs(ZoomedSize(kZoomFitHeight, SIZE{0, 0}, SIZE{300, 200}), 0, 200));
}

TEST(ZoomLevels, AreClampedToTheRange) {
    EXPECT_EQ(ClampZoom(-100), -75);
    EXPECT_EQ(ClampZoom(1000), 800);
    EXPECT_EQ(ClampZoom(-50), -50);
    EXPECT_EQ(ClampZoom(0), 0);
}

TEST(ZoomLevels, Captions) {
    EXPECT_STREQ(ZoomCaption(-75), L"(Масштаб \"Полностью\")");
    EXPECT_STREQ(ZoomCaption(-50), L"(Масштаб \"По ширине\")");
    EXPECT_STREQ(ZoomCaption(-25), L"(Масштаб \"По высоте\")");
    EXPECT_STREQ(ZoomCaption(100), L"(Масштаб 100%)");
    EXPECT_STREQ(ZoomCaption(30), L"(Масштаб 30%)");
    // One shared buffer.
    EXPECT_EQ(ZoomCaption(100), ZoomCaption(200));
}

TEST(ZoomLevels, StepsDownGoByTensToThirtyAndStay) {
    std::vector<int> seen;
    int zoom = 100;
    for (int i = 0; i < 9; ++i) seen.push_back(zoom = ZoomStepDown(zoom));
    EXPECT_EQ(seen, (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 30, 30}));
    EXPECT_EQ(ZoomStepDown(35), 30);
}

TEST(ZoomLevels, StepsUpStopAtEightHundred) {
    EXPECT_EQ(ZoomStepUp(100), 110);
    EXPECT_EQ(ZoomStepUp(790), 800);
    EXPECT_EQ(ZoomStepUp(800), 800);
    EXPECT_EQ(ZoomStepUp(795), 800);
}

TEST(ZoomLevels, EitherStepFromAFitModeGivesOneHundred) {
    for (int fit : {kZoomFitWhole, kZoomFitWidth, kZoomFitHeight}) {
        EXPECT_EQ(ZoomStepUp(fit), 100);
        EXPECT_EQ(ZoomStepDown(fit), 100);
    }
}

TEST(ZoomStateTest, TheNaturalSizeIsTakenOnlyAtOneHundred) {
    ZoomState state;
    EXPECT_EQ(state.Zoom(), 100);
    EXPECT_TRUE(SizeIs(state.Apply(200, kNatural, SIZE{500, 500}), 800, 600));
    EXPECT_TRUE(SizeIs(state.Natural(), 400, 300));
    // At 200 the child is 800x600: that is not its natural size.
    EXPECT_TRUE(SizeIs(state.Apply(50, SIZE{800, 600}, SIZE{500, 500}), 200, 150));
    EXPECT_TRUE(SizeIs(state.Natural(), 400, 300));
    EXPECT_TRUE(SizeIs(state.Apply(100, SIZE{200, 150}, SIZE{500, 500}), 400, 300));
    // Back at 100 a new frame size becomes the natural size.
    EXPECT_TRUE(SizeIs(state.Apply(100, SIZE{640, 480}, SIZE{500, 500}), 640, 480));
    EXPECT_TRUE(SizeIs(state.Natural(), 640, 480));
    state.Apply(5000, SIZE{640, 480}, SIZE{500, 500});
    EXPECT_EQ(state.Zoom(), 800);
}

using Zoomer = ZoomWindow<guitest::RecordingPane>;

class ZoomWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::RecordingPane::initialSize = kNatural;
        ASSERT_NE(top_.CreateWithClient(700, 500), nullptr);
        RECT rect{0, 0, 600, 450};
        ASSERT_NE(zoom_.CreateChild(top_.Handle(), 3, &rect), nullptr);
        guitest::RecordingPane::initialSize = SIZE{0, 0};
        child_ = zoom_.Child().Handle();
    }
    void TearDown() override { top_.Destroy(); }
    LRESULT SetZoom(int zoom) { return SendMessageW(zoom_.Handle(), UWM_SET_ZOOM, static_cast<WPARAM>(zoom), 0); }
    int GetZoom() { return static_cast<int>(SendMessageW(zoom_.Handle(), UWM_GET_ZOOM, 0, 0)); }

    guitest::TopWindow top_;
    Zoomer zoom_;
    HWND child_ = nullptr;
};

TEST_F(ZoomWindowTest, StartsAtOneHundredWithTheChildCentred) {
    EXPECT_EQ(GetZoom(), 100);
    EXPECT_STREQ(zoom_.Caption(), L"(Масштаб 100%)");
    const SIZE client = guitest::ClientSize(zoom_.Handle());
    EXPECT_EQ(guitest::RectInParent(child_).left, (client.cx - 400) / 2);
}

TEST_F(ZoomWindowTest, SetZoomResizesTheChildAndTheScrollRanges) {
    SetZoom(200);
    EXPECT_EQ(GetZoom(), 200);
    EXPECT_TRUE(SizeIs(guitest::WindowSize(child_), 800, 600));
    EXPECT_EQ(GetScrollPos(zoom_.Handle(), SB_HORZ), 0);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    GetScrollInfo(zoom_.Handle(), SB_HORZ, &info);
    EXPECT_EQ(info.nMax, 800);
    EXPECT_EQ(guitest::RectInParent(child_).left, 0);
    EXPECT_STREQ(zoom_.Caption(), L"(Масштаб 200%)");

    SetZoom(50);
    EXPECT_TRUE(SizeIs(guitest::WindowSize(child_), 200, 150));
    EXPECT_TRUE(SizeIs(zoom_.NaturalSize(), 400, 300));
}

TEST_F(ZoomWindowTest, FitShowsTheWholeImageInTheClient) {
    // The fit is taken from the client as it is when the zoom is set.
    const SIZE client = guitest::ClientSize(zoom_.Handle());
    SetZoom(kZoomFitWhole);
    const SIZE child = guitest::WindowSize(child_);
    EXPECT_TRUE(SizeIs(child, client.cx, client.cx * 300 / 400)) << client.cx << "x" << client.cy;
    EXPECT_LE(child.cy, client.cy);
    EXPECT_STREQ(zoom_.Caption(), L"(Масштаб \"Полностью\")");
    // A host of another shape: full height, proportional width.
    MoveWindow(zoom_.Handle(), 0, 0, 600, 200, TRUE);
    SetZoom(100);
    const SIZE wide = guitest::ClientSize(zoom_.Handle());
    SetZoom(kZoomFitWhole);
    EXPECT_TRUE(SizeIs(guitest::WindowSize(child_), 400 * wide.cy / 300, wide.cy));
}

TEST_F(ZoomWindowTest, OutOfRangeZoomsAreClamped) {
    SetZoom(5000);
    EXPECT_EQ(GetZoom(), 800);
    EXPECT_TRUE(SizeIs(guitest::WindowSize(child_), 3200, 2400));
    SetZoom(-500);
    EXPECT_EQ(GetZoom(), -75);
}

TEST_F(ZoomWindowTest, ANewFrameSizeIsTakenUpBySettingTheSameZoomAgain) {
    // What the frame view does after a frame-size change at zoom 100.
    SetWindowPos(child_, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    SetZoom(GetZoom());
    EXPECT_TRUE(SizeIs(zoom_.NaturalSize(), 640, 480));
    SetZoom(50);
    EXPECT_TRUE(SizeIs(guitest::WindowSize(child_), 320, 240));
}

}  // namespace
