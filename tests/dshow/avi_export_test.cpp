// Exports through the capture graph into AVI files. The files and the
// expected pixels go to dshow_out/ of the working directory, where
// check_avi.sh reads them with ffprobe and ffmpeg.
#include <cstdio>
#include <fstream>
#include <string>

#include "DShow/AviExport.h"
#include "DShow/CaptureGraph.h"
#include "DShow/Compressors.h"
#include "Render/ImageProcessor.h"
#include "dshow/DShowFixture.h"
#include "dshow/FakeTransfer.h"
#include "support/MessageBoxCatcher.h"

namespace dshowtest {
namespace {

using namespace DShow;

class AviExportTest : public DShowTest {
protected:
    void SetUp() override {
        DShowTest::SetUp();
        CreateDirectoryW(L"dshow_out", nullptr);
        MessageBoxCatcher::Forget();
    }
    AviExportRequest Request(int32_t first, int32_t last, const wchar_t* fileName) {
        return {.transfer = &transfer_,
                .processor = &processor_,
                .first = first,
                .last = last,
                .fileName = fileName,
                .notifyWindow = window_};
    }
    static bool FileExists(const wchar_t* name) { return GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES; }

    static constexpr uint32_t kWidth = 160, kHeight = 120;
    FakeTransfer transfer_{kWidth, kHeight};
    Render::ImageProcessor processor_;
    MessageBoxCatcher boxes_;
};

TEST_F(AviExportTest, RangeBecomesAFilmOfOneFrameEach) {
    processor_.SetLevels(1000, 60000);
    processor_.SetGamma(1.6f);
    CaptureGraph graph;
    DeleteFileW(L"dshow_out\\export.avi");
    ASSERT_EQ(StartAviExport(graph, Request(2, 11, L"dshow_out\\export.avi"), false), ExportStart::Running);
    EXPECT_EQ(FinishAviExport(graph, 60000), EC_COMPLETE);
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());

    std::vector<Notification> notes = Notifications();
    std::vector<Notification> indexes;
    for (const Notification& n : notes)
        if (n.message == UWM_FRAME_INDEX) indexes.push_back(n);
    ASSERT_EQ(indexes.size(), 9u);
    EXPECT_EQ(indexes.front().value, 2);
    EXPECT_EQ(indexes.back().value, 10);
    EXPECT_EQ(notes.back().message, UWM_SEQUENCE_END);

    // Film frame 3 is recorded frame 5: the pixels the processor makes of it.
    std::vector<uint8_t> expected(kWidth * kHeight * 3);
    std::vector<uint16_t> frame = transfer_.Samples(5);
    processor_.Render8(0, 0, kWidth, kHeight, expected.data(), kWidth * 3, 24, frame.data(), 0);
    std::ofstream(R"(dshow_out\export_frame3.bgr)", std::ios::binary)
        .write(reinterpret_cast<const char*>(expected.data()), std::streamsize(expected.size()));
    std::ofstream(R"(dshow_out\export.txt)") << "10 " << kWidth << " " << kHeight << " 3\n";
}

TEST_F(AviExportTest, StoppingInTheMiddleLeavesAReadableFilm) {
    CaptureGraph graph;
    ASSERT_EQ(StartAviExport(graph, Request(0, 5000, L"dshow_out\\stopped.avi"), true), ExportStart::Running);
    // Until some frames went out (a hang guard, not a time limit).
    for (int i = 0; i < 3000; ++i) {
        std::vector<Notification> notes = Notifications();
        if (notes.size() >= 20) break;
        Sleep(10);
    }
    EXPECT_TRUE(graph.Stop());
    OAFilterState state = State_Running;
    EXPECT_TRUE(graph.State(&state));
    EXPECT_EQ(state, State_Stopped);
    EXPECT_LT(transfer_.Acquired().size(), 5001u);
    ASSERT_TRUE(graph.Clear());  // closes the file
}

TEST_F(AviExportTest, FilmThatWouldPassTheLimitIsRefusedBeforeBuilding) {
    const uint64_t sampleBytes = 160ull * 120 * 4;  // the larger of the two screen depths
    CaptureGraph graph;
    // Wine's multiplexer writes no large-file index: its files end at 2 GiB.
    EXPECT_EQ(graph.FileSizeLimit(), 2ull << 30);
    AviExportRequest request = Request(0, 9, L"dshow_out\\refused.avi");
    request.fileSizeLimit = EstimateAviBytes(5, sampleBytes);
    DeleteFileW(L"dshow_out\\refused.avi");
    int64_t fit = -1;
    EXPECT_EQ(StartAviExport(graph, request, false, &fit), ExportStart::TooLarge);
    EXPECT_GE(fit, 5);
    EXPECT_LT(fit, 10);
    ASSERT_EQ(MessageBoxCatcher::Boxes().size(), 1u);
    EXPECT_EQ(MessageBoxCatcher::Boxes()[0].text, TooLargeText(fit));
    EXPECT_FALSE(FileExists(L"dshow_out\\refused.avi"));
    EXPECT_TRUE(transfer_.Acquired().size() <= 1);  // only the first frame's size was read

    // A range that fits goes ahead.
    request.last = 3;
    EXPECT_EQ(StartAviExport(graph, request, true), ExportStart::Running);
    EXPECT_EQ(FinishAviExport(graph, 60000), EC_COMPLETE);
}

// The recording panel fills its compressor list with test chains in the
// same graph before it exports.
TEST_F(AviExportTest, ExportAfterTheCompressorListWasFilled) {
    CaptureGraph graph;
    std::vector<CompressorEntry> entries;
    EnumerateCompressors(graph, entries);
    FakeTransfer large(1024, 1024);
    AviExportRequest request = Request(0, 3, L"dshow_out\\after_list.avi");
    request.transfer = &large;
    ASSERT_EQ(StartAviExport(graph, request, false), ExportStart::Running);
    EXPECT_EQ(FinishAviExport(graph, 60000), EC_COMPLETE);
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
}

TEST_F(AviExportTest, TargetThatCannotBeWrittenFailsTheBuildOnceAndNothingHangs) {
    // A file another program holds open, and a folder that does not exist.
    OwnedHandle held(CreateFileW(L"dshow_out\\held.avi", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(held);
    for (const wchar_t* target : {L"dshow_out\\held.avi", L"dshow_out\\no such folder\\film.avi"}) {
        MessageBoxCatcher::Forget();
        CaptureGraph graph;
        EXPECT_EQ(StartAviExport(graph, Request(0, 3, target), false), ExportStart::Failed);
        EXPECT_EQ(MessageBoxCatcher::Boxes().size(), 1u);
        EXPECT_TRUE(graph.Clear());
    }
    EXPECT_FALSE(FileExists(L"dshow_out\\no such folder\\film.avi"));
}

TEST_F(AviExportTest, EstimateCountsDataIndexAndHeaders) {
    EXPECT_EQ(FramesThatFit(EstimateAviBytes(683, 3u << 20), 3u << 20), 683);
    EXPECT_GT(EstimateAviBytes(683, 3u << 20), 683ull * (3u << 20));
    // Wine's limit: 800 frames of 1024 x 1024 RGB24 do not fit, 682 do.
    EXPECT_GT(EstimateAviBytes(800, 3u << 20), 2ull << 30);
    EXPECT_LT(EstimateAviBytes(682, 3u << 20), 2ull << 30);
}

}  // namespace
}  // namespace dshowtest
