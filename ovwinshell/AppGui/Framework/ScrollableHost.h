#pragma once
// A host window that keeps one child window: it scrolls the child when the
// child is larger than its client area and centres it when it is smaller.
// The scroll ranges go from 0 to the child's size, the pages are the client
// size. This is the part of ScrollableWindow<Pane> that does not depend on
// the pane's type.
#include <windows.h>

#include "Window.h"

namespace AppGui {

constexpr UINT kScrolledChildId = 1;

class ScrollableHost : public Window {
public:
    // The child's scroll offset: 0 or negative on each axis (0 while centred).
    POINT ChildOffset() const { return offset_; }
    // Sets the scroll ranges for the child's current size and places it.
    void UpdateLayout();

protected:
    WindowClassInfo ClassInfo() const override;
    DWORD DefaultStyle() const override;
    DWORD DefaultExStyle() const override { return WS_EX_STATICEDGE; }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    virtual HWND ChildHandle() const = 0;
    // Creates the child window (called in WM_CREATE).
    virtual bool CreateChildWindow() = 0;
    static DWORD ChildStyle() { return WS_CHILD | WS_BORDER | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }

    SIZE ClientSize() const;
    SIZE ChildSize() const;

private:
    void Scroll(int bar, int code, int thumb);
    void PassFocus(HWND from);

    POINT offset_{0, 0};
    bool inLayout_ = false;
    bool layoutAgain_ = false;
    bool passingFocus_ = false;
};

}  // namespace AppGui
