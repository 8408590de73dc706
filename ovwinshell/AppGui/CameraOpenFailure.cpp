#include "CameraOpenFailure.h"

#include "AppGui/Framework/ResourceText.h"
#include "Common/AnsiText.h"
#include "Lib3Wrapper/MessageSink.h"
#include "AppGui/Resources/resource.h"

namespace AppGui {

std::string LastCameraReport() { return DllModule::Lib3Wrapper::MessageSink::Instance().GetLastMessage(); }

void ShowCameraNotOpened(HWND owner, const std::wstring& caption, const std::string& reportBefore) {
    std::wstring text = LoadText(IDS_CAMERA_NOT_OPENED);
    const std::string report = LastCameraReport();
    if (!report.empty() && report != reportBefore) text += L"\n\n" + AnsiToWide(report.c_str());
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace AppGui
