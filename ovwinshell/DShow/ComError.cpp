#include "DShow/ComError.h"

#include <cstdio>

#include "Common/AnsiText.h"

CComError::CComError(HRESULT result, const char* sourceUnit, int line) : result_(result) {
    char description[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(result),
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), description, sizeof(description), nullptr);
    const std::string format = WideToAnsi(L"Ошибка COM. Код ошибки:%x\nФайл:%s\nСтрока:%d\nОписание:%s");
    char text[260];
    std::snprintf(text, sizeof(text), format.c_str(), static_cast<unsigned>(result), sourceUnit, line, description);
    text_ = AnsiToWide(text);
}

void CComError::Show() const { MessageBoxW(nullptr, text_.c_str(), L"", MB_OK | MB_ICONERROR); }
