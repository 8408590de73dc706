#include "ChannelTables.h"

#include <cmath>

namespace Render::Kernels {

namespace {

// i * numerator / denominator for i = 0, 1, 2, ... in exact unsigned 32-bit
// arithmetic, stepping quotient and remainder instead of dividing each time.
// i * numerator must stay below 2^32 for every i taken (numerator <= 65535 and
// i <= 65536 here).
class RatioSteps {
public:
    RatioSteps(uint32_t numerator, uint32_t denominator)
        : stepQuotient_(numerator / denominator), stepRemainder_(numerator % denominator), denominator_(denominator) {}
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
    uint32_t quotient_ = 0;
    uint32_t remainder_ = 0;
    const uint32_t stepQuotient_;
    const uint32_t stepRemainder_;
    const uint32_t denominator_;
};

inline uint16_t Clamp16(uint32_t v) { return uint16_t(v < 65535u ? v : 65535u); }

void BalanceThrough(const uint16_t* levelled, uint32_t maximum, uint32_t reference, uint16_t* out) {
    RatioSteps steps(maximum, reference);
    for (uint32_t i = 0; i < kTableSize; ++i) out[i] = levelled[Clamp16(steps.Next())];
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

void BuildChannelTables(const uint16_t* gammaTable, uint16_t black, uint16_t white, uint16_t referenceRed,
                        uint16_t referenceGreen, uint16_t referenceBlue, const ChannelTables& out) {
    // The grey table first: identity, levels, gamma. It is also the levels and
    // gamma stage of the colour tables, which only balance before it.
    if (black != white) {
        const uint32_t range = black < white ? uint32_t(white - black) : uint32_t(black - white);
        uint32_t i = 0;
        for (; i <= black; ++i) out.grey[i] = gammaTable[0];
        RatioSteps steps(65535u, range);
        steps.Next();  // t = 0 belongs to i = black
        for (; i < kTableSize; ++i) out.grey[i] = gammaTable[Clamp16(steps.Next())];
    } else {
        for (uint32_t i = 0; i < kTableSize; ++i) out.grey[i] = gammaTable[i];
    }

    // A zero reference (a black frame in automatic balance, a black picked
    // pixel, a slider at its end) would divide by zero: it counts as 1.
    const uint32_t red = referenceRed ? referenceRed : 1u;
    const uint32_t green = referenceGreen ? referenceGreen : 1u;
    const uint32_t blue = referenceBlue ? referenceBlue : 1u;
    uint32_t maximum = red > green ? red : green;
    maximum = maximum > blue ? maximum : blue;
    BalanceThrough(out.grey, maximum, red, out.red);
    BalanceThrough(out.grey, maximum, green, out.green);
    BalanceThrough(out.grey, maximum, blue, out.blue);
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
