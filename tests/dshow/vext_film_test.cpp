// End to end: a film recorded in the simulated VEXT camera, read back through
// the camera layer's playback transfer and exported through the capture
// graph. check_avi.sh reads vext.avi with ffprobe and ffmpeg.
#include <fstream>

#include "DShow/AviExport.h"
#include "DShow/CaptureGraph.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Render/ImageProcessor.h"
#include "dshow/DShowFixture.h"
#include "ovlib3_sim.h"
#include "support/AcquireHelpers.h"
#include "support/MessageBoxCatcher.h"
#include "support/RecordingLogger.h"

namespace dshowtest {
namespace {

using namespace DShow;
using namespace DllModule::Lib3Wrapper;
using namespace DllModule::Lib3Wrapper::OvTypeLib;

constexpr uint32_t kVext = 3;
constexpr uint32_t kRegion = 0x400006;
constexpr uint32_t kFramePosition = 0x400007;
constexpr int32_t kWidth = 256, kHeight = 128;

IOvOption* Option(IOvSystem* system, uint32_t id) {
    IOvEnum* options = nullptr;
    system->GetOptions(&options);
    void* item = nullptr;
    return options->Find(id, 0, &item) ? static_cast<IOvOption*>(item) : nullptr;
}

class VextFilmTest : public DShowTest {
protected:
    void SetUp() override {
        DShowTest::SetUp();
        CreateDirectoryW(L"dshow_out", nullptr);
        OvSimReset();
        OvSimSetFastMode(1);
        OvSimSetDeterministic(1, 21);
        ASSERT_TRUE(Lib3CreateSystem(kVext, &system_, &logger_));
        ASSERT_TRUE(system_->Init());
        ASSERT_TRUE(Option(system_, kRegion)->AsRect()->SetRect(0, 0, kWidth, kHeight));
    }
    void TearDown() override {
        Lib3ReleaseSystem(kVext);
        OvSimReset();
        DShowTest::TearDown();
    }
    // Records a film of frames frames and opens its playback.
    IOvDataTransfer* RecordFilm(int32_t frames) {
        IOvDataTransfer* transfer = nullptr;
        EXPECT_TRUE(Option(system_, kFramePosition)->AsScalar()->SetValue(0, frames));
        EXPECT_TRUE(system_->GetDataTransfer(1, &transfer));
        EXPECT_TRUE(system_->StopInput(true));
        EXPECT_TRUE(system_->GetDataTransfer(2, &transfer));
        return transfer;
    }
    AviExportRequest Request(IOvDataTransfer* transfer, int32_t first, int32_t last, const wchar_t* fileName) {
        return {.transfer = transfer,
                .processor = &processor_,
                .first = first,
                .last = last,
                .fileName = fileName,
                .notifyWindow = window_};
    }

    RecordingLogger logger_;
    IOvSystem* system_ = nullptr;
    Render::ImageProcessor processor_;
    MessageBoxCatcher boxes_;
};

TEST_F(VextFilmTest, RecordedFramesBecomeAnAviOfTheProcessedFrames) {
    IOvDataTransfer* playback = RecordFilm(12);
    processor_.SetGamma(1.4f);
    CaptureGraph graph;
    DeleteFileW(L"dshow_out\\vext.avi");
    ASSERT_EQ(StartAviExport(graph, Request(playback, 3, 9, L"dshow_out\\vext.avi"), false), ExportStart::Running);
    EXPECT_EQ(FinishAviExport(graph, 60000), EC_COMPLETE);
    ASSERT_TRUE(graph.Clear());
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
    EXPECT_EQ(logger_.Count(), 0u);

    // Film frame 2 is recorded frame 5: what the processor makes of it.
    const ovtest::Grabbed recorded = ovtest::Grab(playback, 5);
    ASSERT_TRUE(recorded.ok);
    std::vector<uint8_t> expected(size_t(kWidth) * kHeight * 3);
    processor_.Render8(0, 0, kWidth, kHeight, expected.data(), kWidth * 3, 24, recorded.samples.data(), 0);
    std::ofstream(R"(dshow_out\vext_frame2.bgr)", std::ios::binary)
        .write(reinterpret_cast<const char*>(expected.data()), std::streamsize(expected.size()));
    std::ofstream(R"(dshow_out\vext.txt)") << "7 " << kWidth << " " << kHeight << " 2\n";
}

TEST_F(VextFilmTest, StoppingAnExportOfTheCameraLeavesAReadableFilm) {
    IOvDataTransfer* playback = RecordFilm(3000);
    CaptureGraph graph;
    ASSERT_EQ(StartAviExport(graph, Request(playback, 0, 2999, L"dshow_out\\vext_stopped.avi"), true),
              ExportStart::Running);
    // Until some frames went out (a hang guard, not a time limit).
    for (int i = 0; i < 3000 && Notifications().size() < 20; ++i) Sleep(10);
    EXPECT_TRUE(graph.Stop());
    ASSERT_TRUE(graph.Clear());
    EXPECT_LT(Notifications().size(), 3001u);
    EXPECT_EQ(logger_.Count(), 0u);
}

}  // namespace
}  // namespace dshowtest
