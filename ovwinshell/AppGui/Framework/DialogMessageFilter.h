#pragma once
// A message filter that gives one dialog-like window (a dialog, or a pane
// that hosts dialog controls) its keyboard navigation: Tab, arrows, Enter,
// Escape and mnemonics.
#include <windows.h>

#include "MessageFilter.h"

namespace Glob {

class CIsDialogMessageFilter : public IMessageFilter {
public:
    explicit CIsDialogMessageFilter(HWND window = nullptr) : window_(window) {}

    void SetWindow(HWND window) { window_ = window; }
    HWND Window() const { return window_; }

    // Only messages for the window itself or one of its descendants.
    bool PreTranslateMessage(MSG* message) override;

private:
    HWND window_;
};

}  // namespace Glob
