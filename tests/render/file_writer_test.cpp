// The TIFF-series export of a recorded film: which frames become files and
// under which names, the messages to the panel, the samples of a file, and
// an export that cannot write its files. One film is left in
// frame_files/film_readers for check_frame_files.sh (libtiff's tools).
#include <algorithm>
#include <string>
#include <vector>

#include "AppGui/AppState.h"
#include "Notifications.h"
#include "Render/FileWriter.h"
#include "Render/ImageProcessor.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

using Render::FileWriter;

constexpr uint32_t kRegion = 0x400006;
constexpr uint32_t kFramePosition = 0x400007;
constexpr uint32_t kWidth = 256, kHeight = 64;
constexpr size_t kGreyHeaderBytes = 110;
const std::wstring kFolder = L"frame_files\\film";
// Left for the readers: no other test empties it.
const std::wstring kReadersFolder = L"frame_files\\film_readers";

std::vector<std::wstring> TiffFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.tif").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void EmptyFolder(const std::wstring& folder) {
    CreateDirectoryW(L"frame_files", nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    while (FindNextFileW(search, &found));
    FindClose(search);
}

// The frame index at the end of a name "y-m-d-h-m-s-index.tif".
int32_t IndexOf(const std::wstring& name) {
    const size_t dash = name.rfind(L'-');
    return std::stoi(name.substr(dash + 1, name.size() - dash - 5));
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const void* data, size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, data, DWORD(size), &written, nullptr);
    CloseHandle(file);
}

class FileWriterTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        OvSimSetDeterministic(1, 21);
        system_ = CreateAndInit(kVext);
        ASSERT_TRUE(FindOption(system_, kRegion)->AsRect()->SetRect(0, 0, kWidth, kHeight));
        ASSERT_TRUE(FindOption(system_, kFramePosition)->AsScalar()->SetValue(0, 12));
        IOvDataTransfer* transfer = nullptr;
        ASSERT_TRUE(system_->GetDataTransfer(1, &transfer));  // fast mode: the film is complete at once
        ASSERT_TRUE(system_->StopInput(true));
        AppState& state = AppState::Get();
        ASSERT_TRUE(system_->GetDataTransfer(2, &state.transfer));
        state.system = system_;
        // Processed output differs from the camera's samples.
        Render::ImageProcessor::Instance().SetLevels(4096, 40960);
        EmptyFolder(kFolder);
    }
    void TearDown() override {
        Render::ImageProcessor::Instance().SetLevels(0, 65535);
        AppState& state = AppState::Get();
        state.transfer = nullptr;
        state.system = nullptr;
        CameraTest::TearDown();
    }
    // Runs an export to its end.
    void Export(int32_t first, int32_t last, const std::wstring& folder) {
        FileWriter writer(AppState::Get().transfer, folder, first, last, notes_.window);
        ASSERT_NE(writer.Start(), nullptr);
        ASSERT_TRUE(writer.SendCommand(Render::CommandRun));
        ASSERT_TRUE(notes_.PumpUntil([&] { return notes_.sequenceEnds > 0; }));
        failedIndex_ = writer.FailedIndex();
    }

    IOvSystem* system_ = nullptr;
    Notifications notes_;
    int32_t failedIndex_ = -1;
};

TEST_F(FileWriterTest, WritesOneFileNamedWithItsIndexPerFrameOfTheRange) {
    struct Case {
        int32_t first, last;
        const wchar_t* folderEnd;
        std::vector<int32_t> written;
    };
    const Case cases[] = {
        {3, 6, L"\\", {3, 4, 5, 6}},
        {3, 6, L"", {3, 4, 5, 6}},  // the folder without its backslash
        {5, 5, L"", {5}},
        {7, 6, L"\\", {}},  // a first frame after the last: nothing, and still the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << " folder end \"" << c.folderEnd << "\"");
        EmptyFolder(kFolder);
        notes_.indexes.clear();
        notes_.endReasons.clear();
        notes_.sequenceEnds = 0;
        Export(c.first, c.last, kFolder + c.folderEnd);
        std::vector<int32_t> files;
        for (const std::wstring& name : TiffFiles(kFolder)) files.push_back(IndexOf(name));
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, c.written);
        EXPECT_EQ(notes_.indexes, c.written);
        EXPECT_EQ(notes_.endReasons, std::vector<WPARAM>{0});
    }
    EXPECT_EQ(Logger().Count(), 0u);
}

// The file's samples are Render16 of the recorded frame with the current
// settings. The last film stays for the readers.
TEST_F(FileWriterTest, SamplesOfAFileAreTheProcessedFrame) {
    EmptyFolder(kReadersFolder);
    Export(2, 4, kReadersFolder);
    const std::vector<std::wstring> names = TiffFiles(kReadersFolder);
    ASSERT_EQ(names.size(), 3u);
    std::string list;
    for (const std::wstring& name : names) {
        const int32_t index = IndexOf(name);
        std::vector<uint16_t> frame(kWidth * kHeight), expected(kWidth * kHeight);
        ASSERT_EQ(OvSimExpectedVextFrame(0, index, frame.data(), frame.size()), 0);
        ASSERT_TRUE(Render::ImageProcessor::Instance().Render16(0, 0, kWidth, kHeight, expected.data(), kWidth, 16,
                                                                frame.data(), 0));
        ASSERT_NE(expected, frame);
        const std::string bytes = ReadBytes(kReadersFolder + L"\\" + name);
        ASSERT_EQ(bytes.size(), kGreyHeaderBytes + expected.size() * 2) << index;
        EXPECT_EQ(bytes.compare(kGreyHeaderBytes, std::string::npos, reinterpret_cast<const char*>(expected.data()),
                                expected.size() * 2),
                  0)
            << index;
        const std::wstring stem = name.substr(0, name.size() - 4);
        WriteBytes(kReadersFolder + L"\\" + stem + L".expected", expected.data(), expected.size() * 2);
        list +=
            std::string(stem.begin(), stem.end()) + " " + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n";
    }
    WriteBytes(kReadersFolder + L"\\list.txt", list.data(), list.size());
}

TEST_F(FileWriterTest, AnExportThatCannotWriteEndsAtItsFirstFrameAndSaysWhy) {
    Export(2, 8, kFolder + L"\\missing\\folder");
    EXPECT_TRUE(notes_.indexes.empty());  // no frame is reported as saved
    EXPECT_EQ(notes_.endReasons, std::vector<WPARAM>{Render::kExportWriteFailed});
    EXPECT_EQ(failedIndex_, 2);
}

TEST_F(FileWriterTest, StoppedExportReportsOnlyTheFramesItWrote) {
    {
        FileWriter writer(AppState::Get().transfer, kFolder, 0, 11, notes_.window);
        ASSERT_NE(writer.Start(), nullptr);
        ASSERT_TRUE(writer.SendCommand(Render::CommandRun));
        writer.SendCommand(Render::CommandQuit);  // waits until the thread has ended
    }
    notes_.Pump();
    EXPECT_EQ(notes_.sequenceEnds, 1);
    EXPECT_EQ(notes_.indexes.size(), TiffFiles(kFolder).size());
}

}  // namespace
}  // namespace ovtest
