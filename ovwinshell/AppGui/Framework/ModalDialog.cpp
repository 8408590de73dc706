#include "ModalDialog.h"

#include "WindowClass.h"

namespace AppGui {

INT_PTR ModalDialog::DoModal(HWND owner) {
    if (Handle()) return -1;
    return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(TemplateId()), owner, &DialogBase::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool ModalDialog::End(INT_PTR result) { return Handle() && EndDialog(Handle(), result); }

void ModalDialog::OnCommand(UINT id, UINT, HWND) {
    if (id == IDOK || id == IDCANCEL) End(id);
}

}  // namespace AppGui
