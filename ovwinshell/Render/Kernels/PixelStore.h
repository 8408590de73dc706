#pragma once
// Storing one display pixel: blue, green, red into bytes 0, 1, 2. At 32 bits
// per pixel the whole word is written, its fourth byte 0 (as the surfaces'
// colour fill leaves it), so a pixel is one store.
#include <cstdint>
#include <cstring>

namespace Render::Kernels {

// bgr holds blue in bits 0-7, green in 8-15, red in 16-23, nothing above.
template <uint32_t Bpp>
inline void StoreBgr(uint8_t* p, uint32_t bgr) {
    if constexpr (Bpp == 4) {
        std::memcpy(p, &bgr, 4);
    } else {
        p[0] = uint8_t(bgr);
        p[1] = uint8_t(bgr >> 8);
        p[2] = uint8_t(bgr >> 16);
    }
}

}  // namespace Render::Kernels
