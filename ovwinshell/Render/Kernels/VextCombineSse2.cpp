// The VEXT combining loop in 128-bit SSE2 registers (every x86-64 processor).
#include "VextUnpack.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstring>

#include "VextCombineVector.h"

namespace Render::Kernels {
namespace {

struct Sse2Lanes {
    using V = __m128i;
    static constexpr size_t kPositions = 4;
    static V Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static V Splat(uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    template <int N>
    static V Sll(V a) {
        return _mm_slli_epi32(a, N);
    }
    template <int N>
    static V Srl(V a) {
        return _mm_srli_epi32(a, N);
    }
    static V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static V UnpackLo64(V a, V b) { return _mm_unpacklo_epi64(a, b); }
    static V UnpackHi64(V a, V b) { return _mm_unpackhi_epi64(a, b); }
    static void Store(const V rows[4], V fifth, uint16_t* out) {
        uint32_t pairs[4];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pairs), fifth);
        for (int i = 0; i < 4; ++i) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 10 * i), rows[i]);
            std::memcpy(out + 10 * i + 8, &pairs[i], sizeof pairs[i]);
        }
    }
};

}  // namespace

size_t CombineVextPositionsSse2(const uint32_t* const planes[4], size_t whole, uint16_t* out) {
    return CombinePositionsWith<Sse2Lanes>(planes[0], planes[1], planes[2], planes[3], whole, out);
}

}  // namespace Render::Kernels
#else
namespace Render::Kernels {
size_t CombineVextPositionsSse2(const uint32_t* const[4], size_t, uint16_t*) { return 0; }
}  // namespace Render::Kernels
#endif
