#include "FailureReport.h"

#include "AppGui/AppState.h"
#include "AppGui/Panes/OutputPaneLogic.h"
#include "Common/AnsiText.h"

namespace AppGui {

std::wstring SystemErrorText(DWORD code) {
    if (code == 0) return {};
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = text ? text : L"";
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
        result.pop_back();
    return result;
}

std::wstring FillIn(std::wstring format, std::initializer_list<std::wstring> arguments) {
    size_t from = 0;
    for (const std::wstring& argument : arguments) {
        const size_t at = format.find(L"%s", from);
        if (at == std::wstring::npos) break;
        format.replace(at, 2, argument);
        from = at + argument.size();
    }
    return format;
}

void LogError(const std::wstring& text) {
    const std::string line = std::string(kErrorLine) + "\n" + WideToAnsi(text.c_str()) + "\n";
    DllModule::Lib3Wrapper::OvTypeLib::LogCopy(AppState::Get().logger, line, true);
}

}  // namespace AppGui
