#include "ZelFrameSurface.h"

#include "Render/Kernels/ZelConversion.h"

namespace Render {

ZelFrameSurface::ZelFrameSurface(HWND window, DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* openSystem)
    : FrameSurface(window, openSystem) {}

bool ZelFrameSurface::DrawLocked(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
    const Placement place = PlaceFrame(width, height);
    // Layouts other than Mono and Bgr draw nothing: the field is all grey.
    return place.pixels &&
           Kernels::ConvertZelFrame(samples, width, place.columns, place.rows, layout, shift_,
                                    {place.pixels, desc_.lPitch, desc_.ddpfPixelFormat.dwRGBBitCount / 8});
}

}  // namespace Render
