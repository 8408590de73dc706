#pragma once
// Pixel bytes of an 8-bit-per-channel device-independent bitmap made from
// 16-bit samples that carry 8-bit data in their high byte.
#include <cstdint>

namespace Render::Kernels {

// Bytes of one bitmap row: width * bytesPerPixel rounded up to a multiple of 4.
uint64_t DibRowStride(uint32_t width, uint32_t bytesPerPixel);

// Writes height rows of DibRowStride(width, samplesPerPixel) bytes into out:
// byte k of a row is the high byte of sample k of that frame row (samples in
// frame order, so blue, green, red for three-sample pixels), the padding is 0.
// samplesPerPixel is 1 or 3.
void PackHighBytes(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint8_t* out);

}  // namespace Render::Kernels
