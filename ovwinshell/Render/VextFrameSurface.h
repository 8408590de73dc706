#pragma once
// The frame view's surface for VEXT systems: frames go through the
// process-wide ImageProcessor (levels, gamma, its own gain shift, white
// balance, Bayer reconstruction).
#include "Render/FrameSurface.h"

namespace Render {

class VextFrameSurface : public FrameSurface {
public:
    // openSystem: the application's open camera system, or null.
    VextFrameSurface(HWND window, DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* openSystem);

protected:
    bool DrawLocked(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) override;
};

}  // namespace Render
