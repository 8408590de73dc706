#pragma once
// The common part of our dialogs: a dialog resource template, one C++ object
// per dialog window, and the same kind of message map as Window has.
//
// ProcessMessage returns true when it handled a message; `result` is then
// what the message answers (the dialog procedure puts it where Windows
// expects it). The base handles WM_INITDIALOG by calling OnInitDialog and
// WM_COMMAND by calling OnCommand; derived classes chain to it for anything
// they do not handle themselves.
#include <windows.h>

#include <string>

namespace AppGui {

class DialogBase {
public:
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    HWND Handle() const { return hwnd_; }
    UINT TemplateId() const { return templateId_; }

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::wstring ItemText(int id) const;
    bool SetItemText(int id, const std::wstring& text) const;

    // The object behind one of our dialog windows, or null.
    static DialogBase* FromHandle(HWND window);

protected:
    // The dialog template is the resource `templateId` of the program's module.
    explicit DialogBase(UINT templateId) : templateId_(templateId) {}

    // True: Windows gives the focus to `defaultFocus`; false: the handler set it.
    virtual bool OnInitDialog(HWND defaultFocus) { return true; }
    virtual void OnCommand(UINT id, UINT notifyCode, HWND control) {}
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called after WM_NCDESTROY, when Handle() is null again.
    virtual void OnFinalMessage(HWND window) {}

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // For the dialog kinds of this framework: runs after WM_NCDESTROY, before OnFinalMessage.
    virtual void Detached() {}

    UINT templateId_;
    HWND hwnd_ = nullptr;
};

}  // namespace AppGui
