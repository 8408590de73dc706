#pragma once
// What a window class looks like, and its registration on first use.
#include <windows.h>

namespace AppGui {

// The class background brush that paints in a system colour (COLOR_ value).
inline HBRUSH SystemColourBrush(int colour) { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colour + 1)); }

struct WindowClassInfo {
    const wchar_t* name = nullptr;
    UINT style = 0;
    HBRUSH background = SystemColourBrush(COLOR_WINDOW);
    HCURSOR cursor = nullptr;  // null: the arrow
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

// Registers the class in this module with the given window procedure unless a
// class of that name is registered already. Returns false when it is not there
// afterwards.
bool EnsureWindowClass(const WindowClassInfo& info, WNDPROC procedure);

// A system cursor by its IDC_ id (the ids are numbers, whatever their type).
inline HCURSOR StockCursor(const void* id) { return LoadCursorW(nullptr, static_cast<const wchar_t*>(id)); }

// The module of the program (or of the test) that holds our classes and resources.
HINSTANCE ModuleInstance();

}  // namespace AppGui
