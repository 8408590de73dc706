#pragma once
// The bar of a split window: its place, the layout of the two panes around it
// and dragging it with the mouse. Splitter<1> is a vertical bar (panes left
// and right), Splitter<0> a horizontal one (panes top and bottom).
//
// The bar's position is its near edge, which is also the first pane's width
// (or height). The bar is 2 x SM_CXEDGE wide (vertical) or 2 x SM_CYEDGE high
// (horizontal). A new bar sits at 0.
#include <windows.h>

namespace AppGui {

struct SplitLayout {
    RECT first;
    RECT bar;
    RECT second;
};

class SplitterBar {
public:
    explicit SplitterBar(bool vertical);

    bool IsVertical() const { return vertical_; }
    int Thickness() const;
    int Position() const { return position_; }
    // Negative positions become 0.
    void SetPosition(int position);

    // Places the panes in a client area of that size: the first pane from 0
    // to the bar, the second from the bar's far edge to the end, both across
    // the whole other dimension. When the far edge is beyond the end, the bar
    // moves towards 0 until its far edge is at the end (its near edge not
    // below 1) and the second pane gets no room.
    SplitLayout Layout(SIZE client);
    RECT BarRect(SIZE client) const;

    bool IsDragging() const { return dragging_; }
    // Where the ghost bar is while dragging (else the position).
    int DragPosition() const { return dragging_ ? ghost_ : position_; }
    // Starts a drag grabbed at `point` (client coordinates of `window`):
    // draws the ghost and captures the mouse.
    void BeginDrag(HWND window, POINT point);
    // Moves the ghost; the near edge stays between 1 and the client's end
    // minus the bar.
    void DragTo(HWND window, POINT point);
    // Removes the ghost and takes its place as the position. False when no
    // drag was going on. The caller re-lays out the panes.
    bool EndDrag(HWND window);

protected:
    int Along(POINT point) const { return vertical_ ? point.x : point.y; }
    int Extent(SIZE size) const { return vertical_ ? size.cx : size.cy; }

private:
    RECT BarRectAt(int position, SIZE client) const;
    static SIZE ClientSize(HWND window);

    bool vertical_;
    int position_ = 0;
    bool dragging_ = false;
    int ghost_ = 0;
    int grabOffset_ = 0;
};

template <int Vertical>
class Splitter : public SplitterBar {
public:
    Splitter() : SplitterBar(Vertical != 0) {}
};

}  // namespace AppGui
