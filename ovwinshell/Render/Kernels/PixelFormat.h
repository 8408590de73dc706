#pragma once
// Shared ground of the pixel kernels: frame layout codes, the display
// destination, and the gain shift with its clamp to 16 bits.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace Render::Kernels {

// Pixels and sample pairs are assembled in machine words, low byte first.
static_assert(std::endian::native == std::endian::little);

// Layout codes as the data transfers report them with every frame.
constexpr uint32_t kLayoutMono = 0;   // one sample per pixel
constexpr uint32_t kLayoutBayer = 1;  // one sample per pixel, GRBG mosaic
constexpr uint32_t kLayoutBgr = 2;    // three samples per pixel: blue, green, red

// Entries of every 16-bit lookup table (one per sample value).
constexpr uint32_t kTableSize = 65536;

// A locked display image: the first pixel to write, the distance between rows
// in bytes and the bytes per pixel. Writers store blue, green, red in bytes
// 0, 1, 2 of each pixel and leave any further byte as it is. Only 3 and 4
// bytes per pixel are drawn.
struct DisplayTarget {
    uint8_t* pixels = nullptr;
    ptrdiff_t pitch = 0;
    uint32_t bytesPerPixel = 0;
};

inline bool IsDrawableDepth(uint32_t bitsPerPixel) { return bitsPerPixel == 24 || bitsPerPixel == 32; }

// value << shift as a 32-bit number, then at most 65535. Shifts of 32 and more
// shift every bit out of a 32-bit word and give 0.
inline uint32_t ShiftClamp(uint32_t value, uint32_t shift) {
    const uint32_t shifted = shift < 32 ? value << shift : 0u;
    return shifted < 65535u ? shifted : 65535u;
}

// The display byte of a 16-bit value after the gain shift.
inline uint8_t DisplayByte(uint32_t value, uint32_t shift) { return uint8_t(ShiftClamp(value, shift) >> 8); }

}  // namespace Render::Kernels
