#pragma once
// What the two camera frame surfaces share: the surface always covers the
// largest frame seen so far, and a frame read from a smaller region of
// interest is drawn at its sensor position inside a mid-grey field.
#include <windows.h>

#include <cstdint>

#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Render/Surface.h"

namespace Render {

// The field around a frame smaller than the surface.
constexpr COLORREF kFrameFieldColour = 0x808080;

struct RegionRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const RegionRect&) const = default;
};

class FrameSurface : public Surface {
public:
    uint32_t MaxWidth() const { return maxWidth_; }
    uint32_t MaxHeight() const { return maxHeight_; }
    RegionRect StoredRegion() const { return region_; }
    bool HasRegionOption() const { return regionOption_ != nullptr; }

    // Steps 1 to 4, then the frame into the locked surface and the grey field
    // around it (all grey when the surface cannot be locked).
    bool Draw(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) final;

protected:
    // Takes the region option (0x400006) of the open system, when there is one,
    // its maximum rectangle as the starting maximum size, and its rectangle.
    FrameSurface(HWND window, DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* openSystem);

    enum class FrameStep {
        Skip,     // return false: nothing to show (resize requested, region unreadable)
        Repaint,  // return true without drawing: the region has just changed
        Draw,     // fill, lock and draw
    };
    // Steps 1 to 4 of drawing a frame of this size.
    FrameStep BeginFrame(uint32_t width, uint32_t height);
    // Each surface's own conversion into the locked image; false when nothing
    // of the frame was drawn (the whole surface then turns grey).
    virtual bool DrawLocked(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) = 0;

    // Where the frame goes in the locked image: its first pixel, and how many of
    // its columns and rows fit. Nothing fits for a negative position.
    struct Placement {
        uint8_t* pixels = nullptr;
        uint32_t columns = 0;
        uint32_t rows = 0;
    };
    Placement PlaceFrame(uint32_t width, uint32_t height) const;

    // The grey field after a frame was drawn: the surface outside the frame's
    // rectangle (the converters write every pixel inside it), or all of the
    // surface when nothing of the frame was drawn.
    void FillField(uint32_t width, uint32_t height, bool drawn);

    DllModule::Lib3Wrapper::OvTypeLib::IOvRectOption* regionOption_ = nullptr;
    uint32_t maxWidth_ = 0;
    uint32_t maxHeight_ = 0;
    RegionRect region_;
};

}  // namespace Render
