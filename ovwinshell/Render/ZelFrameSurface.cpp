#include "ZelFrameSurface.h"

#include "Render/Kernels/ZelConversion.h"

namespace Render {

ZelFrameSurface::ZelFrameSurface(HWND window, DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* openSystem)
    : FrameSurface(window, openSystem) {}

bool ZelFrameSurface::Draw(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
    switch (BeginFrame(width, height)) {
        case FrameStep::Skip:
            return false;
        case FrameStep::Repaint:
            return true;
        case FrameStep::Draw:
            break;
    }
    if (!Lock()) {
        Fill(kFrameFieldColour);
        return true;
    }
    const Placement place = PlaceFrame(width, height);
    // Layouts other than Mono and Bgr draw nothing: the field is all grey.
    const bool drawn = place.pixels && samples &&
                       Kernels::ConvertZelFrame(samples, width, place.columns, place.rows, layout, shift_,
                                                {place.pixels, desc_.lPitch, desc_.ddpfPixelFormat.dwRGBBitCount / 8});
    Unlock();
    FillField(width, height, drawn);
    return true;
}

}  // namespace Render
