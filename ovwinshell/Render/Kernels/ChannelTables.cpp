#include "ChannelTables.h"

#include <cmath>

namespace Render::Kernels {

namespace {

// i * numerator / denominator for i = start, start + stride, ... in exact
// unsigned 32-bit arithmetic, stepping quotient and remainder instead of
// dividing each time. i * numerator and stride * numerator must stay below
// 2^32 (numerator <= 65535, i <= 65536 and stride <= 4 here).
class RatioSteps {
public:
    RatioSteps(uint32_t numerator, uint32_t denominator, uint32_t start, uint32_t stride)
        : quotient_(start * numerator / denominator),
          remainder_(start * numerator % denominator),
          stepQuotient_(stride * numerator / denominator),
          stepRemainder_(stride * numerator % denominator),
          denominator_(denominator) {}
    uint32_t Next() {
        const uint32_t value = quotient_;
        quotient_ += stepQuotient_;
        remainder_ += stepRemainder_;
        if (remainder_ >= denominator_) {
            remainder_ -= denominator_;
            ++quotient_;
        }
        return value;
    }

private:
    uint32_t quotient_;
    uint32_t remainder_;
    const uint32_t stepQuotient_;
    const uint32_t stepRemainder_;
    const uint32_t denominator_;
};

// store(i, i * numerator / denominator) for i = 0 .. count - 1. Four
// interleaved steppers, so that each step does not wait on the one before.
template <typename Store>
void ForEachRatio(uint32_t numerator, uint32_t denominator, uint32_t count, Store&& store) {
    RatioSteps s0(numerator, denominator, 0, 4), s1(numerator, denominator, 1, 4);
    RatioSteps s2(numerator, denominator, 2, 4), s3(numerator, denominator, 3, 4);
    uint32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        store(i, s0.Next());
        store(i + 1, s1.Next());
        store(i + 2, s2.Next());
        store(i + 3, s3.Next());
    }
    if (i < count) store(i, s0.Next());
    if (i + 1 < count) store(i + 1, s1.Next());
    if (i + 2 < count) store(i + 2, s2.Next());
}

inline uint16_t Clamp16(uint32_t v) { return uint16_t(v < 65535u ? v : 65535u); }

void BalanceThrough(const uint16_t* levelled, uint32_t maximum, uint32_t reference, uint16_t* out) {
    ForEachRatio(maximum, reference, kTableSize,
                 [&](uint32_t i, uint32_t balanced) { out[i] = levelled[Clamp16(balanced)]; });
}

}  // namespace

void BuildGammaTable(float gamma, uint16_t* table) {
    constexpr double kStep = 0.000015259021896696422;  // 1 / 65535
    const double exponent = 1.0 / double(gamma);
    for (uint32_t i = 0; i < kTableSize; ++i) {
        const double x = std::pow(double(i) * kStep, exponent) * 65535.0 + 0.5;
        // Also catches a result that is not a number (a gamma that is not one).
        table[i] = x < 65535.0 ? uint16_t(x) : uint16_t(65535);
    }
}

void BuildGreyTable(const uint16_t* gammaTable, uint16_t black, uint16_t white, uint16_t* grey) {
    if (black != white) {
        const uint32_t range = black < white ? uint32_t(white - black) : uint32_t(black - white);
        for (uint32_t i = 0; i < black; ++i) grey[i] = gammaTable[0];
        // Entry black + t: t * 65535 / range (t = 0 is black itself).
        ForEachRatio(65535u, range, kTableSize - black,
                     [&](uint32_t t, uint32_t levelled) { grey[black + t] = gammaTable[Clamp16(levelled)]; });
    } else {
        for (uint32_t i = 0; i < kTableSize; ++i) grey[i] = gammaTable[i];
    }
}

void BuildBalancedTables(const uint16_t* grey, uint16_t referenceRed, uint16_t referenceGreen, uint16_t referenceBlue,
                         const ChannelTables& out) {
    // A zero reference (a black frame in automatic balance, a black picked
    // pixel, a slider at its end) would divide by zero: it counts as 1.
    const uint32_t red = referenceRed ? referenceRed : 1u;
    const uint32_t green = referenceGreen ? referenceGreen : 1u;
    const uint32_t blue = referenceBlue ? referenceBlue : 1u;
    uint32_t maximum = red > green ? red : green;
    maximum = maximum > blue ? maximum : blue;
    BalanceThrough(grey, maximum, red, out.red);
    BalanceThrough(grey, maximum, green, out.green);
    BalanceThrough(grey, maximum, blue, out.blue);
}

void BuildChannelTables(const uint16_t* gammaTable, uint16_t black, uint16_t white, uint16_t referenceRed,
                        uint16_t referenceGreen, uint16_t referenceBlue, const ChannelTables& out) {
    // The grey table first: identity, levels, gamma. It is also the levels and
    // gamma stage of the colour tables, which only balance before it.
    BuildGreyTable(gammaTable, black, white, out.grey);
    BuildBalancedTables(out.grey, referenceRed, referenceGreen, referenceBlue, out);
}

void BuildDisplayTable(const uint16_t* table, uint32_t shift, uint8_t* out) {
    const uint32_t count = shift & 31u, keep = shift < 32 ? 0xFFFFFFFFu : 0u;
    for (uint32_t i = 0; i < kTableSize; ++i) {
        uint32_t t = (uint32_t(table[i]) << count) & keep;
        t = t < 65535u ? t : 65535u;
        out[i] = uint8_t(t >> 8);
    }
}

}  // namespace Render::Kernels
