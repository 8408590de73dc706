#include "MessageBoxCatcher.h"

#include <windows.h>

namespace {
HHOOK g_hook = nullptr;
std::vector<CaughtBox> g_boxes;

std::wstring WindowText(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

// The static control that holds a message box's text has the id 0xFFFF.
std::wstring MessageText(HWND box) {
    HWND label = GetDlgItem(box, 0xFFFF);
    return label ? WindowText(label) : std::wstring();
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (std::wstring(className) == L"#32770") {
            g_boxes.push_back({WindowText(window), MessageText(window)});
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}
}  // namespace

MessageBoxCatcher::MessageBoxCatcher() { g_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId()); }

MessageBoxCatcher::~MessageBoxCatcher() {
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

std::vector<CaughtBox> MessageBoxCatcher::Boxes() { return g_boxes; }
void MessageBoxCatcher::Forget() { g_boxes.clear(); }
