#include "Preferences.h"

#include <shlobj.h>

#include "Common/FileExtension.h"

namespace AppGui::Settings {

namespace {
constexpr wchar_t kCommonSection[] = L"COMMON_SETTINGS";
constexpr wchar_t kProfileDirKey[] = L"PROFILE_DIR";
constexpr wchar_t kPreferencesSection[] = L"PREFERENCES";
constexpr wchar_t kCaptureFolderKey[] = L"CAPTURE_FOLDER";
constexpr wchar_t kPanesSection[] = L"PANES";
constexpr wchar_t kShowStatisticKey[] = L"SHOW_STATISTIC";
constexpr wchar_t kMainWindowSection[] = L"MAIN_WINDOW";
constexpr wchar_t kDefaultProfileDir[] = L"d:\\Temp\\";
}  // namespace

std::wstring PreferencesPathFor(const std::wstring& modulePath) { return WithFileExtension(modulePath, L".ini"); }

const std::wstring& PreferencesPath() {
    static const std::wstring path = [] {
        wchar_t module[260] = {};
        GetModuleFileNameW(nullptr, module, 260);
        return PreferencesPathFor(module);
    }();
    return path;
}

std::wstring DocumentsFolder() {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list)) || !list) return {};
    wchar_t folder[MAX_PATH] = {};
    const bool found = SHGetPathFromIDListW(list, folder) != FALSE;
    CoTaskMemFree(list);
    if (!found) return {};
    std::wstring path = folder;
    while (!path.empty() && path.back() == L'\\') path.pop_back();  // a drive root comes with its own
    return path + L"\\";
}

Preferences::Preferences() : file_(PreferencesPath()) {}

std::wstring Preferences::ProfileDir() const {
    return file_.ReadString(kCommonSection, kProfileDirKey, kDefaultProfileDir, 260);
}

void Preferences::ReadCaptureFolder(std::wstring& folder) const {
    const std::wstring fallback = DocumentsFolder();
    folder = file_.ReadString(kPreferencesSection, kCaptureFolderKey, fallback.c_str(), 260);
}

std::wstring Preferences::CaptureFolderOrEmpty() const {
    return file_.ReadString(kPreferencesSection, kCaptureFolderKey, L"", 260);
}

bool Preferences::WriteCaptureFolder(const std::wstring& folder) const {
    return file_.WriteString(kPreferencesSection, kCaptureFolderKey, folder);
}

bool Preferences::ShowStatistic() const { return file_.ReadInt(kPanesSection, kShowStatisticKey, 0) != 0; }

bool Preferences::WriteShowStatistic(bool shown) const {
    return file_.WriteInt(kPanesSection, kShowStatisticKey, shown ? 1 : 0);
}

bool Preferences::WriteMainWindowRect(const RECT& rect) const {
    return file_.WriteInt(kMainWindowSection, L"X", rect.left) && file_.WriteInt(kMainWindowSection, L"Y", rect.top) &&
           file_.WriteInt(kMainWindowSection, L"R", rect.right) &&
           file_.WriteInt(kMainWindowSection, L"B", rect.bottom);
}

}  // namespace AppGui::Settings
