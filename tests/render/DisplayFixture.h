#pragma once
// A real software DirectDraw device and a hidden window that records the
// resize requests surfaces send it, on top of the camera fixture (simulator
// in a known state) so surfaces can be built over a camera system.
#include <windows.h>
#include <ddraw.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Render/RenderMessages.h"
#include "Render/Surface.h"
#include "support/CameraFixture.h"

namespace rendertest {

struct SizeRequest {
    uint32_t width;
    uint32_t height;
    LPARAM surface;
};

// The pixels of a surface as 0x00RRGGBB-style words made of bytes 0, 1, 2
// (blue, green, red), row by row.
struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(uint32_t x, uint32_t y) const { return pixels.at(size_t(y) * width + x); }
};

inline uint32_t Grey(uint8_t v) { return v * 0x010101u; }

class DisplayTest : public ovtest::CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        static const ATOM windowClass = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &DisplayTest::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"OvRenderTestWindow";
            return RegisterClassW(&wc);
        }();
        ASSERT_NE(windowClass, 0);
        window_ = CreateWindowExW(0, L"OvRenderTestWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ASSERT_EQ(DirectDrawCreateEx(reinterpret_cast<GUID*>(DDCREATE_EMULATIONONLY),
                                     reinterpret_cast<void**>(&directDraw_), IID_IDirectDraw7, nullptr),
                  DD_OK);
        ASSERT_EQ(directDraw_->SetCooperativeLevel(window_, DDSCL_NORMAL), DD_OK);
    }
    void TearDown() override {
        if (directDraw_) directDraw_->Release();
        if (window_) DestroyWindow(window_);
        CameraTest::TearDown();
    }

    // Answers the last resize request as the window would (through Create).
    bool AnswerResize(Render::Surface& surface) {
        if (requests_.empty()) return false;
        const SizeRequest request = requests_.back();
        return surface.Create(directDraw_, request.width, request.height);
    }

    static Image ReadBack(Render::Surface& surface) { return ReadBack(surface.OffScreen()); }

    static Image ReadBack(IDirectDrawSurface7* s) {
        Image image;
        if (!s) return image;
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        if (FAILED(s->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return image;
        image.width = desc.dwWidth;
        image.height = desc.dwHeight;
        image.bitsPerPixel = desc.ddpfPixelFormat.dwRGBBitCount;
        const uint32_t step = image.bitsPerPixel / 8;
        for (uint32_t y = 0; y < image.height; ++y) {
            const uint8_t* row = static_cast<const uint8_t*>(desc.lpSurface) + ptrdiff_t(y) * desc.lPitch;
            for (uint32_t x = 0; x < image.width; ++x) {
                const uint8_t* p = row + size_t(x) * step;
                image.pixels.push_back(p[0] | p[1] << 8 | p[2] << 16);
            }
        }
        s->Unlock(nullptr);
        return image;
    }

    HWND window_ = nullptr;
    IDirectDraw7* directDraw_ = nullptr;
    std::vector<SizeRequest> requests_;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == UWM_FRAME_SIZE) {
            auto* self = reinterpret_cast<DisplayTest*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self) self->requests_.push_back({uint32_t(wParam & 0xFFFF), uint32_t(wParam >> 16 & 0xFFFF), lParam});
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

}  // namespace rendertest
