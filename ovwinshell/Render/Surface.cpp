#include "Surface.h"

#include <cstdlib>

namespace Render {

namespace {

// The surface's value for a COLORREF (0x00BBGGRR): each 8-bit channel scaled
// into its mask. For 24 and 32 bits per pixel this puts blue in byte 0, green
// in byte 1 and red in byte 2, the fourth byte 0.
DWORD PixelValue(IDirectDrawSurface7* surface, COLORREF colour) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    const DWORD red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
    if (FAILED(surface->GetPixelFormat(&format)) || !(format.dwFlags & DDPF_RGB) || !format.dwRBitMask ||
        !format.dwGBitMask || !format.dwBBitMask)
        return blue | green << 8 | red << 16;
    auto place = [](DWORD value, DWORD mask) {
        DWORD shift = 0;
        while (!(mask >> shift & 1)) ++shift;
        const DWORD top = mask >> shift;
        return ((value * top + 127) / 255) << shift & mask;
    };
    return place(red, format.dwRBitMask) | place(green, format.dwGBitMask) | place(blue, format.dwBBitMask);
}

}  // namespace

Surface::Surface(HWND window) : window_(window) {}

Surface::~Surface() {
    if (surface_) surface_->Release();
}

bool Surface::Create(IDirectDraw7* directDraw, uint32_t width, uint32_t height) {
    if (surface_) {
        surface_->Release();
        surface_ = nullptr;
    }
    if (!directDraw) return false;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = width ? width : 1;
    desc.dwHeight = height ? height : 1;
    IDirectDrawSurface7* created = nullptr;
    if (FAILED(directDraw->CreateSurface(&desc, &created, nullptr)) || !created) return false;
    surface_ = created;
    width_ = width;
    height_ = height;
    return true;
}

HRESULT Surface::FillRect(COLORREF colour, RECT* area) {
    if (!surface_) return DD_OK;
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = PixelValue(surface_, colour);
    return surface_->Blt(area, nullptr, nullptr, DDBLT_COLORFILL, &fx);
}

void Surface::Fill(COLORREF colour) { FillRect(colour, nullptr); }

void Surface::FillArea(COLORREF colour, const RECT& area) {
    RECT target = area;
    FillRect(colour, &target);
}

void Surface::FillRetrying(COLORREF colour) {
    if (FillRect(colour, nullptr) == DDERR_SURFACELOST) {
        surface_->Restore();
        FillRect(colour, nullptr);
    }
}

bool Surface::Lock() {
    if (!surface_) return false;
    HRESULT result = surface_->IsLost();
    if (result == DDERR_SURFACELOST) result = surface_->Restore();
    if (FAILED(result)) return false;
    ZeroMemory(&desc_, sizeof desc_);
    desc_.dwSize = sizeof desc_;
    if (FAILED(surface_->Lock(nullptr, &desc_, DDLOCK_WAIT, nullptr))) {
        desc_.lpSurface = nullptr;
        return false;
    }
    return true;
}

void Surface::Unlock() {
    if (!surface_) return;
    surface_->Unlock(nullptr);
    desc_.lpSurface = nullptr;  // the pixels are no longer ours to write
}

void Surface::SetPixel(int32_t x, int32_t y, COLORREF colour) {
    if (!desc_.lpSurface || x < 0 || y < 0 || DWORD(x) >= desc_.dwWidth || DWORD(y) >= desc_.dwHeight) return;
    const DWORD bits = desc_.ddpfPixelFormat.dwRGBBitCount;
    if (bits != 24 && bits != 32) return;
    uint8_t* pixel = static_cast<uint8_t*>(desc_.lpSurface) + ptrdiff_t(y) * desc_.lPitch + ptrdiff_t(x) * (bits / 8);
    pixel[0] = uint8_t(colour >> 16);
    pixel[1] = uint8_t(colour >> 8);
    pixel[2] = uint8_t(colour);
}

void Surface::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, COLORREF colour) {
    const int64_t dx = std::llabs(int64_t(x1) - x0), dy = -std::llabs(int64_t(y1) - y0);
    const int32_t stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    int64_t error = dx + dy;
    for (;;) {
        SetPixel(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

}  // namespace Render
