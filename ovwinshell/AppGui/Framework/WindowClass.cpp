#include "WindowClass.h"

namespace AppGui {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

bool EnsureWindowClass(const WindowClassInfo& info, WNDPROC procedure) {
    if (!info.name || !*info.name) return false;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(ModuleInstance(), info.name, &existing)) return true;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = info.style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ModuleInstance();
    wc.hIcon = info.icon;
    wc.hIconSm = info.smallIcon;
    wc.hCursor = info.cursor ? info.cursor : StockCursor(IDC_ARROW);
    wc.hbrBackground = info.background;
    wc.lpszClassName = info.name;
    if (RegisterClassExW(&wc)) return true;
    // Another window may have registered it in between (same thread only, but cheap to allow).
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace AppGui
