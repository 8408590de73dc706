// The preferences dialog driven as a user would: the capture folder typed in,
// too short, too long, and picked with the folder chooser.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "AppGui/AppState.h"
#include "AppGui/Dialogs/CDlgPreferences.h"
#include "AppGui/Resources/dialogs_resource.h"
#include "DialogDriver.h"
#include "SettingsTestSupport.h"

namespace {

using guitest::DialogDriver;

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

constexpr wchar_t kSection[] = L"PREFERENCES";
constexpr wchar_t kKey[] = L"CAPTURE_FOLDER";

TEST(CaptureFolderEntry, SeparatorIsAddedOnceAndShortEntriesAreLeft) {
    std::wstring folder = L"C:\\frames";
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::Store);
    EXPECT_EQ(folder, L"C:\\frames\\");
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::Store);
    EXPECT_EQ(folder, L"C:\\frames\\");
    folder = L"";
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::TooShort);
    folder = L"C";
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::TooShort);
    EXPECT_EQ(folder, L"C");
    folder = L"C:";
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::Store);
    EXPECT_EQ(folder, L"C:\\");
}

TEST(CaptureFolderEntry, NoRoomForTheSeparatorKeepsThePathIntact) {
    const std::wstring full = L"C:\\" + std::wstring(kCaptureFolderMaxLength - 3, L'a');
    ASSERT_EQ(full.size(), kCaptureFolderMaxLength);
    std::wstring folder = full;
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::TooLong);
    EXPECT_EQ(folder, full);
    // The same length ending in "\" needs no room.
    folder = full;
    folder.back() = L'\\';
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::Store);
    EXPECT_EQ(folder.size(), kCaptureFolderMaxLength);
    // One shorter has just the room.
    folder = full.substr(0, kCaptureFolderMaxLength - 1);
    EXPECT_EQ(PrepareCaptureFolder(folder), CaptureFolderEntry::Store);
    EXPECT_EQ(folder, full.substr(0, kCaptureFolderMaxLength - 1) + L"\\");
}

class PreferencesDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = TempFolder() + L"ov-preferences-dialog.ini";
        DeleteFileW(path_.c_str());
        savedFolder_ = AppState::Get().captureFolder;
        AppState::Get().captureFolder = L"unchanged";
    }
    void TearDown() override {
        DeleteFileW(path_.c_str());
        AppState::Get().captureFolder = savedFolder_;
    }
    std::wstring path_, savedFolder_;
    DialogDriver driver_;
    CDlgPreferences dialog_{AppGui::Settings::Preferences(TempFolder() + L"ov-preferences-dialog.ini")};
};

TEST_F(PreferencesDialogTest, ShowsTheStoredFolder) {
    guitest::IniWrite(path_, kSection, kKey, L"D:\\captures\\");
    std::wstring shown, caption;
    driver_.Then([&](HWND dialog) {
        caption = DialogDriver::Text(dialog);
        shown = DialogDriver::Text(GetDlgItem(dialog, IDC_CAPTURE_FOLDER));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialog_.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(caption, L"Настройки");
    EXPECT_EQ(shown, L"D:\\captures\\");
}

TEST_F(PreferencesDialogTest, FolderWithoutSeparatorIsStoredWithOne) {
    driver_.Then([&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_CAPTURE_FOLDER, L"D:\\кадры");
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(dialog_.DoModal(nullptr), IDOK);
    EXPECT_EQ(guitest::IniText(path_, kSection, kKey), L"D:\\кадры\\");
    EXPECT_EQ(AppState::Get().captureFolder, L"D:\\кадры\\");
    EXPECT_TRUE(driver_.Boxes().empty());
}

TEST_F(PreferencesDialogTest, EmptyOrOneCharacterEntryIsNotStored) {
    guitest::IniWrite(path_, kSection, kKey, L"D:\\old\\");
    for (const wchar_t* entry : {L"", L"E"}) {
        CDlgPreferences dialog{AppGui::Settings::Preferences(path_)};
        driver_.Then([&](HWND window) {
            SetDlgItemTextW(window, IDC_CAPTURE_FOLDER, entry);
            DialogDriver::Click(window, IDOK);
        });
        EXPECT_EQ(dialog.DoModal(nullptr), IDOK) << "entry \"" << entry << "\"";
        EXPECT_EQ(guitest::IniText(path_, kSection, kKey), L"D:\\old\\");
        EXPECT_EQ(AppState::Get().captureFolder, L"unchanged");
    }
    EXPECT_TRUE(driver_.Boxes().empty());
}

TEST_F(PreferencesDialogTest, TooLongPathIsRefusedIntactAndTheUserIsTold) {
    guitest::IniWrite(path_, kSection, kKey, L"D:\\old\\");
    const std::wstring longPath = L"C:\\" + std::wstring(kCaptureFolderMaxLength - 3, L'z');
    bool openAfterOk = false;
    std::wstring textAfterOk;
    driver_.Then([&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_CAPTURE_FOLDER, longPath.c_str());
        DialogDriver::ClickNow(dialog, IDOK);  // the message box opens and is closed inside
        openAfterOk = IsWindowVisible(dialog) != FALSE;
        textAfterOk = DialogDriver::Text(GetDlgItem(dialog, IDC_CAPTURE_FOLDER));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialog_.DoModal(nullptr), IDCANCEL);  // OK did not end it
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(textAfterOk, longPath);
    EXPECT_EQ(guitest::IniText(path_, kSection, kKey), L"D:\\old\\");
    EXPECT_EQ(AppState::Get().captureFolder, L"unchanged");
    ASSERT_EQ(driver_.Boxes().size(), 1u);
    EXPECT_EQ(driver_.Boxes()[0].caption, L"Настройки");
    EXPECT_NE(driver_.Boxes()[0].text.find(longPath), std::wstring::npos);
}

TEST_F(PreferencesDialogTest, CancelStoresNothing) {
    driver_.Then([&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_CAPTURE_FOLDER, L"D:\\new");
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialog_.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(guitest::IniText(path_, kSection, kKey), L"<missing>");
    EXPECT_EQ(AppState::Get().captureFolder, L"unchanged");
}

TEST_F(PreferencesDialogTest, ChooserStartsInTheEnteredFolderAndItsOkEntersTheFolder) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring folder = TempFolder() + L"ov-chooser-start";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring chooserCaption;
    bool fileNameHidden = false, foldersShown = false;
    driver_.Then([&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_CAPTURE_FOLDER, folder.c_str());
        DialogDriver::Click(dialog, IDC_BROWSE_FOLDER);
    });
    driver_.Then([&](HWND chooser) {
        chooserCaption = DialogDriver::Text(chooser);
        // Own visibility: the chooser itself is shown only once its loop is idle.
        auto shown = [&](int id) { return (GetWindowLongW(GetDlgItem(chooser, id), GWL_STYLE) & WS_VISIBLE) != 0; };
        fileNameHidden = GetDlgItem(chooser, 0x480) && !shown(0x480) && !shown(0x460) && !shown(0x470);
        foldersShown = shown(0x461) && shown(0x471) && shown(IDOK) && shown(IDCANCEL);
        DialogDriver::ClickNow(chooser, IDOK);
        DialogDriver::Click(GetWindow(chooser, GW_OWNER), IDOK);  // then OK in the preferences
    });
    EXPECT_EQ(dialog_.DoModal(nullptr), IDOK);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(chooserCaption, L"Выбор папки для сохранения изображений");
    EXPECT_TRUE(fileNameHidden);
    EXPECT_TRUE(foldersShown);
    const std::wstring stored = guitest::IniText(path_, kSection, kKey);
    EXPECT_EQ(CompareStringOrdinal(stored.c_str(), -1, (folder + L"\\").c_str(), -1, TRUE), CSTR_EQUAL) << stored;
    RemoveDirectoryW(folder.c_str());
}

TEST_F(PreferencesDialogTest, ChooserCancelKeepsTheEntry) {
    std::wstring after;
    driver_.Then([&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_CAPTURE_FOLDER, L"D:\\typed");
        DialogDriver::Click(dialog, IDC_BROWSE_FOLDER);
    });
    driver_.Then([&](HWND chooser) {
        HWND owner = GetWindow(chooser, GW_OWNER);
        DialogDriver::ClickNow(chooser, IDCANCEL);
        DialogDriver::Click(owner, IDOK);
    });
    EXPECT_EQ(dialog_.DoModal(nullptr), IDOK);
    EXPECT_EQ(guitest::IniText(path_, kSection, kKey), L"D:\\typed\\");
}

}  // namespace
