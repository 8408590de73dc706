#include "CommandLine.h"

#include <cwctype>

namespace AppGui {

std::wstring ProfilePathFromCommandLine(const std::wstring& commandLine) {
    std::wstring buffer = commandLine;
    for (wchar_t& c : buffer)
        if (c == L'"') c = L' ';
    for (;;) {
        const size_t dot = buffer.rfind(L'.');
        if (dot == std::wstring::npos) return {};
        std::wstring extension = buffer.substr(dot + 1, 3);
        for (wchar_t& c : extension) c = wchar_t(std::towupper(c));
        if (extension == L"OVP") return !buffer.empty() && buffer[0] == L' ' ? buffer.substr(1) : buffer;
        buffer.resize(dot);
    }
}

}  // namespace AppGui
