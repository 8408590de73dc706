#pragma once
// Drives the modal dialogs a test opens on this thread: each new dialog
// window, once it is created, is handed to the next script in line (run from a
// thread timer inside the dialog's own message loop). Message boxes are
// recorded and closed with their default button instead.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace guitest {

class DialogDriver {
public:
    using Script = std::function<void(HWND dialog)>;

    DialogDriver() {
        instance_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &DialogDriver::CbtProc, nullptr, GetCurrentThreadId());
    }
    ~DialogDriver() {
        if (hook_) UnhookWindowsHookEx(hook_);
        instance_ = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The next dialog that opens runs `script`; a dialog without one is cancelled.
    void Then(Script script) { scripts_.push_back(std::move(script)); }

    struct Box {
        std::wstring caption;
        std::wstring text;
    };
    const std::vector<Box>& Boxes() const { return boxes_; }
    const std::vector<std::wstring>& DialogCaptions() const { return captions_; }

    static std::wstring Text(HWND window) {
        wchar_t text[4096] = {};
        GetWindowTextW(window, text, 4096);
        return text;
    }
    // A control's command as a click (posted: it runs after the script returns).
    static void Click(HWND dialog, int id) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // Same, but at once.
    static void ClickNow(HWND dialog, int id) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // Selects entry `index` of a drop-down list as the user would.
    static void Choose(HWND dialog, int id, int index) {
        HWND list = GetDlgItem(dialog, id);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }

private:
    static bool IsMessageBox(HWND window) { return GetDlgItem(window, 0xFFFF) != nullptr; }

    static bool IsDialogClass(HWND window) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        return std::wstring(className) == L"#32770";
    }

    // Every top-level dialog is taken up once its creation (and so its
    // WM_INITDIALOG) is over: from a thread timer, which whatever message
    // loop runs next dispatches.
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
        DialogDriver* self = instance_;
        HWND window = reinterpret_cast<HWND>(wParam);
        if (self && code == HCBT_CREATEWND) {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            if (!(create->lpcs->style & WS_CHILD) && IsDialogClass(window)) {
                self->pending_.push_back(window);
                SetTimer(nullptr, 0, 1, &DialogDriver::TimerProc);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        DialogDriver* self = instance_;
        if (!self || self->pending_.empty()) return;
        HWND dialog = self->pending_.front();
        self->pending_.pop_front();
        if (!IsWindow(dialog)) return;
        if (IsMessageBox(dialog)) {
            self->boxes_.push_back({Text(dialog), Text(GetDlgItem(dialog, 0xFFFF))});
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        self->captions_.push_back(Text(dialog));
        if (self->scripts_.empty()) {
            Click(dialog, IDCANCEL);
            return;
        }
        Script script = std::move(self->scripts_.front());
        self->scripts_.pop_front();
        script(dialog);
    }

    static inline DialogDriver* instance_ = nullptr;
    HHOOK hook_ = nullptr;
    std::deque<Script> scripts_;
    std::deque<HWND> pending_;
    std::vector<Box> boxes_;
    std::vector<std::wstring> captions_;
};

}  // namespace guitest
