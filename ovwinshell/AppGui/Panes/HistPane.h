#pragma once
// The histogram window of the statistics tab: its statistics surface draws
// into it. It paints through the renderer, erases nothing, and passes the
// surface's size requests (UWM_FRAME_SIZE) on to its parent, the statistics pane.
#include "AppGui/Framework/Window.h"

namespace AppGui {

class HistPane : public Window {
protected:
    WindowClassInfo ClassInfo() const override;
    DWORD DefaultStyle() const override { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS; }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace AppGui
