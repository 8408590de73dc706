// The recording panel's arithmetic and texts: playback speed, stepping with
// the wrap, the level sliders, the available-frames line, the rate-dependent
// value, gamma and the film name.
#include <gtest/gtest.h>

#include "AppGui/VextControlPanel/PanelLogic.h"

namespace {

using namespace AppGui::VextPanel;

TEST(VextPanelLogic, SpeedTakesTheDirectionOfTheCurrentSpeed) {
    struct Case {
        int position;
        double current, expected;
    };
    for (const Case& c :
         {Case{5, -1.0, -4.0}, Case{1, 2.0, 0.25}, Case{3, 0.0, 1.0}, Case{2, -0.25, -0.5}, Case{4, 4.0, 2.0}})
        EXPECT_EQ(SpeedForSlider(c.position, c.current), c.expected) << c.position << " " << c.current;
}

TEST(VextPanelLogic, SteppingWrapsAtBothEnds) {
    struct Case {
        int32_t current;
        int step;
        int32_t expected;
    };
    for (const Case& c : {Case{10, -1, 250}, Case{250, 1, 10}, Case{11, -1, 10}, Case{249, 1, 250}, Case{0, -1, 250}})
        EXPECT_EQ(SteppedFrame(c.current, c.step, 10, 250), c.expected) << c.current << " " << c.step;
}

TEST(VextPanelLogic, BlackStaysBelowWhite) {
    struct Case {
        int black, white;
        bool whiteMoved;
        int expectedBlack, expectedWhite;
    };
    const Case cases[] = {
        {0xFFFF, 0xFFFF, false, 0xFFFE, 0xFFFF},  // black moved onto white at its maximum
        {500, 500, false, 500, 501},
        {500, 400, true, 399, 400},
        {1, 1, true, 1, 2},  // white moved onto black at its minimum
        {300, 900, true, 300, 900},
    };
    for (const Case& c : cases) {
        const Levels levels = PushedLevels(c.black, c.white, c.whiteMoved, 1, 0xFFFF);
        EXPECT_EQ(levels.black, c.expectedBlack) << c.black << " " << c.white;
        EXPECT_EQ(levels.white, c.expectedWhite) << c.black << " " << c.white;
    }
}

TEST(VextPanelLogic, AvailableFramesLine) {
    EXPECT_EQ(AvailableFramesText(1, 1, 1000), L" Доступно для записи: 0 кадров (Время: 0.00  сек.)");
    EXPECT_EQ(AvailableFramesText(0, 1, 1000), L" Доступно для записи: 0 кадров (Время: 0.00  сек.)");
    EXPECT_EQ(AvailableFramesText(3276, 1, 100), L" Доступно для записи: 3275 кадров (Время: 32.75 сек.)");
    EXPECT_EQ(AvailableFramesText(11, 2, 0), L" Доступно для записи: 20 кадров (Время: 20.00 сек.)");
}

TEST(VextPanelLogic, RateDependentValueAndGamma) {
    EXPECT_EQ(RateDependentValue(1000), 205);
    EXPECT_EQ(RateDependentValue(10), 20005);
    EXPECT_EQ(RateDependentValue(0), 200005);
    EXPECT_EQ(RateDependentValue(-1), 1);
    EXPECT_EQ(GammaText(25), L"5.0");
    EXPECT_EQ(GammaText(5), L"1.0");
    EXPECT_FLOAT_EQ(GammaForSlider(25), 5.0f);
}

TEST(VextPanelLogic, FilmNameIsCutAtTheFirstDotOfTheFileName) {
    struct Case {
        const wchar_t* text;
        bool avi;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\films\\test.old.avi", true, L"C:\\films\\test.avi"},
        {L"C:\\films\\test.avi", true, L"C:\\films\\test.avi"},
        {L"C:\\my.films\\test", true, L"C:\\my.films\\test.avi"},
        {L"C:\\films\\test.tif", false, L"C:\\films\\test"},
        {L"", true, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(NormalisedFilmName(c.text, c.avi), c.expected) << c.text;
}

}  // namespace
