#pragma once
// The camera library speaks the ANSI code page (1251 for the Russian texts);
// the user interface speaks UTF-16. Conversions happen at that boundary.
#include <string>

std::wstring AnsiToWide(const char* text);
std::string WideToAnsi(const wchar_t* text);
