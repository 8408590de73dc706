// The camera options pane and its holders with the simulated cameras: which
// holders are built, the scalar track bar's value list, edit commits,
// refused changes, the program's own settings in profiles, centring, and
// exposure changes reaching the live image.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "AppGui/CommandLine.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Options/OptionHolders.h"
#include "AppGui/Options/OptionMath.h"
#include "AppGui/Panes/CamOptionsChildPane.h"
#include "Common/AnsiText.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "FakeOption.h"
#include "Render/PrivateRenderer.h"
#include "ovlib3_sim.h"
#include "support/MessageBoxCatcher.h"
#include "support/RecordingLogger.h"

namespace {

using namespace AppGui::Options;
using AppGui::CamOptionsChildPane;
namespace OvTypeLib = DllModule::Lib3Wrapper::OvTypeLib;

RecordingLogger& Log() {
    static RecordingLogger logger;
    return logger;
}

// ---- arithmetic ----

TEST(OptionMath, TwoSegmentTrackList) {
    const std::vector<int64_t> entries = TrackValueList(1000000, 200);
    ASSERT_EQ(entries.size(), 100u);
    EXPECT_EQ(entries[0], 0);
    EXPECT_EQ(entries[1], 5000);
    EXPECT_EQ(entries[49], 250000);
    EXPECT_EQ(entries[50], 250000);
    EXPECT_EQ(entries[51], 265000);
    EXPECT_EQ(entries[99], 1000000);
    EXPECT_EQ(TrackPositionOf(entries, 5000), 1);
    EXPECT_EQ(TrackPositionOf(entries, 5001), 2);
    EXPECT_EQ(TrackPositionOf(entries, 250000), 49);
    EXPECT_EQ(TrackPositionOf(entries, 2000000), 99);  // every entry below: the last position
    EXPECT_TRUE(TrackValueList(1000000, 3).empty());
    // Uneven steps: the last entry of each half is set to the bound.
    const std::vector<int64_t> odd = TrackValueList(2000000, 140);
    ASSERT_EQ(odd.size(), 70u);
    EXPECT_EQ(odd[34], 500000);
    EXPECT_EQ(odd[69], 2000000);
    EXPECT_LE(odd[33], 500000);
}

TEST(OptionMath, ContinuousBelowAHundredThousand) {
    EXPECT_TRUE(IsContinuousRange(0, 99999));
    EXPECT_FALSE(IsContinuousRange(0, 100000));
    EXPECT_TRUE(IsContinuousRange(100000, 150000));
}

TEST(OptionMath, EditTextIsParsedAndClamped) {
    EXPECT_EQ(ParseClamped("1234", 0, 5000), 1234);
    EXPECT_EQ(ParseClamped("  77abc", 0, 5000), 77);
    EXPECT_EQ(ParseClamped("99999999999999999999999", 10, 2000000), 2000000);
    EXPECT_EQ(ParseClamped("-5", 10, 20), 10);
    EXPECT_EQ(ParseClamped("", 10, 20), 10);
}

TEST(OptionMath, CentringGainBinningAndWorkModes) {
    EXPECT_EQ(CentredOffset(1000, 100, 1), 450u);
    EXPECT_EQ(CentredOffset(1000, 100, 2), 900u);
    EXPECT_EQ(CentredOffset(1024, 16), 504u);
    EXPECT_EQ(DigitalGainMaximum(false, 0), 8);
    const int expected[] = {1, 2, 4, 8, 10, 12, 16};
    for (int value = 14; value <= 20; ++value) EXPECT_EQ(DigitalGainMaximum(true, value), expected[value - 14]);
    EXPECT_EQ(DigitalGainMaximum(true, 5), 5);
    EXPECT_EQ(BinningIndex(1), 0);
    EXPECT_EQ(BinningIndex(2), 1);
    EXPECT_EQ(BinningIndex(4), 2);
    EXPECT_EQ(BinningIndex(8), 3);
    EXPECT_EQ(BinningFactor(3), 8);
    EXPECT_EQ(WorkModeFromSync(4), 1);
    EXPECT_EQ(WorkModeFromSync(5), 2);
    EXPECT_EQ(WorkModeFromSync(6), 0);
    EXPECT_EQ(WorkModeFromSync(33), -1);
    EXPECT_EQ(SyncFromWorkMode(0), 6);
    EXPECT_EQ(SyncFromWorkMode(1), 4);
    EXPECT_EQ(SyncFromWorkMode(2), 5);
    EXPECT_EQ(SyncFromWorkMode(3), 5);
}

// ---- the pane with a camera ----

using guitest::Pump;

std::wstring TempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

std::wstring Text(HWND window) {
    wchar_t text[300] = {};
    GetWindowTextW(window, text, 300);
    return text;
}

std::wstring ListText(HWND list) {
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index < 0) return L"";
    wchar_t text[300] = {};
    SendMessageW(list, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// A camera system whose acquisition lock is always refused; the rest is the real one's.
class RefusingSystem : public OvTypeLib::IOvSystem {
public:
    explicit RefusingSystem(OvTypeLib::IOvSystem* real) : real_(real) {}
    bool Init() override { return real_->Init(); }
    bool GetOptions(OvTypeLib::IOvEnum** options) override { return real_->GetOptions(options); }
    bool GetDataTransfer(uint32_t mode, OvTypeLib::IOvDataTransfer** transfer) override {
        return real_->GetDataTransfer(mode, transfer);
    }
    bool StopInput(bool wait) override { return real_->StopInput(wait); }
    bool LockAcquisition() override { return false; }
    bool UnlockAcquisition() override { return false; }
    const char* GetInfo() override { return real_->GetInfo(); }
    bool GetCInterface(uint32_t id, uint32_t index, OVHANDLE* iface) override {
        return real_->GetCInterface(id, index, iface);
    }

private:
    OvTypeLib::IOvSystem* real_;
};

class OptionsPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        OvSimReset();
        OvSimSetFastMode(1);
        Log().Clear();
        host_ = CreateWindowExW(0, WC_STATICW, L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 700, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
        ShowWindow(host_, SW_SHOW);
    }
    void TearDown() override {
        for (const std::string& line : Log().Lines()) ADD_FAILURE() << line;
        if (pane_.Handle()) pane_.Destroy();
        if (host_) DestroyWindow(host_);
        Pump();
        AppState& state = AppState::Get();
        state.Renderer().SetBinning(1);
        state.Renderer().SetGainShift(0);
        state.Renderer().SetSoftwareStart(false);
        state.Renderer().SetSyncBlocking(false);
        if (state.system) DllModule::Lib3Wrapper::Lib3ReleaseSystem(state.systemTypeId);
        state.system = nullptr;
        state.transfer = nullptr;
        OvSimReset();
    }
    void OpenCamera(uint32_t type) {
        AppState& state = AppState::Get();
        state.systemTypeId = type;
        ASSERT_TRUE(DllModule::Lib3Wrapper::Lib3CreateSystem(type, &state.system, &Log()));
        ASSERT_TRUE(state.system->Init());
        // The options are changed under the acquisition lock of the handed-out transfer.
        if (type != 3) {
            ASSERT_TRUE(state.system->GetDataTransfer(0, &state.transfer));
        }
        ASSERT_NE(pane_.Create(host_, RECT{0, 0, 300, 600}, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), nullptr);
    }
    void Build() {
        SendMessageW(pane_.Handle(), UWM_BUILD_OPTIONS, 0, 0);
        SendMessageW(pane_.Handle(), UWM_FIT_OPTIONS, 0, 0);
    }
    OvTypeLib::IOvOption* Option(uint32_t id) { return OvTypeLib::FindSystemOption(AppState::Get().system, id); }
    int32_t ScalarValue(uint32_t id, uint32_t unit) {
        int32_t value = -1;
        Option(id)->AsScalar()->GetValue(unit, &value);
        return value;
    }
    HWND ControlOf(option_holder* holder, int id) { return holder ? holder->Control(id) : nullptr; }
    // The holders as (kind, option id).
    std::vector<std::pair<int, uint32_t>> Holders() {
        std::vector<std::pair<int, uint32_t>> layout;
        for (const auto& holder : pane_.Holders()) layout.emplace_back(holder->Kind(), holder->OptionId());
        return layout;
    }

    HWND host_ = nullptr;
    CamOptionsChildPane pane_;
};

using Layout = std::vector<std::pair<int, uint32_t>>;

TEST_F(OptionsPaneTest, ZelMonoHoldersInOrder) {
    OpenCamera(1);
    Build();
    // Work mode, exposure, region, data format, gain; then digital gain and binning.
    // The sync-mode option is taken by the work mode and gets no list of its own.
    EXPECT_EQ(Holders(),
              (Layout{{-1, 0}, {0, 0x400002}, {2, 0x400006}, {1, 0x400008}, {0, 0x40000A}, {-1, 0}, {-1, 0}}));
    auto* exposure = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002));
    EXPECT_EQ(exposure->Unit(), 2u);  // microseconds
    EXPECT_TRUE(exposure->ListRange());
    EXPECT_EQ(Text(ControlOf(exposure, kIdMinimum)), L"10");
    EXPECT_EQ(Text(ControlOf(exposure, kIdMaximum)), L"2000000");
    EXPECT_EQ(Text(ControlOf(exposure, kIdEdit)), L"20000");
    auto* gain = static_cast<scalar_option_holder*>(pane_.HolderOf(0x40000A));
    EXPECT_EQ(gain->Unit(), 0u);  // no units at all
    EXPECT_EQ(SendMessageW(ControlOf(gain, kIdUnits), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_FALSE(gain->ListRange());
    // Layout: 8 pixels from the left, stacked with 4 pixels between holders; the fit adds 4 below.
    EXPECT_EQ(pane_.LayoutRight(), 288);
    EXPECT_EQ(pane_.LayoutBottom(), 104 + 4 + 80 + 4 + 90 + 4 + 20 + 4 + 80 + 4 + 20 + 4 + 20);
    RECT rect{};
    GetWindowRect(pane_.Handle(), &rect);
    EXPECT_EQ(rect.right - rect.left, 288);
    EXPECT_EQ(rect.bottom - rect.top, pane_.LayoutBottom() + 4);
    EXPECT_EQ(pane_.ContentWidth(), 288);
    // The work mode shows the camera's internal synchronisation.
    EXPECT_EQ(SendMessageW(GetDlgItem(pane_.Handle(), kIdModeInternal), BM_GETCHECK, 0, 0), BST_CHECKED);
}

// Where a control stands in the pane, in pane client coordinates.
RECT PlaceOf(HWND control) { return guitest::RectInParent(control); }

TEST_F(OptionsPaneTest, ControlsShowWhatTheyHoldReadably) {
    OpenCamera(1);
    Build();
    // The limits stand left and right of the track bar, on its row, clear of the name column's labels.
    auto* exposure = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002));
    const RECT track = PlaceOf(ControlOf(exposure, kIdTrack)), minimum = PlaceOf(ControlOf(exposure, kIdMinimum)),
               maximum = PlaceOf(ControlOf(exposure, kIdMaximum)), units = PlaceOf(ControlOf(exposure, kIdUnits));
    EXPECT_LE(minimum.right, track.left);
    EXPECT_GE(maximum.left, track.right);
    for (const RECT& limit : {minimum, maximum}) {
        EXPECT_GE(limit.top, track.top);
        EXPECT_LE(limit.bottom, track.bottom);
        EXPECT_GE(limit.top, units.bottom);  // not beside the unit list
    }
    // An option without units has no unit list to show.
    auto* gain = static_cast<scalar_option_holder*>(pane_.HolderOf(0x40000A));
    EXPECT_FALSE(IsWindowVisible(ControlOf(gain, kIdUnits)));
    EXPECT_TRUE(IsWindowVisible(ControlOf(exposure, kIdUnits)));
    // The data format's list is wide enough for each of its texts, and its label is not covered.
    option_holder* format = pane_.HolderOf(0x400008);
    HWND list = ControlOf(format, kIdList);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    const RECT place = PlaceOf(list);
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        SIZE size{};
        GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
        EXPECT_LE(size.cx + 20, place.right - place.left) << i;
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    EXPECT_LE(PlaceOf(ControlOf(format, kIdLabel)).right, place.left);
}

TEST_F(OptionsPaneTest, ZelWithoutSoftwareStartHasASyncListInsteadOfWorkMode) {
    OpenCamera(4);
    Build();
    EXPECT_EQ(Holders(),
              (Layout{{0, 0x400002}, {1, 0x400004}, {2, 0x400006}, {1, 0x400008}, {0, 0x40000A}, {-1, 0}, {-1, 0}}));
}

TEST_F(OptionsPaneTest, VextHoldersRateFirstAt100FramesPerSecond) {
    OpenCamera(3);
    Build();
    // Frame rate first; exposure; sync and record mode lists (applied as a whole);
    // region; frame position; pre-trigger. Memory partitions and frame index are
    // not shown, sync output is left out.
    EXPECT_EQ(
        Holders(),
        (Layout{
            {0, 0x400003}, {0, 0x400002}, {1, 0x400004}, {1, 0x400005}, {2, 0x400006}, {0, 0x400007}, {0, 0x40000D}}));
    auto* rate = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400003));
    EXPECT_EQ(rate->Unit(), 31u);
    EXPECT_EQ(rate->Value(), 100);
    EXPECT_EQ(ScalarValue(0x400003, 31), 100);
    EXPECT_EQ(pane_.HolderOf(0x400004)->ApplyModeOf(), int(ApplyAsWhole));
    EXPECT_EQ(static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002))->Unit(), 2u);
}

TEST_F(OptionsPaneTest, TrackBarListMovesTheExposureOnlyWhenReleased) {
    OpenCamera(1);
    Build();
    auto* exposure = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002));
    HWND track = ControlOf(exposure, kIdTrack);
    RECT bar{};
    GetWindowRect(track, &bar);
    const std::vector<int64_t> entries = TrackValueList(2000000, bar.right - bar.left);
    ASSERT_EQ(exposure->Entries(), entries);
    EXPECT_EQ(SendMessageW(track, TBM_GETRANGEMAX, 0, 0), LRESULT(entries.size() - 1));
    EXPECT_EQ(SendMessageW(track, TBM_GETPOS, 0, 0), TrackPositionOf(entries, 20000));
    const int position = int(entries.size()) / 2 + 3;
    SendMessageW(track, TBM_SETPOS, TRUE, position);
    SendMessageW(pane_.Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(track));
    EXPECT_EQ(ScalarValue(0x400002, 2), 20000);  // dragging changes nothing
    SendMessageW(pane_.Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(track));
    EXPECT_EQ(ScalarValue(0x400002, 2), entries[size_t(position)]);
    Pump();  // the change notice refreshes the controls
    EXPECT_EQ(Text(ControlOf(exposure, kIdEdit)), std::to_wstring(entries[size_t(position)]));
    // A key step moves one entry on.
    SendMessageW(track, TBM_SETPOS, TRUE, position + 1);
    SendMessageW(pane_.Handle(), WM_HSCROLL, MAKEWPARAM(TB_LINEDOWN, 0), reinterpret_cast<LPARAM>(track));
    EXPECT_EQ(ScalarValue(0x400002, 2), entries[size_t(position) + 1]);
}

TEST_F(OptionsPaneTest, EditCommitsOnEnterFocusLossAndArrows) {
    OpenCamera(1);
    Build();
    auto* exposure = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002));
    HWND edit = ControlOf(exposure, kIdEdit);
    SetWindowTextW(edit, L"50000");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);  // the edit turns Enter into command 1
    EXPECT_EQ(ScalarValue(0x400002, 2), 50000);
    SetWindowTextW(edit, L"99999999");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ScalarValue(0x400002, 2), 2000000);  // clamped to the maximum
    // Focus loss after an edit commits; without an edit it does not.
    SetWindowTextW(edit, L"30000");
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdEdit, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(ScalarValue(0x400002, 2), 2000000);
    SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdEdit, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(ScalarValue(0x400002, 2), 30000);
    // The up-down steps the option in the current unit.
    NMUPDOWN step{};
    step.hdr.hwndFrom = ControlOf(exposure, kIdUpDown);
    step.hdr.idFrom = kIdUpDown;
    step.hdr.code = UDN_DELTAPOS;
    step.iDelta = 7;
    EXPECT_EQ(SendMessageW(pane_.Handle(), WM_NOTIFY, kIdUpDown, reinterpret_cast<LPARAM>(&step)), 1);
    EXPECT_EQ(ScalarValue(0x400002, 2), 30007);
    Pump();
    EXPECT_EQ(Text(edit), L"30007");
    // A unit change shows the option in the new unit.
    SendMessageW(ControlOf(exposure, kIdUnits), CB_SETCURSEL, 1, 0);
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdUnits, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(ControlOf(exposure, kIdUnits)));
    EXPECT_EQ(exposure->Unit(), 3u);
    EXPECT_EQ(Text(ControlOf(exposure, kIdMaximum)), L"2000");
    EXPECT_EQ(Text(edit), L"30");
    EXPECT_FALSE(exposure->ListRange());
}

TEST_F(OptionsPaneTest, TabInTheEditMovesToTheNextControl) {
    OpenCamera(1);
    Build();
    auto* exposure = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002));
    HWND edit = ControlOf(exposure, kIdEdit);
    SetForegroundWindow(host_);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    EXPECT_TRUE(SendMessageW(edit, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
    SendMessageW(edit, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), GetNextDlgTabItem(pane_.Handle(), edit, FALSE));
    EXPECT_NE(GetFocus(), edit);
}

TEST_F(OptionsPaneTest, RefusedLockResetsTheControls) {
    OpenCamera(1);
    RefusingSystem refusing(AppState::Get().system);
    auto* option = Option(0x400008)->AsEnum();
    enum_option_holder list(host_, ApplyAtOnce, &refusing, option);
    list.CreateControls(8, 0);
    HWND combo = list.Control(kIdList);
    const LRESULT shown = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    list.OnCommand(CBN_SELCHANGE, kIdList, combo);
    int32_t value = 0;
    option->GetValue(&value);
    EXPECT_EQ(value, 19);  // unchanged
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), shown);

    scalar_option_holder scalar(host_, ApplyAtOnce, &refusing, Option(0x400002)->AsScalar(), false);
    scalar.CreateControls(8, 30);
    SetWindowTextW(scalar.Control(kIdEdit), L"1234");
    scalar.OnCommand(0, 1, scalar.Control(kIdEdit));
    EXPECT_EQ(ScalarValue(0x400002, 2), 20000);
    EXPECT_EQ(Text(scalar.Control(kIdEdit)), L"20000");
    list.DestroyControls();
    scalar.DestroyControls();
}

TEST_F(OptionsPaneTest, ApplyAsWholeKeepsTheValueUntilApplied) {
    OpenCamera(1);
    scalar_option_holder scalar(host_, ApplyAsWhole, AppState::Get().system, Option(0x40000A)->AsScalar(), false);
    scalar.CreateControls(8, 0);
    SetWindowTextW(scalar.Control(kIdEdit), L"700");
    scalar.OnCommand(0, 1, scalar.Control(kIdEdit));
    EXPECT_EQ(scalar.Value(), 700);
    EXPECT_EQ(ScalarValue(0x40000A, 0), 100);
    EXPECT_EQ(SendMessageW(scalar.Control(kIdTrack), TBM_GETPOS, 0, 0), 700);
    scalar.Apply();
    EXPECT_EQ(ScalarValue(0x40000A, 0), 700);
    scalar.DestroyControls();
}

TEST_F(OptionsPaneTest, CentredRectangle) {
    OpenCamera(1);
    Build();
    option_holder* rect = pane_.HolderOf(0x400006);
    ASSERT_NE(rect, nullptr);
    HWND apply = ControlOf(rect, kIdRectApply);
    EXPECT_FALSE(IsWindowEnabled(apply));
    SetWindowTextW(ControlOf(rect, kIdRectW), L"640");  // the up-down follows its buddy
    EXPECT_TRUE(IsWindowEnabled(apply));
    SetWindowTextW(ControlOf(rect, kIdRectH), L"512");
    SendMessageW(ControlOf(rect, kIdRectCentre), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdRectApply, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    int32_t x = 0, y = 0, w = 0, h = 0;
    Option(0x400006)->AsRect()->GetRect(&x, &y, &w, &h);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 256);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 512);
    EXPECT_FALSE(IsWindowEnabled(apply));
    Pump();
    EXPECT_EQ(Text(ControlOf(rect, kIdRectX)), L"320");
}

TEST_F(OptionsPaneTest, EightBitDataFreezesTheRectangle) {
    OpenCamera(1);
    Build();
    option_holder* rect = pane_.HolderOf(0x400006);
    option_holder* format = pane_.HolderOf(0x400008);
    HWND list = ControlOf(format, kIdList);
    SendMessageW(list, CB_SETCURSEL, 0, 0);  // 17: 8-bit data
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Pump();
    EXPECT_FALSE(IsWindowEnabled(ControlOf(rect, kIdRectX)));
    SendMessageW(list, CB_SETCURSEL, 3, 0);
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Pump();
    EXPECT_TRUE(IsWindowEnabled(ControlOf(rect, kIdRectX)));
}

TEST_F(OptionsPaneTest, ColourCameraBoundsTheDigitalGainAndCentresWithItsFactor) {
    OpenCamera(2);
    Build();
    // The gain limit is a list like any other camera option; the centring factor
    // has a single value and so no holder.
    EXPECT_EQ(
        Holders(),
        (Layout{{-1, 0}, {0, 0x400002}, {2, 0x400006}, {1, 0x400008}, {0, 0x40000A}, {1, 0x40000B}, {-1, 0}, {-1, 0}}));
    const auto& holders = pane_.Holders();
    auto* gain = dynamic_cast<dig_amplify_option*>(holders[holders.size() - 2].get());
    ASSERT_NE(gain, nullptr);
    HWND track = gain->Control(kIdTrack);
    EXPECT_EQ(SendMessageW(track, TBM_GETRANGEMAX, 0, 0), 4);  // 16: a shift of up to 4
    SendMessageW(track, TBM_SETPOS, TRUE, 3);
    SendMessageW(pane_.Handle(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(track));
    EXPECT_EQ(AppState::Get().Renderer().GainShift(), 3u);
    // Lowering the limit on the camera lowers the gain on the screen too.
    HWND limit = ControlOf(pane_.HolderOf(0x40000B), kIdList);
    SendMessageW(limit, CB_SETCURSEL, 0, 0);  // 14: a shift of up to 1
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(limit));
    Pump();
    EXPECT_EQ(gain->Gain(), 1);
    EXPECT_EQ(SendMessageW(track, TBM_GETRANGEMAX, 0, 0), 1);
    EXPECT_EQ(SendMessageW(track, TBM_GETPOS, 0, 0), 1);
    EXPECT_EQ(AppState::Get().Renderer().GainShift(), 1u);
    // Centring on the 1600 x 1200 sensor with the camera's factor of 1.
    option_holder* rect = pane_.HolderOf(0x400006);
    SetWindowTextW(ControlOf(rect, kIdRectW), L"800");
    SetWindowTextW(ControlOf(rect, kIdRectH), L"600");
    SendMessageW(ControlOf(rect, kIdRectCentre), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdRectApply, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ControlOf(rect, kIdRectApply)));
    int32_t x = 0, y = 0, w = 0, h = 0;
    Option(0x400006)->AsRect()->GetRect(&x, &y, &w, &h);
    EXPECT_EQ((std::vector<int32_t>{x, y, w, h}), (std::vector<int32_t>{400, 300, 800, 600}));
}

TEST_F(OptionsPaneTest, CentringFactorIsTheCameraValueInUnitFive) {
    OpenCamera(1);
    guitest::FakeOption factor(OvTypeLib::OptionKindScalar, "factor");
    factor.value = 2;
    rect_option_holder rect(host_, ApplyAtOnce, AppState::Get().system, Option(0x400006)->AsRect(), factor.AsScalar());
    rect.CreateControls(8, 0);
    SetWindowTextW(rect.Control(kIdRectW), L"640");
    SetWindowTextW(rect.Control(kIdRectH), L"512");
    SendMessageW(rect.Control(kIdRectCentre), BM_SETCHECK, BST_CHECKED, 0);
    rect.OnCommand(BN_CLICKED, kIdRectApply, rect.Control(kIdRectApply));
    int32_t x = 0, y = 0, w = 0, h = 0;
    Option(0x400006)->AsRect()->GetRect(&x, &y, &w, &h);
    EXPECT_EQ(x, (1280 - 640) * 2 / 2);
    EXPECT_EQ(y, (1024 - 512) / 2);
    ASSERT_FALSE(factor.unitsAsked.empty());
    for (uint32_t unit : factor.unitsAsked) EXPECT_EQ(unit, 5u);
    rect.DestroyControls();
}

TEST_F(OptionsPaneTest, VextFrameRateChangeShortensTheExposureShown) {
    OpenCamera(3);
    AppState& state = AppState::Get();
    ASSERT_TRUE(state.system->GetDataTransfer(0, &state.transfer));  // live: changes are allowed
    Build();
    option_holder* exposure = pane_.HolderOf(0x400002);
    option_holder* rate = pane_.HolderOf(0x400003);
    EXPECT_EQ(Text(ControlOf(exposure, kIdMaximum)), L"10000");  // 100 frames per second
    SetWindowTextW(ControlOf(exposure, kIdEdit), L"9000");
    SendMessageW(ControlOf(exposure, kIdEdit), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ScalarValue(0x400002, 2), 9000);
    SetWindowTextW(ControlOf(rate, kIdEdit), L"1000");
    SendMessageW(ControlOf(rate, kIdEdit), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(ScalarValue(0x400002, 2), 1000);  // the camera shortened it
    EXPECT_EQ(Text(ControlOf(exposure, kIdMaximum)), L"1000");
    EXPECT_EQ(Text(ControlOf(exposure, kIdEdit)), L"1000");
}

TEST_F(OptionsPaneTest, TabThroughTheProgramsLoopMovesBetweenOptionControls) {
    OpenCamera(1);
    Build();
    HWND list = ControlOf(pane_.HolderOf(0x400008), kIdList);
    SetForegroundWindow(host_);
    SetFocus(list);
    ASSERT_EQ(GetFocus(), list);
    HWND next = GetNextDlgTabItem(pane_.Handle(), list, FALSE);
    ASSERT_NE(next, list);
    MSG tab{list, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(Glob::CMyMessageLoop::Instance().PreTranslateMessage(&tab));
    EXPECT_EQ(GetFocus(), next);
}

TEST_F(OptionsPaneTest, WorkModesSetTheSyncModeAndTheWorkersStartAndBlocking) {
    OpenCamera(1);
    Build();
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    struct Case {
        int radio;
        int32_t sync;
        bool software, blocking;
    };
    for (const Case& c : {Case{kIdModeSoftware, 4, true, false}, Case{kIdModeBlocking, 5, false, true},
                          Case{kIdModeExternal, 5, false, false}, Case{kIdModeInternal, 6, false, false}}) {
        HWND radio = GetDlgItem(pane_.Handle(), c.radio);
        SendMessageW(radio, BM_CLICK, 0, 0);
        Pump();
        int32_t sync = 0;
        Option(0x400004)->AsEnum()->GetValue(&sync);
        EXPECT_EQ(sync, c.sync) << c.radio;
        EXPECT_EQ(renderer.SoftwareStart(), c.software) << c.radio;
        EXPECT_EQ(renderer.SyncBlocking(), c.blocking) << c.radio;
        EXPECT_EQ(SendMessageW(radio, BM_GETCHECK, 0, 0), BST_CHECKED) << c.radio;  // both external modes stay apart
    }
}

TEST_F(OptionsPaneTest, SyncListSwitchesTheWorkersSoftwareStart) {
    OpenCamera(1);
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    enum_option_holder list(host_, ApplyAtOnce, AppState::Get().system, Option(0x400004)->AsEnum());
    list.CreateControls(8, 0);
    HWND combo = list.Control(kIdList);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);  // 4: software start
    list.OnCommand(CBN_SELCHANGE, kIdList, combo);
    EXPECT_TRUE(renderer.SoftwareStart());
    SendMessageW(combo, CB_SETCURSEL, 2, 0);  // 6: internal
    list.OnCommand(CBN_SELCHANGE, kIdList, combo);
    EXPECT_FALSE(renderer.SoftwareStart());
    list.DestroyControls();
}

TEST_F(OptionsPaneTest, UnitListIsHiddenOnlyWithASingleUnit) {
    OpenCamera(2);
    scalar_option_holder factor(host_, ApplyAtOnce, AppState::Get().system, Option(0x40000C)->AsScalar(), false);
    factor.CreateControls(8, 0);
    EXPECT_EQ(factor.Unit(), 5u);
    EXPECT_FALSE(IsWindowVisible(factor.Control(kIdUnits)));
    factor.DestroyControls();
    scalar_option_holder exposure(host_, ApplyAtOnce, AppState::Get().system, Option(0x400002)->AsScalar(), false);
    exposure.CreateControls(8, 0);
    EXPECT_TRUE(IsWindowVisible(exposure.Control(kIdUnits)));
    exposure.DestroyControls();
}

TEST_F(OptionsPaneTest, ProfileLoadClampsGainAndShowsBinning) {
    OpenCamera(1);
    const std::wstring path = TempPath(L"ov-options-load.ovp");
    DeleteFileW(path.c_str());
    WritePrivateProfileStringW(L"Цифр.усиление", L"Value", L"10", path.c_str());
    WritePrivateProfileStringW(L"Бининг", L"Value", L"8", path.c_str());
    WritePrivateProfileStringW(L"Режим работы камеры", L"Value", L"2", path.c_str());
    SendMessageW(pane_.Handle(), UWM_LOAD_OPTIONS, 0, reinterpret_cast<LPARAM>(path.c_str()));
    const auto& holders = pane_.Holders();
    ASSERT_GE(holders.size(), 2u);
    auto* gain = dynamic_cast<dig_amplify_option*>(holders[holders.size() - 2].get());
    auto* binning = dynamic_cast<binning_option*>(holders.back().get());
    ASSERT_NE(gain, nullptr);
    ASSERT_NE(binning, nullptr);
    EXPECT_EQ(gain->Gain(), 8);
    EXPECT_EQ(SendMessageW(gain->Control(kIdTrack), TBM_GETPOS, 0, 0), 8);
    EXPECT_EQ(SendMessageW(gain->Control(kIdTrack), TBM_GETRANGEMAX, 0, 0), 8);
    EXPECT_EQ(ListText(binning->Control(kIdList)), L"8 x 8");
    EXPECT_EQ(AppState::Get().Renderer().Binning(), 8u);
    int32_t sync = 0;
    Option(0x400004)->AsEnum()->GetValue(&sync);
    EXPECT_EQ(sync, 5);  // work mode 2: external synchronisation
    EXPECT_EQ(SendMessageW(GetDlgItem(pane_.Handle(), kIdModeExternal), BM_GETCHECK, 0, 0), BST_CHECKED);
    DeleteFileW(path.c_str());
}

TEST_F(OptionsPaneTest, SaveWritesEverySectionAndLoadRestoresIt) {
    OpenCamera(1);
    Build();
    auto* exposure = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002));
    SetWindowTextW(ControlOf(exposure, kIdEdit), L"4321");
    SendMessageW(ControlOf(exposure, kIdEdit), WM_KEYDOWN, VK_RETURN, 0);
    HWND binning = pane_.Holders().back()->Control(kIdList);
    SendMessageW(binning, CB_SETCURSEL, 2, 0);
    SendMessageW(pane_.Handle(), WM_COMMAND, MAKEWPARAM(kIdList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(binning));
    EXPECT_EQ(AppState::Get().Renderer().Binning(), 4u);
    const std::wstring path = TempPath(L"ov-options-save.ovp");
    DeleteFileW(path.c_str());
    SendMessageW(pane_.Handle(), UWM_SAVE_OPTIONS, 0, reinterpret_cast<LPARAM>(path.c_str()));
    wchar_t text[64] = {};
    GetPrivateProfileStringW(L"Бининг", L"Value", L"", text, 64, path.c_str());
    EXPECT_STREQ(text, L"4");
    GetPrivateProfileStringW(L"Режим работы камеры", L"Value", L"", text, 64, path.c_str());
    EXPECT_STREQ(text, L"0");
    GetPrivateProfileStringW(L"Цифр.усиление", L"Value", L"", text, 64, path.c_str());
    EXPECT_STREQ(text, L"0");
    // A fresh camera takes the saved values back.
    pane_.Destroy();
    DllModule::Lib3Wrapper::Lib3ReleaseSystem(1);
    AppState::Get().system = nullptr;
    AppState::Get().Renderer().SetBinning(1);
    OpenCamera(1);
    EXPECT_EQ(ScalarValue(0x400002, 2), 20000);
    SendMessageW(pane_.Handle(), UWM_LOAD_OPTIONS, 0, reinterpret_cast<LPARAM>(path.c_str()));
    EXPECT_EQ(ScalarValue(0x400002, 2), 4321);
    EXPECT_EQ(Text(pane_.HolderOf(0x400002)->Control(kIdEdit)), L"4321");
    EXPECT_EQ(ListText(pane_.Holders().back()->Control(kIdList)), L"4 x 4");
    DeleteFileW(path.c_str());
}

TEST_F(OptionsPaneTest, ProfileUnitTheOptionLacksLeavesTheShownUnit) {
    OpenCamera(1);
    const std::wstring path = TempPath(L"ov-options-unit.ovp");
    DeleteFileW(path.c_str());
    const std::wstring section = AnsiToWide(Option(0x400002)->GetName(0)) + L"_0";
    WritePrivateProfileStringW(section.c_str(), L"Value", L"99999999", path.c_str());
    WritePrivateProfileStringW(section.c_str(), L"Unit", L"77", path.c_str());
    SendMessageW(pane_.Handle(), UWM_LOAD_OPTIONS, 0, reinterpret_cast<LPARAM>(path.c_str()));
    auto* exposure = static_cast<scalar_option_holder*>(pane_.HolderOf(0x400002));
    // A value in a unit the camera lacks means nothing: microseconds and the camera's value stay, and the edit shows
    // them.
    EXPECT_EQ(exposure->Unit(), 2u);
    EXPECT_EQ(ScalarValue(0x400002, 2), 20000);
    EXPECT_EQ(Text(ControlOf(exposure, kIdEdit)), L"20000");
    EXPECT_GT(SendMessageW(ControlOf(exposure, kIdTrack), TBM_GETRANGEMAX, 0, 0), 0);
    DeleteFileW(path.c_str());
}

TEST_F(OptionsPaneTest, UnbuildableSystemLeavesThePaneDisabled) {
    ASSERT_NE(pane_.Create(host_, RECT{0, 0, 300, 600}, nullptr, WS_CHILD | WS_VISIBLE), nullptr);
    AppState::Get().system = nullptr;
    Build();
    EXPECT_TRUE(pane_.Holders().empty());
    EXPECT_FALSE(IsWindowEnabled(pane_.Handle()));
}

// ---- the pane inside the main window ----

using guitest::PumpUntil;

uint64_t Brightness() {
    uint64_t sum = 0;
    for (int i = 0; i < 64; ++i) {
        uint32_t values[3] = {}, count = 0;
        if (!AppState::Get().Renderer().GetPixel(100 + (i % 8) * 130, 100 + (i / 8) * 100, values, &count)) return 0;
        sum += values[0];
    }
    return sum;
}

TEST(OptionsPaneInMainWindow, ShorterExposureDarkensTheLiveImage) {
    OvSimReset();
    OvSimSetFastMode(1);
    MessageBoxCatcher catcher;
    MessageBoxCatcher::Forget();
    const std::wstring path = TempPath(L"ov-options-live.ovp");
    DeleteFileW(path.c_str());
    WritePrivateProfileStringW(L"SYSTEM", L"TYPE_ID", L"1", path.c_str());
    WritePrivateProfileStringW(L"SERIA", L"Value", L"0", path.c_str());
    auto window = std::make_unique<AppGui::MainWindow>(path);
    ASSERT_NE(window->CreateMain(), nullptr);
    ShowWindow(window->Handle(), SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return window->IsSystemOpen(); }));
    CamOptionsChildPane& pane = *window->OptionsPane();
    EXPECT_EQ(pane.ContentWidth(), 288);
    ASSERT_TRUE(PumpUntil([&] { return Brightness() > 0; }));
    const uint64_t before = Brightness();
    option_holder* exposure = pane.HolderOf(0x400002);
    ASSERT_NE(exposure, nullptr);
    SetWindowTextW(exposure->Control(kIdEdit), L"2000");
    SendMessageW(exposure->Control(kIdEdit), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([&] {
        const uint64_t now = Brightness();
        return now > 0 && now < before / 3;
    })) << before
        << " " << Brightness();
    DestroyWindow(window->Handle());
    Pump();
    window.reset();
    DeleteFileW(path.c_str());
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
}

}  // namespace
