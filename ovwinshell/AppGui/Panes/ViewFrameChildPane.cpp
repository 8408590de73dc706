#include "ViewFrameChildPane.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "Render/ImageProcessor.h"
#include "Render/PrivateRenderer.h"
#include "Render/VextFrameSurface.h"
#include "Render/ZelFrameSurface.h"

namespace AppGui {

namespace {

// Division that rounds towards minus infinity, so that points left of or
// above the view never read the first column or row.
long FloorDivide(long value, long divisor) {
    const long quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

void EnsureTooltipClass() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)done;
}

// The tool of the view: one tracking tool whose id is the view window.
TOOLINFOW ViewTool(HWND view, wchar_t* text) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = view;
    tool.uId = reinterpret_cast<UINT_PTR>(view);
    tool.lpszText = text;
    return tool;
}

}  // namespace

const wchar_t kZoomTooSmallText[] = L"Масштаб должен быть не менее 100%.";

POINT ViewPointToImage(POINT view, int zoom) {
    if (zoom <= 0) return view;
    return POINT{FloorDivide(view.x * 100L, zoom), FloorDivide(view.y * 100L, zoom)};
}

void FormatPixelReadout(wchar_t* text, size_t length, int x, int y, const uint32_t* values, uint32_t count) {
    if (!text || length == 0) return;
    if (count == 1 && values) {
        std::swprintf(text, length, L"x = %d; y = %d; Уровень: %d", x, y, static_cast<int>(values[0]));
    } else if (count == 3 && values) {
        std::swprintf(text, length, L"x = %d; y = %d; Уровень: B %d ;G %d; R %d", x, y, static_cast<int>(values[0]),
                      static_cast<int>(values[1]), static_cast<int>(values[2]));
    } else {
        std::swprintf(text, length, L"x = %d; y = %d; Уровень: ???", x, y);
    }
}

POINT PlaceTip(POINT cursor, SIZE tip, const RECT& parent) {
    POINT place{cursor.x + kTipOffset, cursor.y + kTipOffset};
    if (place.x + tip.cx > parent.right) place.x = std::max(place.x - (place.x + tip.cx - parent.right), parent.left);
    if (place.y + tip.cy > parent.bottom) place.y = std::max(place.y - (place.y + tip.cy - parent.bottom), parent.top);
    return place;
}

ViewFrameChildPane::ViewFrameChildPane() = default;

ViewFrameChildPane::~ViewFrameChildPane() {
    // A window still open is destroyed without our handlers (Window's
    // destructor): take the surface out of the renderer here.
    if (surface_) AppState::Get().Renderer().RemoveSurface(surface_.get());
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

WindowClassInfo ViewFrameChildPane::ClassInfo() const {
    WindowClassInfo info;
    info.name = L"FrameView";
    info.background = nullptr;  // the renderer paints everything
    return info;
}

bool ViewFrameChildPane::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE:
            result = OnCreate() ? 0 : -1;
            return true;
        case WM_DESTROY:
            OnDestroy();
            result = 0;
            return true;
        case WM_PAINT:
            // Validated first: a resize that the redraw causes (the first frame
            // of a new size) leaves its own area to be painted again.
            ValidateRect(Handle(), nullptr);
            AppState::Get().Renderer().Redraw();
            result = 0;
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case UWM_FRAME_SIZE:
            OnFrameSize(wParam);
            result = 0;
            return true;
        case UWM_FRAME_VIEW:
            pickMode_ = wParam == 1;
            result = 0;
            return true;
        case WM_LBUTTONDOWN:
            OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            result = 0;
            return true;
        case WM_MOUSEMOVE:
            if (wParam & MK_LBUTTON) OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            result = 0;
            return true;
        case WM_LBUTTONUP:
            OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            result = 0;
            return true;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the readout ends with the capture.
            if (tracking_ && reinterpret_cast<HWND>(lParam) != Handle()) EndTracking();
            result = 0;
            return true;
        default:
            return Window::ProcessMessage(message, wParam, lParam, result);
    }
}

bool ViewFrameChildPane::OnCreate() {
    AppState& state = AppState::Get();
    if (state.systemTypeId == DllModule::Lib3Wrapper::OvTypeLib::VextSystemType)
        surface_ = std::make_unique<Render::VextFrameSurface>(Handle(), state.system);
    else
        surface_ = std::make_unique<Render::ZelFrameSurface>(Handle(), state.system);
    state.Renderer().AddSurface(surface_.get());

    EnsureTooltipClass();
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, ModuleInstance(), nullptr);
    // A view without a tooltip still shows frames; it only has no readout.
    return true;
}

void ViewFrameChildPane::OnDestroy() {
    if (tracking_) EndTracking();
    if (surface_) {
        AppState::Get().Renderer().RemoveSurface(surface_.get());
        surface_.reset();
    }
    if (tooltip_) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
    }
}

void ViewFrameChildPane::OnFrameSize(WPARAM size) {
    if (!surface_) return;
    const uint32_t width = LOWORD(size);
    const uint32_t height = HIWORD(size);
    AppState::Get().Renderer().ResizeSurface(surface_.get(), width, height);
    SetWindowPos(Handle(), nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND parent = GetParent(Handle());
    if (!parent) return;
    const LRESULT zoom = SendMessageW(parent, UWM_GET_ZOOM, 0, 0);
    SendMessageW(parent, UWM_SET_ZOOM, static_cast<WPARAM>(zoom), 0);
}

int ViewFrameChildPane::ParentZoom() const {
    HWND parent = GetParent(Handle());
    return parent ? static_cast<int>(SendMessageW(parent, UWM_GET_ZOOM, 0, 0)) : 100;
}

void ViewFrameChildPane::OnButtonDown(POINT point) {
    if (pickMode_) return;
    if (tooltip_) {
        TOOLINFOW tool = ViewTool(Handle(), tipText_);
        if (tracking_) SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    tracking_ = true;
    UpdateTip(point);
    if (tooltip_) {
        TOOLINFOW tool = ViewTool(Handle(), tipText_);
        SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        // The tip has its size only now that it is shown: place it again.
        UpdateTip(point);
    }
    SetCapture(Handle());
}

void ViewFrameChildPane::OnMouseMove(POINT point) {
    if (tracking_) UpdateTip(point);
}

void ViewFrameChildPane::OnButtonUp(POINT point) {
    if (tracking_) EndTracking();
    if (pickMode_) Render::ImageProcessor::Instance().PickBalancePixel(point.x, point.y);
}

void ViewFrameChildPane::UpdateTip(POINT point) {
    FormatTipText(tipText_, kTipTextLength, point, ParentZoom(),
                  [](int32_t x, int32_t y, uint32_t values[3], uint32_t* count) {
                      return AppState::Get().Renderer().GetPixel(x, y, values, count);
                  });
    if (!tooltip_) return;
    TOOLINFOW tool = ViewTool(Handle(), tipText_);
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));

    POINT cursor = point;
    ClientToScreen(Handle(), &cursor);
    // The shown tip's own size; before it is shown, the size it asks for.
    SIZE tip{0, 0};
    RECT rect{};
    if (IsWindowVisible(tooltip_) && GetWindowRect(tooltip_, &rect))
        tip = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    if (tip.cx <= 0 || tip.cy <= 0) {
        const LRESULT bubble = SendMessageW(tooltip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
        tip = SIZE{LOWORD(bubble), HIWORD(bubble)};
    }
    RECT parent{};
    HWND parentWindow = GetParent(Handle());
    GetWindowRect(parentWindow ? parentWindow : Handle(), &parent);
    const POINT place = PlaceTip(cursor, tip, parent);
    SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(place.x, place.y));
}

void ViewFrameChildPane::EndTracking() {
    tracking_ = false;
    if (tooltip_) {
        TOOLINFOW tool = ViewTool(Handle(), tipText_);
        SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (GetCapture() == Handle()) ReleaseCapture();
}

}  // namespace AppGui
