#pragma once
// Placeholder until the frame view pane lands.
#include "AppGui/Framework/Window.h"

namespace AppGui {

class ViewFrameChildPane : public Window {
protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"FrameView";
        return info;
    }
};

}  // namespace AppGui
