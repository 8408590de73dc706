// The output pane: the event log as the camera layer's logger (posted from
// any thread, lines split alike with or without a final line feed, the error
// line that opens the output area, clearing), the statistics tab coming and
// going, its histogram scroll bar and its data-rate texts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Panes/OutputPaneLogic.h"
#include "AppGui/Panes/ViewOutputPane.h"
#include "AppGui/Resources/resource.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/MessageSink.h"
#include "ovlib3_sim.h"
#include "support/MessageBoxCatcher.h"

namespace {

using namespace AppGui;
using DllModule::Lib3Wrapper::MessageSink;
using DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer;
using DllModule::Lib3Wrapper::OvTypeLib::IOvSystem;

using guitest::Pump;
using guitest::PumpFor;
using guitest::PumpUntil;

char* Allocated(const char* text) {
    const size_t size = std::strlen(text) + 1;
    char* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, size));
    std::memcpy(block, text, size);
    return block;
}

// --- the arithmetic ---------------------------------------------------------

TEST(LogText, TwoLinesWithOrWithoutTheFinalLineFeedAreTheSameTwoLines) {
    const LogTextLines ended = SplitLogText("first line\nsecond line\n");
    const LogTextLines open = SplitLogText("first line\nsecond line");
    const std::vector<std::string> expected{"first line", "second line"};
    EXPECT_EQ(ended.lines, expected);
    EXPECT_EQ(open.lines, expected);
    EXPECT_FALSE(ended.error);
}

TEST(LogText, EmptyPiecesBeforeALineFeedAreLinesTheTailIsNot) {
    EXPECT_EQ(SplitLogText("\n\nx").lines, (std::vector<std::string>{"", "", "x"}));
    EXPECT_TRUE(SplitLogText("").lines.empty());
    EXPECT_TRUE(SplitLogText(nullptr).lines.empty());
}

TEST(LogText, OnlyTheExactErrorLineCounts) {
    EXPECT_TRUE(SplitLogText("*** Error ***\nFile: x\nLine: 3\n").error);
    EXPECT_TRUE(SplitLogText("before\n*** Error ***\n").error);
    EXPECT_FALSE(SplitLogText("Text: *** Error *** inside\n").error);
    EXPECT_FALSE(SplitLogText(" *** Error ***\n").error);
    // The unterminated tail is a line, but only a terminated line reports an error.
    EXPECT_FALSE(SplitLogText("*** Error ***").error);
}

TEST(LogScroll, RangesInCharactersAndLines) {
    const ScrollRange horizontal = LogHorizontalRange(700, 7, 350);
    EXPECT_EQ(horizontal.max, 7 + 100);
    EXPECT_EQ(horizontal.page, 50);
    const ScrollRange vertical = LogVerticalRange(40, 13, 131);
    EXPECT_EQ(vertical.max, 40);
    EXPECT_EQ(vertical.page, 10);
    // A zero font measure does not divide by zero.
    EXPECT_EQ(LogHorizontalRange(10, 0, 10).page, 10);
}

TEST(LogScroll, PositionsStayWithinTheBar) {
    const ScrollRange range{100, 10};
    EXPECT_EQ(ScrolledPosition(SB_LINEDOWN, 5, 0, range), 6);
    EXPECT_EQ(ScrolledPosition(SB_LINEUP, 0, 0, range), 0);
    EXPECT_EQ(ScrolledPosition(SB_PAGEDOWN, 5, 0, range), 15);
    EXPECT_EQ(ScrolledPosition(SB_THUMBTRACK, 5, 42, range), 42);
    EXPECT_EQ(ScrolledPosition(SB_BOTTOM, 5, 0, range), 91);
    EXPECT_EQ(ScrolledPosition(SB_TOP, 50, 0, range), 0);
    EXPECT_EQ(ScrolledPosition(SB_ENDSCROLL, 50, 7, range), 50);
}

TEST(HistogramScroll, ThirteenBitsOnFourHundredPixelsScrollsWithPageFourHundred) {
    const HistogramScrollBar bar = HistogramScrollFor(13, 400);
    EXPECT_TRUE(bar.enabled);
    EXPECT_EQ(bar.max, 8192);
    EXPECT_EQ(bar.page, 400);
    EXPECT_FALSE(HistogramScrollFor(8, 400).enabled);
    EXPECT_FALSE(HistogramScrollFor(9, 512).enabled);  // just fits
    EXPECT_TRUE(HistogramScrollFor(9, 511).enabled);
}

TEST(TransferRate, UnderAMillisecondTheRateIsMegabytesTimesAThousand) {
    const TransferTexts texts = FormatTransferTexts(3, 7'500'000, 999);
    EXPECT_EQ(texts.amount, L"7 мбайт, кадров 3 за 0.00   сек.");
    EXPECT_EQ(texts.rate, L"Скорость передачи данных: 7000 мбайт / сек");
}

TEST(TransferRate, MegabytesPerSecondOverTheElapsedMilliseconds) {
    const TransferTexts texts = FormatTransferTexts(250, 120'000'000, 2'500'000);
    EXPECT_EQ(texts.amount, L"120 мбайт, кадров 250 за 2.50   сек.");
    EXPECT_EQ(texts.rate, L"Скорость передачи данных: 48 мбайт / сек");
}

// --- the panes on screen ----------------------------------------------------

// Stands in for the main window: counts UWM_SHOW_OUTPUT.
class MainStandIn {
public:
    MainStandIn() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OvOutputTestMain";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                 nullptr);
        shown = 0;
    }
    ~MainStandIn() { DestroyWindow(window); }
    HWND window;
    static inline int shown = 0;

private:
    static LRESULT CALLBACK Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
        if (message == UWM_SHOW_OUTPUT) ++shown;
        return DefWindowProcW(w, message, wp, lp);
    }
};

class OutputPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBoxCatcher::Forget();
        AppState::Get().mainWindow = main_.window;
        pane_ = std::make_unique<ViewOutputPane>();
        const RECT rect{30, 30, 830, 330};
        ASSERT_NE(pane_->Create(nullptr, rect, L"output", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN), nullptr);
        ShowWindow(pane_->Handle(), SW_SHOW);
        Pump();
    }
    void TearDown() override {
        if (pane_->Handle()) DestroyWindow(pane_->Handle());
        pane_.reset();
        Pump();
        AppState::Get().mainWindow = nullptr;
        AppState::Get().transfer = nullptr;
    }
    ViewLogChildPane& Log() { return pane_->LogPane(); }
    int TabCount() { return int(SendMessageW(pane_->Tabs(), TCM_GETITEMCOUNT, 0, 0)); }
    std::wstring TabText(int index) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(pane_->Tabs(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    MessageBoxCatcher catcher_;
    MainStandIn main_;
    std::unique_ptr<ViewOutputPane> pane_;
};

TEST_F(OutputPaneTest, TheLogTabIsShownAndTheLogIsTheProgramsLogger) {
    EXPECT_EQ(GetDlgCtrlID(pane_->Tabs()), 0x40A);
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(TabText(0), L"Журнал событий");
    EXPECT_EQ(pane_->SelectedWindow(), Log().Handle());
    EXPECT_TRUE(IsWindowVisible(Log().Handle()));
    EXPECT_TRUE(GetWindowLongW(Log().Handle(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_EQ(AppState::Get().logger, static_cast<DllModule::Lib3Wrapper::OvTypeLib::IOvLogger*>(&Log()));
}

TEST_F(OutputPaneTest, PostedTextsWithAndWithoutFinalLineFeedAddTheSameLines) {
    EXPECT_TRUE(Log().Log(Allocated("first line\nsecond line\n"), false));
    EXPECT_TRUE(Log().Lines().empty());  // posted, not added by the caller
    Pump();
    EXPECT_EQ(Log().Lines(), (std::vector<std::wstring>{L"first line", L"second line"}));
    Log().Clear();
    Log().Log(Allocated("first line\nsecond line"), false);
    Pump();
    EXPECT_EQ(Log().Lines(), (std::vector<std::wstring>{L"first line", L"second line"}));
    EXPECT_GT(Log().WidestExtent(), 0);
    EXPECT_EQ(MainStandIn::shown, 0);
}

TEST_F(OutputPaneTest, TheErrorLineOpensTheOutputAreaTheWordsInsideALineDoNot) {
    Log().Log(Allocated("Text: *** Error *** was mentioned\nmore\n"), false);
    Pump();
    EXPECT_EQ(MainStandIn::shown, 0);
    Log().Log(Allocated("*** Error ***\nText: something failed\n"), false);
    Pump();
    EXPECT_EQ(MainStandIn::shown, 1);
    EXPECT_EQ(Log().Lines().size(), 4u);
}

TEST_F(OutputPaneTest, ManyLinesScrollToTheBottomAndClearEmpties) {
    for (int i = 0; i < 60; ++i) Log().Log(Allocated(("line " + std::to_string(i) + "\n").c_str()), false);
    Pump();
    ASSERT_EQ(Log().Lines().size(), 60u);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Log().Handle(), SB_VERT, &info));
    RECT client{};
    GetClientRect(Log().Handle(), &client);
    EXPECT_EQ(info.nMax, 60);
    EXPECT_EQ(int(info.nPage), client.bottom / Log().LineHeight());
    EXPECT_EQ(info.nPos, 60 - int(info.nPage) + 1);
    SendMessageW(Log().Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(GetScrollPos(Log().Handle(), SB_VERT), 0);
    SendMessageW(Log().Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(Log().Handle(), SB_VERT), 1);

    SendMessageW(Log().Handle(), WM_COMMAND, ID_LOG_CLEAR, 0);
    EXPECT_TRUE(Log().Lines().empty());
    EXPECT_EQ(Log().WidestExtent(), 0);
}

TEST(LogWithoutWindow, TheCallerAddsTheLinesAndAnAlertShowsABox) {
    MessageBoxCatcher catcher;
    MessageBoxCatcher::Forget();
    ViewLogChildPane log;
    EXPECT_TRUE(log.Log(Allocated("quiet\n"), false));
    EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L"quiet"}));
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
    EXPECT_TRUE(log.Log(Allocated("loud"), true));
    EXPECT_EQ(log.Lines().size(), 2u);
    const auto boxes = MessageBoxCatcher::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Ошибка");
    // (Under Wine a task-modal box is activated before its text is set, so the
    // catcher cannot read the text.)
}

TEST(LogWithoutWindow, TheLoggerIsLetGoWithThePane) {
    {
        ViewLogChildPane log;
        EXPECT_EQ(AppState::Get().logger, static_cast<DllModule::Lib3Wrapper::OvTypeLib::IOvLogger*>(&log));
    }
    EXPECT_EQ(AppState::Get().logger, nullptr);
    // Reports now go nowhere rather than to a dead pane.
    MessageSink::Instance().Report("*** Error ***", "nobody listens", false);
}

TEST_F(OutputPaneTest, ACameraErrorOnAnotherThreadIsPostedToTheLog) {
    OvSimReset();
    OvSimSetFastMode(1);
    IOvSystem* system = nullptr;
    ASSERT_TRUE(DllModule::Lib3Wrapper::Lib3CreateSystem(1, &system, AppState::Get().logger));
    ASSERT_TRUE(system->Init());
    IOvDataTransfer* transfer = nullptr;
    ASSERT_TRUE(system->GetDataTransfer(0, &transfer));
    Pump();
    Log().Clear();
    MainStandIn::shown = 0;
    OvSimFailCall("OvLib3InDInterfaceGetType", 0, 0);
    bool acquired = true;
    // This thread does not pump while it waits: a logger that waited for the
    // GUI thread would never let the worker finish.
    std::thread worker([&] {
        int32_t index = 0;
        acquired = transfer->Acquire(&index);
    });
    worker.join();
    EXPECT_FALSE(acquired);
    EXPECT_TRUE(Log().Lines().empty());
    Pump();
    const auto lines = Log().Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"*** Error ***"), lines.end());
    EXPECT_GE(MainStandIn::shown, 1);
    OvSimClearFaults();
    DllModule::Lib3Wrapper::Lib3ReleaseSystem(1);
    OvSimReset();
}

TEST_F(OutputPaneTest, HundredsOfErrorsFromTwoThreadsLoseNoLine) {
    constexpr int kEach = 300;
    auto report = [](char name) {
        for (int i = 0; i < kEach; ++i) {
            const std::string text = std::string("thread ") + name + " report " + std::to_string(i);
            MessageSink::Instance().Report("*** Error ***", text.c_str(), false);
        }
    };
    std::thread a(report, 'A'), b(report, 'B');
    a.join();
    b.join();
    Pump();
    const auto lines = Log().Lines();
    ASSERT_EQ(lines.size(), size_t(4 * kEach));
    std::set<std::wstring> reports;
    for (const std::wstring& line : lines)
        if (line != L"*** Error ***") reports.insert(line);
    EXPECT_EQ(reports.size(), size_t(2 * kEach));
    EXPECT_EQ(reports.count(L"thread A report 299"), 1u);
    EXPECT_EQ(reports.count(L"thread B report 0"), 1u);
    EXPECT_EQ(MainStandIn::shown, 2 * kEach);
}

TEST_F(OutputPaneTest, TheStatisticsTabComesAndGoes) {
    SendMessageW(pane_->Handle(), UWM_TOGGLE_STATISTICS, 1, 0);
    ViewStatisticChildPane* statistics = pane_->StatisticPane();
    ASSERT_NE(statistics, nullptr);
    ASSERT_EQ(TabCount(), 2);
    EXPECT_EQ(TabText(1), L"Статистика");
    EXPECT_EQ(SendMessageW(pane_->Tabs(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(pane_->SelectedWindow(), statistics->Handle());
    EXPECT_TRUE(IsWindowVisible(statistics->Handle()));
    EXPECT_FALSE(IsWindowVisible(Log().Handle()));
    Pump();  // the posted initial commands
    HWND dialog = statistics->Handle();
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HIST_SHOW), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HIST_BITS_9), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STAT_SHOW), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HIST_NORMALISE), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_HIST_KEEP_PICTURE)));
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_STAT_DEPTH, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_STAT_DEPTH, CB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_STAT_DEPTH)));
    Render::StatisticSurface* surface = statistics->Surface();
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->HistogramOn());
    EXPECT_TRUE(surface->StatisticsOn());
    EXPECT_EQ(surface->HistogramBinCount(), 512u);
    EXPECT_EQ(surface->StatisticsMask(), 0xFFC0);

    // The deviation display off disables the depth list; the list sets the mask.
    CheckDlgButton(dialog, IDC_STAT_SHOW, BST_UNCHECKED);
    SendMessageW(dialog, WM_COMMAND, IDC_STAT_SHOW, 0);
    EXPECT_FALSE(surface->StatisticsOn());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_STAT_DEPTH)));
    SendDlgItemMessageW(dialog, IDC_STAT_DEPTH, CB_SETCURSEL, 0, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_STAT_DEPTH, CBN_SELCHANGE), 0);
    EXPECT_EQ(surface->StatisticsMask(), 0xFF00);
    CheckDlgButton(dialog, IDC_HIST_SHOW, BST_UNCHECKED);
    SendMessageW(dialog, WM_COMMAND, IDC_HIST_SHOW, 0);
    EXPECT_FALSE(surface->HistogramOn());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_HIST_BITS_13)));

    SendMessageW(pane_->Handle(), UWM_TOGGLE_STATISTICS, 0, 0);
    EXPECT_EQ(pane_->StatisticPane(), nullptr);
    EXPECT_EQ(TabCount(), 1);
    EXPECT_EQ(pane_->SelectedWindow(), Log().Handle());
    EXPECT_TRUE(IsWindowVisible(Log().Handle()));
}

TEST_F(OutputPaneTest, ThirteenBitsOnAFourHundredPixelHistogramEnableTheBarWithPageFourHundred) {
    SendMessageW(pane_->Handle(), UWM_TOGGLE_STATISTICS, 1, 0);
    Pump();
    ViewStatisticChildPane* statistics = pane_->StatisticPane();
    ASSERT_NE(statistics, nullptr);
    HWND dialog = statistics->Handle();
    // Make the histogram window 400 pixels wide: it reaches to 2 pixels short of the pane's edge.
    RECT hist{};
    GetWindowRect(statistics->Histogram(), &hist);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&hist), 2);
    RECT pane{};
    GetClientRect(dialog, &pane);
    SetWindowPos(dialog, nullptr, 0, 0, hist.left + 400 + 2, pane.bottom, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(statistics->Histogram(), &client);
    ASSERT_EQ(client.right, 400);

    CheckRadioButton(dialog, IDC_HIST_BITS_8, IDC_HIST_BITS_13, IDC_HIST_BITS_13);
    SendMessageW(dialog, WM_COMMAND, IDC_HIST_BITS_13, 0);
    HWND bar = GetDlgItem(dialog, IDC_HIST_SCROLL);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_TRUE(IsWindowEnabled(bar));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 8192);
    EXPECT_EQ(info.nPage, 400u);
    EXPECT_EQ(info.nPos, 0);
    EXPECT_EQ(statistics->Surface()->HistogramBinCount(), 8192u);

    // The thumb moves the first bin shown.
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1000), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(statistics->Surface()->HistogramScroll(), 1000u);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 1000);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(statistics->Surface()->HistogramScroll(), 1000u);

    // 256 bins fit: the bar is disabled and back at 0.
    SendMessageW(dialog, WM_COMMAND, IDC_HIST_BITS_8, 0);
    EXPECT_FALSE(IsWindowEnabled(bar));
    EXPECT_EQ(statistics->Surface()->HistogramScroll(), 0u);
}

// A data transfer that only reports its statistics.
class CountingTransfer : public IOvDataTransfer {
public:
    bool StartInput() override { return false; }
    DllModule::Lib3Wrapper::OvTypeLib::IOvDecodeOptions* GetDecodeOptions() override { return nullptr; }
    bool Acquire(int32_t*) override { return false; }
    bool GetFrame(DllModule::Lib3Wrapper::OvTypeLib::IOvFrame**, uint32_t*) override { return false; }
    bool Trigger() override { return false; }
    bool Reserved(uint32_t, uint32_t, uint32_t, uint32_t) override { return false; }
    bool GetState(int32_t*) override { return false; }
    bool FindAttribute(uint32_t, DllModule::Lib3Wrapper::OvTypeLib::IOvAddOnAttribute**) override { return false; }
    bool SetBackground(uint32_t, const uint16_t*) override { return false; }
    bool EnableBackground(bool) override { return false; }
    bool GetStatistics(uint32_t* frames, uint64_t* bytes, uint64_t* microseconds) override {
        if (!answer) return false;
        *frames = 3;
        *bytes = 7'500'000;
        *microseconds = 999;
        return true;
    }
    bool answer = true;
};

TEST_F(OutputPaneTest, TheDataRateBoxShowsTheTransfersAmountAndRate) {
    SendMessageW(pane_->Handle(), UWM_TOGGLE_STATISTICS, 1, 0);
    Pump();
    ViewStatisticChildPane* statistics = pane_->StatisticPane();
    ASSERT_NE(statistics, nullptr);
    CountingTransfer transfer;
    AppState::Get().transfer = &transfer;
    transfer.answer = false;
    statistics->RefreshTransferTexts();
    EXPECT_EQ(statistics->ItemText(IDC_DATA_AMOUNT), L"");
    transfer.answer = true;
    statistics->RefreshTransferTexts();
    EXPECT_EQ(statistics->ItemText(IDC_DATA_AMOUNT), L"7 мбайт, кадров 3 за 0.00   сек.");
    EXPECT_EQ(statistics->ItemText(IDC_DATA_SPEED), L"Скорость передачи данных: 7000 мбайт / сек");
    // The box starts and stops the once-a-second refresh.
    HWND dialog = statistics->Handle();
    CheckDlgButton(dialog, IDC_DATA_RATE, BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, IDC_DATA_RATE, 0);
    EXPECT_TRUE(KillTimer(dialog, ViewStatisticChildPane::kRateTimer));
    AppState::Get().transfer = nullptr;
}

}  // namespace

// --- a look at the statistics tab in the main window (not a test) -----------
// Run by scripts/output-screenshot.sh with OV_OUTPUT_SCREENSHOT_DIR (a folder
// for the "ready"/"done" hand-shake) and OV_OUTPUT_SCREENSHOT_PROFILE (the
// demo profile): opens the profile, shows the statistics tab with the data
// rate on, says "ready" and keeps the window live until "done" appears.
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring EnvironmentText(const wchar_t* name) {
    wchar_t value[1024] = {};
    return GetEnvironmentVariableW(name, value, 1024) ? std::wstring(value) : std::wstring();
}

TEST(OutputPaneScreenshot, ShowForScreenshot) {
    const std::wstring folder = EnvironmentText(L"OV_OUTPUT_SCREENSHOT_DIR");
    const std::wstring profile = EnvironmentText(L"OV_OUTPUT_SCREENSHOT_PROFILE");
    if (folder.empty() || profile.empty()) GTEST_SKIP() << "only for scripts/output-screenshot.sh";
    MessageBoxCatcher catcher;
    OvSimReset();
    auto window = std::make_unique<MainWindow>(profile);
    ASSERT_NE(window->CreateMain(), nullptr);
    ShowWindow(window->Handle(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(PumpUntil([&] { return window->IsSystemOpen(); }));
    Pump();
    if (!window->ShowStatistics()) SendMessageW(window->Handle(), WM_COMMAND, ID_SHOW_STATISTICS, 0);
    Pump();
    ViewOutputPane& output = *window->OutputPane();
    ASSERT_NE(output.StatisticPane(), nullptr);
    HWND dialog = output.StatisticPane()->Handle();
    CheckDlgButton(dialog, IDC_DATA_RATE, BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, IDC_DATA_RATE, 0);
    // 2048 bins: the demo camera's values start some way right of the bin 0,
    // which leaves the statistics lines clear of the bars.
    CheckRadioButton(dialog, IDC_HIST_BITS_8, IDC_HIST_BITS_13, IDC_HIST_BITS_11);
    SendMessageW(dialog, WM_COMMAND, IDC_HIST_BITS_11, 0);
    output.LogPane().Log(Allocated("*** Error ***\nText: a sample entry of the event log\n"), false);
    // Some seconds of live frames, so the rate texts are filled.
    PumpFor(3000);
    HANDLE ready = CreateFileW((folder + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(ready);
    for (int i = 0; i < 60000 && !Exists(folder + L"\\done"); ++i) {
        Pump();
        Sleep(2);
    }
    DestroyWindow(window->Handle());
    Pump();
}

}  // namespace
