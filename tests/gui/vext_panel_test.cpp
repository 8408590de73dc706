// The VEXT recording panel in the main window with the simulated camera:
// setup, recording, playback, stepping and speed, the question before a film
// is lost, TIFF and AVI export of a fragment (the films are read back by
// check_panel_films.sh with ffprobe and ffmpeg), Stop during an export, and
// background frames.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Resources/resource.h"
#include "AppGui/VextControlPanel/VextCommandBar.h"
#include "GuiTestSupport.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "Render/ImageProcessor.h"
#include "Render/PrivateRenderer.h"
#include "ovlib3_sim.h"

namespace {

using AppGui::MainWindow;
using AppGui::VextCommandBar;
using guitest::Pump;
using guitest::PumpUntil;
using namespace DllModule::Lib3Wrapper::OvTypeLib;

constexpr uint32_t kExposure = 0x400002;
constexpr uint32_t kSyncMode = 0x400004;
constexpr uint32_t kRecordMode = 0x400005;
constexpr uint32_t kFramePosition = 0x400007;
constexpr uint32_t kPretrigger = 0x40000D;
constexpr uint32_t kBackgroundOffset = 5120;
// The pixel readout of a VEXT frame gives the high byte of each sample.
constexpr uint32_t kOffsetShown = kBackgroundOffset >> 8;

// Answers the message boxes this thread opens, in order (IDOK when no answer
// is queued), and records their captions and texts.
class BoxAnswers {
public:
    struct Box {
        std::wstring caption, text;
    };
    BoxAnswers() {
        instance_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &BoxAnswers::Proc, nullptr, GetCurrentThreadId());
    }
    ~BoxAnswers() {
        UnhookWindowsHookEx(hook_);
        instance_ = nullptr;
    }
    void Then(int answer) { answers_.push_back(answer); }
    std::vector<Box> boxes;

private:
    static std::wstring Text(HWND window) {
        wchar_t text[2048] = {};
        GetWindowTextW(window, text, 2048);
        return text;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        BoxAnswers* self = instance_;
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        if (self && code == HCBT_ACTIVATE && GetClassNameW(window, className, 16) &&
            std::wstring(className) == L"#32770" && GetDlgItem(window, 0xFFFF) && self->seen_.insert(window).second) {
            self->boxes.push_back({Text(window), Text(GetDlgItem(window, 0xFFFF))});
            int answer = IDOK;
            if (!self->answers_.empty()) {
                answer = self->answers_.front();
                self->answers_.pop_front();
            }
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline BoxAnswers* instance_ = nullptr;
    HHOOK hook_;
    std::deque<int> answers_;
    std::set<HWND> seen_;
};

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

// An empty folder under the working directory, for the films.
std::wstring FilmFolder(const std::wstring& name) {
    const std::wstring folder = CurrentFolder() + L"\\panel_out\\" + name;
    CreateDirectoryW((CurrentFolder() + L"\\panel_out").c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return folder;
}

std::vector<int32_t> TiffIndexes(const std::wstring& folder) {
    std::vector<int32_t> indexes;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.tif").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return indexes;
    do {
        const std::wstring name = found.cFileName;
        const size_t dash = name.rfind(L'-');
        indexes.push_back(std::stoi(name.substr(dash + 1, name.size() - dash - 5)));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

class VextPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        OvSimReset();
        OvSimSetFastMode(1);
        OvSimSetDeterministic(1, 31);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::wstring profile = std::wstring(temp) + L"ov-vext-panel.ovp";
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, profile.c_str());
        DeleteFileW(profile.c_str());
        WritePrivateProfileStringW(L"SYSTEM", L"TYPE_ID", L"3", profile.c_str());
        WritePrivateProfileStringW(L"SYSTEM", L"NAME", L"VEXT", profile.c_str());
        window_ = std::make_unique<MainWindow>(profile);
        ASSERT_NE(window_->CreateMain(), nullptr);
        ShowWindow(window_->Handle(), SW_SHOW);
        ASSERT_TRUE(PumpUntil([&] { return Panel() && window_->StatusText(0) == L"Настройка"; }));
        panel_ = Panel();
    }
    void TearDown() override {
        // What the camera layer reported explains most failures here.
        if (HasFailure() && window_ && window_->Client())
            for (const std::wstring& line : window_->Client()->SecondPane().SecondPane().LogPane().Lines())
                ADD_FAILURE() << "log: " << std::string(line.begin(), line.end());
        if (window_ && window_->Handle()) DestroyWindow(window_->Handle());
        Pump();
        window_.reset();
        // The next tests' panes must not take this camera's type for theirs.
        AppState::Get().systemTypeId = 0;
        AppState::Get().captureFolder.clear();
        AppState::Get().Renderer().SetPlaybackSpeed(1.0);
    }
    VextCommandBar* Panel() {
        return window_->Client() ? window_->Client()->SecondPane().SecondPane().RecordingPanel() : nullptr;
    }
    void Command(UINT id) { SendMessageW(panel_->Handle(), WM_COMMAND, id, 0); }
    std::wstring Text(int id) { return DialogText(GetDlgItem(panel_->Handle(), id)); }
    static std::wstring DialogText(HWND window) {
        wchar_t text[1024] = {};
        GetWindowTextW(window, text, 1024);
        return text;
    }
    void SetText(int id, const std::wstring& text) { SetDlgItemTextW(panel_->Handle(), id, text.c_str()); }
    LRESULT Slider(int id, UINT message) { return SendMessageW(GetDlgItem(panel_->Handle(), id), message, 0, 0); }
    bool ButtonEnabled(UINT id) { return SendMessageW(panel_->Toolbar(), TB_ISBUTTONENABLED, id, 0) != 0; }
    void ChooseFormat(int format) {
        HWND list = GetDlgItem(panel_->Handle(), IDC_VEXT_FORMAT);
        SendMessageW(list, CB_SETCURSEL, format, 0);
        SendMessageW(panel_->Handle(), WM_COMMAND, MAKEWPARAM(IDC_VEXT_FORMAT, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    void Scroll(int id, int position) {
        HWND slider = GetDlgItem(panel_->Handle(), id);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(panel_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(slider));
    }
    // Records a film and waits for playback.
    void Record() {
        Command(ID_VEXT_RECORD);
        ASSERT_TRUE(PumpUntil([&] { return panel_->CurrentMode() == VextCommandBar::ModePlayback; }));
    }
    int32_t Last() { return int32_t(Slider(IDC_VEXT_FRAME_SLIDER, TBM_GETRANGEMAX)); }
    void Save() {
        Command(ID_VEXT_SAVE);
        ASSERT_TRUE(PumpUntil([&] { return panel_->CurrentMode() == VextCommandBar::ModePlayback; }));
    }
    void ExpectPlaybackControls() {
        EXPECT_EQ(window_->StatusText(0), L"Просмотр");
        for (UINT id : {ID_VEXT_SETUP, ID_VEXT_RECORD, ID_VEXT_STEP_BACK, ID_VEXT_PLAY_BACK, ID_VEXT_PLAY, ID_VEXT_STEP,
                        ID_VEXT_SAVE})
            EXPECT_TRUE(ButtonEnabled(id)) << id;
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel_->Handle(), IDC_VEXT_FRAME_SLIDER)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(panel_->Handle(), IDC_VEXT_SAVING_PROGRESS)));
    }
    IOvOption* Option(uint32_t id) { return FindSystemOption(AppState::Get().system, id); }

    BoxAnswers answers_;
    std::unique_ptr<MainWindow> window_;
    VextCommandBar* panel_ = nullptr;
};

TEST_F(VextPanelTest, SetupRecordsAFilmAndPlaysItBack) {
    EXPECT_EQ(panel_->CurrentMode(), VextCommandBar::ModeSetup);
    double rate = 0;
    EXPECT_TRUE(PumpUntil([&] { return AppState::Get().Renderer().GetFrameRate(&rate) && rate > 0; }));
    EXPECT_EQ(Text(IDC_VEXT_STATUS).rfind(L" Доступно для записи: ", 0), 0u) << Text(IDC_VEXT_STATUS);
    EXPECT_FALSE(ButtonEnabled(ID_VEXT_PLAY));

    // Recording in real time: the status line follows the recorded range.
    OvSimSetFastMode(0);
    Command(ID_VEXT_RECORD);
    EXPECT_EQ(window_->StatusText(0), L"Съемка");
    std::vector<std::wstring> lines;
    ASSERT_TRUE(PumpUntil([&] {
        const std::wstring line = Text(IDC_VEXT_STATUS);
        if (lines.empty() || lines.back() != line) lines.push_back(line);
        return panel_->CurrentMode() == VextCommandBar::ModePlayback;
    }));
    int32_t first = -1, last = -1;
    ASSERT_TRUE(Option(0x400020)->AsScalar()->GetRange(0, &first, &last));
    ASSERT_GT(last, first);
    int previousMax = -1, states = 0;
    for (const std::wstring& line : lines) {
        int min = -1, max = -1;
        if (swscanf(line.c_str(), L"Состояние ввода: Min %d, Max %d", &min, &max) != 2) continue;
        ++states;
        EXPECT_EQ(min, first);
        EXPECT_GE(max, previousMax);
        EXPECT_LE(max, last);
        previousMax = max;
    }
    EXPECT_GT(states, 0);

    EXPECT_EQ(Slider(IDC_VEXT_FRAME_SLIDER, TBM_GETRANGEMIN), first);
    EXPECT_EQ(Slider(IDC_VEXT_FRAME_SLIDER, TBM_GETRANGEMAX), last);
    EXPECT_EQ(Slider(IDC_VEXT_FRAME_SLIDER, TBM_GETPOS), first);
    EXPECT_EQ(Text(IDC_VEXT_FIRST), std::to_wstring(first));
    EXPECT_EQ(Text(IDC_VEXT_LAST), std::to_wstring(last));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(panel_->Handle(), IDC_VEXT_STATUS)));
    ExpectPlaybackControls();
    EXPECT_TRUE(answers_.boxes.empty());
}

TEST_F(VextPanelTest, SteppingWrapsAndTheSpeedKeepsTheDirection) {
    Record();
    const int32_t last = Last();
    struct Case {
        UINT command;
        int32_t shown;
    };
    // From the first frame: back wraps to the last, forward wraps to the first.
    for (const Case& c : {Case{ID_VEXT_STEP_BACK, last}, Case{ID_VEXT_STEP, 0}, Case{ID_VEXT_STEP, 1}}) {
        Command(c.command);
        EXPECT_EQ(Text(IDC_VEXT_FRAME_NUMBER), std::to_wstring(c.shown));
        EXPECT_EQ(Slider(IDC_VEXT_FRAME_SLIDER, TBM_GETPOS), c.shown);
        EXPECT_EQ(AppState::Get().Renderer().FrameIndex(), c.shown);
    }
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    Command(ID_VEXT_PLAY_BACK);
    Scroll(IDC_VEXT_SPEED, 5);
    EXPECT_EQ(renderer.GetPlaybackSpeed(), -4.0);
    Scroll(IDC_VEXT_SPEED, 1);
    EXPECT_EQ(renderer.GetPlaybackSpeed(), -0.25);
    Command(ID_VEXT_PLAY);
    EXPECT_EQ(renderer.GetPlaybackSpeed(), 0.25);
    EXPECT_FALSE(panel_->Paused());
    Command(ID_VEXT_STOP);
    EXPECT_TRUE(panel_->Paused());
}

TEST_F(VextPanelTest, LeavingPlaybackAsksFirstAndNoKeepsTheFilm) {
    Record();
    for (UINT command : {ID_VEXT_SETUP, ID_VEXT_RECORD}) {
        answers_.Then(IDNO);
        Command(command);
        EXPECT_EQ(panel_->CurrentMode(), VextCommandBar::ModePlayback) << command;
        EXPECT_EQ(window_->StatusText(0), L"Просмотр");
    }
    ASSERT_EQ(answers_.boxes.size(), 2u);
    EXPECT_EQ(answers_.boxes[0].caption, L"Подтверждение операции");
    EXPECT_EQ(answers_.boxes[0].text, L"Текущая видеозапись будет потеряна. Прдолжить?");
    answers_.Then(IDYES);
    Command(ID_VEXT_SETUP);
    EXPECT_EQ(panel_->CurrentMode(), VextCommandBar::ModeSetup);
    EXPECT_EQ(window_->StatusText(0), L"Настройка");
    EXPECT_EQ(Text(IDC_VEXT_FIRST), L"");
    EXPECT_FALSE(ButtonEnabled(ID_VEXT_SAVE));
}

TEST_F(VextPanelTest, TiffExportWritesTheFragmentAndReturnsToPlayback) {
    Record();
    const std::wstring folder = FilmFolder(L"tiff");
    AppState::Get().captureFolder = folder;  // without a trailing backslash
    ChooseFormat(VextCommandBar::FormatTif);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel_->Handle(), IDC_VEXT_FILE)));
    SetText(IDC_VEXT_FIRST, L"2");
    SetText(IDC_VEXT_LAST, L"4");
    Command(ID_VEXT_SAVE);
    EXPECT_EQ(window_->StatusText(0), L"Сохранение");
    EXPECT_FALSE(ButtonEnabled(ID_VEXT_SAVE));
    ASSERT_TRUE(PumpUntil([&] { return panel_->CurrentMode() == VextCommandBar::ModePlayback; }));
    EXPECT_EQ(TiffIndexes(folder), (std::vector<int32_t>{2, 3, 4}));
    EXPECT_EQ(SendMessageW(GetDlgItem(panel_->Handle(), IDC_VEXT_SAVING_PROGRESS), PBM_GETPOS, 0, 0), 4);
    ExpectPlaybackControls();

    // A folder that does not exist: one box, no file, back to playback.
    AppState::Get().captureFolder = folder + L"\\missing";
    Save();
    ASSERT_EQ(answers_.boxes.size(), 1u);
    EXPECT_NE(answers_.boxes[0].text.find(L"Сохранение остановлено."), std::wstring::npos);
    ExpectPlaybackControls();
}

TEST_F(VextPanelTest, StopEndsAnExportOfEitherFormat) {
    Record();
    AppState::Get().captureFolder = FilmFolder(L"stopped");
    SetText(IDC_VEXT_FILE, AppState::Get().captureFolder + L"\\stopped.avi");
    for (int format : {VextCommandBar::FormatTif, VextCommandBar::FormatAvi}) {
        SCOPED_TRACE(format);
        ChooseFormat(format);
        SetText(IDC_VEXT_FIRST, L"0");
        SetText(IDC_VEXT_LAST, std::to_wstring(Last()));
        Command(ID_VEXT_SAVE);
        ASSERT_EQ(panel_->CurrentMode(), VextCommandBar::ModeSaving);
        Command(ID_VEXT_STOP);
        ASSERT_TRUE(PumpUntil([&] { return panel_->CurrentMode() == VextCommandBar::ModePlayback; }));
        ExpectPlaybackControls();
    }
    answers_.Then(IDYES);  // the film of the first stop is replaced
    Save();
    EXPECT_EQ(answers_.boxes.size(), 1u);
}

// The film, its settings companion and a frame's expected pixels for
// check_panel_films.sh.
TEST_F(VextPanelTest, AviExportWritesTheFragmentAndItsSettings) {
    Record();
    Render::ImageProcessor::Instance().SetLevels(2000, 50000);
    const std::wstring folder = FilmFolder(L"avi");
    const std::wstring target = folder + L"\\test.old.avi";
    {
        HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "an older film", 13, &written, nullptr);
        CloseHandle(file);
    }
    SetText(IDC_VEXT_FIRST, L"3");
    SetText(IDC_VEXT_LAST, L"9");
    SetText(IDC_VEXT_FILE, target);

    answers_.Then(IDNO);
    Command(ID_VEXT_SAVE);
    EXPECT_EQ(panel_->CurrentMode(), VextCommandBar::ModePlayback);
    EXPECT_EQ(guitest::ReadBytes(target), "an older film");

    for (int round = 0; round < 2; ++round) {
        SetText(IDC_VEXT_FILE, target);
        answers_.Then(IDYES);
        Save();
        EXPECT_EQ(Text(IDC_VEXT_FILE), folder + L"\\test.avi");
        ExpectPlaybackControls();
    }
    ASSERT_EQ(answers_.boxes.size(), 3u);
    EXPECT_EQ(answers_.boxes[1].caption, L"Выбор файла");
    EXPECT_EQ(answers_.boxes[1].text, L"Файл существует. Заменить?");
    EXPECT_EQ(SendMessageW(GetDlgItem(panel_->Handle(), IDC_VEXT_SAVING_PROGRESS), PBM_GETPOS, 0, 0), 9);

    // One chain in the graph, however many films were made.
    IEnumFilters* filters = nullptr;
    ASSERT_EQ(panel_->Graph().Graph()->EnumFilters(&filters), S_OK);
    IBaseFilter* filter = nullptr;
    int count = 0;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        ++count;
        filter->Release();
    }
    filters->Release();
    EXPECT_GE(count, 3);  // source, multiplexer, writer
    EXPECT_LE(count, 4);  // and a compressor, when one is chosen

    // The companion: the option sections a profile gets, and nothing else.
    auto sections = [](const std::wstring& path) {
        std::set<std::wstring> names;
        std::vector<wchar_t> buffer(65536);
        const DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), DWORD(buffer.size()), path.c_str());
        for (const wchar_t* name = buffer.data(); name < buffer.data() + length && *name; name += wcslen(name) + 1)
            names.insert(name);
        return names;
    };
    const std::wstring profile = guitest::ScratchFile(L"ov-vext-panel-options.ovp");
    SendMessageW(window_->Client()->FirstPane().Child().Handle(), UWM_SAVE_OPTIONS, 0,
                 reinterpret_cast<LPARAM>(profile.c_str()));
    const std::set<std::wstring> expected = sections(profile);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(sections(target + L".info"), expected);

    // Film frame 1 is recorded frame 4.
    uint32_t width = 0, height = 0;
    {
        std::vector<uint16_t> frame(1024 * 1024);
        ASSERT_EQ(OvSimExpectedVextFrame(0, 4, frame.data(), frame.size()), 0);
        int32_t x = 0, y = 0, w = 0, h = 0;
        ASSERT_TRUE(FindSystemOption(AppState::Get().system, 0x400006)->AsRect()->GetRect(&x, &y, &w, &h));
        width = uint32_t(w);
        height = uint32_t(h);
        std::vector<uint8_t> pixels(size_t(width) * height * 3);
        Render::ImageProcessor::Instance().Render8(0, 0, width, height, pixels.data(), int32_t(width * 3), 24,
                                                   frame.data(), 0);
        std::ofstream("panel_out\\avi\\frame1.bgr", std::ios::binary)
            .write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
    }
    Render::ImageProcessor::Instance().SetLevels(0, 65535);
    std::ofstream("panel_out\\avi\\film.txt") << "7 " << width << " " << height << " 1\n";

    // An empty name is refused.
    SetText(IDC_VEXT_FILE, L"");
    Command(ID_VEXT_SAVE);
    ASSERT_EQ(answers_.boxes.size(), 4u);
    EXPECT_EQ(answers_.boxes[3].caption, L"Сохранение фильма");
    EXPECT_EQ(answers_.boxes[3].text, L"Недопустимое имя файла");
    EXPECT_EQ(panel_->CurrentMode(), VextCommandBar::ModePlayback);

    // A folder that does not exist is refused the same way.
    SetText(IDC_VEXT_FILE, folder + L"\\missing\\film.avi");
    Command(ID_VEXT_SAVE);
    ASSERT_EQ(answers_.boxes.size(), 5u);
    EXPECT_EQ(answers_.boxes[4].text, L"Недопустимое имя файла");
    ExpectPlaybackControls();
}

TEST_F(VextPanelTest, BackgroundInSetupOffsetsTheNextFrames) {
    struct Saved {
        uint32_t id;
        int32_t value;
    };
    std::vector<Saved> before;
    for (uint32_t id : {kPretrigger, kFramePosition, kExposure}) {
        int32_t value = 0;
        ASSERT_TRUE(Option(id)->AsScalar()->GetValue(0, &value));
        before.push_back({id, value});
    }
    for (uint32_t id : {kSyncMode, kRecordMode}) {
        int32_t value = 0;
        ASSERT_TRUE(Option(id)->AsEnum()->GetValue(&value));
        before.push_back({id, value});
    }
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    // Somewhere below the offset without a background: the dark bars at the top.
    // -1 while the readout has no frame.
    auto darkest = [&] {
        int32_t least = -1;
        for (int32_t x = 0; x < 1024; x += 16) {
            uint32_t values[3] = {}, count = 0;
            if (renderer.GetPixel(x, 8, values, &count) && count == 1)
                least = least < 0 ? int32_t(values[0]) : std::min(least, int32_t(values[0]));
        }
        return least;
    };
    // Seen once is enough: between two frames the readout may have no frame at all.
    bool below = false;
    ASSERT_TRUE(PumpUntil([&] { return below = below || (darkest() >= 0 && darkest() < int32_t(kOffsetShown)); }));

    CheckDlgButton(panel_->Handle(), IDC_VEXT_BACKGROUND, BST_CHECKED);
    Command(IDC_VEXT_BACKGROUND);
    EXPECT_FALSE(panel_->BackgroundInvalid());
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(panel_->Handle(), IDC_VEXT_LOADING)));
    // The live frames after it: the background taken away, its offset added.
    bool offset = false;
    EXPECT_TRUE(PumpUntil([&] { return offset = offset || darkest() >= int32_t(kOffsetShown); }));
    for (const Saved& saved : before) {
        int32_t value = 0;
        IOvOption* option = Option(saved.id);
        ASSERT_TRUE(option->AsScalar() ? option->AsScalar()->GetValue(0, &value) : option->AsEnum()->GetValue(&value));
        EXPECT_EQ(value, saved.value) << std::hex << saved.id;
    }
    EXPECT_TRUE(answers_.boxes.empty());
}

// Not a check: shows the panel in each mode for scripts/panel-screenshots.sh,
// which sets OV_PANEL_SCREENSHOT_DIR, takes a screenshot when "<mode>.ready"
// appears there and then creates "<mode>.done".
TEST_F(VextPanelTest, ShowForScreenshots) {
    const char* folder = std::getenv("OV_PANEL_SCREENSHOT_DIR");
    if (!folder) GTEST_SKIP() << "only for scripts/panel-screenshots.sh";
    const std::string dir = folder;
    // Recording and saving are held without dispatching messages: the
    // screen keeps the state as it was last painted.
    auto hold = [&](const std::string& mode, bool pump) {
        RedrawWindow(window_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        std::ofstream(dir + "\\" + mode + ".ready") << mode;
        const std::string done = dir + "\\" + mode + ".done";
        for (int i = 0; i < 3000 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
            if (pump) Pump();
            Sleep(20);
        }
    };
    // Maximised as the program opens, with the panes laid out again for that size.
    ShowWindow(window_->Handle(), SW_MAXIMIZE);
    Pump();
    AppGui::ClientSplitter& client = *window_->Client();
    client.SetPosition(client.FirstPane().Child().ContentWidth() + GetSystemMetrics(SM_CXVSCROLL) + 4);
    client.UpdateLayout();
    AppGui::FrameAndOutput& inner = client.SecondPane();
    inner.SetPosition(guitest::ClientSize(inner.Handle()).cy - inner.SecondPane().RecordingPanelHeight());
    inner.UpdateLayout();
    PumpUntil([&] { return false; });  // six seconds of live frames
    hold("setup", true);

    OvSimSetFastMode(0);
    Command(ID_VEXT_RECORD);
    PumpUntil([&] {
        const std::wstring status = Text(IDC_VEXT_STATUS);
        return status.compare(0, 15, L"Состояние ввода") == 0;
    });
    hold("recording", false);
    ASSERT_TRUE(PumpUntil([&] { return panel_->CurrentMode() == VextCommandBar::ModePlayback; }));

    for (int i = 0; i < 5; ++i) Command(ID_VEXT_STEP);
    SetText(IDC_VEXT_FILE, L"C:\\films\\film.avi");
    CheckDlgButton(panel_->Handle(), IDC_VEXT_GAMMA_ON, BST_CHECKED);
    Command(IDC_VEXT_GAMMA_ON);
    CheckDlgButton(panel_->Handle(), IDC_VEXT_WB_ON, BST_CHECKED);
    Command(IDC_VEXT_WB_ON);
    CheckRadioButton(panel_->Handle(), IDC_VEXT_WB_AUTO, IDC_VEXT_WB_MANUAL, IDC_VEXT_WB_MANUAL);
    Command(IDC_VEXT_WB_MANUAL);
    hold("playback", true);

    AppState::Get().captureFolder = FilmFolder(L"screenshot");
    ChooseFormat(VextCommandBar::FormatTif);
    SetText(IDC_VEXT_FIRST, L"0");
    SetText(IDC_VEXT_LAST, std::to_wstring(Last()));
    Command(ID_VEXT_SAVE);
    for (int i = 0; i < 10; ++i) {
        Sleep(30);
        Pump();
    }
    hold("saving", false);
    Command(ID_VEXT_STOP);
    PumpUntil([&] { return panel_->CurrentMode() == VextCommandBar::ModePlayback; });
}

}  // namespace
