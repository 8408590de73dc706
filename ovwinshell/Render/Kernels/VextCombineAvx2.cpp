// The VEXT combining loop in 256-bit AVX2 registers, compiled for AVX2 whatever
// the project's target and called only when the processor runs AVX2. Nothing
// in this unit may be shared with other units: see VextCombineVector.h.
#include "VextUnpack.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <cstring>

#pragma GCC push_options
#pragma GCC target("avx2")

#include "VextCombineVector.h"

namespace Render::Kernels {
namespace {

struct Avx2Lanes {
    using V = __m256i;
    static constexpr size_t kPositions = 8;
    static V Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static V Splat(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    template <int N>
    static V Sll(V a) {
        return _mm256_slli_epi32(a, N);
    }
    template <int N>
    static V Srl(V a) {
        return _mm256_srli_epi32(a, N);
    }
    static V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static V UnpackLo64(V a, V b) { return _mm256_unpacklo_epi64(a, b); }
    static V UnpackHi64(V a, V b) { return _mm256_unpackhi_epi64(a, b); }
    // The low 128-bit lane holds positions 0..3, the high one positions 4..7.
    static void Store(const V rows[4], V fifth, uint16_t* out) {
        uint32_t pairs[8];
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pairs), fifth);
        for (int i = 0; i < 4; ++i) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 10 * i), _mm256_castsi256_si128(rows[i]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 10 * (i + 4)), _mm256_extracti128_si256(rows[i], 1));
            std::memcpy(out + 10 * i + 8, &pairs[i], sizeof pairs[i]);
            std::memcpy(out + 10 * (i + 4) + 8, &pairs[i + 4], sizeof pairs[i]);
        }
    }
};

}  // namespace

size_t CombineVextPositionsAvx2(const uint32_t* const planes[4], size_t whole, uint16_t* out) {
    return CombinePositionsWith<Avx2Lanes>(planes[0], planes[1], planes[2], planes[3], whole, out);
}

}  // namespace Render::Kernels

#pragma GCC pop_options
#else
namespace Render::Kernels {
size_t CombineVextPositionsAvx2(const uint32_t* const[4], size_t, uint16_t*) { return 0; }
}  // namespace Render::Kernels
#endif
