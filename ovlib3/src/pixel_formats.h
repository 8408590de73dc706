// Raw pixel formats of the simulated cameras and their packing. Samples are
// handled as 16-bit values with the data in the high bits; a format keeps
// only its top `significantBits` of each sample.
#pragma once
#include <cstdint>
#include <vector>

namespace ovsim {

struct PixelFormat {
    int32_t enumValue;         // the data format option's value (list 4)
    uint32_t code;             // header field 9
    uint32_t rawBits;          // header field 11 of the raw data
    uint32_t significantBits;  // bits of real data per channel sample
    uint32_t channels;         // samples per pixel in the raw data (3 = BGR)
    bool colour;
    bool mosaic;
};

const PixelFormat* formatByEnum(int32_t enumValue);
const PixelFormat* formatByCode(uint32_t code);

uint64_t rawBlockBytes(const PixelFormat& format, uint32_t width, uint32_t height);

// What a format keeps of a 16-bit sample.
inline uint16_t quantize(uint16_t sample, uint32_t significantBits) {
    return static_cast<uint16_t>(sample & ~((1u << (16 - significantBits)) - 1u));
}

// samples: width*height*channels values (BGR order for 3 channels).
void packRaw(const PixelFormat& format, const uint16_t* samples, uint32_t width, uint32_t height, uint8_t* out);
void unpackRaw(const PixelFormat& format, const uint8_t* raw, uint32_t width, uint32_t height, uint16_t* samples);

// The sum of the bytes, modulo 2^32.
uint32_t byteSum(const uint8_t* bytes, uint64_t count);

// GRBG mosaic (even origin) to BGR: each 2x2 cell gives its R, B and the mean
// of its two G samples to all four pixels. width and height must be even.
void demosaicGrbg(const uint16_t* mosaic, uint32_t width, uint32_t height, uint16_t* bgr);

// Which colour a GRBG mosaic sample at (x, y) measures: 0 blue, 1 green, 2 red.
inline int mosaicChannel(uint32_t x, uint32_t y) {
    if ((y & 1) == 0) return (x & 1) ? 2 : 1;
    return (x & 1) ? 1 : 0;
}

}  // namespace ovsim
