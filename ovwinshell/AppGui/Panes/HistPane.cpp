#include "HistPane.h"

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "Render/PrivateRenderer.h"

namespace AppGui {

WindowClassInfo HistPane::ClassInfo() const {
    WindowClassInfo info;
    info.name = L"OvHistPane";
    info.background = nullptr;
    return info;
}

bool HistPane::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT:
            ValidateRect(Handle(), nullptr);
            AppState::Get().Renderer().Redraw();
            result = 0;
            return true;
        case UWM_FRAME_SIZE:
            result = SendMessageW(GetParent(Handle()), message, wParam, lParam);
            return true;
        default:
            return Window::ProcessMessage(message, wParam, lParam, result);
    }
}

}  // namespace AppGui
