#include "pixel_formats.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define OVSIM_X86 1
#endif

#include "ids.h"

namespace ovsim {
namespace {

const PixelFormat kFormats[] = {
    {kFormatMono8High, kPixMono8High, 16, 8, 1, false, false},
    {kFormatMono10Packed, kPixMono10Packed, 10, 10, 1, false, false},
    {kFormatMono12Packed, kPixMono12Packed, 12, 12, 1, false, false},
    {kFormatMono16, kPixMono16, 16, 16, 1, false, false},
    {kFormatMosaic10, kPixMosaic, 10, 10, 1, true, true},
    {kFormatRgb10, kPixRgb10, 32, 10, 3, true, false},
    {kFormatBgr48, kPixBgr48, 48, 16, 3, true, false},
};

// 10-bit packing: 4 samples in 5 bytes, the high 8 bits of each, then a byte
// of the four low 2-bit parts (sample i at bits 2i..2i+1).
void pack10(const uint16_t* s, uint64_t count, uint8_t* out) {
    for (uint64_t i = 0; i < count; i += 4, s += 4, out += 5) {
        uint8_t low = 0;
        for (int k = 0; k < 4; ++k) {
            const uint16_t v = s[k] >> 6;
            out[k] = static_cast<uint8_t>(v >> 2);
            low |= static_cast<uint8_t>((v & 3) << (2 * k));
        }
        out[4] = low;
    }
}

void unpack10(const uint8_t* in, uint64_t count, uint16_t* s) {
    for (uint64_t i = 0; i < count; i += 4, s += 4, in += 5)
        for (int k = 0; k < 4; ++k) s[k] = static_cast<uint16_t>(((in[k] << 2) | ((in[4] >> (2 * k)) & 3)) << 6);
}

// 12-bit packing: 2 samples in 3 bytes, the high 8 bits of each, then the
// two low nibbles (first sample in the low nibble).
void pack12(const uint16_t* s, uint64_t count, uint8_t* out) {
    for (uint64_t i = 0; i < count; i += 2, s += 2, out += 3) {
        const uint16_t a = s[0] >> 4, b = s[1] >> 4;
        out[0] = static_cast<uint8_t>(a >> 4);
        out[1] = static_cast<uint8_t>(b >> 4);
        out[2] = static_cast<uint8_t>((a & 0xF) | ((b & 0xF) << 4));
    }
}

void unpack12(const uint8_t* in, uint64_t count, uint16_t* s) {
    for (uint64_t i = 0; i < count; i += 2, s += 2, in += 3) {
        s[0] = static_cast<uint16_t>(((in[0] << 4) | (in[2] & 0xF)) << 4);
        s[1] = static_cast<uint16_t>(((in[1] << 4) | (in[2] >> 4)) << 4);
    }
}

#if OVSIM_X86
bool shufflesUsable() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3");
}

// The same eight samples (twelve bytes) at a time with byte shuffles: the
// high bytes and each pair's nibble byte are gathered in one register and
// put in place by one shuffle. The rest goes through pack12.
__attribute__((target("ssse3"))) void pack12Shuffled(const uint16_t* s, uint64_t count, uint8_t* out) {
    const __m128i lowNibble = _mm_set1_epi16(0x000F), pairWeights = _mm_setr_epi16(1, 16, 1, 16, 1, 16, 1, 16);
    const __m128i order = _mm_setr_epi8(0, 1, 8, 2, 3, 9, 4, 5, 10, 6, 7, 11, -1, -1, -1, -1);
    uint64_t i = 0;
    for (; i + 8 <= count; i += 8, s += 8, out += 12) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i high = _mm_srli_epi16(v, 8);
        // Per pair (a 32-bit lane) the first sample's nibble plus 16 times the second's.
        const __m128i nibbles = _mm_madd_epi16(_mm_and_si128(_mm_srli_epi16(v, 4), lowNibble), pairWeights);
        const __m128i bytes = _mm_packus_epi16(high, _mm_packs_epi32(nibbles, nibbles));
        const __m128i packed = _mm_shuffle_epi8(bytes, order);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
        const uint32_t last = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(packed, 8)));
        std::memcpy(out + 8, &last, 4);
    }
    pack12(s, count - i, out);
}

// Each 16-bit lane gets its pair's nibble byte low and its own high byte
// high; the nibble is then moved into bits 4..7 (times 16 for the first
// sample of a pair, in place for the second). Sixteen bytes are read for
// twelve, so the loop stops while a whole group of eight more follows.
__attribute__((target("ssse3"))) void unpack12Shuffled(const uint8_t* in, uint64_t count, uint16_t* s) {
    const __m128i spread = _mm_setr_epi8(2, 0, 2, 1, 5, 3, 5, 4, 8, 6, 8, 7, 11, 9, 11, 10);
    const __m128i nibbleScale = _mm_setr_epi16(16, 1, 16, 1, 16, 1, 16, 1);
    const __m128i highByte = _mm_set1_epi16(int16_t(0xFF00)), nibbleBits = _mm_set1_epi16(0x00F0);
    uint64_t i = 0;
    for (; i + 16 <= count; i += 8, in += 12, s += 8) {
        const __m128i lanes = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), spread);
        const __m128i nibbles = _mm_and_si128(_mm_mullo_epi16(lanes, nibbleScale), nibbleBits);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(s), _mm_or_si128(_mm_and_si128(lanes, highByte), nibbles));
    }
    unpack12(in, count - i, s);
}
#endif

// The 12-bit packer and unpacker this processor runs best.
struct Packers12 {
    void (*pack)(const uint16_t*, uint64_t, uint8_t*);
    void (*unpack)(const uint8_t*, uint64_t, uint16_t*);
};

const Packers12& packers12() {
#if OVSIM_X86
    static const Packers12 best =
        shufflesUsable() ? Packers12{pack12Shuffled, unpack12Shuffled} : Packers12{pack12, unpack12};
#else
    static const Packers12 best{pack12, unpack12};
#endif
    return best;
}

// 16-bit little-endian samples; quantizing keeps the 8-bit format's data in the high byte.
void pack16(const uint16_t* s, uint64_t count, uint32_t bits, uint8_t* out) {
    for (uint64_t i = 0; i < count; ++i) {
        const uint16_t v = quantize(s[i], bits);
        out[2 * i] = static_cast<uint8_t>(v);
        out[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
}

void unpack16(const uint8_t* in, uint64_t count, uint32_t bits, uint16_t* s) {
    for (uint64_t i = 0; i < count; ++i) s[i] = quantize(static_cast<uint16_t>(in[2 * i] | (in[2 * i + 1] << 8)), bits);
}

// RGB 10-bit: one little-endian 32-bit word per pixel, R in bits 20..29,
// G in 10..19, B in 0..9. Samples are in BGR order.
void packRgb10(const uint16_t* s, uint64_t pixels, uint8_t* out) {
    for (uint64_t i = 0; i < pixels; ++i, s += 3, out += 4) {
        const uint32_t word = (uint32_t(s[2] >> 6) << 20) | (uint32_t(s[1] >> 6) << 10) | uint32_t(s[0] >> 6);
        std::memcpy(out, &word, 4);
    }
}

void unpackRgb10(const uint8_t* in, uint64_t pixels, uint16_t* s) {
    for (uint64_t i = 0; i < pixels; ++i, s += 3, in += 4) {
        uint32_t word;
        std::memcpy(&word, in, 4);
        s[0] = static_cast<uint16_t>((word & 0x3FF) << 6);
        s[1] = static_cast<uint16_t>(((word >> 10) & 0x3FF) << 6);
        s[2] = static_cast<uint16_t>(((word >> 20) & 0x3FF) << 6);
    }
}

}  // namespace

const PixelFormat* formatByEnum(int32_t enumValue) {
    for (const auto& format : kFormats)
        if (format.enumValue == enumValue) return &format;
    return nullptr;
}

const PixelFormat* formatByCode(uint32_t code) {
    for (const auto& format : kFormats)
        if (format.code == code) return &format;
    return nullptr;
}

uint64_t rawBlockBytes(const PixelFormat& format, uint32_t width, uint32_t height) {
    return uint64_t(width) * height * format.rawBits / 8;
}

void packRaw(const PixelFormat& f, const uint16_t* samples, uint32_t width, uint32_t height, uint8_t* out) {
    const uint64_t pixels = uint64_t(width) * height;
    if (f.code == kPixRgb10)
        packRgb10(samples, pixels, out);
    else if (f.rawBits == 10)
        pack10(samples, pixels, out);
    else if (f.rawBits == 12)
        packers12().pack(samples, pixels, out);
    else
        pack16(samples, pixels * f.channels, f.significantBits, out);
}

void unpackRaw(const PixelFormat& f, const uint8_t* raw, uint32_t width, uint32_t height, uint16_t* samples) {
    const uint64_t pixels = uint64_t(width) * height;
    if (f.code == kPixRgb10)
        unpackRgb10(raw, pixels, samples);
    else if (f.rawBits == 10)
        unpack10(raw, pixels, samples);
    else if (f.rawBits == 12)
        packers12().unpack(raw, pixels, samples);
    else
        unpack16(raw, pixels * f.channels, f.significantBits, samples);
}

uint32_t byteSum(const uint8_t* bytes, uint64_t count) {
    uint64_t sum = 0, i = 0;
#if OVSIM_X86
    __m128i lanes = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16)
        lanes = _mm_add_epi64(
            lanes, _mm_sad_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i)), _mm_setzero_si128()));
    sum = uint64_t(_mm_cvtsi128_si64(lanes)) + uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(lanes, lanes)));
#endif
    for (; i < count; ++i) sum += bytes[i];
    return uint32_t(sum);
}

void demosaicGrbg(const uint16_t* mosaic, uint32_t width, uint32_t height, uint16_t* bgr) {
    for (uint32_t y = 0; y + 1 < height; y += 2) {
        for (uint32_t x = 0; x + 1 < width; x += 2) {
            const uint64_t top = uint64_t(y) * width + x, bottom = top + width;
            const uint16_t g = static_cast<uint16_t>((uint32_t(mosaic[top]) + mosaic[bottom + 1] + 1) / 2);
            const uint16_t r = mosaic[top + 1], b = mosaic[bottom];
            for (uint64_t at : {top, top + 1, bottom, bottom + 1}) {
                bgr[3 * at] = b;
                bgr[3 * at + 1] = g;
                bgr[3 * at + 2] = r;
            }
        }
    }
}

}  // namespace ovsim
