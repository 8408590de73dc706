// The renderer's acquisition loop against the simulated camera: frames,
// rate, stop and pause, sync blocking, playback stepping, binning readout.
#include <windows.h>

#include <atomic>
#include <vector>

#include "AppGui/AppState.h"
#include "Render/PlaybackIndex.h"
#include "Render/PrivateRenderer.h"
#include "Render/RenderMessages.h"
#include "support/CameraFixture.h"
#include "Notifications.h"

namespace ovtest {
namespace {

using namespace Render;

// A command the loop ignores: once it is taken, the previous one has been carried out.
constexpr uint32_t kIgnored = 9;

TEST(PlaybackIndex, WrapsByTheOvershootWithinTheRange) {
    const PlaybackRange range{10, 19, 10};
    EXPECT_EQ(NextFrameIndex(19, 1.0, range), 11);  // first + 1 follows last
    EXPECT_EQ(NextFrameIndex(15, 2.7, range), 17);  // whole frames only
    EXPECT_EQ(NextFrameIndex(19, 25.0, range), 10);
    EXPECT_EQ(NextFrameIndex(18, 25.0, range), 19);
    EXPECT_EQ(NextFrameIndex(10, -1.0, range), 18);  // backwards: last - 1 follows first
    EXPECT_EQ(NextFrameIndex(12, -30.0, range), 19);
    EXPECT_EQ(NextFrameIndex(19, -30.0, range), 10);
    EXPECT_EQ(NextFrameIndex(15, 0.0, range), 15);
}

TEST(PlaybackIndex, LiveCamerasStayAtZero) {
    for (int32_t count : {0, 1}) {
        const PlaybackRange live{0, 0, count};
        EXPECT_EQ(NextFrameIndex(0, 0.0, live), 0);
        EXPECT_EQ(NextFrameIndex(0, 3.0, live), 0);
        EXPECT_EQ(NextFrameIndex(0, -2.0, live), 0);
    }
}

TEST(PlaybackIndex, AccumulatorRestartsAfterAUsedStep) {
    EXPECT_DOUBLE_EQ(NextAccumulator(0.0, 20, 1.0), 0.5);
    EXPECT_DOUBLE_EQ(NextAccumulator(0.5, 20, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(NextAccumulator(1.0, 20, 1.0), 0.5);  // 1.0 was used for a step
    EXPECT_DOUBLE_EQ(NextAccumulator(-2.0, 40, -1.0), -1.0);
}

TEST(FrameRateMeter, AveragesAndRestartsAfterSixSeconds) {
    FrameRateMeter meter(1000);
    EXPECT_EQ(meter.Count(1000), 0.0);         // no time passed: previous rate kept
    EXPECT_DOUBLE_EQ(meter.Count(1500), 4.0);  // two frames in half a second
    EXPECT_DOUBLE_EQ(meter.Count(7000), 0.5);  // three frames in six seconds: the window restarts
    EXPECT_DOUBLE_EQ(meter.Count(7500), 2.0);
}

class RendererTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        system_ = CreateAndInit(kZelMono);
        ASSERT_TRUE(system_->GetDataTransfer(0, &transfer_));
        AppState& state = AppState::Get();
        state.system = system_;
        state.transfer = transfer_;
        state.mainWindow = notes_.window;
    }
    void TearDown() override {
        renderer_.SendCommand(CommandQuit);
        AppState& state = AppState::Get();
        state.system = nullptr;
        state.transfer = nullptr;
        state.mainWindow = nullptr;
        CameraTest::TearDown();
    }

    IOvSystem* system_ = nullptr;
    IOvDataTransfer* transfer_ = nullptr;
    Notifications notes_;
    PrivateRenderer renderer_{AppState::Get()};
};

TEST_F(RendererTest, RunFetchesFramesWithoutSurfacesAndStopForgetsThem) {
    double rate = -1;
    EXPECT_FALSE(renderer_.GetFrameRate(&rate));
    ASSERT_NE(renderer_.Start(), nullptr);
    ASSERT_TRUE(renderer_.SendCommand(CommandRun));
    EXPECT_TRUE(notes_.PumpUntil([&] { return notes_.statusTicks >= 5; }));
    EXPECT_TRUE(renderer_.GetFrameRate(&rate));

    ASSERT_TRUE(renderer_.SendCommand(CommandPause));
    ASSERT_TRUE(renderer_.SendCommand(kIgnored));  // taken only after the pause was carried out
    EXPECT_TRUE(renderer_.GetFrameRate(&rate));    // pause keeps the frame
    EXPECT_EQ(rate, 0.0);
    ASSERT_TRUE(renderer_.SendCommand(CommandRun));
    ASSERT_TRUE(renderer_.SendCommand(CommandStop));
    ASSERT_TRUE(renderer_.SendCommand(kIgnored));
    EXPECT_FALSE(renderer_.GetFrameRate(&rate));  // stop forgets it
    EXPECT_EQ(notes_.pauseCommands, 0);
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(RendererTest, SyncBlockingGivesOneFramePerRunAndPauses) {
    renderer_.SetSyncBlocking(true);
    renderer_.Start();
    for (int run = 1; run <= 3; ++run) {
        ASSERT_TRUE(renderer_.SendCommand(CommandRun));
        EXPECT_TRUE(notes_.PumpUntil([&] { return notes_.pauseCommands >= run; }));
        // The loop has stopped polling: no further frame arrives until the next run.
        ASSERT_TRUE(renderer_.SendCommand(CommandReloadRange));
        notes_.Pump();
        EXPECT_EQ(notes_.statusTicks, run);
        EXPECT_EQ(notes_.pauseCommands, run);
    }
}

TEST_F(RendererTest, CommandsDuringAcquisitionNeverDeadlock) {
    renderer_.Start();
    const uint32_t commands[] = {CommandRun, CommandPause, CommandRun, CommandReloadRange, CommandStop, 9};
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(renderer_.SendCommand(commands[i % 6]));
        if (i % 7 == 0) renderer_.SetGainShift(i % 3);
        if (i % 11 == 0) notes_.Pump();
    }
    ASSERT_TRUE(renderer_.SendCommand(CommandQuit));
    EXPECT_FALSE(renderer_.IsRunning());
}

TEST_F(RendererTest, PixelReadoutFollowsBinning) {
    ASSERT_TRUE(system_->LockAcquisition());
    ASSERT_TRUE(FindOption(system_, 0x400006)->AsRect()->SetRect(0, 0, 1000, 1000));
    ASSERT_TRUE(FindOption(system_, 0x400008)->AsEnum()->SetValue(20));  // 16-bit data
    system_->UnlockAcquisition();
    renderer_.Start();
    ASSERT_TRUE(renderer_.SendCommand(CommandReloadRange));  // takes the data-format option
    ASSERT_TRUE(renderer_.SendCommand(kIgnored));
    int32_t index = 0;
    uint32_t layout = 9;
    ASSERT_TRUE(renderer_.FetchFrame(&index, &layout));
    ASSERT_TRUE(renderer_.FetchFrame(&index, &layout));  // the first one renegotiated
    EXPECT_EQ(layout, uint32_t(Mono));

    uint32_t values[3] = {}, count = 0;
    ASSERT_TRUE(renderer_.GetPixel(999, 999, values, &count));
    EXPECT_EQ(count, 1u);
    uint32_t raw[4];
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(renderer_.GetPixel(2 * 123 + i % 2, 2 * 45 + i / 2, values, &count));
        raw[i] = values[0];
    }
    renderer_.SetBinning(2);  // not running: redraws the kept frame binned
    EXPECT_TRUE(renderer_.GetPixel(499, 499, values, &count));
    EXPECT_FALSE(renderer_.GetPixel(500, 10, values, &count));
    ASSERT_TRUE(renderer_.GetPixel(123, 45, values, &count));
    uint32_t expected = raw[0] + raw[1] + raw[2] + raw[3] - 3 * 768;
    EXPECT_EQ(values[0], expected > 65535 ? 65535u : expected);
}

// The names of the files in folder matching pattern.
std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

TEST_F(RendererTest, SeriesSavesEveryFrameEvenWithoutSurfaces) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"ov series.test";  // a dot in the folder
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const std::wstring& name : FilesIn(folder + L"\\", L"*.tif")) DeleteFileW((folder + L"\\" + name).c_str());
    AppState::Get().captureFolder = folder;  // without the final backslash

    renderer_.SetSeries(true);
    renderer_.Start();
    ASSERT_TRUE(renderer_.SendCommand(CommandRun));
    ASSERT_TRUE(notes_.PumpUntil([&] { return notes_.statusTicks >= 4; }));
    ASSERT_TRUE(renderer_.SendCommand(CommandPause));
    ASSERT_TRUE(renderer_.SendCommand(kIgnored));
    notes_.Pump();
    // 12-bit data is saved as TIFF; every frame got its own counter.
    const std::vector<std::wstring> saved = FilesIn(folder + L"\\", L"*.tif");
    EXPECT_EQ(saved.size(), size_t(notes_.statusTicks));
    EXPECT_TRUE(FilesIn(folder + L"\\", L"*.bmp").empty());
    for (const std::wstring& name : saved) DeleteFileW((folder + L"\\" + name).c_str());
    RemoveDirectoryW(folder.c_str());
    AppState::Get().captureFolder.clear();
}

TEST_F(RendererTest, EightBitDataReadsTheHighByte) {
    ASSERT_TRUE(system_->LockAcquisition());
    ASSERT_TRUE(FindOption(system_, 0x400008)->AsEnum()->SetValue(17));
    system_->UnlockAcquisition();
    renderer_.Start();
    ASSERT_TRUE(renderer_.SendCommand(CommandRun));  // takes the data-format option
    ASSERT_TRUE(notes_.PumpUntil([&] { return notes_.statusTicks >= 2; }));
    ASSERT_TRUE(renderer_.SendCommand(CommandPause));
    ASSERT_TRUE(renderer_.SendCommand(kIgnored));
    uint32_t values[3] = {}, count = 0;
    for (int x = 0; x < 50; ++x) {
        ASSERT_TRUE(renderer_.GetPixel(x * 7, x * 5, values, &count));
        EXPECT_LT(values[0], 256u);
    }
}

}  // namespace
}  // namespace ovtest
