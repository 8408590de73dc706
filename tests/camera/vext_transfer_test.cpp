// The VEXT data transfer against the simulated camera: a recorded film read
// back by index, the live frame, backgrounds, the recording states and the
// failures the transfer reports.
#include <algorithm>
#include <string>

#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "support/AcquireHelpers.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

constexpr uint32_t kSensor = 0x100004;
constexpr int32_t kSensorColour = 44;
using namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds;
constexpr uint16_t kOffset = 5120;

class VextTransferTest : public CameraTest {
protected:
    void Open(bool colour = false) {
        system_ = Create(kVext);
        ASSERT_NE(system_, nullptr);
        if (colour) {
            ASSERT_TRUE(FindOption(system_, kSensor)->AsEnum()->SetValue(kSensorColour));
        }
        ASSERT_TRUE(system_->Init());
    }
    IOvDataTransfer* Transfer(uint32_t mode) {
        IOvDataTransfer* transfer = nullptr;
        EXPECT_TRUE(system_->GetDataTransfer(mode, &transfer));
        return transfer;
    }
    void SetScalar(uint32_t id, int32_t value) { EXPECT_TRUE(FindOption(system_, id)->AsScalar()->SetValue(0, value)); }
    std::pair<int32_t, int32_t> FilmRange() {
        int32_t first = -1, last = -1;
        EXPECT_TRUE(FindOption(system_, kFrameIndex)->AsScalar()->GetRange(0, &first, &last));
        return {first, last};
    }
    // Records a film (in fast mode all of it at once) and opens its playback.
    IOvDataTransfer* RecordFilm(int32_t frames) {
        SetScalar(kFramePosition, frames);
        IOvDataTransfer* recording = Transfer(1);
        int32_t index = 0, state = 0;
        EXPECT_FALSE(recording->Acquire(&index));  // the film is already complete
        EXPECT_TRUE(recording->GetState(&state));
        EXPECT_EQ(state, 1);
        EXPECT_TRUE(system_->StopInput(true));
        return Transfer(2);
    }
    static ::testing::AssertionResult MatchesFilm(const Grabbed& grabbed) {
        if (!grabbed.ok) return ::testing::AssertionFailure() << "no frame";
        std::vector<uint16_t> expected(grabbed.samples.size());
        if (OvSimExpectedVextFrame(0, grabbed.index, expected.data(), expected.size()) > 0)
            return ::testing::AssertionFailure() << "no prediction for index " << grabbed.index;
        const auto mismatch = std::mismatch(expected.begin(), expected.end(), grabbed.samples.begin());
        if (mismatch.first == expected.end()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "index " << grabbed.index << " pixel " << (mismatch.first - expected.begin()) << ": "
               << *mismatch.second << " != " << *mismatch.first;
    }
    size_t ReportsWith(const char* text) {
        size_t count = 0;
        for (const std::string& line : Logger().Lines()) count += line.find(text) != std::string::npos;
        return count;
    }

    IOvSystem* system_ = nullptr;
};

TEST_F(VextTransferTest, RecordedFilmReadBackByIndexEqualsThePrediction) {
    for (bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour" : "mono");
        OvSimSetDeterministic(1, 9);
        Open(colour);
        IOvDataTransfer* playback = RecordFilm(12);
        EXPECT_EQ(FilmRange(), std::make_pair(0, 11));
        for (int32_t index : {0, 5, 11, 5}) {
            const Grabbed frame = Grab(playback, index);
            ASSERT_TRUE(frame.ok) << index;
            EXPECT_EQ(frame.index, index);
            EXPECT_EQ(frame.width, 1024u);
            EXPECT_EQ(frame.height, 1024u);
            EXPECT_EQ(frame.bytesPerPixel, 2u);
            EXPECT_EQ(frame.layout, colour ? uint32_t(Bayer) : uint32_t(Mono));
            EXPECT_TRUE(MatchesFilm(frame));
        }
        // The pattern moves: two frames of the film differ.
        EXPECT_NE(Grab(playback, 0).samples, Grab(playback, 11).samples);
        EXPECT_EQ(Logger().Count(), 0u);
        Lib3ReleaseSystem(kVext);
    }
}

TEST_F(VextTransferTest, PlaybackTouchesTheFrameIndexOnlyForANewIndex) {
    Open();
    IOvDataTransfer* playback = RecordFilm(8);
    ASSERT_TRUE(Grab(playback, 3).ok);
    const uint32_t writes = OvSimCallCount("OvLib3OptionSetScalar");
    ASSERT_TRUE(Grab(playback, 3).ok);
    EXPECT_EQ(OvSimCallCount("OvLib3OptionSetScalar"), writes);
    ASSERT_TRUE(Grab(playback, 4).ok);
    EXPECT_EQ(OvSimCallCount("OvLib3OptionSetScalar"), writes + 1);
    // The camera moves an index outside its film into it, and says so.
    const Grabbed beyond = Grab(playback, 50);
    ASSERT_TRUE(beyond.ok);
    EXPECT_EQ(beyond.index, 7);
}

TEST_F(VextTransferTest, LiveFrameIsTheFifthNewestOfTheRing) {
    OvSimSetDeterministic(1, 3);
    Open();
    IOvDataTransfer* live = Transfer(0);
    int32_t ring = 0;
    ASSERT_TRUE(FindOption(system_, kFramePosition)->AsScalar()->GetValue(0, &ring));
    for (int i = 0; i < 2; ++i) {
        const Grabbed frame = Grab(live);
        ASSERT_TRUE(frame.ok);
        EXPECT_EQ(frame.index, ring - 5);
        EXPECT_TRUE(MatchesFilm(frame));
    }
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(VextTransferTest, BackgroundPlanesFollowTheCounterAndSubtractWithTheOffset) {
    OvSimSetDeterministic(1, 4);
    Open();
    IOvDataTransfer* playback = RecordFilm(2);
    const Grabbed raw = Grab(playback, 1);
    ASSERT_TRUE(raw.ok);
    const size_t pixels = raw.samples.size();
    for (uint32_t plane = 0; plane < 4; ++plane)
        ASSERT_TRUE(
            playback->SetBackground(plane, std::vector<uint16_t>(pixels, uint16_t(0x1000 * (plane + 1))).data()));
    ASSERT_TRUE(playback->EnableBackground(true));
    for (uint32_t plane : {0u, 1u, 2u, 3u, 3u}) {
        const Grabbed frame = Grab(playback, 1);
        ASSERT_TRUE(frame.ok);
        const uint32_t background = 0x1000 * (plane + 1);
        for (size_t i = 0; i < pixels; ++i) {
            const uint32_t v = raw.samples[i];
            const uint32_t expected = v > background ? std::min<uint32_t>(v - background + kOffset, 0xFFFF) : kOffset;
            ASSERT_EQ(frame.samples[i], expected) << "plane " << plane << " pixel " << i;
        }
    }
    // A background equal to the scene leaves the offset everywhere; off, the raw frame again.
    for (uint32_t plane = 0; plane < 4; ++plane) ASSERT_TRUE(playback->SetBackground(plane, raw.samples.data()));
    const Grabbed flat = Grab(playback, 1);
    EXPECT_TRUE(std::all_of(flat.samples.begin(), flat.samples.end(), [](uint16_t v) { return v == kOffset; }));
    ASSERT_TRUE(playback->EnableBackground(false));
    EXPECT_EQ(Grab(playback, 1).samples, raw.samples);
    EXPECT_FALSE(playback->SetBackground(4, raw.samples.data()));
}

TEST_F(VextTransferTest, RecordingBeforeTheFirstFrameFailsSilentlyThenServesTheNewest) {
    OvSimSetFastMode(0);
    OvSimSetDeterministic(1, 6);
    OvSimSetExternalTriggerRate(1);  // the trigger does not come during the test
    Open();
    ASSERT_TRUE(FindOption(system_, kSyncMode)->AsEnum()->SetValue(kSyncExternal));
    SetScalar(kFramePosition, 100);
    IOvDataTransfer* recording = Transfer(1);
    int32_t index = 0, state = 0;
    EXPECT_FALSE(recording->Acquire(&index));
    EXPECT_TRUE(recording->GetState(&state));
    EXPECT_EQ(state, 1);
    EXPECT_EQ(Logger().Count(), 0u);
    EXPECT_TRUE(system_->StopInput(true));

    // Internal sync at 50 frames per second: a 2-second film, read while it grows.
    ASSERT_TRUE(FindOption(system_, kSyncMode)->AsEnum()->SetValue(6));
    SetScalar(0x400003, 50);
    recording = Transfer(1);
    Grabbed newest;
    for (int tries = 0; tries < 1000 && !newest.ok; ++tries) newest = Grab(recording);
    ASSERT_TRUE(newest.ok);
    EXPECT_TRUE(MatchesFilm(newest));
    // The newest when it was read; the film may have grown since.
    EXPECT_LE(newest.index, FilmRange().second);
    EXPECT_TRUE(system_->StopInput(true));
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(VextTransferTest, EachFailureIsReportedOnceWithItsText) {
    struct Case {
        const char* text;
        void (*arm)(int on);
        bool stopInput;  // provoked by StopInput rather than by a frame
    };
    const Case cases[] = {
        {"Data size equal zero.", [](int on) { OvSimSetVextNoData(on); }, false},
        {"Wrong Transfer status.", [](int on) { OvSimSetVextStatus(on ? 1 : 0); }, false},
        {"Timeout error.", [](int on) { OvSimSetDmaHang(on); }, false},
        {"Can't stop input contorl", [](int on) { OvSimSetVextStuckInput(on); }, true},
        // A header whose block is smaller than the parts is refused, never read past.
        {"DMA block size is smaller than the frame part.", [](int on) { OvSimSetVextBlockShortfall(on ? 8 : 0); },
         false},
    };
    Open();
    IOvDataTransfer* playback = RecordFilm(4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Logger().Clear();
        c.arm(1);
        if (c.stopInput) {
            EXPECT_TRUE(system_->StopInput(true));
        } else {
            EXPECT_FALSE(Grab(playback, 2).ok);
        }
        c.arm(0);
        EXPECT_EQ(Logger().Count(), 1u);
        EXPECT_EQ(ReportsWith(c.text), 1u);
        playback = Transfer(2);
        EXPECT_TRUE(Grab(playback, 1).ok);
    }
}

}  // namespace
}  // namespace ovtest
