#pragma once
// The frame view's surface for ZEL systems: converts Mono and Bgr samples
// itself with the surface's gain shift.
#include "Render/FrameSurface.h"

namespace Render {

class ZelFrameSurface : public FrameSurface {
public:
    // openSystem: the application's open camera system, or null.
    ZelFrameSurface(HWND window, DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* openSystem);

protected:
    bool DrawLocked(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) override;
};

}  // namespace Render
