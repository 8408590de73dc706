#pragma once
// ZoomWindow<Pane>: a ScrollableWindow that sizes its pane to a zoom level
// (Zoom.h) and answers the zoom messages of the frame view:
// UWM_GET_ZOOM returns the zoom, UWM_SET_ZOOM (wParam = zoom) sets it.
#include "AppGui/AppMessages.h"
#include "ScrollableWindow.h"
#include "Zoom.h"

namespace AppGui {

template <class Pane>
class ZoomWindow : public ScrollableWindow<Pane> {
public:
    int Zoom() const { return state_.Zoom(); }
    SIZE NaturalSize() const { return state_.Natural(); }
    const wchar_t* Caption() const { return ZoomCaption(state_.Zoom()); }

    // Resizes the pane for the zoom (clamped to -75..800), re-lays out the
    // scroll bars and repaints host and pane.
    void SetZoom(int zoom) {
        HWND host = this->Handle();
        HWND child = this->ChildHandle();
        if (!host || !child) return;
        const SIZE size = state_.Apply(zoom, this->ChildSize(), this->ClientSize());
        SetWindowPos(child, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
        this->UpdateLayout();
        InvalidateRect(host, nullptr, TRUE);
        InvalidateRect(child, nullptr, TRUE);
    }

protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"OvZoomWindow";
        info.background = SystemColourBrush(COLOR_APPWORKSPACE);
        return info;
    }

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case UWM_GET_ZOOM:
                result = state_.Zoom();
                return true;
            case UWM_SET_ZOOM:
                SetZoom(static_cast<int>(wParam));
                result = 0;
                return true;
            default:
                return ScrollableWindow<Pane>::ProcessMessage(message, wParam, lParam, result);
        }
    }

private:
    ZoomState state_;
};

}  // namespace AppGui
