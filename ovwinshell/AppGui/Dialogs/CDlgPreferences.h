#pragma once
// The preferences dialog ("Настройки"): the folder where captured frames are
// saved, typed in or picked with the folder chooser behind "...". OK stores
// it in the preferences file and in AppState.
#include <string>

#include "AppGui/Framework/ModalDialog.h"
#include "AppGui/Settings/Preferences.h"

// What OK does with the folder the user entered.
enum class CaptureFolderEntry {
    Store,     // stored, with a trailing "\"
    TooShort,  // empty or one character: left as it was
    TooLong,   // no room for the trailing "\": refused, the user is told
};

// Adds the trailing "\" to `folder` when it is to be stored.
CaptureFolderEntry PrepareCaptureFolder(std::wstring& folder);

// The longest folder text that is stored (the settings buffers hold 260
// characters with the terminating null).
constexpr size_t kCaptureFolderMaxLength = 259;

class CDlgPreferences : public AppGui::ModalDialog {
public:
    CDlgPreferences();  // the program's preferences file
    explicit CDlgPreferences(AppGui::Settings::Preferences preferences);

protected:
    bool OnInitDialog(HWND defaultFocus) override;
    void OnCommand(UINT id, UINT notifyCode, HWND control) override;

private:
    void Browse();
    void Accept();

    AppGui::Settings::Preferences preferences_;
};

// The old-style folder chooser (template 1536) over `owner`, starting in
// `initialFolder`. True and `chosen` := the folder navigated to, on OK.
bool ChooseCaptureFolder(HWND owner, const std::wstring& initialFolder, std::wstring& chosen);
