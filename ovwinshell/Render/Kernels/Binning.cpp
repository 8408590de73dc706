#include "Binning.h"

#include <emmintrin.h>

namespace Render::Kernels {

namespace {

constexpr uint32_t kDarkOffsetPerSample = 768;

template <uint32_t B, uint32_t spp>
void BinRows(const uint16_t* samples, uint32_t width, uint32_t height, uint16_t* out) {
    const uint32_t outWidth = width / B, outHeight = height / B;
    const uint32_t offset = (B * B - 1) * kDarkOffsetPerSample;
    const uint64_t rowSamples = uint64_t(width) * spp;
    constexpr uint32_t kChunkPixels = 256;  // output pixels per pass
    // Column sums of B rows first, then B adjacent columns: both loops are plain
    // strided adds the compiler can vectorise.
    uint32_t sums[kChunkPixels * 8 * 3];
    for (uint32_t oy = 0; oy < outHeight; ++oy) {
        const uint16_t* block = samples + uint64_t(oy) * B * rowSamples;
        uint16_t* dst = out + uint64_t(oy) * outWidth * spp;
        for (uint32_t first = 0; first < outWidth; first += kChunkPixels) {
            const uint32_t pixels = outWidth - first < kChunkPixels ? outWidth - first : kChunkPixels;
            const uint64_t inStart = uint64_t(first) * B * spp;
            const uint32_t inCount = pixels * B * spp;
            for (uint32_t i = 0; i < inCount; ++i) sums[i] = block[inStart + i];
            for (uint32_t r = 1; r < B; ++r) {
                const uint16_t* row = block + r * rowSamples + inStart;
                for (uint32_t i = 0; i < inCount; ++i) sums[i] += row[i];
            }
            uint16_t* chunkOut = dst + uint64_t(first) * spp;
            for (uint32_t p = 0; p < pixels; ++p) {
                for (uint32_t s = 0; s < spp; ++s) {
                    uint32_t sum = 0;
                    for (uint32_t c = 0; c < B; ++c) sum += sums[(p * B + c) * spp + s];
                    const uint32_t value = sum - offset;  // wraps below the offset, then clamps
                    chunkOut[p * spp + s] = value > 65535u ? uint16_t(65535) : uint16_t(value);
                }
            }
        }
    }
}

// 2 x 2 blocks of one-sample pixels, eight output samples per step with
// SSE2. Samples are biased to signed (x ^ 0x8000 = x - 32768) so that
// _mm_madd_epi16 adds horizontal pairs exactly; the bias is added back.
void Bin2Mono(const uint16_t* samples, uint32_t width, uint32_t height, uint16_t* out) {
    const uint32_t outWidth = width / 2, outHeight = height / 2;
    const __m128i bias = _mm_set1_epi16(int16_t(0x8000));
    const __m128i ones = _mm_set1_epi16(1);
    // Four biased samples sum to (sum - 4 * 32768); the offset is 3 * 768.
    const __m128i unbias = _mm_set1_epi32(4 * 32768 - 3 * int32_t(kDarkOffsetPerSample));
    const __m128i top = _mm_set1_epi32(65535);
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(32768);
    const __m128i half16 = _mm_set1_epi16(int16_t(0x8000));
    for (uint32_t oy = 0; oy < outHeight; ++oy) {
        const uint16_t* r0 = samples + uint64_t(oy) * 2 * width;
        const uint16_t* r1 = r0 + width;
        uint16_t* dst = out + uint64_t(oy) * outWidth;
        uint32_t ox = 0;
        for (; ox + 8 <= outWidth; ox += 8) {
            auto blockSums = [&](uint32_t at) {
                const __m128i a = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + at)), bias);
                const __m128i b = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + at)), bias);
                __m128i v = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(a, ones), _mm_madd_epi16(b, ones)), unbias);
                // Below the offset (negative) or above 65535: 65535.
                const __m128i bad = _mm_or_si128(_mm_cmplt_epi32(v, zero), _mm_cmpgt_epi32(v, top));
                v = _mm_or_si128(_mm_andnot_si128(bad, v), _mm_and_si128(bad, top));
                return _mm_sub_epi32(v, half);  // into the signed 16-bit range for packing
            };
            const __m128i low = blockSums(2 * ox), high = blockSums(2 * ox + 8);
            const __m128i packed = _mm_xor_si128(_mm_packs_epi32(low, high), half16);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + ox), packed);
        }
        for (; ox < outWidth; ++ox) {
            const uint32_t value =
                uint32_t(r0[2 * ox]) + r0[2 * ox + 1] + r1[2 * ox] + r1[2 * ox + 1] - 3 * kDarkOffsetPerSample;
            dst[ox] = value > 65535u ? uint16_t(65535) : uint16_t(value);
        }
    }
}

template <uint32_t B>
void Bin(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t spp, uint16_t* out) {
    if (spp == 1 && B == 2)
        Bin2Mono(samples, width, height, out);
    else if (spp == 1)
        BinRows<B, 1>(samples, width, height, out);
    else
        BinRows<B, 3>(samples, width, height, out);
}

}  // namespace

uint64_t BinnedSampleCount(uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint32_t factor) {
    if (factor == 0) return 0;
    return uint64_t(width / factor) * (height / factor) * samplesPerPixel;
}

bool BinFrame(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint32_t factor,
              uint16_t* out) {
    if (samplesPerPixel != 1 && samplesPerPixel != 3) return false;
    switch (factor) {
        case 2:
            Bin<2>(samples, width, height, samplesPerPixel, out);
            return true;
        case 4:
            Bin<4>(samples, width, height, samplesPerPixel, out);
            return true;
        case 8:
            Bin<8>(samples, width, height, samplesPerPixel, out);
            return true;
        default:
            return false;
    }
}

}  // namespace Render::Kernels
