#pragma once
// The screen's bits per pixel, which the filmed frames take: 0 when the
// screen's device context cannot be had.
#include <windows.h>

inline int ScreenBitsPerPixel() {
    HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}
