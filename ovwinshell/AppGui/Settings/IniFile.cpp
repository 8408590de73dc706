#include "IniFile.h"

#include <vector>

namespace AppGui::Settings {

std::wstring IniFile::ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                                 size_t capacity) const {
    std::vector<wchar_t> buffer(capacity > 0 ? capacity : 1, L'\0');
    const DWORD length = GetPrivateProfileStringW(section, key, fallback ? fallback : L"", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path_.c_str());
    return std::wstring(buffer.data(), length);
}

int IniFile::ReadInt(const wchar_t* section, const wchar_t* key, int fallback) const {
    return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path_.c_str()));
}

bool IniFile::WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
    return WritePrivateProfileStringW(section, key, value.c_str(), path_.c_str()) != 0;
}

bool IniFile::WriteInt(const wchar_t* section, const wchar_t* key, int value) const {
    return WriteString(section, key, std::to_wstring(value));
}

}  // namespace AppGui::Settings
