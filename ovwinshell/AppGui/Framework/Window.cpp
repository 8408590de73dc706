#include "Window.h"

namespace AppGui {

Window::~Window() {
    if (hwnd_ && IsWindow(hwnd_)) {
        // Our override of every handler is gone by now: let Windows finish alone.
        HWND window = hwnd_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(window);
    }
}

HWND Window::Create(HWND parent, const RECT& rect, const wchar_t* title, DWORD style, DWORD exStyle, HMENU menuOrId) {
    if (hwnd_) return nullptr;
    const WindowClassInfo info = ClassInfo();
    if (!EnsureWindowClass(info, &Window::Procedure)) return nullptr;
    HWND window = CreateWindowExW(exStyle, info.name, title, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, menuOrId, ModuleInstance(), this);
    // A failed WM_CREATE has been followed by WM_NCDESTROY, which cleared hwnd_.
    return window ? hwnd_ : nullptr;
}

HWND Window::CreateChild(HWND parent, UINT id, const RECT* rect) {
    const RECT empty{0, 0, 0, 0};
    return Create(parent, rect ? *rect : empty, nullptr, DefaultStyle(), DefaultExStyle(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool Window::Destroy() { return hwnd_ && DestroyWindow(hwnd_); }

Window* Window::FromHandle(HWND window) {
    if (!window || !IsWindow(window)) return nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != &Window::Procedure) return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool Window::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Window::DefaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self) self->hwnd_ = window;
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);

    LRESULT result = 0;
    if (!self->ProcessMessage(message, wParam, lParam, result))
        result = DefWindowProcW(window, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage(window);
    }
    return result;
}

}  // namespace AppGui
