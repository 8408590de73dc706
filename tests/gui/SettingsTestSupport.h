#pragma once
// Reading INI files behind the settings code's back: the literal section and
// key names, and the file's raw text.
#include <windows.h>

#include <string>

#include "GuiTestSupport.h"

namespace guitest {

inline std::wstring IniText(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                            const wchar_t* missing = L"<missing>") {
    wchar_t buffer[1024] = {};
    GetPrivateProfileStringW(section, key, missing, buffer, 1024, path.c_str());
    return buffer;
}

inline int IniInt(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, -12345, path.c_str()));
}

inline void IniWrite(const std::wstring& path, const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(section, key, value, path.c_str());
}

// The whole file as UTF-16, whichever way the system wrote it.
inline std::wstring FileText(const std::wstring& path) {
    const std::string bytes = ReadBytes(path);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    const UINT codePage = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? CP_UTF8 : CP_ACP;
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

// Writes a file of ANSI text as it stands (for hand-made files).
inline void WriteAnsiFile(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace guitest
