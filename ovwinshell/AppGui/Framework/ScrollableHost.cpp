#include "ScrollableHost.h"

#include "ScrollLayout.h"

namespace AppGui {

namespace {
// The moved child is painted anew: copying its old bits left stale control
// borders behind under Wine.
constexpr UINT kMoveFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
}  // namespace

WindowClassInfo ScrollableHost::ClassInfo() const {
    WindowClassInfo info;
    info.name = L"OvScrollableWindow";
    info.background = SystemColourBrush(COLOR_3DFACE);
    return info;
}

DWORD ScrollableHost::DefaultStyle() const {
    return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
}

SIZE ScrollableHost::ClientSize() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return SIZE{client.right, client.bottom};
}

SIZE ScrollableHost::ChildSize() const {
    RECT rect{};
    if (!ChildHandle() || !GetWindowRect(ChildHandle(), &rect)) return SIZE{0, 0};
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void ScrollableHost::UpdateLayout() {
    HWND child = ChildHandle();
    if (!Handle() || !child) return;
    if (inLayout_) {
        // Showing or hiding a scroll bar resized us: the outer call goes round again.
        layoutAgain_ = true;
        return;
    }
    inLayout_ = true;
    SIZE client{};
    SIZE size{};
    for (int round = 0; round < 4; ++round) {
        layoutAgain_ = false;
        client = ClientSize();
        size = ChildSize();
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMin = 0;
        info.nMax = size.cx;
        info.nPage = static_cast<UINT>(client.cx);
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
        info.nMax = size.cy;
        info.nPage = static_cast<UINT>(client.cy);
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
        const SIZE now = ClientSize();
        if (!layoutAgain_ && now.cx == client.cx && now.cy == client.cy) break;
    }
    inLayout_ = false;

    client = ClientSize();
    const int scrollX = client.cx < size.cx ? GetScrollPos(Handle(), SB_HORZ) : 0;
    const int scrollY = client.cy < size.cy ? GetScrollPos(Handle(), SB_VERT) : 0;
    offset_ = POINT{-scrollX, -scrollY};
    SetWindowPos(child, nullptr, PlaceOnAxis(client.cx, size.cx, scrollX), PlaceOnAxis(client.cy, size.cy, scrollY), 0,
                 0, kMoveFlags | SWP_SHOWWINDOW);
}

void ScrollableHost::Scroll(int bar, int code, int thumb) {
    HWND child = ChildHandle();
    if (!child) return;
    const SIZE client = ClientSize();
    const SIZE size = ChildSize();
    const bool horizontal = bar == SB_HORZ;
    // A child that fits is centred and has nothing to scroll.
    if ((horizontal ? client.cx : client.cy) >= (horizontal ? size.cx : size.cy)) return;

    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(Handle(), bar, &info)) return;
    int wanted = 0;
    if (!RequestedScrollPosition(code, info, thumb, &wanted)) return;
    info.fMask = SIF_POS;
    info.nPos = wanted;
    SetScrollInfo(Handle(), bar, &info, TRUE);  // the system clamps it
    const int position = GetScrollPos(Handle(), bar);

    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    if (horizontal) {
        offset_.x = -position;
        rect.left = -position;
    } else {
        offset_.y = -position;
        rect.top = -position;
    }
    SetWindowPos(child, nullptr, rect.left, rect.top, 0, 0, kMoveFlags);
}

void ScrollableHost::PassFocus(HWND from) {
    HWND child = ChildHandle();
    if (passingFocus_ || !child) return;
    passingFocus_ = true;
    if (from && (from == child || IsChild(child, from))) {
        // Coming back out of our own child (Shift+Tab and the like): on to our parent.
        if (HWND parent = GetParent(Handle())) SetFocus(parent);
    } else {
        SetFocus(child);
    }
    passingFocus_ = false;
}

bool ScrollableHost::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE:
            if (!CreateChildWindow()) {
                result = -1;
                return true;
            }
            UpdateLayout();
            result = 0;
            return true;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) UpdateLayout();
            result = 0;
            return true;
        case WM_HSCROLL:
        case WM_VSCROLL:
            // Only our own bars: scroll-bar controls would send their handle.
            if (lParam) return false;
            Scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            result = 0;
            return true;
        case WM_SETFOCUS:
            PassFocus(reinterpret_cast<HWND>(wParam));
            result = 0;
            return true;
        default:
            return Window::ProcessMessage(message, wParam, lParam, result);
    }
}

}  // namespace AppGui
