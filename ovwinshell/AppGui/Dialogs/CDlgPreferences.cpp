#include "CDlgPreferences.h"

#include <commdlg.h>

#include "AppGui/AppState.h"
#include "AppGui/FailureReport.h"
#include "AppGui/Dialogs/DialogText.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Framework/WindowClass.h"
#include "AppGui/Resources/dialogs_resource.h"
#include "AppGui/Resources/resource.h"

namespace {

constexpr DWORD kChooserBuffer = 260;

// The chooser's OK and Cancel end it here: the dialog's own OK would look for
// a file to open, and this chooser only picks folders.
UINT_PTR CALLBACK ChooserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            AppGui::Dialogs::CentreOn(dialog, GetWindow(dialog, GW_OWNER));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam) == IDOK ? TRUE : FALSE);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

CaptureFolderEntry PrepareCaptureFolder(std::wstring& folder) {
    if (folder.size() <= 1) return CaptureFolderEntry::TooShort;
    const bool needsSeparator = folder.back() != L'\\';
    if (folder.size() + (needsSeparator ? 1 : 0) > kCaptureFolderMaxLength) return CaptureFolderEntry::TooLong;
    if (needsSeparator) folder.push_back(L'\\');
    return CaptureFolderEntry::Store;
}

bool ChooseCaptureFolder(HWND owner, const std::wstring& initialFolder, std::wstring& chosen) {
    wchar_t file[kChooserBuffer] = {};
    wchar_t title[kChooserBuffer] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = AppGui::ModuleInstance();
    dialog.lpstrFilter = L"*.*\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = kChooserBuffer;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = kChooserBuffer;
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    // Given as the title too: without one the dialog may put its own over the template's.
    const std::wstring caption = AppGui::LoadText(IDS_FOLDER_CHOOSER_TITLE);
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    dialog.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    dialog.lpfnHook = &ChooserHook;
    dialog.lpTemplateName = MAKEINTRESOURCEW(IDD_FOLDER_CHOOSER);
    if (!GetOpenFileNameW(&dialog)) return false;
    // The chooser makes each folder it shows the current one.
    wchar_t current[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    if (length == 0 || length >= MAX_PATH) return false;
    chosen.assign(current, length);
    return true;
}

CDlgPreferences::CDlgPreferences() : ModalDialog(IDD_PREFERENCES) {}

CDlgPreferences::CDlgPreferences(AppGui::Settings::Preferences preferences)
    : ModalDialog(IDD_PREFERENCES), preferences_(std::move(preferences)) {}

bool CDlgPreferences::OnInitDialog(HWND) {
    std::wstring folder;
    preferences_.ReadCaptureFolder(folder);
    SetItemText(IDC_CAPTURE_FOLDER, folder);
    AppGui::Dialogs::CentreOn(Handle(), GetWindow(Handle(), GW_OWNER));
    return true;
}

void CDlgPreferences::OnCommand(UINT id, UINT notifyCode, HWND control) {
    switch (id) {
        case IDC_BROWSE_FOLDER:
            if (notifyCode == BN_CLICKED) Browse();
            break;
        case IDOK:
            Accept();
            break;
        default:
            ModalDialog::OnCommand(id, notifyCode, control);
            break;
    }
}

void CDlgPreferences::Browse() {
    std::wstring chosen;
    if (ChooseCaptureFolder(Handle(), ItemText(IDC_CAPTURE_FOLDER), chosen)) SetItemText(IDC_CAPTURE_FOLDER, chosen);
}

void CDlgPreferences::Accept() {
    std::wstring folder = ItemText(IDC_CAPTURE_FOLDER);
    switch (PrepareCaptureFolder(folder)) {
        case CaptureFolderEntry::Store:
            // The folder is used from now on even when the file cannot keep it; the user is told.
            AppState::Get().captureFolder = folder;
            if (!preferences_.WriteCaptureFolder(folder))
                MessageBoxW(Handle(),
                            AppGui::FillIn(AppGui::LoadText(IDS_SETTINGS_NOT_SAVED), {preferences_.Path()}).c_str(),
                            AppGui::LoadText(IDS_PREFERENCES_TITLE).c_str(), MB_OK | MB_ICONERROR);
            break;
        case CaptureFolderEntry::TooShort:
            break;
        case CaptureFolderEntry::TooLong:
            // Cutting a character off to make room would store another folder:
            // the entry stays as typed for the user to shorten.
            MessageBoxW(Handle(), AppGui::FillIn(AppGui::LoadText(IDS_FOLDER_TOO_LONG), {folder}).c_str(),
                        AppGui::LoadText(IDS_PREFERENCES_TITLE).c_str(), MB_OK | MB_ICONERROR);
            SetFocus(Item(IDC_CAPTURE_FOLDER));
            return;
    }
    End(IDOK);
}
