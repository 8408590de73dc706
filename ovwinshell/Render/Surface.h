#pragma once
// A display surface: an off-screen DirectDraw image in system memory that
// belongs to one window. The renderer hands every frame to each registered
// surface (Draw) and then blits the off-screen image into the window.
#include <windows.h>
#include <ddraw.h>

#include <cstdint>

#include "Common/CritSec.h"

namespace Render {

class Surface {
public:
    explicit Surface(HWND window);
    virtual ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Builds the off-screen surface (at least 1 x 1); stores the requested size on success.
    virtual bool Create(IDirectDraw7* directDraw, uint32_t width, uint32_t height);
    // Renders one frame; true when the window must be repainted from the surface.
    virtual bool Draw(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout) = 0;
    // Fills the whole off-screen surface with a COLORREF colour.
    virtual void Fill(COLORREF colour);

    HWND Window() const { return window_; }
    IDirectDrawSurface7* OffScreen() const { return surface_; }
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    uint32_t GainShift() const { return shift_; }
    void SetGainShift(uint32_t shift) { shift_ = shift; }

protected:
    bool Lock();
    void Unlock();
    void FillRetrying(COLORREF colour);
    // Fills one rectangle of the off-screen surface (not while it is locked).
    void FillArea(COLORREF colour, const RECT& area);
    void SetPixel(int32_t x, int32_t y, COLORREF colour);
    void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, COLORREF colour);

    IDirectDrawSurface7* surface_ = nullptr;
    DDSURFACEDESC2 desc_{};
    HWND window_;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint32_t shift_ = 0;
    CritSec lock_;

private:
    // Colour-fills area (the whole surface when null); DD_OK without a surface.
    HRESULT FillRect(COLORREF colour, RECT* area);
};

}  // namespace Render
