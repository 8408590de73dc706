// The About box: the program's version, the camera library's version and the
// open camera's information text, from the main window's command as well.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AppGui/AppState.h"
#include "AppGui/Dialogs/CDialogAbout.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Resources/dialogs_resource.h"
#include "AppGui/Resources/resource.h"
#include "DialogDriver.h"
#include "GuiTestSupport.h"
#include "ovlib3.h"
#include "ovlib3_sim.h"

namespace {

using guitest::DialogDriver;

std::wstring LibraryVersion() {
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_ACP, 0, OvLib3Version(), -1, wide, 256);
    return wide;
}

TEST(AboutText, ProgramVersionThenLibraryVersionThenCameraInformation) {
    ASSERT_FALSE(LibraryVersion().empty());
    const std::wstring bare = CDialogAbout::Text(L"");
    EXPECT_EQ(bare.rfind(L"Версия 2.3.2", 0), 0u) << bare;
    const std::wstring library = L"OvLib3Version: " + LibraryVersion();
    ASSERT_GE(bare.size(), library.size());
    EXPECT_EQ(bare.substr(bare.size() - library.size()), library);  // nothing after it without a camera

    const std::wstring withCamera = CDialogAbout::Text(L"ZEL-1 №42");
    EXPECT_EQ(withCamera, bare + L"\nZEL-1 №42");
}

TEST(AboutDialog, ShowsTheTextInItsLabel) {
    DialogDriver driver;
    std::wstring caption, label;
    driver.Then([&](HWND dialog) {
        caption = DialogDriver::Text(dialog);
        label = DialogDriver::Text(GetDlgItem(dialog, IDC_ABOUT_TEXT));
        DialogDriver::Click(dialog, IDOK);
    });
    CDialogAbout dialog(L"сведения о камере");
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_EQ(caption, L"О программе");
    EXPECT_EQ(label, CDialogAbout::Text(L"сведения о камере"));
    EXPECT_NE(label.find(L"OvLib3Version: " + LibraryVersion()), std::wstring::npos);
}

TEST(AboutDialog, MainWindowCommandWithoutACameraShowsNoCameraText) {
    OvSimReset();
    AppGui::MainWindow window{std::wstring()};
    ASSERT_NE(window.CreateMain(), nullptr);
    DialogDriver driver;
    std::wstring label;
    HWND owner = nullptr;
    driver.Then([&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        label = DialogDriver::Text(GetDlgItem(dialog, IDC_ABOUT_TEXT));
        DialogDriver::Click(dialog, IDOK);
    });
    SendMessageW(window.Handle(), WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(owner, window.Handle());
    EXPECT_EQ(label, CDialogAbout::Text(L""));
    DestroyWindow(window.Handle());
    guitest::Pump();
}

}  // namespace
