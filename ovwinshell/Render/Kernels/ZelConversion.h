#pragma once
// The ZEL frame view's own sample conversion: gain shift, clamp to 16 bits,
// high byte to the display. No tables.
#include <cstddef>
#include <cstdint>

#include "PixelFormat.h"

namespace Render::Kernels {

// out[i] = DisplayByte(samples[i], shift) for count samples.
void ToDisplayBytes(const uint16_t* samples, size_t count, uint32_t shift, uint8_t* out);

// Draws width x height pixels of a frame whose rows are rowPixels pixels long
// (width may be less than rowPixels to leave out columns at the right) into
// target, pixel (0, 0) at target.pixels. Each sample v gives the byte
// min(v << shift, 65535) >> 8. Mono: the byte goes to blue, green and red.
// Bgr: the pixel's three samples go to bytes 0, 1, 2 in their stored order.
// Other layouts or depths draw nothing and return false.
bool ConvertZelFrame(const uint16_t* samples, uint32_t rowPixels, uint32_t width, uint32_t height, uint32_t layout,
                     uint32_t shift, const DisplayTarget& target);

}  // namespace Render::Kernels
