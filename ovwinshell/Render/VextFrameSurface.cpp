#include "VextFrameSurface.h"

#include "Render/ImageProcessor.h"

namespace Render {

VextFrameSurface::VextFrameSurface(HWND window, DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* openSystem)
    : FrameSurface(window, openSystem) {}

bool VextFrameSurface::Draw(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
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
        return false;
    }
    // The processor clips to the image; a negative position draws nothing.
    const bool drawn = samples && ImageProcessor::Instance().Render8(region_.x, region_.y, width, height,
                                                                     static_cast<uint8_t*>(desc_.lpSurface),
                                                                     desc_.lPitch, desc_.ddpfPixelFormat.dwRGBBitCount,
                                                                     samples, layout, desc_.dwWidth, desc_.dwHeight);
    Unlock();
    FillField(width, height, drawn);
    return true;
}

}  // namespace Render
