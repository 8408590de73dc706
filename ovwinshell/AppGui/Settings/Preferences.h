#pragma once
// The program's own preferences: an INI file next to the program, named like
// it with ".ini" for its extension. It is created by its first write.
//
//   [COMMON_SETTINGS] PROFILE_DIR     initial folder of the profile dialogs (read only)
//   [PREFERENCES]     CAPTURE_FOLDER  where captured frames go
//   [PANES]           SHOW_STATISTIC  statistics tab shown (0/1)
//   [MAIN_WINDOW]     X, Y, R, B      the main window's screen rectangle (written only)
#include <windows.h>

#include <string>

#include "IniFile.h"

namespace AppGui::Settings {

// The module path cut at its last "." (if any), followed by ".ini".
std::wstring PreferencesPathFor(const std::wstring& modulePath);
// The program's preferences file, computed once.
const std::wstring& PreferencesPath();
// The user's documents folder followed by "\" (empty when it cannot be found).
std::wstring DocumentsFolder();

class Preferences {
public:
    Preferences();  // the program's file
    explicit Preferences(std::wstring path) : file_(std::move(path)) {}

    const std::wstring& Path() const { return file_.Path(); }

    std::wstring ProfileDir() const;  // default "d:\Temp\"

    // Replaces `folder` with the preference; without one, the documents folder.
    void ReadCaptureFolder(std::wstring& folder) const;
    // The preference, or empty when there is none (the film export's browse).
    std::wstring CaptureFolderOrEmpty() const;
    // The writers say whether the file took the values.
    bool WriteCaptureFolder(const std::wstring& folder) const;

    bool ShowStatistic() const;  // default off
    bool WriteShowStatistic(bool shown) const;

    bool WriteMainWindowRect(const RECT& rect) const;

private:
    IniFile file_;
};

}  // namespace AppGui::Settings
