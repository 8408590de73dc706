#pragma once
// Text helpers shared by the dialogs.
#include <windows.h>

#include <string>

namespace AppGui::Dialogs {

// A camera library text (ANSI code page) as a wide string; empty for null.
std::wstring FromLibraryText(const char* text);

// Centres `window` on `owner` (on the screen's work area when there is none).
void CentreOn(HWND window, HWND owner);

}  // namespace AppGui::Dialogs
