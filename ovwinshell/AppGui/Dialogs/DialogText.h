#pragma once
// Placement shared by the dialogs.
#include <windows.h>

#include <string>

namespace AppGui::Dialogs {

// Centres `window` on `owner` (on the screen's work area when there is none).
void CentreOn(HWND window, HWND owner);

}  // namespace AppGui::Dialogs
