#pragma once
// The base of our windows: one C++ object per window handle, a window class
// registered on first use and a message map in the form of one virtual
// function.
//
// A window class overrides ClassInfo() (its class name must be unique to the
// kind of window) and ProcessMessage(). ProcessMessage returns true when it
// handled the message and has put the answer into `result`; a message it does
// not handle is passed to the base class's ProcessMessage (chaining) and,
// when nobody handles it, to DefWindowProc.
//
//   class HelloPane : public AppGui::Window {
//   protected:
//       AppGui::WindowClassInfo ClassInfo() const override { return {L"HelloPane"}; }
//       bool ProcessMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
//           if (msg == WM_LBUTTONDOWN) { MessageBeep(0); result = 0; return true; }
//           return Window::ProcessMessage(msg, wp, lp, result);
//       }
//   };
//
// The object must outlive its window. Destroy the window (Destroy() or
// DestroyWindow) before the object goes; a destructor that still finds a
// window detaches it first and destroys it without calling any handler.
#include <windows.h>

#include "WindowClass.h"

namespace AppGui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window. `menuOrId` is the menu of a top-level window or the
    // control id of a child. Returns null on failure (including a WM_CREATE
    // handler that answered -1).
    HWND Create(HWND parent, const RECT& rect, const wchar_t* title, DWORD style, DWORD exStyle = 0,
                HMENU menuOrId = nullptr);
    // Creates the window as a child with its DefaultStyle()/DefaultExStyle().
    HWND CreateChild(HWND parent, UINT id = 0, const RECT* rect = nullptr);
    bool Destroy();

    HWND Handle() const { return hwnd_; }
    bool IsCreated() const { return hwnd_ != nullptr; }

    // The object behind one of our window handles, or null.
    static Window* FromHandle(HWND window);

protected:
    virtual WindowClassInfo ClassInfo() const = 0;
    virtual DWORD DefaultStyle() const { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
    virtual DWORD DefaultExStyle() const { return 0; }

    // The message map. The base handles nothing.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called after WM_NCDESTROY, when Handle() is null again.
    virtual void OnFinalMessage(HWND window) {}

    LRESULT DefaultProcedure(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace AppGui
