#include "ZelConversion.h"

#include "DisplayGain.h"
#include "PixelStore.h"

namespace Render::Kernels {

namespace {

void MonoRow4(const uint16_t* src, uint32_t n, uint32_t shift, uint8_t* dst) {
    uint32_t i = 0;
#if defined(__SSE2__)
    WithGain(shift, [&](const auto& gain) {
        const __m128i zero = _mm_setzero_si128();
        for (; i + 16 <= n; i += 16) {
            const __m128i bytes = gain.Bytes(src + i);
            // Per pixel the words b | b << 8 and b: interleaved they make b * 0x010101.
            const __m128i doubledLow = _mm_unpacklo_epi8(bytes, bytes), doubledHigh = _mm_unpackhi_epi8(bytes, bytes);
            const __m128i singleLow = _mm_unpacklo_epi8(bytes, zero), singleHigh = _mm_unpackhi_epi8(bytes, zero);
            __m128i* out = reinterpret_cast<__m128i*>(dst + size_t(i) * 4);
            _mm_storeu_si128(out, _mm_unpacklo_epi16(doubledLow, singleLow));
            _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(doubledLow, singleLow));
            _mm_storeu_si128(out + 2, _mm_unpacklo_epi16(doubledHigh, singleHigh));
            _mm_storeu_si128(out + 3, _mm_unpackhi_epi16(doubledHigh, singleHigh));
        }
    });
#endif
    for (; i < n; ++i) StoreBgr<4>(dst + size_t(i) * 4, DisplayByte(src[i], shift) * 0x010101u);
}

// Rows converted through a small byte buffer, chunk by chunk.
constexpr uint32_t kChunkPixels = 512;

void MonoRow3(const uint16_t* src, uint32_t n, uint32_t shift, uint8_t* dst) {
    uint8_t bytes[kChunkPixels];
    for (uint32_t first = 0; first < n; first += kChunkPixels) {
        const uint32_t count = n - first < kChunkPixels ? n - first : kChunkPixels;
        ToDisplayBytes(src + first, count, shift, bytes);
        uint8_t* out = dst + size_t(first) * 3;
        size_t i = 0;
        for (; i + 4 <= count; i += 4) {  // four pixels in three words
            const uint32_t b0 = bytes[i], b1 = bytes[i + 1], b2 = bytes[i + 2], b3 = bytes[i + 3];
            const uint32_t first = b0 * 0x010101u | b1 << 24, second = b1 * 0x0101u | b2 * 0x01010000u,
                           third = b2 | b3 * 0x01010100u;
            std::memcpy(out + i * 3, &first, 4);
            std::memcpy(out + i * 3 + 4, &second, 4);
            std::memcpy(out + i * 3 + 8, &third, 4);
        }
        for (; i < count; ++i) StoreBgr<3>(out + i * 3, bytes[i] * 0x010101u);
    }
}

void BgrRow4(const uint16_t* src, uint32_t n, uint32_t shift, uint8_t* dst) {
    uint8_t bytes[kChunkPixels * 3 + 1];  // one spare byte: each pixel reads four
    bytes[kChunkPixels * 3] = 0;
    for (uint32_t first = 0; first < n; first += kChunkPixels) {
        const uint32_t count = n - first < kChunkPixels ? n - first : kChunkPixels;
        ToDisplayBytes(src + size_t(first) * 3, size_t(count) * 3, shift, bytes);
        uint8_t* out = dst + size_t(first) * 4;
        for (size_t i = 0; i < count; ++i) {
            uint32_t word;
            std::memcpy(&word, bytes + i * 3, 4);
            StoreBgr<4>(out + i * 4, word & 0x00FFFFFFu);
        }
    }
}

}  // namespace

void ToDisplayBytes(const uint16_t* samples, size_t count, uint32_t shift, uint8_t* out) {
    size_t i = 0;
#if defined(__SSE2__)
    WithGain(shift, [&](const auto& gain) {
        for (; i + 16 <= count; i += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), gain.Bytes(samples + i));
    });
#endif
    for (; i < count; ++i) out[i] = DisplayByte(samples[i], shift);
}

bool ConvertZelFrame(const uint16_t* samples, uint32_t rowPixels, uint32_t width, uint32_t height, uint32_t layout,
                     uint32_t shift, const DisplayTarget& target) {
    if (layout != kLayoutMono && layout != kLayoutBgr) return false;
    if (!samples || !target.pixels || width > rowPixels) return false;
    if (target.bytesPerPixel != 3 && target.bytesPerPixel != 4) return false;
    const bool bgr = layout == kLayoutBgr;
    const size_t rowSamples = size_t(rowPixels) * (bgr ? 3 : 1);
    for (uint32_t y = 0; y < height; ++y) {
        const uint16_t* src = samples + y * rowSamples;
        uint8_t* dst = target.pixels + ptrdiff_t(y) * target.pitch;
        if (target.bytesPerPixel == 4) {
            if (bgr)
                BgrRow4(src, width, shift, dst);
            else
                MonoRow4(src, width, shift, dst);
        } else if (bgr) {
            ToDisplayBytes(src, size_t(width) * 3, shift, dst);  // the samples' order is the pixels' byte order
        } else {
            MonoRow3(src, width, shift, dst);
        }
    }
    return true;
}

}  // namespace Render::Kernels
