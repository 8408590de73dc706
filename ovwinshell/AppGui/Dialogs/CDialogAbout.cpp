#include "CDialogAbout.h"

#include "AppGui/Dialogs/DialogText.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Resources/dialogs_resource.h"
#include "ovlib3.h"
#include "Common/AnsiText.h"

CDialogAbout::CDialogAbout(std::wstring systemInfo) : ModalDialog(IDD_ABOUT), systemInfo_(std::move(systemInfo)) {}

std::wstring CDialogAbout::Text(const std::wstring& systemInfo) {
    std::wstring text = AppGui::LoadText(IDS_ABOUT_PROGRAM);
    text += AppGui::LoadText(IDS_ABOUT_LIBRARY);
    text += AnsiToWide(OvLib3Version());
    if (!systemInfo.empty()) text += L"\n" + systemInfo;
    return text;
}

bool CDialogAbout::OnInitDialog(HWND) {
    SetItemText(IDC_ABOUT_TEXT, Text(systemInfo_));
    AppGui::Dialogs::CentreOn(Handle(), GetWindow(Handle(), GW_OWNER));
    return true;
}
