#pragma once
// A window split in two panes by a bar the user can drag:
//
//   SplittedWindow<LeftPane, RightPane, Splitter<1>>   vertical bar
//   SplittedWindow<TopPane, BottomPane, Splitter<0>>   horizontal bar
//
// The panes are members, created as children (with their DefaultStyle) when
// the split window is created and destroyed with it. Position the bar with
// SetPosition() and call UpdateLayout(); a drag ends by doing the same.
// Focus given to the split window goes on to the pane that was active last
// (the one last clicked, or the one set with SetActivePane; the first at
// the start).
#include <windows.h>

#include "Splitter.h"
#include "Window.h"

namespace AppGui {

constexpr UINT kFirstPaneId = 1;
constexpr UINT kSecondPaneId = 2;

template <class First, class Second, class SplitterType>
class SplittedWindow : public Window, public SplitterType {
public:
    First& FirstPane() { return first_; }
    Second& SecondPane() { return second_; }

    int ActivePane() const { return activePane_; }
    void SetActivePane(int pane) { activePane_ = pane == 1 ? 1 : 0; }

    // Re-lays out both panes around the bar for the current client size.
    void UpdateLayout() {
        if (!Handle()) return;
        RECT client{};
        GetClientRect(Handle(), &client);
        const SplitLayout layout = this->Layout(SIZE{client.right, client.bottom});
        Place(first_.Handle(), layout.first);
        Place(second_.Handle(), layout.second);
        InvalidateRect(Handle(), &layout.bar, TRUE);
    }

protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"OvSplittedWindow";
        info.background = SystemColourBrush(COLOR_3DFACE);
        return info;
    }

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case WM_CREATE:
                result =
                    first_.CreateChild(Handle(), kFirstPaneId) && second_.CreateChild(Handle(), kSecondPaneId) ? 0 : -1;
                return true;
            case WM_SIZE:
                if (wParam != SIZE_MINIMIZED) UpdateLayout();
                result = 0;
                return true;
            case WM_LBUTTONDOWN:
                if (OnBar(PointOf(lParam))) this->BeginDrag(Handle(), PointOf(lParam));
                result = 0;
                return true;
            case WM_MOUSEMOVE:
                if ((wParam & MK_LBUTTON) && this->IsDragging()) this->DragTo(Handle(), PointOf(lParam));
                result = 0;
                return true;
            case WM_LBUTTONUP:
                FinishDrag();
                if (GetCapture() == Handle()) ReleaseCapture();
                result = 0;
                return true;
            case WM_CAPTURECHANGED:
                FinishDrag();
                result = 0;
                return true;
            case WM_SETCURSOR:
                if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT) {
                    SetCursor(StockCursor(this->IsVertical() ? IDC_SIZEWE : IDC_SIZENS));
                    result = TRUE;
                    return true;
                }
                return false;
            case WM_MOUSEACTIVATE:
                result = DefaultProcedure(message, wParam, lParam);
                NoteClickedPane();
                return true;
            case WM_SETFOCUS: {
                HWND pane = activePane_ == 1 ? second_.Handle() : first_.Handle();
                if (pane) SetFocus(pane);
                result = 0;
                return true;
            }
            default:
                return Window::ProcessMessage(message, wParam, lParam, result);
        }
    }

private:
    static POINT PointOf(LPARAM lParam) {
        return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    }

    static void Place(HWND pane, const RECT& rect) {
        if (pane)
            SetWindowPos(pane, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }

    bool OnBar(POINT point) const {
        RECT client{};
        GetClientRect(Handle(), &client);
        const RECT bar = this->BarRect(SIZE{client.right, client.bottom});
        return PtInRect(&bar, point) != 0;
    }

    void FinishDrag() {
        if (this->EndDrag(Handle())) UpdateLayout();
    }

    void NoteClickedPane() {
        POINT cursor{};
        GetCursorPos(&cursor);
        for (int pane = 0; pane < 2; ++pane) {
            HWND window = pane == 0 ? first_.Handle() : second_.Handle();
            RECT rect{};
            if (window && GetWindowRect(window, &rect) && PtInRect(&rect, cursor)) activePane_ = pane;
        }
    }

    First first_;
    Second second_;
    int activePane_ = 0;
};

}  // namespace AppGui
