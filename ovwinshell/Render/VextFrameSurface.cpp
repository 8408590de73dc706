#include "VextFrameSurface.h"

#include "Render/ImageProcessor.h"

namespace Render {

VextFrameSurface::VextFrameSurface(HWND window, DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* openSystem)
    : FrameSurface(window, openSystem) {}

bool VextFrameSurface::DrawLocked(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
    // The processor clips to the image; a negative position draws nothing.
    return ImageProcessor::Instance().Render8(
        region_.x, region_.y, width, height, static_cast<uint8_t*>(desc_.lpSurface), desc_.lPitch,
        desc_.ddpfPixelFormat.dwRGBBitCount, samples, layout, desc_.dwWidth, desc_.dwHeight);
}

}  // namespace Render
