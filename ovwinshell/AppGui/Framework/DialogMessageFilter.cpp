#include "DialogMessageFilter.h"

namespace Glob {

bool CIsDialogMessageFilter::PreTranslateMessage(MSG* message) {
    if (!window_ || !message || !IsWindow(window_)) return false;
    if (message->hwnd != window_ && !IsChild(window_, message->hwnd)) return false;
    return IsDialogMessageW(window_, message) != 0;
}

}  // namespace Glob
