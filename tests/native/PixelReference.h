#pragma once
// Slow, literal versions of the pixel rules, written independently of the
// kernels: every value is computed on its own, with plain divisions and no
// tables shared between steps.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pixelref {

// v << shift in a 32-bit register (bits past 31 are lost), clamped to 65535.
inline uint32_t Shifted(uint32_t v, uint32_t shift) {
    const uint64_t wide = shift >= 64 ? 0 : (uint64_t(v) << shift) & 0xFFFFFFFFull;
    return uint32_t(std::min<uint64_t>(wide, 65535));
}

inline uint8_t Byte(uint32_t v, uint32_t shift) { return uint8_t(Shifted(v, shift) >> 8); }

inline std::vector<uint16_t> GammaTable(float gamma) {
    std::vector<uint16_t> table(65536);
    for (uint32_t i = 0; i < 65536; ++i) {
        double x = std::pow(i * 0.000015259021896696422, 1.0 / gamma) * 65535.0 + 0.5;
        if (x > 65535) x = 65535;
        table[i] = uint16_t(x);
    }
    return table;
}

struct Tables {
    std::vector<uint16_t> red, green, blue, grey;
};

// Identity, white balance, levels, gamma; a zero reference counts as 1.
inline Tables ChannelTables(const std::vector<uint16_t>& gamma, uint16_t black, uint16_t white, uint16_t refRed,
                            uint16_t refGreen, uint16_t refBlue) {
    Tables t;
    for (auto* table : {&t.red, &t.green, &t.blue, &t.grey}) {
        table->resize(65536);
        for (uint32_t i = 0; i < 65536; ++i) (*table)[i] = uint16_t(i);
    }
    const uint32_t r = refRed ? refRed : 1, g = refGreen ? refGreen : 1, b = refBlue ? refBlue : 1;
    const uint32_t m = std::max({r, g, b});
    for (uint32_t i = 0; i < 65536; ++i) {
        t.red[i] = uint16_t(std::min<uint32_t>(65535, i * m / r));
        t.green[i] = uint16_t(std::min<uint32_t>(65535, i * m / g));
        t.blue[i] = uint16_t(std::min<uint32_t>(65535, i * m / b));
    }
    for (auto* table : {&t.red, &t.green, &t.blue, &t.grey}) {
        for (uint32_t i = 0; i < 65536; ++i) {
            uint32_t e = (*table)[i];
            if (black != white) {
                const uint32_t d = black > white ? black - white : white - black;
                const uint32_t s = e > black ? e - black : 0;
                e = std::min<uint32_t>(65535, s * 65535 / d);
            }
            (*table)[i] = gamma[e];
        }
    }
    return t;
}

// GRBG: even rows G R G R, odd rows B G B G.
enum Colour { Green, Red, Blue };
inline Colour ColourAt(uint32_t row, uint32_t column) {
    if (row % 2 == 0) return column % 2 == 0 ? Green : Red;
    return column % 2 == 0 ? Blue : Green;
}

struct Cell {
    uint32_t red, green, blue;
};

// The cell of output pixel (r, c): its top-left moved back to at most
// (height - 2, width - 2); positions past a one-sample-wide (or high) frame
// read the last sample but keep the colour of their place in the pattern.
inline Cell CellOf(const std::vector<uint16_t>& s, uint32_t width, uint32_t height, uint32_t r, uint32_t c) {
    const uint32_t top = height >= 2 ? std::min(r, height - 2) : 0;
    const uint32_t left = width >= 2 ? std::min(c, width - 2) : 0;
    Cell cell{0, 0, 0};
    uint32_t greens = 0;
    for (uint32_t dy = 0; dy < 2; ++dy) {
        for (uint32_t dx = 0; dx < 2; ++dx) {
            const uint32_t y = std::min(top + dy, height - 1), x = std::min(left + dx, width - 1);
            const uint32_t v = s.at(size_t(y) * width + x);
            switch (ColourAt(top + dy, left + dx)) {
                case Red:
                    cell.red = v;
                    break;
                case Blue:
                    cell.blue = v;
                    break;
                case Green:
                    greens += v;
                    break;
            }
        }
    }
    cell.green = greens / 2;
    return cell;
}

}  // namespace pixelref
