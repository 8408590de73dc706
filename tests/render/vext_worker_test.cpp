// The acquisition worker with a VEXT camera: frame indexes while the camera
// records and the end of the recording, playback forwards and backwards with
// the wrap at both ends of the film, fetching one frame, and a stop that
// forgets the transfer.
#include <algorithm>

#include "AppGui/AppState.h"
#include "Notifications.h"
#include "support/AcquireHelpers.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

using namespace Render;

constexpr uint32_t kIgnored = 9;  // taken only after the previous command was carried out
constexpr uint32_t kFrameRate = 0x400003;
constexpr uint32_t kFramePosition = 0x400007;
constexpr uint32_t kRegion = 0x400006;

class VextWorkerTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        OvSimSetDeterministic(1, 8);
        system_ = CreateAndInit(kVext);
        ASSERT_TRUE(FindOption(system_, kRegion)->AsRect()->SetRect(0, 0, 256, 64));
        AppState& state = AppState::Get();
        state.system = system_;
        state.mainWindow = notes_.window;
        renderer_.SetNotifyWindow(notes_.window);
        ASSERT_NE(renderer_.Start(), nullptr);
    }
    void TearDown() override {
        renderer_.SendCommand(CommandQuit);
        AppState& state = AppState::Get();
        state.system = nullptr;
        state.transfer = nullptr;
        state.mainWindow = nullptr;
        CameraTest::TearDown();
    }
    void Use(uint32_t mode) { ASSERT_TRUE(system_->GetDataTransfer(mode, &AppState::Get().transfer)); }
    void SetScalar(uint32_t id, int32_t value) { ASSERT_TRUE(FindOption(system_, id)->AsScalar()->SetValue(0, value)); }
    // True when the shown indexes step against the direction somewhere: a wrap.
    static bool Wrapped(const std::vector<int32_t>& shown, double speed) {
        for (size_t i = 1; i < shown.size(); ++i)
            if (speed > 0 ? shown[i] < shown[i - 1] : shown[i] > shown[i - 1]) return true;
        return false;
    }
    // Plays at speed until the index has wrapped at an end of the film, then pauses.
    std::vector<int32_t> PlayThroughAnEnd(double speed) {
        notes_.indexes.clear();
        renderer_.SetPlaybackSpeed(speed);
        EXPECT_TRUE(renderer_.SendCommand(CommandRun));
        EXPECT_TRUE(notes_.PumpUntil([&] { return Wrapped(notes_.indexes, speed); }));
        EXPECT_TRUE(renderer_.SendCommand(CommandPause));
        EXPECT_TRUE(renderer_.SendCommand(kIgnored));
        notes_.Pump();
        return notes_.indexes;
    }

    IOvSystem* system_ = nullptr;
    Notifications notes_;
    PrivateRenderer renderer_{AppState::Get()};
};

TEST_F(VextWorkerTest, RecordingReportsItsFramesThenItsEnd) {
    OvSimSetFastMode(0);
    SetScalar(kFrameRate, 50);
    SetScalar(kFramePosition, 60);  // a film of 1.2 s
    Use(1);
    ASSERT_TRUE(renderer_.SendCommand(CommandRun));
    EXPECT_TRUE(notes_.PumpUntil([&] { return notes_.sequenceEnds > 0; }));
    ASSERT_TRUE(renderer_.SendCommand(CommandStop));
    for (const std::string& line : Logger().Lines()) ADD_FAILURE() << line;
    ASSERT_GT(notes_.frameIndexes, 0);
    // Each index reported is the newest frame at that moment: they never go back.
    EXPECT_TRUE(std::is_sorted(notes_.indexes.begin(), notes_.indexes.end()));
    EXPECT_LE(notes_.indexes.back(), 59);
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(VextWorkerTest, PlaybackWrapsAtBothEndsInEitherDirection) {
    SetScalar(kFramePosition, 10);
    Use(1);
    ASSERT_TRUE(system_->StopInput(true));
    Use(2);
    ASSERT_TRUE(renderer_.SendCommand(CommandReloadRange));
    for (double speed : {4.0, -4.0}) {
        SCOPED_TRACE(speed);
        const std::vector<int32_t> shown = PlayThroughAnEnd(speed);
        EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](int32_t i) { return i >= 0 && i <= 9; }));
        // Between frames the index moves with the direction, or wraps by the overshoot.
        for (size_t i = 1; i < shown.size(); ++i) {
            const int32_t step = ((shown[i] - shown[i - 1]) * (speed > 0 ? 1 : -1) + 10) % 10;
            EXPECT_LT(step, 9) << shown[i - 1] << " -> " << shown[i];
        }
    }

    int32_t index = 7;
    uint32_t layout = 99;
    ASSERT_TRUE(renderer_.FetchFrame(&index, &layout));
    EXPECT_EQ(index, 7);
    EXPECT_EQ(renderer_.FrameIndex(), 7);
    EXPECT_EQ(layout, uint32_t(Mono));
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(VextWorkerTest, StopForgetsTheTransferOfAClosedCamera) {
    SetScalar(kFramePosition, 4);
    Use(1);
    ASSERT_TRUE(system_->StopInput(true));
    Use(2);
    ASSERT_TRUE(renderer_.SendCommand(CommandRun));
    EXPECT_TRUE(notes_.PumpUntil([&] { return notes_.frameIndexes > 0; }));
    ASSERT_TRUE(renderer_.SendCommand(CommandStop));
    AppState::Get().transfer = nullptr;
    AppState::Get().system = nullptr;
    Lib3ReleaseSystem(kVext);
    int32_t index = 0;
    uint32_t layout = 0;
    EXPECT_FALSE(renderer_.FetchFrame(&index, &layout));
    ASSERT_TRUE(renderer_.SendCommand(CommandRun));
    ASSERT_TRUE(renderer_.SendCommand(CommandStop));
}

}  // namespace
}  // namespace ovtest
