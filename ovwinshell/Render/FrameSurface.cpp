#include "FrameSurface.h"

#include <algorithm>

#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Render/RenderMessages.h"

namespace Render {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

namespace {

IOvRectOption* FindRegionOption(IOvSystem* system) {
    if (!system) return nullptr;
    IOvEnum* options = nullptr;
    if (!system->GetOptions(&options) || !options) return nullptr;
    void* item = nullptr;
    for (bool more = options->First(nullptr, nullptr, &item); more; more = options->Next(nullptr, nullptr, &item)) {
        auto* option = static_cast<IOvOption*>(item);
        if (!option || option->GetId() != DllModule::Lib3Wrapper::OvTypeLib::OptionIds::kRegion) continue;
        return option->GetKind() == OptionKindRect ? option->AsRect() : nullptr;
    }
    return nullptr;
}

}  // namespace

FrameSurface::FrameSurface(HWND window, IOvSystem* openSystem)
    : Surface(window), regionOption_(FindRegionOption(openSystem)) {
    if (!regionOption_) return;
    RegionRect max;
    if (regionOption_->GetMaxRect(&max.x, &max.y, &max.width, &max.height)) {
        maxWidth_ = uint32_t(max.width);
        maxHeight_ = uint32_t(max.height);
    }
    RegionRect current;
    if (regionOption_->GetRect(&current.x, &current.y, &current.width, &current.height)) region_ = current;
}

bool FrameSurface::Draw(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) {
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
    const bool drawn = samples && DrawLocked(samples, width, height, layout);
    Unlock();
    FillField(width, height, drawn);
    return true;
}

FrameSurface::FrameStep FrameSurface::BeginFrame(uint32_t width, uint32_t height) {
    if (width > maxWidth_) maxWidth_ = width;
    if (height > maxHeight_) maxHeight_ = height;

    if (width_ != maxWidth_ || height_ != maxHeight_) {
        const WPARAM size = WPARAM((maxHeight_ & 0xFFFF) << 16 | (maxWidth_ & 0xFFFF));
        SendNotifyMessageW(window_, UWM_FRAME_SIZE, size, reinterpret_cast<LPARAM>(static_cast<Surface*>(this)));
        return FrameStep::Skip;
    }

    RegionRect current{0, 0, int32_t(maxWidth_), int32_t(maxHeight_)};
    if (regionOption_ && !regionOption_->GetRect(&current.x, &current.y, &current.width, &current.height))
        return FrameStep::Skip;
    if (!(current == region_)) {
        region_ = current;  // the first frame after a region change is not drawn
        return FrameStep::Repaint;
    }
    return FrameStep::Draw;
}

FrameSurface::Placement FrameSurface::PlaceFrame(uint32_t width, uint32_t height) const {
    Placement place;
    const DWORD bits = desc_.ddpfPixelFormat.dwRGBBitCount;
    if (!desc_.lpSurface || region_.x < 0 || region_.y < 0) return place;
    const uint32_t x = uint32_t(region_.x), y = uint32_t(region_.y);
    if (x >= desc_.dwWidth || y >= desc_.dwHeight) return place;
    // Frames larger than the image left of or below their position are cut.
    place.columns = width < desc_.dwWidth - x ? width : desc_.dwWidth - x;
    place.rows = height < desc_.dwHeight - y ? height : desc_.dwHeight - y;
    place.pixels = static_cast<uint8_t*>(desc_.lpSurface) + ptrdiff_t(y) * desc_.lPitch + ptrdiff_t(x) * (bits / 8);
    return place;
}

void FrameSurface::FillField(uint32_t width, uint32_t height, bool drawn) {
    const LONG surfaceWidth = LONG(width_), surfaceHeight = LONG(height_);
    const bool inside = region_.x >= 0 && region_.y >= 0 && region_.x < surfaceWidth && region_.y < surfaceHeight;
    if (!drawn || !inside || width == 0 || height == 0) {
        Fill(kFrameFieldColour);
        return;
    }
    // The frame as PlaceFrame cuts it: from its position to its size or the surface's edge.
    const LONG left = region_.x, top = region_.y;
    const LONG right = LONG(std::min<int64_t>(int64_t(left) + width, surfaceWidth));
    const LONG bottom = LONG(std::min<int64_t>(int64_t(top) + height, surfaceHeight));
    const RECT around[] = {{0, 0, surfaceWidth, top},
                           {0, bottom, surfaceWidth, surfaceHeight},
                           {0, top, left, bottom},
                           {right, top, surfaceWidth, bottom}};
    for (const RECT& area : around)
        if (area.left < area.right && area.top < area.bottom) FillArea(kFrameFieldColour, area);
}

}  // namespace Render
