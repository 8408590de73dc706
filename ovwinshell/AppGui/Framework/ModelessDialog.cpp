#include "ModelessDialog.h"

#include "WindowClass.h"

namespace AppGui {

ModelessDialog::~ModelessDialog() { LeaveLoop(); }

HWND ModelessDialog::Create(HWND parent, Glob::MessageLoop* loop) {
    if (Handle()) return nullptr;
    HWND window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(TemplateId()), parent, &DialogBase::Procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (!window) return nullptr;
    if (loop) {
        filter_.SetWindow(window);
        loop_ = loop;
        loop_->AddMessageFilter(&filter_);
    }
    return window;
}

bool ModelessDialog::Destroy() { return Handle() && DestroyWindow(Handle()); }

void ModelessDialog::Detached() { LeaveLoop(); }

void ModelessDialog::LeaveLoop() {
    if (loop_) loop_->RemoveMessageFilter(&filter_);
    loop_ = nullptr;
    filter_.SetWindow(nullptr);
}

}  // namespace AppGui
