// The statistics loop in 256-bit AVX2 registers, compiled for AVX2 whatever
// the project's target and called only when the processor (and the system)
// runs AVX2. Nothing in this unit may be shared with other units: see
// FrameStatisticsVector.h.
#include "FrameStatisticsPaths.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx2")

#include "FrameStatisticsVector.h"

namespace Render::Kernels {
namespace {

struct Avx2Lanes {
    using V = __m256i;
    static constexpr uint64_t kSamples = 16;
    static V Load(const uint16_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Splat16(uint32_t x) { return _mm256_set1_epi16(static_cast<short>(x & 0xFFFF)); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V SubsU16(V a, V b) { return _mm256_subs_epu16(a, b); }
    static V CmpEq16(V a, V b) { return _mm256_cmpeq_epi16(a, b); }
    static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
    static V Add64(V a, V b) { return _mm256_add_epi64(a, b); }
    static V Madd16(V a, V b) { return _mm256_madd_epi16(a, b); }
    static V Sll16(V a, __m128i count) { return _mm256_sll_epi16(a, count); }
    static V Srl16(V a, __m128i count) { return _mm256_srl_epi16(a, count); }
    static V SignOf32(V a) { return _mm256_srai_epi32(a, 31); }
    static V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static uint64_t Total64(V a) {
        uint64_t lanes[4];  // unaligned store: no 32-byte stack alignment needed
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), a);
        return lanes[0] + lanes[1] + lanes[2] + lanes[3];
    }
};

}  // namespace

uint64_t AddStatisticsRunAvx2(const uint16_t* current, const uint16_t* previous, uint64_t count,
                              const VectorStatisticsRule& rule, StatisticsSums& sums) {
    return AddVectorRun<Avx2Lanes>(current, previous, count, rule, sums);
}

}  // namespace Render::Kernels

#pragma GCC pop_options

#else

namespace Render::Kernels {

uint64_t AddStatisticsRunAvx2(const uint16_t*, const uint16_t*, uint64_t, const VectorStatisticsRule&,
                              StatisticsSums&) {
    return 0;
}

}  // namespace Render::Kernels

#endif
