#include "Dialog.h"

#include <vector>

namespace AppGui {

namespace {
// Messages whose answer is the dialog procedure's return value itself rather
// than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return true;
        default:
            return false;
    }
}
}  // namespace

DialogBase::~DialogBase() {
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND window = hwnd_;
        SetWindowLongPtrW(window, DWLP_USER, 0);
        hwnd_ = nullptr;
        DestroyWindow(window);
    }
}

std::wstring DialogBase::ItemText(int id) const {
    HWND item = Item(id);
    if (!item) return {};
    std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    const int copied = GetWindowTextW(item, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

bool DialogBase::SetItemText(int id, const std::wstring& text) const {
    return SetDlgItemTextW(hwnd_, id, text.c_str()) != 0;
}

DialogBase* DialogBase::FromHandle(HWND window) {
    if (!window || !IsWindow(window)) return nullptr;
    if (reinterpret_cast<DLGPROC>(GetWindowLongPtrW(window, DWLP_DLGPROC)) != &DialogBase::Procedure) return nullptr;
    return reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
}

bool DialogBase::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            result = OnInitDialog(reinterpret_cast<HWND>(wParam)) ? TRUE : FALSE;
            return true;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            result = 0;
            return true;
        default:
            return false;
    }
}

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        if (self) self->hwnd_ = window;
    } else {
        self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT) and after the object let go

    LRESULT result = 0;
    const bool handled = self->ProcessMessage(message, wParam, lParam, result);

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->Detached();
        self->OnFinalMessage(window);
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace AppGui
