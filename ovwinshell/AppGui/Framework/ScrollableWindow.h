#pragma once
// ScrollableWindow<Pane>: a scrolling host (ScrollableHost) whose child is a
// Pane, a Window class. The pane is created in the host's WM_CREATE as a
// visible child with a border, clipping siblings and children, at size 0;
// it may size itself in its own WM_CREATE. When the pane changes its size
// later, call UpdateLayout().
#include "ScrollableHost.h"

namespace AppGui {

template <class Pane>
class ScrollableWindow : public ScrollableHost {
public:
    Pane& Child() { return child_; }
    const Pane& Child() const { return child_; }

protected:
    HWND ChildHandle() const override { return child_.Handle(); }
    bool CreateChildWindow() override {
        return child_.Create(Handle(), RECT{0, 0, 0, 0}, nullptr, ChildStyle(), 0,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kScrolledChildId))) != nullptr;
    }

private:
    Pane child_;
};

}  // namespace AppGui
