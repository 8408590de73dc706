#pragma once
// The VEXT combining loop over whole vectors of positions, written once over a
// lanes type L (128-bit SSE2 in VextCombineSse2.cpp, 256-bit AVX2 in
// VextCombineAvx2.cpp). Only those two units include this header; as with
// FrameStatisticsVector.h, everything here has internal linkage and calls no
// inline function of another header, so that no AVX2 copy of shared code can
// end up in the program.
//
// L provides: V (the register of 32-bit lanes), kPositions (lanes per
// register), Load, Splat, And, Or, Sll<n>, Srl<n>, UnpackLo32, UnpackHi32,
// UnpackLo64, UnpackHi64 (within each 128-bit lane), and Store (the four
// transposed rows of each 128-bit lane and the fifth pixel pairs).
#include <cstddef>
#include <cstdint>

namespace Render::Kernels {
namespace {

// The ten samples of each position become five 32-bit pixel pairs (each
// sample at bits 15..6 of its half); a 4x4 transpose per 128-bit lane puts
// pairs 1..4 of one position into one row, and Store adds pair 5 behind it.
// Returns the number of positions done.
template <class L>
size_t CombinePositionsWith(const uint32_t* a, const uint32_t* b, const uint32_t* c, const uint32_t* d, size_t whole,
                            uint16_t* out) {
    using V = typename L::V;
    const V low = L::Splat(0xFFC0);
    const V high = L::Splat(0xFFC00000u);
    size_t p = 0;
    for (; p + L::kPositions <= whole; p += L::kPositions) {
        const V A = L::Load(a + p), B = L::Load(b + p), C = L::Load(c + p), D = L::Load(d + p);
        const V w0 = L::Or(L::And(L::template Sll<6>(A), low), L::And(L::template Sll<22>(B), high));
        const V w1 = L::Or(L::And(L::template Srl<4>(A), low), L::And(L::template Sll<12>(B), high));
        const V w3 = L::Or(L::And(L::template Sll<6>(C), low), L::And(L::template Sll<22>(D), high));
        const V w4 = L::Or(L::And(L::template Srl<4>(C), low), L::And(L::template Sll<12>(D), high));
        // Pixel 5: C20-22, A20-22, C23-24, A23-24 from the least significant bit.
        V w2 = L::And(L::template Srl<14>(C), L::Splat(0x1C0));
        w2 = L::Or(w2, L::And(L::template Srl<11>(A), L::Splat(0xE00)));
        w2 = L::Or(w2, L::And(L::template Srl<11>(C), L::Splat(0x3000)));
        w2 = L::Or(w2, L::And(L::template Srl<9>(A), L::Splat(0xC000)));
        // Pixel 6: B20 D20 B21 D21 D22 B22 D23 B23 D24 B24, grouped by how far each bit moves.
        w2 = L::Or(w2, L::template Sll<2>(L::And(B, L::Splat(1u << 20))));
        w2 = L::Or(w2, L::template Sll<3>(L::Or(L::And(B, L::Splat(1u << 21)), L::And(D, L::Splat(1u << 20)))));
        w2 = L::Or(w2, L::template Sll<4>(L::And(D, L::Splat(3u << 21))));
        w2 = L::Or(w2, L::template Sll<5>(L::Or(L::And(B, L::Splat(1u << 22)), L::And(D, L::Splat(1u << 23)))));
        w2 = L::Or(w2, L::template Sll<6>(L::Or(L::And(B, L::Splat(1u << 23)), L::And(D, L::Splat(1u << 24)))));
        w2 = L::Or(w2, L::template Sll<7>(L::And(B, L::Splat(1u << 24))));
        const V t0 = L::UnpackLo32(w0, w1), t1 = L::UnpackLo32(w2, w3);
        const V t2 = L::UnpackHi32(w0, w1), t3 = L::UnpackHi32(w2, w3);
        const V rows[4] = {L::UnpackLo64(t0, t1), L::UnpackHi64(t0, t1), L::UnpackLo64(t2, t3), L::UnpackHi64(t2, t3)};
        L::Store(rows, w4, out + 10 * p);
    }
    return p;
}

}  // namespace
}  // namespace Render::Kernels
