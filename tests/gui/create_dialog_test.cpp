// The camera-type dialog driven as a user would: picking types, replacing one
// picked system by another, opening the last one, failures to create, and
// Cancel through the main window's New command.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "AppGui/AppState.h"
#include "AppGui/Dialogs/DlgCreate.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Resources/dialogs_resource.h"
#include "AppGui/Resources/resource.h"
#include "DialogDriver.h"
#include "GuiTestSupport.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "ovlib3_sim.h"

namespace {

using guitest::DialogDriver;
using namespace DllModule::Lib3Wrapper;

std::vector<std::pair<uint32_t, std::wstring>> SystemTypes() {
    std::vector<std::pair<uint32_t, std::wstring>> list;
    OvTypeLib::IOvEnum* types = nullptr;
    if (!Lib3GetSystemTypes(&types) || !types) return list;
    uint32_t id = 0;
    const char* name = nullptr;
    for (bool more = types->First(&id, &name, nullptr); more; more = types->Next(&id, &name, nullptr)) {
        wchar_t wide[256] = {};
        MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 256);
        list.emplace_back(id, wide);
    }
    return list;
}

void ForgetSystem() {
    AppState& state = AppState::Get();
    if (state.system) Lib3ReleaseSystem(state.systemTypeId);
    state.system = nullptr;
    state.transfer = nullptr;
    state.systemTypeId = 0;
    state.systemName.clear();
    state.snapshots.Clear();
}

bool OkEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }

class CreateDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetSystem();
        OvSimReset();
        OvSimSetFastMode(1);
        types_ = SystemTypes();
        ASSERT_GE(types_.size(), 2u);
    }
    void TearDown() override {
        ForgetSystem();
        OvSimReset();
    }

    std::vector<std::pair<uint32_t, std::wstring>> types_;
    DialogDriver driver_;
};

TEST_F(CreateDialogTest, ListsTheTypesWithOkDisabledUntilOneIsPicked) {
    std::vector<std::wstring> entries;
    bool okAtStart = true;
    HWND focus = nullptr, list = nullptr;
    driver_.Then([&](HWND dialog) {
        list = GetDlgItem(dialog, IDC_CAMERA_TYPE);
        focus = GetFocus();
        for (LRESULT i = 0, n = SendMessageW(list, CB_GETCOUNT, 0, 0); i < n; ++i) {
            wchar_t text[256] = {};
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), CB_ERR);
        okAtStart = OkEnabled(dialog);
        // OK while nothing is picked does nothing.
        DialogDriver::ClickNow(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    AppGui::DlgCreate dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    ASSERT_EQ(driver_.DialogCaptions().size(), 1u);
    EXPECT_EQ(driver_.DialogCaptions()[0], L"Выбор типа камеры");
    EXPECT_FALSE(okAtStart);
    EXPECT_EQ(focus, list);
    ASSERT_EQ(entries.size(), types_.size());
    for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i], types_[i].second);
    EXPECT_EQ(OvSimCallCount("OvLib3SystemCreate"), 0u);
    EXPECT_EQ(OvSimCallCount("OvLib3SystemInit"), 0u);
}

TEST_F(CreateDialogTest, SecondPickReplacesTheFirstAndOkOpensOnlyTheLast) {
    const int first = 0;
    const int last = static_cast<int>(types_.size()) - 1;
    AppState& state = AppState::Get();
    uint32_t typeAfterFirst = 0, typeAfterLast = 0;
    uint32_t systemsAfterFirst = 0, systemsAfterLast = 0;
    bool previewShown = false;
    driver_.Then([&](HWND dialog) {
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, first);
        typeAfterFirst = state.systemTypeId;
        systemsAfterFirst = OvSimLiveHandlesOf(OVSIM_KIND_SYSTEM);
        EXPECT_NE(state.system, nullptr);
        EXPECT_TRUE(OkEnabled(dialog));
        auto* self = static_cast<AppGui::DlgCreate*>(AppGui::DialogBase::FromHandle(dialog));
        previewShown = self && self->Preview() && IsWindowVisible(self->Preview()->Handle());
        if (previewShown) {
            // The pane is sized to the holders of the picked system's options.
            const AppGui::CamOptionsChildPane& pane = self->Preview()->Child();
            EXPECT_FALSE(pane.Holders().empty());
            RECT rect{};
            GetWindowRect(pane.Handle(), &rect);
            EXPECT_EQ(rect.right - rect.left, pane.LayoutRight());
            EXPECT_EQ(rect.bottom - rect.top, pane.LayoutBottom() + 4);
        }
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, last);
        typeAfterLast = state.systemTypeId;
        systemsAfterLast = OvSimLiveHandlesOf(OVSIM_KIND_SYSTEM);
        EXPECT_EQ(OvSimCallCount("OvLib3SystemInit"), 0u);  // nothing is opened before OK
        DialogDriver::Click(dialog, IDOK);
    });
    AppGui::DlgCreate dialog;
    ASSERT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_TRUE(previewShown);
    EXPECT_EQ(dialog.Preview(), nullptr);  // gone once the camera is open
    EXPECT_EQ(typeAfterFirst, types_[first].first);
    EXPECT_EQ(typeAfterLast, types_[last].first);
    EXPECT_EQ(systemsAfterFirst, 1u);
    EXPECT_EQ(systemsAfterLast, 1u);  // the first one was let go
    EXPECT_EQ(OvSimCallCount("OvLib3SystemCreate"), 2u);
    EXPECT_EQ(OvSimCallCount("OvLib3SystemInit"), 1u);
    EXPECT_EQ(state.systemTypeId, types_[last].first);
    EXPECT_EQ(state.systemName, types_[last].second);
    ASSERT_NE(state.system, nullptr);
    EXPECT_FALSE(state.snapshots.Empty());
}

TEST_F(CreateDialogTest, SnapshotIsTakenOnceFromThePickedSystemBeforeItOpens) {
    AppGui::Settings::OptionSnapshots beforeOk;
    driver_.Then([&](HWND dialog) {
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 0);
        AppGui::TakeOptionSnapshots(AppState::Get().system, beforeOk);
        DialogDriver::Click(dialog, IDOK);
    });
    AppGui::DlgCreate dialog;
    ASSERT_EQ(dialog.DoModal(nullptr), IDOK);
    const auto& snapshots = AppState::Get().snapshots;
    EXPECT_FALSE(snapshots.Empty());
    ASSERT_EQ(snapshots.scalars.size(), beforeOk.scalars.size());
    ASSERT_EQ(snapshots.enums.size(), beforeOk.enums.size());
    ASSERT_EQ(snapshots.rects.size(), beforeOk.rects.size());
    for (size_t i = 0; i < snapshots.scalars.size(); ++i) {
        EXPECT_EQ(snapshots.scalars[i].name, beforeOk.scalars[i].name);
        EXPECT_EQ(snapshots.scalars[i].value, beforeOk.scalars[i].value);
        EXPECT_FALSE(snapshots.scalars[i].unit.empty()) << snapshots.scalars[i].name;
    }
    for (size_t i = 0; i < snapshots.enums.size(); ++i) {
        EXPECT_FALSE(snapshots.enums[i].name.empty());
        EXPECT_EQ(snapshots.enums[i].value, beforeOk.enums[i].value);
        EXPECT_FALSE(snapshots.enums[i].value.empty()) << snapshots.enums[i].name;
    }
}

TEST_F(CreateDialogTest, SnapshotOfAnOpenSystemHoldsEachKindOfOption) {
    AppState& state = AppState::Get();
    ASSERT_TRUE(Lib3CreateSystem(types_[0].first, &state.system, nullptr));
    state.systemTypeId = types_[0].first;
    ASSERT_TRUE(state.system->Init());
    AppGui::Settings::OptionSnapshots snapshots;
    AppGui::TakeOptionSnapshots(state.system, snapshots);
    EXPECT_FALSE(snapshots.scalars.empty());
    EXPECT_FALSE(snapshots.enums.empty());
    ASSERT_FALSE(snapshots.rects.empty());
    for (const auto& scalar : snapshots.scalars) EXPECT_FALSE(scalar.unit.empty()) << scalar.name;
    for (const auto& rect : snapshots.rects) EXPECT_GT(rect.width, 0) << rect.name;
    // Appended, not replaced.
    AppGui::TakeOptionSnapshots(state.system, snapshots);
    AppGui::Settings::OptionSnapshots once;
    AppGui::TakeOptionSnapshots(state.system, once);
    EXPECT_EQ(snapshots.scalars.size(), 2 * once.scalars.size());
    EXPECT_EQ(snapshots.rects.size(), 2 * once.rects.size());
}

TEST_F(CreateDialogTest, TypeThatCannotBeCreatedLeavesOkDisabledAndTheDialogOpen) {
    bool okAfterFailure = true, okAfterRetry = false;
    AppGui::DlgCreate* seen = nullptr;
    driver_.Then([&](HWND dialog) {
        OvSimFailCall("OvLib3SystemCreate", 1, 0);
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 0);
        okAfterFailure = OkEnabled(dialog);
        EXPECT_EQ(AppState::Get().system, nullptr);
        seen = static_cast<AppGui::DlgCreate*>(AppGui::DialogBase::FromHandle(dialog));
        EXPECT_TRUE(seen && !seen->Preview());
        DialogDriver::ClickNow(dialog, IDOK);  // ignored: nothing to open
        EXPECT_EQ(OvSimCallCount("OvLib3SystemInit"), 0u);
        EXPECT_TRUE(AppState::Get().snapshots.Empty());
        // The same type again, now that the library lets it be created.
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 0);
        okAfterRetry = OkEnabled(dialog);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    AppGui::DlgCreate dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_FALSE(okAfterFailure);
    EXPECT_TRUE(okAfterRetry);
    EXPECT_EQ(OvSimCallCount("OvLib3SystemInit"), 0u);
}

TEST_F(CreateDialogTest, FailureAfterAGoodPickDisablesOkAgain) {
    bool okAfterGood = false, okAfterBad = true;
    driver_.Then([&](HWND dialog) {
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 0);
        okAfterGood = OkEnabled(dialog);
        OvSimFailCall("OvLib3SystemCreate", 1, 0);
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 1);
        okAfterBad = OkEnabled(dialog);
        // The library let the first system go on its way to the failed one.
        EXPECT_EQ(OvSimLiveHandlesOf(OVSIM_KIND_SYSTEM), 0u);
        EXPECT_EQ(AppState::Get().system, nullptr);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    AppGui::DlgCreate dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_TRUE(okAfterGood);
    EXPECT_FALSE(okAfterBad);
}

TEST_F(CreateDialogTest, SystemThatFailsToOpenKeepsTheDialog) {
    bool stillOpen = false;
    driver_.Then([&](HWND dialog) {
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 0);
        OvSimFailCall("OvLib3SystemInit", 1, 0);
        DialogDriver::ClickNow(dialog, IDOK);
        stillOpen = IsWindowVisible(dialog) != FALSE;
        EXPECT_TRUE(AppState::Get().systemName.empty());
        DialogDriver::Click(dialog, IDOK);  // the second try opens it
    });
    AppGui::DlgCreate dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_TRUE(stillOpen);
    // The user is told why, with the camera layer's report.
    ASSERT_EQ(driver_.Boxes().size(), 1u);
    EXPECT_EQ(driver_.Boxes()[0].caption, L"Выбор типа камеры");
    EXPECT_EQ(driver_.Boxes()[0].text.rfind(L"Не удалось открыть камеру.\n\n*** Error ***\n", 0), 0u)
        << std::string(driver_.Boxes()[0].text.begin(), driver_.Boxes()[0].text.end());
    EXPECT_EQ(OvSimCallCount("OvLib3SystemInit"), 2u);
    EXPECT_EQ(AppState::Get().systemName, types_[0].second);
}

class NewCameraTest : public CreateDialogTest {
protected:
    void TearDown() override {
        if (window_ && window_->Handle()) DestroyWindow(window_->Handle());
        guitest::Pump();
        window_.reset();
        CreateDialogTest::TearDown();
    }
    void Open() {
        window_ = std::make_unique<AppGui::MainWindow>(std::wstring());
        ASSERT_NE(window_->CreateMain(), nullptr);
        ShowWindow(window_->Handle(), SW_SHOW);
        guitest::Pump();
    }
    std::unique_ptr<AppGui::MainWindow> window_;
};

TEST_F(NewCameraTest, CancelLeavesTheEmptyWindowAndNoSystem) {
    Open();
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), window_->Handle());
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 0);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    SendMessageW(window_->Handle(), WM_COMMAND, ID_CAMERA_NEW, 0);
    EXPECT_EQ(DialogDriver::Text(window_->Handle()), L"OvWinShell");
    EXPECT_FALSE(window_->IsSystemOpen());
    EXPECT_EQ(window_->ZelToolbar(), nullptr);
    EXPECT_EQ(AppState::Get().system, nullptr);
    EXPECT_EQ(OvSimLiveHandlesOf(OVSIM_KIND_SYSTEM), 0u);
}

TEST_F(NewCameraTest, OkOpensThePickedCamera) {
    Open();
    driver_.Then([&](HWND dialog) {
        DialogDriver::Choose(dialog, IDC_CAMERA_TYPE, 0);
        DialogDriver::Click(dialog, IDOK);
    });
    SendMessageW(window_->Handle(), WM_COMMAND, ID_CAMERA_NEW, 0);
    EXPECT_TRUE(window_->IsSystemOpen());
    EXPECT_EQ(DialogDriver::Text(window_->Handle()), L"OvWinShell/ " + types_[0].second + L" /");
}

}  // namespace
