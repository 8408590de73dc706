#pragma once
// The output pane below the frame view. For now a plain pane; the event log
// and the statistics tab come with the output pane itself.
#include "AppGui/Framework/Window.h"

namespace AppGui {

class ViewOutputPane : public Window {
protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"OvViewOutputPane";
        return info;
    }
};

}  // namespace AppGui
