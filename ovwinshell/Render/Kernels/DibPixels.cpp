#include "DibPixels.h"

#include <cstring>

namespace Render::Kernels {

uint64_t DibRowStride(uint32_t width, uint32_t bytesPerPixel) {
    return (uint64_t(width) * bytesPerPixel + 3) & ~uint64_t(3);
}

void PackHighBytes(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint8_t* out) {
    const uint64_t rowSamples = uint64_t(width) * samplesPerPixel;
    const uint64_t stride = DibRowStride(width, samplesPerPixel);
    for (uint32_t y = 0; y < height; ++y) {
        const uint16_t* row = samples + y * rowSamples;
        uint8_t* dst = out + y * stride;
        for (uint64_t k = 0; k < rowSamples; ++k) dst[k] = uint8_t(row[k] >> 8);
        std::memset(dst + rowSamples, 0, size_t(stride - rowSamples));
    }
}

}  // namespace Render::Kernels
