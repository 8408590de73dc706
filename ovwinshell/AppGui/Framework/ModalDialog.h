#pragma once
// A dialog run modally from a resource template. IDOK and IDCANCEL end it
// with their id unless a derived class handles them (override OnCommand and
// call ModalDialog::OnCommand for the rest).
//
//   class CDialogHello : public AppGui::ModalDialog {
//   public:
//       CDialogHello() : ModalDialog(IDD_HELLO) {}
//   protected:
//       bool OnInitDialog(HWND) override { SetItemText(IDC_TEXT, L"Привет"); return true; }
//   };
//   if (CDialogHello().DoModal(owner) == IDOK) ...
#include "Dialog.h"

namespace AppGui {

class ModalDialog : public DialogBase {
public:
    // The value given to End(), or -1 when the dialog could not be created.
    INT_PTR DoModal(HWND owner);
    bool End(INT_PTR result);

protected:
    explicit ModalDialog(UINT templateId) : DialogBase(templateId) {}
    void OnCommand(UINT id, UINT notifyCode, HWND control) override;
};

}  // namespace AppGui
