#pragma once
// The statistics loop over whole vectors, written once over a lanes type L
// (128-bit SSE2 in FrameStatisticsSse2.cpp, 256-bit AVX2 in
// FrameStatisticsAvx2.cpp). Only those two units include this header.
//
// Everything here has internal linkage, and nothing here calls an inline
// function of another header: the AVX2 unit compiles this code for AVX2, and
// a shared inline function compiled there could be the copy the linker keeps
// for the whole program.
//
// L provides: V (the register), kSamples (16-bit lanes per register), Load,
// Zero, Splat16, And, Or, Xor, Add16, Sub16, SubsU16, CmpEq16, Add32, Add64,
// Madd16, Sll16 and Srl16 (count in a 128-bit register), SignOf32,
// UnpackLo32, UnpackHi32 and Total64 (the sum of the 64-bit lanes).
#include <cstdint>

#include "FrameStatisticsPaths.h"

namespace Render::Kernels {
namespace {

template <class L>
struct VectorConstants {
    using V = typename L::V;
    explicit VectorConstants(const VectorStatisticsRule& rule) {
        // Gain shift in 16-bit lanes: w := v AND keep, then (w << min(s, 16))
        // OR (all ones when w > limit). Below 16, keep = 0xFFFF and limit =
        // 65535 >> s: the value either fits or saturates. From 16 on the
        // 32-bit shift keeps the bits below 32 - s, and any of them makes the
        // value reach 65536 or more: keep = those bits, limit = 0. From 32 on
        // no bit is kept and every value is 0.
        const uint32_t s = rule.shift;
        uint32_t keepBits = 0xFFFF, limitValue = s < 16 ? 0xFFFFu >> s : 0u;
        if (s >= 16) keepBits = s < 32 ? ((1u << (32 - s)) - 1) & 0xFFFF : 0;
        keep = L::Splat16(keepBits);
        limit = L::Splat16(limitValue);
        mask = L::Splat16(rule.mask);
        low = L::Splat16(rule.low);
        span = L::Splat16(rule.high - rule.low);
        top = L::Splat16(0x8000);
        ones = L::Splat16(1);
        allOnes = L::Splat16(0xFFFF);
        zero = L::Zero();
        shiftCount = _mm_cvtsi32_si128(int(s < 16 ? s : 16));
        downCount = _mm_cvtsi32_si128(int(rule.down));
    }
    V keep, limit, mask, low, span, top, ones, allOnes, zero;
    __m128i shiftCount, downCount;
};

// The statistics values F of one register of samples.
template <class L, bool Shifted>
inline typename L::V VectorValues(typename L::V v, const VectorConstants<L>& k) {
    if constexpr (Shifted) {
        const typename L::V w = L::And(v, k.keep);
        const typename L::V over = L::Xor(L::CmpEq16(L::SubsU16(w, k.limit), k.zero), k.allOnes);
        v = L::Or(L::Sll16(w, k.shiftCount), over);
    }
    return L::Srl16(L::And(v, k.mask), k.downCount);
}

// Inside the threshold range: F - low, as an unsigned 16-bit number, is at most high - low.
template <class L>
inline typename L::V VectorInside(typename L::V f, const VectorConstants<L>& k) {
    return L::CmpEq16(L::SubsU16(L::Sub16(f, k.low), k.span), k.zero);
}

template <class L>
inline typename L::V WidenUnsigned32(typename L::V wide, typename L::V lanes, typename L::V zero) {
    wide = L::Add64(wide, L::UnpackLo32(lanes, zero));
    return L::Add64(wide, L::UnpackHi32(lanes, zero));
}

template <class L>
inline typename L::V WidenSigned32(typename L::V wide, typename L::V lanes) {
    const typename L::V sign = L::SignOf32(lanes);
    wide = L::Add64(wide, L::UnpackLo32(lanes, sign));
    return L::Add64(wide, L::UnpackHi32(lanes, sign));
}

// Values of at most 12 bits. Per register: sums of F, |F - P| and the
// thresholded F in 16-bit lanes (8 registers at most: 8 x 4095 < 2^15, so
// madd by 1 folds them into 32-bit lanes), squares by madd in 32-bit lanes
// (64 registers at most: 64 x 2 x 4095^2 < 2^32), then 64-bit lanes.
template <class L, bool Shifted, bool Threshold>
uint64_t AddNarrowRun(const uint16_t* current, const uint16_t* previous, uint64_t count,
                      const VectorStatisticsRule& rule, StatisticsSums& sums) {
    using V = typename L::V;
    const VectorConstants<L> k(rule);
    constexpr uint64_t n = L::kSamples;
    const uint64_t vectors = count / n;
    V sum64 = k.zero, squares64 = k.zero, difference64 = k.zero;
    V counted64 = k.zero, thresholdSum64 = k.zero, thresholdSquares64 = k.zero;
    uint64_t i = 0;
    while (i < vectors) {
        V sum32 = k.zero, squares32 = k.zero, difference32 = k.zero;
        V counted32 = k.zero, thresholdSum32 = k.zero, thresholdSquares32 = k.zero;
        const uint64_t outerEnd = vectors - i > 64 ? i + 64 : vectors;
        while (i < outerEnd) {
            V sum16 = k.zero, difference16 = k.zero, counted16 = k.zero, thresholdSum16 = k.zero;
            const uint64_t innerEnd = outerEnd - i > 8 ? i + 8 : outerEnd;
            for (; i < innerEnd; ++i) {
                const V f = VectorValues<L, Shifted>(L::Load(current + i * n), k);
                const V g = VectorValues<L, Shifted>(L::Load(previous + i * n), k);
                difference16 = L::Add16(difference16, L::Or(L::SubsU16(f, g), L::SubsU16(g, f)));
                sum16 = L::Add16(sum16, f);
                squares32 = L::Add32(squares32, L::Madd16(f, f));
                if constexpr (Threshold) {
                    const V in = VectorInside<L>(f, k);
                    const V inside = L::And(f, in);
                    counted16 = L::Sub16(counted16, in);
                    thresholdSum16 = L::Add16(thresholdSum16, inside);
                    thresholdSquares32 = L::Add32(thresholdSquares32, L::Madd16(inside, inside));
                }
            }
            sum32 = L::Add32(sum32, L::Madd16(sum16, k.ones));
            difference32 = L::Add32(difference32, L::Madd16(difference16, k.ones));
            if constexpr (Threshold) {
                counted32 = L::Add32(counted32, L::Madd16(counted16, k.ones));
                thresholdSum32 = L::Add32(thresholdSum32, L::Madd16(thresholdSum16, k.ones));
            }
        }
        sum64 = WidenUnsigned32<L>(sum64, sum32, k.zero);
        squares64 = WidenUnsigned32<L>(squares64, squares32, k.zero);
        difference64 = WidenUnsigned32<L>(difference64, difference32, k.zero);
        if constexpr (Threshold) {
            counted64 = WidenUnsigned32<L>(counted64, counted32, k.zero);
            thresholdSum64 = WidenUnsigned32<L>(thresholdSum64, thresholdSum32, k.zero);
            thresholdSquares64 = WidenUnsigned32<L>(thresholdSquares64, thresholdSquares32, k.zero);
        }
    }
    sums.sum += L::Total64(sum64);
    sums.sumSquares += L::Total64(squares64);
    sums.sumAbsDifference += L::Total64(difference64);
    if constexpr (Threshold) {
        sums.thresholdCount += L::Total64(counted64);
        sums.thresholdSum += L::Total64(thresholdSum64);
        sums.thresholdSumSquares += L::Total64(thresholdSquares64);
    }
    return vectors * n;
}

// Values up to 16 bits, taken as signed x = F - 32768 (F XOR 0x8000) so that
// madd applies: sum F = sum x + 32768 m and sum F^2 = sum x^2 + 65536 sum x
// + 2^30 m over m samples (unsigned 64-bit arithmetic wraps to the exact
// result). A pair of x^2 is at most 2^31 and is widened at once; the signed
// pair sums of x stay within +-2^22 for 64 registers.
template <class L, bool Shifted, bool Threshold>
uint64_t AddWideRun(const uint16_t* current, const uint16_t* previous, uint64_t count, const VectorStatisticsRule& rule,
                    StatisticsSums& sums) {
    using V = typename L::V;
    const VectorConstants<L> k(rule);
    constexpr uint64_t n = L::kSamples;
    const uint64_t vectors = count / n;
    V sum64 = k.zero, squares64 = k.zero, difference64 = k.zero;
    V counted64 = k.zero, thresholdSum64 = k.zero, thresholdSquares64 = k.zero;
    uint64_t i = 0;
    while (i < vectors) {
        V sum32 = k.zero, difference32 = k.zero, thresholdSum32 = k.zero, counted16 = k.zero;
        const uint64_t end = vectors - i > 64 ? i + 64 : vectors;
        for (; i < end; ++i) {
            const V f = VectorValues<L, Shifted>(L::Load(current + i * n), k);
            const V g = VectorValues<L, Shifted>(L::Load(previous + i * n), k);
            const V d = L::Or(L::SubsU16(f, g), L::SubsU16(g, f));
            difference32 = L::Add32(difference32, L::Madd16(L::Xor(d, k.top), k.ones));
            const V x = L::Xor(f, k.top);
            sum32 = L::Add32(sum32, L::Madd16(x, k.ones));
            squares64 = WidenUnsigned32<L>(squares64, L::Madd16(x, x), k.zero);
            if constexpr (Threshold) {
                const V in = VectorInside<L>(f, k);
                // Outside lanes hold F = 0 and add 0 to the corrected sums.
                const V y = L::Xor(L::And(f, in), k.top);
                counted16 = L::Sub16(counted16, in);
                thresholdSum32 = L::Add32(thresholdSum32, L::Madd16(y, k.ones));
                thresholdSquares64 = WidenUnsigned32<L>(thresholdSquares64, L::Madd16(y, y), k.zero);
            }
        }
        sum64 = WidenSigned32<L>(sum64, sum32);
        difference64 = WidenSigned32<L>(difference64, difference32);
        if constexpr (Threshold) {
            thresholdSum64 = WidenSigned32<L>(thresholdSum64, thresholdSum32);
            counted64 = WidenUnsigned32<L>(counted64, L::Madd16(counted16, k.ones), k.zero);
        }
    }
    const uint64_t m = vectors * n;
    const uint64_t x = L::Total64(sum64);
    sums.sum += x + (m << 15);
    sums.sumSquares += L::Total64(squares64) + (x << 16) + (m << 30);
    sums.sumAbsDifference += L::Total64(difference64) + (m << 15);
    if constexpr (Threshold) {
        const uint64_t y = L::Total64(thresholdSum64);
        sums.thresholdCount += L::Total64(counted64);
        sums.thresholdSum += y + (m << 15);
        sums.thresholdSumSquares += L::Total64(thresholdSquares64) + (y << 16) + (m << 30);
    }
    return m;
}

template <class L, bool Shifted>
uint64_t AddVectorRunShifted(const uint16_t* current, const uint16_t* previous, uint64_t count,
                             const VectorStatisticsRule& rule, StatisticsSums& sums) {
    if (rule.wide)
        return rule.threshold ? AddWideRun<L, Shifted, true>(current, previous, count, rule, sums)
                              : AddWideRun<L, Shifted, false>(current, previous, count, rule, sums);
    return rule.threshold ? AddNarrowRun<L, Shifted, true>(current, previous, count, rule, sums)
                          : AddNarrowRun<L, Shifted, false>(current, previous, count, rule, sums);
}

template <class L>
uint64_t AddVectorRun(const uint16_t* current, const uint16_t* previous, uint64_t count,
                      const VectorStatisticsRule& rule, StatisticsSums& sums) {
    return rule.shift == 0 ? AddVectorRunShifted<L, false>(current, previous, count, rule, sums)
                           : AddVectorRunShifted<L, true>(current, previous, count, rule, sums);
}

}  // namespace
}  // namespace Render::Kernels
