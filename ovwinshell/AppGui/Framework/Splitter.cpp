#include "Splitter.h"

#include <algorithm>

#include "HalftoneBar.h"

namespace AppGui {

SplitterBar::SplitterBar(bool vertical) : vertical_(vertical) {}

int SplitterBar::Thickness() const { return 2 * GetSystemMetrics(vertical_ ? SM_CXEDGE : SM_CYEDGE); }

void SplitterBar::SetPosition(int position) { position_ = std::max(0, position); }

SIZE SplitterBar::ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

RECT SplitterBar::BarRectAt(int position, SIZE client) const {
    const int thickness = Thickness();
    return vertical_ ? RECT{position, 0, position + thickness, client.cy}
                     : RECT{0, position, client.cx, position + thickness};
}

RECT SplitterBar::BarRect(SIZE client) const { return BarRectAt(position_, client); }

SplitLayout SplitterBar::Layout(SIZE client) {
    const int extent = Extent(client);
    const int thickness = Thickness();
    if (extent < position_ + thickness) {
        // Towards 0 only: a bar that is already nearer stays.
        position_ = std::min(position_, std::max(1, extent - thickness));
    }
    const int farEdge = position_ + thickness;
    const int secondEnd = std::max(farEdge, extent);
    SplitLayout layout{};
    if (vertical_) {
        layout.first = RECT{0, 0, position_, client.cy};
        layout.second = RECT{farEdge, 0, secondEnd, client.cy};
    } else {
        layout.first = RECT{0, 0, client.cx, position_};
        layout.second = RECT{0, farEdge, client.cx, secondEnd};
    }
    layout.bar = BarRectAt(position_, client);
    return layout;
}

void SplitterBar::BeginDrag(HWND window, POINT point) {
    if (dragging_) return;
    dragging_ = true;
    ghost_ = position_;
    grabOffset_ = Along(point) - position_;
    InvertHalftoneRect(window, BarRectAt(ghost_, ClientSize(window)));
    SetCapture(window);
}

void SplitterBar::DragTo(HWND window, POINT point) {
    if (!dragging_) return;
    const SIZE client = ClientSize(window);
    const int last = std::max(1, Extent(client) - Thickness());
    const int next = std::clamp(Along(point) - grabOffset_, 1, last);
    if (next == ghost_) return;
    InvertHalftoneRect(window, BarRectAt(ghost_, client));
    ghost_ = next;
    InvertHalftoneRect(window, BarRectAt(ghost_, client));
}

bool SplitterBar::EndDrag(HWND window) {
    if (!dragging_) return false;
    dragging_ = false;
    InvertHalftoneRect(window, BarRectAt(ghost_, ClientSize(window)));
    position_ = ghost_;
    return true;
}

}  // namespace AppGui
