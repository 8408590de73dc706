#pragma once
// The camera options pane on the left of the main window. For now a plain
// pane of a fixed content width; the option controls come with the options
// pane itself.
#include "AppGui/Framework/Window.h"

namespace AppGui {

class CamOptionsChildPane : public Window {
public:
    // The width of the pane's content window, which sets the left pane's width.
    int ContentWidth() const { return 260; }

protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"OvCamOptionsPane";
        info.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
        return info;
    }
};

}  // namespace AppGui
