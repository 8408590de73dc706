#pragma once
// File names with a given extension, for frame files, profiles and the
// preferences file alike.
#include <string>

// path with the extension of its last component (from its last dot on)
// replaced by extension (".tif", ".ovp"); a name without one gets it
// appended. '\\' and '/' separate components, so a dot in a folder name is
// never taken for the extension.
inline std::wstring WithFileExtension(const std::wstring& path, const std::wstring& extension) {
    const size_t separator = path.find_last_of(L"\\/");
    const size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    const size_t dot = path.find_last_of(L'.');
    std::wstring result = path;
    if (dot != std::wstring::npos && dot >= nameStart) result.erase(dot);
    result += extension;
    return result;
}
