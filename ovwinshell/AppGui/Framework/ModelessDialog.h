#pragma once
// A dialog created modeless from a resource template: a tool window or,
// with a WS_CHILD template, a pane full of dialog controls. Given a message
// loop, it puts a CIsDialogMessageFilter for itself into the loop while its
// window exists, so Tab and the other dialog keys work.
//
// IDOK and IDCANCEL do nothing by default: a pane must not vanish on Enter or
// Escape; a tool window that should close overrides OnCommand and calls Destroy().
#include "Dialog.h"
#include "DialogMessageFilter.h"
#include "MessageLoop.h"

namespace AppGui {

class ModelessDialog : public DialogBase {
public:
    ~ModelessDialog() override;

    HWND Create(HWND parent, Glob::MessageLoop* loop = nullptr);
    bool Destroy();

protected:
    explicit ModelessDialog(UINT templateId) : DialogBase(templateId) {}

private:
    void Detached() override;
    void LeaveLoop();

    Glob::CIsDialogMessageFilter filter_;
    Glob::MessageLoop* loop_ = nullptr;
};

}  // namespace AppGui
