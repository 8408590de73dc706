#pragma once
// One INI file, read and written only through the private-profile functions:
// sections and keys are case-insensitive and every value is text.
#include <windows.h>

#include <string>

namespace AppGui::Settings {

class IniFile {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const { return path_; }

    // `capacity` is the read buffer in characters, the terminator included.
    std::wstring ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                            size_t capacity = 260) const;
    // A missing or empty key gives the fallback; a text that is no number gives 0.
    int ReadInt(const wchar_t* section, const wchar_t* key, int fallback) const;
    // Write results say whether the file took the value; callers are free to ignore them.
    bool WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) const;
    bool WriteInt(const wchar_t* section, const wchar_t* key, int value) const;  // "%d"

private:
    std::wstring path_;
};

}  // namespace AppGui::Settings
