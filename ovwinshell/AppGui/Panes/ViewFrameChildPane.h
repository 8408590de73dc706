#pragma once
// The frame view: the child of the zoom window (ZoomWindow<ViewFrameChildPane>)
// that owns the frame surface shown by the renderer, paints through the
// renderer and shows the pixel readout in a tracking tooltip while the left
// button is held. In pick mode (VEXT white balance "Пиксел") a click hands
// its point to the image processor instead.
//
// The surface asks for its size with UWM_FRAME_SIZE; the view then re-creates
// the surface, takes that size itself and sets the zoom window's zoom again so
// that a new natural size is taken up.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "AppGui/Framework/Window.h"

namespace Render {
class FrameSurface;
}

namespace AppGui {

// The length of the tooltip text buffer, the terminating zero included.
constexpr size_t kTipTextLength = 256;
// Where the tip goes relative to the cursor.
constexpr int kTipOffset = 15;
// The readout below a zoom of 100.
extern const wchar_t kZoomTooSmallText[];

// The frame pixel under a point of the view at a zoom of 100 or more.
POINT ViewPointToImage(POINT view, int zoom);

// The readout of the image pixel (x, y): one value (grey), three (blue,
// green, red), or "???" for any other count (0 when the pixel is unknown).
void FormatPixelReadout(wchar_t* text, size_t length, int x, int y, const uint32_t* values, uint32_t count);

// The whole tip text for a view point at a zoom: the zoom notice below 100,
// otherwise the readout of the pixel that `getPixel(x, y, values, &count)`
// reports (a false answer reads "???").
template <class GetPixel>
void FormatTipText(wchar_t* text, size_t length, POINT view, int zoom, GetPixel&& getPixel);

// The tip's top-left corner in screen coordinates: the cursor + (15, 15),
// moved left or up by what would stick out of the parent's rectangle on the
// right or at the bottom, but never past the parent's left or top edge.
POINT PlaceTip(POINT cursor, SIZE tip, const RECT& parent);

class ViewFrameChildPane : public Window {
public:
    ViewFrameChildPane();
    ~ViewFrameChildPane() override;

    // Pick mode: a left click picks the white-balance pixel (UWM_FRAME_VIEW).
    bool PickMode() const { return pickMode_; }
    void SetPickMode(bool on) { pickMode_ = on; }

    // The frame surface registered with the renderer (null without a window).
    Render::FrameSurface* FrameSurface() const { return surface_.get(); }
    HWND Tooltip() const { return tooltip_; }
    const wchar_t* TipText() const { return tipText_; }
    // True while the left button is held with the readout shown.
    bool Tracking() const { return tracking_; }

protected:
    WindowClassInfo ClassInfo() const override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnCreate();
    void OnDestroy();
    void OnFrameSize(WPARAM size);
    void OnButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnButtonUp(POINT point);
    // Refreshes the tip's text for a view point and moves the tip next to the cursor.
    void UpdateTip(POINT point);
    void EndTracking();
    int ParentZoom() const;

    std::unique_ptr<Render::FrameSurface> surface_;
    bool pickMode_ = false;
    HWND tooltip_ = nullptr;
    wchar_t tipText_[kTipTextLength] = {};
    bool tracking_ = false;
};

template <class GetPixel>
void FormatTipText(wchar_t* text, size_t length, POINT view, int zoom, GetPixel&& getPixel) {
    if (!text || length == 0) return;
    if (zoom < 100) {
        size_t i = 0;
        for (; kZoomTooSmallText[i] && i + 1 < length; ++i) text[i] = kZoomTooSmallText[i];
        text[i] = L'\0';
        return;
    }
    const POINT image = ViewPointToImage(view, zoom);
    uint32_t values[3] = {};
    uint32_t count = 0;
    if (!getPixel(static_cast<int32_t>(image.x), static_cast<int32_t>(image.y), values, &count)) count = 0;
    FormatPixelReadout(text, length, image.x, image.y, values, count);
}

}  // namespace AppGui
