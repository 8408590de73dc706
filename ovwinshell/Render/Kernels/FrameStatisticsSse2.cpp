// The statistics loop in 128-bit SSE2 registers (every x86-64 processor).
#include "FrameStatisticsPaths.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "FrameStatisticsVector.h"

namespace Render::Kernels {
namespace {

struct Sse2Lanes {
    using V = __m128i;
    static constexpr uint64_t kSamples = 8;
    static V Load(const uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Splat16(uint32_t x) { return _mm_set1_epi16(static_cast<short>(x & 0xFFFF)); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
    static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static V SubsU16(V a, V b) { return _mm_subs_epu16(a, b); }
    static V CmpEq16(V a, V b) { return _mm_cmpeq_epi16(a, b); }
    static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
    static V Add64(V a, V b) { return _mm_add_epi64(a, b); }
    static V Madd16(V a, V b) { return _mm_madd_epi16(a, b); }
    static V Sll16(V a, __m128i count) { return _mm_sll_epi16(a, count); }
    static V Srl16(V a, __m128i count) { return _mm_srl_epi16(a, count); }
    static V SignOf32(V a) { return _mm_srai_epi32(a, 31); }
    static V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static uint64_t Total64(V a) {
        uint64_t lanes[2];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), a);
        return lanes[0] + lanes[1];
    }
};

}  // namespace

uint64_t AddStatisticsRunSse2(const uint16_t* current, const uint16_t* previous, uint64_t count,
                              const VectorStatisticsRule& rule, StatisticsSums& sums) {
    return AddVectorRun<Sse2Lanes>(current, previous, count, rule, sums);
}

}  // namespace Render::Kernels

#else

namespace Render::Kernels {

uint64_t AddStatisticsRunSse2(const uint16_t*, const uint16_t*, uint64_t, const VectorStatisticsRule&,
                              StatisticsSums&) {
    return 0;
}

}  // namespace Render::Kernels

#endif
