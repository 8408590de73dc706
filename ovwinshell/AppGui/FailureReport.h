#pragma once
// Telling the user about work that did not happen: a frame file or a
// settings file that could not be written.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace AppGui {

// The system's text for an error code, without its line break; empty for 0
// or a code the system has no text for.
std::wstring SystemErrorText(DWORD code);

// `format` with each "%s" replaced by the next argument, in order.
std::wstring FillIn(std::wstring format, std::initializer_list<std::wstring> arguments);

// An "*** Error ***" entry in the event log (the output area opens for it).
void LogError(const std::wstring& text);

}  // namespace AppGui
