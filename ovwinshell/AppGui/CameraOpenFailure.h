#pragma once
// Telling the user why a camera did not open. The camera layer reports every
// failure to its logger, but the log pane exists only once a camera is open,
// so without a box nobody would see why opening failed.
#include <windows.h>

#include <string>

namespace AppGui {

// The camera layer's last report; taken before an attempt to tell a new
// report from an old one.
std::string LastCameraReport();

// "Не удалось открыть камеру." and, when the attempt added one, the camera
// layer's report, in an error box.
void ShowCameraNotOpened(HWND owner, const std::wstring& caption, const std::string& reportBefore);

}  // namespace AppGui
