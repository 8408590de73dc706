#pragma once
// The lookup tables of the VEXT display processing: gamma, and the four
// channel tables that combine white balance, levels and gamma, plus their
// 8-bit display forms.
#include <cstdint>

#include "PixelFormat.h"

namespace Render::Kernels {

// table[i] = (i / 65535) ^ (1 / gamma) * 65535 + 0.5, at most 65535, truncated.
// Any gamma is accepted; results that are not numbers count as 65535.
void BuildGammaTable(float gamma, uint16_t* table);

struct ChannelTables {
    uint16_t* red;
    uint16_t* green;
    uint16_t* blue;
    uint16_t* grey;
};

// Rebuilds the four tables (kTableSize entries each) from identity:
// 1. white balance of red, green and blue: entry i * max reference / reference,
//    at most 65535 (grey is not balanced);
// 2. when black != white, levels on all four: (entry - black, or 0 below black)
//    * 65535 / |white - black|, at most 65535;
// 3. gamma on all four: gammaTable[entry].
// A reference of 0 counts as 1, both as divisor and in the maximum.
void BuildChannelTables(const uint16_t* gammaTable, uint16_t black, uint16_t white, uint16_t referenceRed,
                        uint16_t referenceGreen, uint16_t referenceBlue, const ChannelTables& out);
// Its two stages: the grey table (levels and gamma), and the three colour
// tables balanced before that grey table.
void BuildGreyTable(const uint16_t* gammaTable, uint16_t black, uint16_t white, uint16_t* grey);
void BuildBalancedTables(const uint16_t* grey, uint16_t referenceRed, uint16_t referenceGreen, uint16_t referenceBlue,
                         const ChannelTables& out);

// out[i] = min(table[i] << shift, 65535) >> 8: the display byte of each entry.
void BuildDisplayTable(const uint16_t* table, uint32_t shift, uint8_t* out);

}  // namespace Render::Kernels
