#include "AcceleratorFilter.h"

#include "WindowClass.h"

namespace Glob {

CIsTranslateAcceleratorFilter::CIsTranslateAcceleratorFilter(HWND window, HACCEL table)
    : window_(window), table_(table) {}

CIsTranslateAcceleratorFilter::CIsTranslateAcceleratorFilter(HWND window, UINT tableId)
    : window_(window), table_(LoadAcceleratorsW(AppGui::ModuleInstance(), MAKEINTRESOURCEW(tableId))) {}

bool CIsTranslateAcceleratorFilter::PreTranslateMessage(MSG* message) {
    if (!window_ || !table_ || !IsWindow(window_)) return false;
    return TranslateAcceleratorW(window_, table_, message) != 0;
}

}  // namespace Glob
