#pragma once
// The gain shift and its clamp (PixelFormat.h) on eight 16-bit samples at a
// time in SSE2 registers: display bytes, and 16-bit values for saving.
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Render::Kernels {

#if defined(__SSE2__)
// For a shift s below 16, min(v << s, 65535) >> 8 equals min(v, 2^(16-s))
// shifted right by 8 - s (or left by s - 8), saturated to a byte: a sample
// past 65535 >> s reaches 256 or more and saturates to 255 like the clamped
// value. For s from 16 to 31 the 32-bit shift keeps none of the 16 low bits,
// so the result is either 0 (all bits shifted out) or at least 65536: 255
// exactly when v has a bit below 32 - s. Shifts of 32 and more give 0. Each
// range has its own loop body; without a shift the byte is the high byte.
enum class GainRange { None, Right, Left, High };

template <GainRange R>
struct WideGain {
    explicit WideGain(uint32_t shift) {
        uint32_t mask = 0, limit = 1, count = 8;
        if constexpr (R == GainRange::Right) {
            limit = shift == 0 ? 0xFFFF : 1u << (16 - shift);
            count = 8 - shift;
        } else if constexpr (R == GainRange::Left) {
            limit = 1u << (16 - shift);
            count = shift - 8;
        } else if constexpr (R == GainRange::High) {
            mask = shift < 32 ? (1u << (32 - shift)) - 1 : 0;
        }
        this->mask = _mm_set1_epi16(int16_t(mask));
        this->limit = _mm_set1_epi16(int16_t(limit));
        this->count = _mm_cvtsi32_si128(int(count));
    }
    // Per lane the display byte, or 256 and more where it saturates to 255
    // (packing with _mm_packus_epi16 completes it).
    __m128i Levels(__m128i v) const {
        if constexpr (R == GainRange::None) return _mm_srli_epi16(v, 8);
        if constexpr (R == GainRange::High) v = _mm_and_si128(v, mask);
        const __m128i m = _mm_sub_epi16(v, _mm_subs_epu16(v, limit));  // unsigned min(v, limit)
        if constexpr (R == GainRange::Right) return _mm_srl_epi16(m, count);
        return _mm_sll_epi16(m, count);
    }
    // The display byte in each 16-bit lane (Levels is at most 256).
    __m128i Byte(__m128i v) const {
        if constexpr (R == GainRange::None) return Levels(v);
        return _mm_min_epi16(Levels(v), _mm_set1_epi16(255));
    }
    // The display bytes of 16 samples.
    __m128i Bytes(const uint16_t* p) const {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        return _mm_packus_epi16(Levels(a), Levels(b));
    }
    __m128i mask, limit, count;
};

// Calls body(gain) with the gain of the shift's range.
template <typename Body>
void WithGain(uint32_t shift, Body&& body) {
    if (shift == 0)
        body(WideGain<GainRange::None>(shift));
    else if (shift <= 8)
        body(WideGain<GainRange::Right>(shift));
    else if (shift < 16)
        body(WideGain<GainRange::Left>(shift));
    else
        body(WideGain<GainRange::High>(shift));
}

// ShiftClamp for shifts below 16: v << s where v <= 65535 >> s, 65535 above.
struct WideShiftClamp {
    explicit WideShiftClamp(uint32_t shift)
        : limit(_mm_set1_epi16(int16_t(0xFFFFu >> shift))), count(_mm_cvtsi32_si128(int(shift))) {}
    __m128i Apply(__m128i v) const {
        const __m128i inRange = _mm_cmpeq_epi16(_mm_subs_epu16(v, limit), _mm_setzero_si128());
        return _mm_or_si128(_mm_sll_epi16(v, count), _mm_andnot_si128(inRange, _mm_set1_epi16(-1)));
    }
    __m128i limit, count;
};
#endif

}  // namespace Render::Kernels
