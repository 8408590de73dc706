// The main window driven as a user would: profiles from the command line and
// from files, live frames, pause and resume, frame saving, zoom commands,
// status refresh, close; message boxes are caught and recorded.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "AppGui/AppState.h"
#include "AppGui/CommandLine.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Resources/resource.h"
#include "Render/PrivateRenderer.h"
#include "ovlib3_sim.h"
#include "support/MessageBoxCatcher.h"

namespace {

using AppGui::MainWindow;
using AppGui::ProfilePathFromCommandLine;

TEST(CommandLine, ProfilePathRules) {
    EXPECT_EQ(ProfilePathFromCommandLine(L"\"C:\\cams\\demo.ovp\""), L"C:\\cams\\demo.ovp ");
    EXPECT_EQ(ProfilePathFromCommandLine(L"C:\\cams\\demo.ovp"), L"C:\\cams\\demo.ovp");
    // A further extension after ".ovp" is cut off and the search goes on.
    EXPECT_EQ(ProfilePathFromCommandLine(L"C:\\cams\\demo.ovp.bak"), L"C:\\cams\\demo.ovp");
    // Only three letters are compared: ".ovpx" is taken whole, in any case.
    EXPECT_EQ(ProfilePathFromCommandLine(L"C:\\cams\\demo.OvPx"), L"C:\\cams\\demo.OvPx");
    EXPECT_EQ(ProfilePathFromCommandLine(L"C:\\my.dir\\demo.txt"), L"");
    EXPECT_EQ(ProfilePathFromCommandLine(L""), L"");
}

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

// Writes an ANSI (code page 1251) profile; the text is given in UTF-8.
std::wstring WriteProfile(const std::wstring& name, const std::string& utf8) {
    const std::wstring path = TempFolder() + name;
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring text(wide, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), wide);
    std::string ansi(text.size() * 2, '\0');
    ansi.resize(WideCharToMultiByte(1251, 0, text.c_str(), -1, ansi.data(), int(ansi.size()), nullptr, nullptr) - 1);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, ansi.data(), DWORD(ansi.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::wstring Title(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

using guitest::Pump;

using guitest::PumpUntil;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        OvSimReset();
        OvSimSetFastMode(1);
        MessageBoxCatcher::Forget();
    }
    void TearDown() override {
        if (window_ && window_->Handle()) DestroyWindow(window_->Handle());
        Pump();
        window_.reset();
    }
    void Open(const std::wstring& commandLine) {
        window_ = std::make_unique<MainWindow>(ProfilePathFromCommandLine(commandLine));
        ASSERT_NE(window_->CreateMain(), nullptr);
        ShowWindow(window_->Handle(), SW_SHOW);
        Pump();
    }
    void Command(UINT id) { SendMessageW(window_->Handle(), WM_COMMAND, id, 0); }
    int Zoom() { return window_->FrameZoom() ? window_->FrameZoom()->Zoom() : -1000; }

    MessageBoxCatcher catcher_;
    std::unique_ptr<MainWindow> window_;
};

const char* const kZelProfile = "[SYSTEM]\r\nTYPE_ID=1\r\nNAME=Камера для проверки\r\n[SERIA]\r\nValue=0\r\n";

TEST_F(MainWindowTest, ProfileOpensLiveCameraAndCloseReturnsToTheEmptyWindow) {
    Open(L"\"" + WriteProfile(L"ov-main-live.ovp", kZelProfile) + L"\"");
    ASSERT_TRUE(PumpUntil([&] { return window_->IsSystemOpen(); }));
    EXPECT_EQ(Title(window_->Handle()), L"OvWinShell/ Камера для проверки /");
    EXPECT_NE(window_->ZelToolbar(), nullptr);
    EXPECT_FALSE(window_->Series());  // [SERIA] Value=0
    double rate = 0;
    EXPECT_TRUE(PumpUntil([&] { return AppState::Get().Renderer().GetFrameRate(&rate) && rate > 0; }));
    const std::wstring fps = L" Fps = ";
    EXPECT_TRUE(PumpUntil([&] { return window_->StatusText(3).compare(0, fps.size(), fps) == 0; }));
    EXPECT_EQ(window_->StatusText(1), L"(Масштаб 100%)");

    Command(ID_PAUSE_INPUT);
    EXPECT_TRUE(window_->IsPaused());
    EXPECT_TRUE(AppState::Get().Renderer().GetFrameRate(&rate));  // the frame is kept
    Command(ID_PAUSE_INPUT);
    EXPECT_FALSE(window_->IsPaused());

    Command(ID_CAMERA_CLOSE);
    EXPECT_FALSE(window_->IsSystemOpen());
    EXPECT_EQ(window_->Client(), nullptr);
    EXPECT_EQ(window_->ZelToolbar(), nullptr);
    EXPECT_EQ(AppState::Get().system, nullptr);
    EXPECT_EQ(Title(window_->Handle()), L"OvWinShell");
    EXPECT_TRUE(window_->StatusText(3).empty());
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
}

TEST_F(MainWindowTest, ZoomCommandsStepAndStop) {
    Open(WriteProfile(L"ov-main-zoom.ovp", kZelProfile));
    ASSERT_TRUE(PumpUntil([&] { return window_->IsSystemOpen(); }));
    EXPECT_EQ(Zoom(), 100);
    const int down[] = {90, 80, 70, 60, 50, 40, 30, 30};
    for (int expected : down) {
        Command(ID_ZOOM_OUT);
        EXPECT_EQ(Zoom(), expected);
    }
    for (int i = 0; i < 80; ++i) Command(ID_ZOOM_IN);
    EXPECT_EQ(Zoom(), 800);
    Command(ID_ZOOM_FIT);
    EXPECT_EQ(Zoom(), -75);
    EXPECT_EQ(window_->StatusText(1), L"(Масштаб \"Полностью\")");
    Command(ID_ZOOM_IN);
    EXPECT_EQ(Zoom(), 100);
    Command(ID_ZOOM_FIT);
    Command(ID_ZOOM_OUT);
    EXPECT_EQ(Zoom(), 100);
}

TEST_F(MainWindowTest, SaveFrameWritesIntoTheCaptureFolder) {
    Open(WriteProfile(L"ov-main-save.ovp", kZelProfile));
    ASSERT_TRUE(PumpUntil([&] { return window_->IsSystemOpen(); }));
    double rate = 0;
    ASSERT_TRUE(PumpUntil([&] { return AppState::Get().Renderer().GetFrameRate(&rate); }));
    const std::wstring folder = TempFolder() + L"ov-main-capture";
    CreateDirectoryW(folder.c_str(), nullptr);
    AppState::Get().captureFolder = folder + L"\\";
    Command(ID_PAUSE_INPUT);
    Command(ID_SAVE_FRAME);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.tif").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    const std::wstring saved = folder + L"\\" + found.cFileName;
    FindClose(search);
    // 12-bit data of the 1280 x 1024 camera: a grey TIFF with its 110-byte header.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_TRUE(GetFileAttributesExW(saved.c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(attributes.nFileSizeLow, 110u + 1280u * 1024u * 2u);
    // The samples read back are the frame's (pixel readout gives the raw 12-bit values).
    HANDLE file = CreateFileW(saved.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<uint16_t> samples(1280 * 1024);
    DWORD read = 0;
    SetFilePointer(file, 110, nullptr, FILE_BEGIN);
    ReadFile(file, samples.data(), DWORD(samples.size() * 2), &read, nullptr);
    CloseHandle(file);
    ASSERT_EQ(read, samples.size() * 2);
    for (int32_t point = 0; point < 20; ++point) {
        const int32_t x = point * 61 % 1280, y = point * 47 % 1024;
        uint32_t values[3] = {}, count = 0;
        ASSERT_TRUE(AppState::Get().Renderer().GetPixel(x, y, values, &count));
        EXPECT_EQ(samples[size_t(y) * 1280 + x], values[0]) << x << "," << y;
    }
    DeleteFileW(saved.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(MainWindowTest, MissingProfileShowsBothBoxes) {
    const std::wstring path = TempFolder() + L"ov-no-such-profile.ovp";
    DeleteFileW(path.c_str());
    Open(path);
    ASSERT_TRUE(PumpUntil([&] { return MessageBoxCatcher::Boxes().size() >= 2; }));
    const auto boxes = MessageBoxCatcher::Boxes();
    EXPECT_EQ(boxes[0].caption, L"Ошибка чтения файла");
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_EQ(boxes[1].caption, L"Ошибка чтения файла " + path);
    EXPECT_EQ(boxes[1].text, L"Нет данных о типе системы.\n Секция: SYSTEM\nПеременная: TYPE_ID");
    EXPECT_FALSE(window_->IsSystemOpen());
    EXPECT_EQ(Title(window_->Handle()), L"OvWinShell");
}

TEST_F(MainWindowTest, CameraThatFailsToInitialiseIsExplainedInABox) {
    const std::wstring path = WriteProfile(L"ov-main-init-fails.ovp", "[SYSTEM]\r\nTYPE_ID=1\r\nNAME=x\r\n");
    OvSimFailCall("OvLib3SystemInit", 1, 0);
    Open(path);
    ASSERT_TRUE(PumpUntil([&] { return !MessageBoxCatcher::Boxes().empty(); }));
    const auto boxes = MessageBoxCatcher::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Ошибка чтения файла " + path);
    EXPECT_EQ(boxes[0].text.rfind(L"Не удалось открыть камеру.\n\n*** Error ***\n", 0), 0u);
    EXPECT_NE(boxes[0].text.find(L"OvLib3SystemInit"), std::wstring::npos);
    EXPECT_FALSE(window_->IsSystemOpen());
    EXPECT_EQ(Title(window_->Handle()), L"OvWinShell");
}

TEST_F(MainWindowTest, ProfileWithoutSeriesTurnsSeriesOn) {
    Open(WriteProfile(L"ov-main-series.ovp", "[SYSTEM]\r\nTYPE_ID=1\r\nNAME=x\r\n"));
    ASSERT_TRUE(PumpUntil([&] { return window_->IsSystemOpen(); }));
    EXPECT_TRUE(window_->Series());
    Command(ID_CAMERA_CLOSE);
    EXPECT_FALSE(window_->Series());
}

TEST_F(MainWindowTest, StatusRefreshesWithinASecondAreDropped) {
    Open(L"");
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    EXPECT_FALSE(window_->IsSystemOpen());
    SendMessageW(window_->Handle(), UWM_STATUS_TICK, 0, 0);  // first refresh: no frame, texts empty
    EXPECT_TRUE(window_->StatusText(3).empty());
    // A camera delivers frames now, but the next refresh comes too early.
    const std::wstring path = WriteProfile(L"ov-main-status.ovp", kZelProfile);
    window_.reset();
    Open(path);
    ASSERT_TRUE(PumpUntil([&] { return window_->IsSystemOpen(); }));
    double rate = 0;
    ASSERT_TRUE(PumpUntil([&] { return renderer.GetFrameRate(&rate) && rate > 0; }));
    Command(ID_PAUSE_INPUT);
    Pump();
    SendMessageW(window_->Handle(), UWM_STATUS_TICK, 0, 0);
    const std::wstring first = window_->StatusText(3);
    SendMessageW(window_->StatusBar(), SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(L"marker"));
    SendMessageW(window_->Handle(), UWM_STATUS_TICK, 0, 0);
    EXPECT_EQ(window_->StatusText(3), L"marker");  // dropped: less than a second since the last one
    EXPECT_FALSE(first.empty());
}

}  // namespace
