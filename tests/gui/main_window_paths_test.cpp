// Main-window paths a lab uses beyond live viewing: a profile saved and
// opened again, a series into a folder that cannot take it, a settings file
// that cannot be written, the exposure countdown, the series timer, resuming
// by acquiring one frame, and which commands each state offers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Dialogs/CDlgPreferences.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Resources/dialogs_resource.h"
#include "AppGui/Resources/resource.h"
#include "AppGui/Settings/Preferences.h"
#include "DialogDriver.h"
#include "GuiTestSupport.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "Render/PrivateRenderer.h"
#include "Render/RenderMessages.h"
#include "ovlib3_sim.h"

namespace {

using AppGui::MainWindow;
using guitest::DialogDriver;
using guitest::Pump;
using guitest::PumpFor;
using guitest::PumpUntil;
namespace OvTypeLib = DllModule::Lib3Wrapper::OvTypeLib;

std::wstring Temp(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return folder + name;
}

std::wstring Ini(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t text[256] = {};
    GetPrivateProfileStringW(section, key, L"", text, 256, path.c_str());
    return text;
}

int CountFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.tif").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
}

class MainWindowPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        OvSimReset();
        OvSimSetFastMode(1);
    }
    void TearDown() override {
        if (window_ && window_->Handle()) DestroyWindow(window_->Handle());
        Pump();
        window_.reset();
    }
    struct Entry {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
    };
    // A ZEL profile with series off and the given entries.
    std::wstring Profile(const std::wstring& name, std::initializer_list<Entry> entries = {}) {
        const std::wstring path = guitest::ScratchFile(name);
        for (const Entry& e :
             {Entry{L"SYSTEM", L"TYPE_ID", L"1"}, Entry{L"SYSTEM", L"NAME", L"пути"}, Entry{L"SERIA", L"Value", L"0"}})
            WritePrivateProfileStringW(e.section, e.key, e.value, path.c_str());
        for (const Entry& e : entries) WritePrivateProfileStringW(e.section, e.key, e.value, path.c_str());
        return path;
    }
    void Open(const std::wstring& path) {
        window_ = std::make_unique<MainWindow>(path);
        ASSERT_NE(window_->CreateMain(), nullptr);
        ShowWindow(window_->Handle(), SW_SHOW);
        ASSERT_TRUE(PumpUntil([&] { return window_->IsSystemOpen(); }));
    }
    void Command(UINT id) { SendMessageW(window_->Handle(), WM_COMMAND, id, 0); }
    int ErrorEntries() {
        int count = 0;
        for (const std::wstring& line : window_->OutputPane()->LogPane().Lines()) count += line == L"*** Error ***";
        return count;
    }
    Render::PrivateRenderer& Renderer() { return AppState::Get().Renderer(); }

    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowPathsTest, SavedProfileOpensAgainAsItWasSaved) {
    // Values the controls cannot show are not kept: gain -5 and binning 3 come back as 0 and 1 x 1.
    Open(Profile(L"ov-paths-first.ovp", {{L"Цифр.усиление", L"Value", L"-5"}, {L"Бининг", L"Value", L"3"}}));
    EXPECT_EQ(Renderer().GainShift(), 0u);
    EXPECT_EQ(Renderer().Binning(), 1u);
    Command(ID_SAVE_SERIES);
    ASSERT_TRUE(window_->Series());
    const bool statistics = !window_->ShowStatistics();
    Command(ID_SHOW_STATISTICS);  // kept in the preferences when the window closes
    double rate = 0;
    ASSERT_TRUE(PumpUntil([&] { return Renderer().GetFrameRate(&rate) && rate > 0; }));
    PumpFor(100);                        // the view takes the frame's size
    window_->FrameZoom()->SetZoom(400);  // large enough to scroll
    SendMessageW(window_->FrameZoom()->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 120), 0);
    SendMessageW(window_->FrameZoom()->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 48), 0);
    const int scrollX = GetScrollPos(window_->FrameZoom()->Handle(), SB_HORZ);
    const int scrollY = GetScrollPos(window_->FrameZoom()->Handle(), SB_VERT);
    ASSERT_GT(scrollX, 0);

    const std::wstring saved = guitest::ScratchFile(L"ov-paths-saved.ovp");
    window_->SaveProfileAs(saved);
    ASSERT_TRUE(guitest::FileExists(saved));
    EXPECT_EQ(Ini(saved, L"Цифр.усиление", L"Value"), L"0");
    EXPECT_EQ(Ini(saved, L"Бининг", L"Value"), L"1");
    EXPECT_EQ(Ini(saved, L"POINT", L"X"), std::to_wstring(scrollX));
    EXPECT_EQ(Ini(saved, L"POINT", L"Y"), std::to_wstring(scrollY));

    Command(ID_CAMERA_CLOSE);
    ASSERT_FALSE(window_->IsSystemOpen());
    // Other values in the file: they must come back from it.
    WritePrivateProfileStringW(L"Цифр.усиление", L"Value", L"2", saved.c_str());
    WritePrivateProfileStringW(L"Бининг", L"Value", L"4", saved.c_str());
    DestroyWindow(window_->Handle());
    Pump();
    Open(saved);
    EXPECT_TRUE(window_->Series());
    EXPECT_EQ(Renderer().GainShift(), 2u);
    EXPECT_EQ(Renderer().Binning(), 4u);
    Pump();  // the statistics tab comes back through a posted command
    EXPECT_EQ(window_->ShowStatistics(), statistics);
    if (statistics) Command(ID_SHOW_STATISTICS);  // the next tests start as before
}

TEST_F(MainWindowPathsTest, SeriesIntoAMissingFolderIsReportedOnce) {
    Open(Profile(L"ov-paths-series.ovp"));
    const std::wstring missing = Temp(L"ov-no-such-folder\\");
    RemoveDirectoryW(missing.c_str());
    AppState::Get().captureFolder = missing;
    DialogDriver driver;  // records the boxes and closes them
    Command(ID_SAVE_SERIES);
    ASSERT_TRUE(PumpUntil([&] { return !driver.Boxes().empty(); }));
    PumpFor(500);  // many more frames fail meanwhile
    ASSERT_EQ(driver.Boxes().size(), 1u);
    EXPECT_NE(driver.Boxes()[0].text.find(missing), std::wstring::npos);
    EXPECT_EQ(driver.Boxes()[0].caption, L"Сохранение серии кадров");
    EXPECT_EQ(window_->StatusText(0).rfind(L"Кадр не сохранён в папку \"" + missing + L"\"", 0), 0u);
    EXPECT_TRUE(PumpUntil([&] { return ErrorEntries() == 1; }));
    Command(ID_SAVE_SERIES);
    // A single frame saved by hand into it is reported again, without a box.
    Command(ID_PAUSE_INPUT);
    Command(ID_SAVE_FRAME);
    EXPECT_TRUE(PumpUntil([&] { return ErrorEntries() == 2; }));
    EXPECT_EQ(driver.Boxes().size(), 1u);
}

TEST_F(MainWindowPathsTest, CaptureFolderChosenWhileThePreferencesCannotBeWrittenIsReported) {
    // A file in a folder that does not exist cannot be written by anyone (a
    // read-only file still can be by an administrator, as the tests may run).
    const std::wstring path = Temp(L"ov-no-such-folder\\ovwinshell.ini");
    RemoveDirectoryW(Temp(L"ov-no-such-folder").c_str());
    DialogDriver driver;
    driver.Then([](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_CAPTURE_FOLDER, L"C:\\новая");
        DialogDriver::Click(dialog, IDOK);
    });
    CDlgPreferences dialog{AppGui::Settings::Preferences(path)};
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_EQ(driver.Boxes().size(), 1u);
    EXPECT_NE(driver.Boxes()[0].text.find(path), std::wstring::npos);
    EXPECT_EQ(AppState::Get().captureFolder, L"C:\\новая\\");  // used for this session all the same
}

TEST_F(MainWindowPathsTest, WindowSettingsThatCannotBeWrittenAreReportedOnceAtClose) {
    // A folder in the preferences file's place: nobody can write the file.
    const std::wstring path = AppGui::Settings::PreferencesPath(), aside = path + L".aside";
    MoveFileW(path.c_str(), aside.c_str());
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    window_ = std::make_unique<MainWindow>(std::wstring());
    ASSERT_NE(window_->CreateMain(), nullptr);
    DialogDriver driver;
    DestroyWindow(window_->Handle());
    Pump();
    RemoveDirectoryW(path.c_str());
    MoveFileW(aside.c_str(), path.c_str());
    ASSERT_EQ(driver.Boxes().size(), 1u);
    EXPECT_NE(driver.Boxes()[0].text.find(path), std::wstring::npos);
}

TEST_F(MainWindowPathsTest, LongExposureCountsDownInTheStatusBar) {
    Open(Profile(L"ov-paths-exposure.ovp"));
    OvTypeLib::IOvOption* exposure =
        OvTypeLib::FindSystemOption(AppState::Get().system, OvTypeLib::OptionIds::kExposure, 0);
    ASSERT_NE(exposure, nullptr);
    ASSERT_TRUE(exposure->AsScalar()->SetValue(3, 1200));
    SendMessageW(window_->Handle(), UWM_OPTION_CHANGED, 0, OvTypeLib::OptionIds::kExposure);
    SendMessageW(window_->Handle(), UWM_EXPOSURE_STARTED, 0, 0);
    const std::wstring prefix = L"Экспозиция осталось:";
    ASSERT_TRUE(PumpUntil([&] { return window_->StatusText(0).rfind(prefix, 0) == 0; }));
    const int first = std::stoi(window_->StatusText(0).substr(prefix.size()));
    EXPECT_LT(first, 1200);
    EXPECT_EQ(window_->StatusText(0).substr(window_->StatusText(0).size() - 5), L" мсек");
    // A second start during the countdown does not restart it.
    PumpFor(300);
    SendMessageW(window_->Handle(), UWM_EXPOSURE_STARTED, 0, 0);
    const std::wstring later = window_->StatusText(0);
    if (!later.empty()) {
        EXPECT_LT(std::stoi(later.substr(prefix.size())), first);
    }
    EXPECT_TRUE(PumpUntil([&] { return window_->StatusText(0).empty(); }));
}

TEST_F(MainWindowPathsTest, SoftwareStartSeriesSavesOneFramePerTimerTick) {
    Open(Profile(L"ov-paths-timer.ovp", {{L"Режим работы камеры", L"Value", L"1"}}));
    ASSERT_TRUE(Renderer().SoftwareStart());
    const std::wstring folder = Temp(L"ov-paths-series");
    CreateDirectoryW(folder.c_str(), nullptr);
    EmptyFolder(folder);
    AppState::Get().captureFolder = folder + L"\\";
    Command(ID_SAVE_SERIES);
    EXPECT_TRUE(PumpUntil([&] { return CountFiles(folder) >= 3; }));  // ticks every 250 ms
    Command(ID_SAVE_SERIES);
    PumpFor(100);
    const int saved = CountFiles(folder);
    PumpFor(600);
    EXPECT_EQ(CountFiles(folder), saved);  // the timer is gone with the series
    EmptyFolder(folder);
    RemoveDirectoryW(folder.c_str());
}

TEST_F(MainWindowPathsTest, AcquireOneResumesAPausedView) {
    Open(Profile(L"ov-paths-resume.ovp"));
    Command(ID_PAUSE_INPUT);
    ASSERT_TRUE(window_->IsPaused());
    Command(ID_ACQUIRE_ONE);
    EXPECT_FALSE(window_->IsPaused());
    EXPECT_EQ(Renderer().CurrentCommand(), Render::CommandRun);
}

TEST_F(MainWindowPathsTest, CommandsOfferedPerState) {
    window_ = std::make_unique<MainWindow>(std::wstring());
    ASSERT_NE(window_->CreateMain(), nullptr);
    HMENU menu = GetMenu(window_->Handle());
    HWND toolbar = window_->MainToolbar();
    auto enabled = [&](UINT id) { return SendMessageW(toolbar, TB_ISBUTTONENABLED, id, 0) != 0; };
    auto checked = [&](UINT id) { return SendMessageW(toolbar, TB_ISBUTTONCHECKED, id, 0) != 0; };
    // Pause and frame saving have no menu items: only the toolbar is asked about them.
    auto greyed = [&](UINT id) {
        const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
        return state == UINT(-1) ? id == ID_PAUSE_INPUT || id == ID_SAVE_FRAME : (state & MF_GRAYED) != 0;
    };
    const UINT cameraCommands[] = {ID_CAMERA_SAVE, ID_CAMERA_CLOSE, ID_ZOOM_100,    ID_ZOOM_FIT,
                                   ID_ZOOM_IN,     ID_ZOOM_OUT,     ID_PAUSE_INPUT, ID_SAVE_FRAME};
    for (UINT id : cameraCommands) {
        EXPECT_FALSE(enabled(id)) << id;
        EXPECT_TRUE(greyed(id)) << id;
    }
    for (UINT id : {ID_CAMERA_NEW, ID_CAMERA_OPEN}) EXPECT_TRUE(enabled(id)) << id;
    DestroyWindow(window_->Handle());
    Pump();

    Open(Profile(L"ov-paths-states.ovp"));
    toolbar = window_->MainToolbar();
    menu = GetMenu(window_->Handle());
    for (UINT id : cameraCommands) {
        EXPECT_TRUE(enabled(id)) << id;
        if (id != ID_PAUSE_INPUT && id != ID_SAVE_FRAME) {
            EXPECT_FALSE(greyed(id)) << id;
        }
    }
    EXPECT_FALSE(checked(ID_PAUSE_INPUT));
    EXPECT_FALSE(SendMessageW(window_->ZelToolbar(), TB_ISBUTTONCHECKED, ID_SAVE_SERIES, 0));
    Command(ID_PAUSE_INPUT);
    Command(ID_SAVE_SERIES);
    EXPECT_TRUE(checked(ID_PAUSE_INPUT));
    EXPECT_TRUE(SendMessageW(window_->ZelToolbar(), TB_ISBUTTONCHECKED, ID_SAVE_SERIES, 0));
    Command(ID_SAVE_SERIES);
    Command(ID_CAMERA_CLOSE);
    for (UINT id : cameraCommands) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_EQ(window_->ZelToolbar(), nullptr);
}

}  // namespace
