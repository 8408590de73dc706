#include "BayerRender.h"

#include <cstring>

#include "DisplayGain.h"
#include "PixelStore.h"

namespace Render::Kernels {

namespace {

// The two sample rows of output row r's cells: the row holding the cell's
// green and red samples, and the one holding its blue and green samples.
struct CellRows {
    const uint16_t* greenRed;
    const uint16_t* blueGreen;
};

uint32_t CellStart(uint32_t position, uint32_t size) {
    if (size < 2) return 0;
    return position < size - 2 ? position : size - 2;
}

CellRows RowsOfCell(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t r) {
    const uint32_t top = CellStart(r, height);
    const uint32_t bottom = top + 1 < height ? top + 1 : top;
    const uint16_t* first = samples + size_t(top) * width;
    const uint16_t* second = samples + size_t(bottom) * width;
    // Even rows of the pattern are green-red rows.
    return top % 2 == 0 ? CellRows{first, second} : CellRows{second, first};
}

// The cell starting at column c0 of a row pair; c1 is the column after it
// (or c0 itself in a frame one column wide).
inline void CellAtColumn(const CellRows& rows, uint32_t c0, uint32_t c1, uint32_t& red, uint32_t& green,
                         uint32_t& blue) {
    const uint16_t* p = rows.greenRed;
    const uint16_t* q = rows.blueGreen;
    if (c0 % 2 == 0) {  // G R over B G
        red = p[c1];
        blue = q[c0];
        green = (uint32_t(p[c0]) + q[c1]) >> 1;
    } else {  // R G over G B
        red = p[c0];
        blue = q[c1];
        green = (uint32_t(p[c1]) + q[c0]) >> 1;
    }
}

// Pixels whose cell starts at their own column (all but the last), of the
// first count pixels.
inline uint32_t OwnCellPixels(uint32_t width, uint32_t count) {
    const uint32_t own = width >= 2 ? width - 1 : 0;
    return own < count ? own : count;
}

// Calls emit(c, red, green, blue) for columns start .. count-1 of one output
// row (start even).
// Pixels come in pairs sharing their red sample and the middle bottom sample:
// pixel c (even) has the cell G R / B G, pixel c+1 the cell R G / G B.
template <typename Emit>
inline void WalkRow(const CellRows& rows, uint32_t width, uint32_t count, uint32_t start, Emit&& emit) {
    const uint16_t* __restrict p = rows.greenRed;
    const uint16_t* __restrict q = rows.blueGreen;
    const uint32_t limit = OwnCellPixels(width, count);
    uint32_t c = start;
    for (; c + 1 < limit; c += 2) {
        const uint32_t red = p[c + 1], middle = q[c + 1];
        emit(c, red, (uint32_t(p[c]) + middle) >> 1, uint32_t(q[c]));
        emit(c + 1, red, (uint32_t(p[c + 2]) + middle) >> 1, uint32_t(q[c + 2]));
    }
    if (c < limit) {
        emit(c, uint32_t(p[c + 1]), (uint32_t(p[c]) + q[c + 1]) >> 1, uint32_t(q[c]));
        ++c;
    }
    if (c < count) {  // the last column: the cell of the column before it
        const uint32_t c0 = CellStart(c, width), c1 = c0 + 1 < width ? c0 + 1 : c0;
        uint32_t red, green, blue;
        CellAtColumn(rows, c0, c1, red, green, blue);
        for (; c < count; ++c) emit(c, red, green, blue);
    }
}

#if defined(__SSE2__)
// The cells of output pixels c .. c + 7 of a row pair (c even, c + 8 below the
// row's width) in 16-bit lanes, as WalkRow gives them: pixel c + k takes red
// from p[c + k + 1] (k even) or p[c + k] (k odd), blue from q[c + k] or
// q[c + k + 1], green from p[c + k] and q[c + k + 1] or p[c + k + 1] and q[c + k].
struct CellLanes {
    __m128i red, green, blue;
};

inline CellLanes CellsOfEight(const uint16_t* p, const uint16_t* q, size_t c) {
    const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + c));
    const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + c + 1));
    const __m128i qa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + c));
    const __m128i qb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + c + 1));
    const __m128i even = _mm_set1_epi32(0xFFFF);  // the lanes of even k
    constexpr int kOddTwice = 0xF5;               // lanes 1, 1, 3, 3 of each half
    const __m128i left = _mm_or_si128(_mm_and_si128(pa, even), _mm_andnot_si128(even, pb));
    const __m128i middle = _mm_shufflehi_epi16(_mm_shufflelo_epi16(qa, kOddTwice), kOddTwice);
    // The mean of two 16-bit values rounded down, without leaving 16 bits.
    const __m128i green = _mm_add_epi16(_mm_and_si128(left, middle), _mm_srli_epi16(_mm_xor_si128(left, middle), 1));
    return {_mm_shufflehi_epi16(_mm_shufflelo_epi16(pa, kOddTwice), kOddTwice), green,
            _mm_or_si128(_mm_and_si128(qa, even), _mm_andnot_si128(even, qb))};
}
#endif

// One output row of RenderBayerDirect8.
template <uint32_t Bpp>
void DirectRow8(const CellRows& rows, uint32_t width, uint32_t count, uint32_t shift, uint8_t* __restrict dst) {
    uint32_t c = 0;
#if defined(__SSE2__)
    if constexpr (Bpp == 4) {
        const uint32_t limit = OwnCellPixels(width, count);
        WithGain(shift, [&](const auto& gain) {
            for (; c + 8 <= limit; c += 8) {
                const CellLanes cells = CellsOfEight(rows.greenRed, rows.blueGreen, c);
                // Per pixel the words blue | green << 8 and red.
                const __m128i blueGreen =
                    _mm_or_si128(gain.Byte(cells.blue), _mm_slli_epi16(gain.Byte(cells.green), 8));
                const __m128i red = gain.Byte(cells.red);
                __m128i* out = reinterpret_cast<__m128i*>(dst + size_t(c) * 4);
                _mm_storeu_si128(out, _mm_unpacklo_epi16(blueGreen, red));
                _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(blueGreen, red));
            }
        });
    }
#endif
    WalkRow(rows, width, count, c, [&](uint32_t column, uint32_t red, uint32_t green, uint32_t blue) {
        StoreBgr<Bpp>(dst + size_t(column) * Bpp, uint32_t(DisplayByte(blue, shift)) |
                                                      uint32_t(DisplayByte(green, shift)) << 8 |
                                                      uint32_t(DisplayByte(red, shift)) << 16);
    });
}

// One output row of RenderBayerDirect16.
void DirectRow16(const CellRows& rows, uint32_t width, uint32_t shift, uint16_t* __restrict dst,
                 uint32_t wordsPerPixel) {
    uint32_t c = 0;
#if defined(__SSE2__)
    // Each pixel is stored as four words, the fourth landing on the next
    // pixel's first word, which is written after it: only for three words per
    // pixel, and never for the last column.
    if (wordsPerPixel == 3 && shift < 16) {
        const uint32_t limit = OwnCellPixels(width, width);
        const WideShiftClamp clamp(shift);
        const __m128i zero = _mm_setzero_si128();
        for (; c + 8 <= limit; c += 8) {
            const CellLanes cells = CellsOfEight(rows.greenRed, rows.blueGreen, c);
            const __m128i red = clamp.Apply(cells.red), green = clamp.Apply(cells.green);
            const __m128i blue = clamp.Apply(cells.blue);
            const __m128i redGreenLow = _mm_unpacklo_epi16(red, green), redGreenHigh = _mm_unpackhi_epi16(red, green);
            const __m128i blueLow = _mm_unpacklo_epi16(blue, zero), blueHigh = _mm_unpackhi_epi16(blue, zero);
            const __m128i pixels[4] = {
                _mm_unpacklo_epi32(redGreenLow, blueLow), _mm_unpackhi_epi32(redGreenLow, blueLow),
                _mm_unpacklo_epi32(redGreenHigh, blueHigh), _mm_unpackhi_epi32(redGreenHigh, blueHigh)};
            uint16_t* out = dst + size_t(c) * 3;
            for (int k = 0; k < 4; ++k) {
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6 * k), pixels[k]);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6 * k + 3), _mm_unpackhi_epi64(pixels[k], pixels[k]));
            }
        }
    }
#endif
    WalkRow(rows, width, width, c, [&](uint32_t column, uint32_t red, uint32_t green, uint32_t blue) {
        uint16_t* pixel = dst + size_t(column) * wordsPerPixel;
        pixel[0] = uint16_t(ShiftClamp(red, shift));
        pixel[1] = uint16_t(ShiftClamp(green, shift));
        pixel[2] = uint16_t(ShiftClamp(blue, shift));
    });
}

// One output row through the display tables. Pixels c (even) and c + 1 share
// their red sample and the bottom middle sample; the blue display byte of
// pixel c + 1 is that of the next pair's pixel c, so it is looked up once.
template <uint32_t Bpp>
void BayerRow8(const CellRows& rows, uint32_t width, uint32_t count, const DisplayTables& tables,
               uint8_t* __restrict dst) {
    const uint16_t* __restrict p = rows.greenRed;
    const uint16_t* __restrict q = rows.blueGreen;
    const uint8_t* __restrict red8 = tables.red;
    const uint8_t* __restrict green8 = tables.green;
    const uint8_t* __restrict blue8 = tables.blue;
    const uint32_t limit = OwnCellPixels(width, count);
    size_t c = 0;
    if (limit >= 2) {
        uint32_t left = p[0], blue = blue8[q[0]];
        for (; c + 1 < limit; c += 2) {
            const uint32_t red = uint32_t(red8[p[c + 1]]) << 16;
            const uint32_t middle = q[c + 1], right = p[c + 2];
            const uint32_t nextBlue = blue8[q[c + 2]];
            const uint32_t green0 = green8[(left + middle) >> 1], green1 = green8[(right + middle) >> 1];
            StoreBgr<Bpp>(dst + c * Bpp, blue | green0 << 8 | red);
            StoreBgr<Bpp>(dst + (c + 1) * Bpp, nextBlue | green1 << 8 | red);
            left = right;
            blue = nextBlue;
        }
    }
    // The single even pixel before the last column, and the last column itself.
    WalkRow(rows, width, count, uint32_t(c), [&](uint32_t column, uint32_t red, uint32_t green, uint32_t blue) {
        StoreBgr<Bpp>(dst + size_t(column) * Bpp,
                      uint32_t(blue8[blue]) | uint32_t(green8[green]) << 8 | uint32_t(red8[red]) << 16);
    });
}

template <uint32_t Bpp>
void Bayer8(const uint16_t* samples, uint32_t width, uint32_t height, const DisplayTables& tables,
            uint32_t visibleWidth, uint32_t visibleHeight, const DisplayTarget& target) {
    for (uint32_t r = 0; r < visibleHeight; ++r)
        BayerRow8<Bpp>(RowsOfCell(samples, width, height, r), width, visibleWidth, tables,
                       target.pixels + ptrdiff_t(r) * target.pitch);
}

template <uint32_t Bpp>
void Mono8(const uint16_t* samples, uint32_t width, const uint8_t* __restrict grey8, uint32_t visibleWidth,
           uint32_t visibleHeight, const DisplayTarget& target) {
    for (uint32_t r = 0; r < visibleHeight; ++r) {
        const uint16_t* __restrict src = samples + size_t(r) * width;
        uint8_t* __restrict dst = target.pixels + ptrdiff_t(r) * target.pitch;
        for (size_t c = 0; c < visibleWidth; ++c) StoreBgr<Bpp>(dst + c * Bpp, grey8[src[c]] * 0x010101u);
    }
}

// Samples i and i + 1 as one number: i in the low, i + 1 in the high half.
inline uint32_t Load2(const uint16_t* p) {
    uint32_t word;
    std::memcpy(&word, p, 4);
    return word;
}

}  // namespace

BayerCell BayerCellAt(const uint16_t* samples, uint32_t width, uint32_t height, int64_t x, int64_t y) {
    const uint32_t column = x < 0 ? 0u : x >= int64_t(width) ? width - 1 : uint32_t(x);
    const uint32_t row = y < 0 ? 0u : y >= int64_t(height) ? height - 1 : uint32_t(y);
    const uint32_t c0 = CellStart(column, width), c1 = c0 + 1 < width ? c0 + 1 : c0;
    uint32_t red, green, blue;
    CellAtColumn(RowsOfCell(samples, width, height, row), c0, c1, red, green, blue);
    return {uint16_t(red), uint16_t(green), uint16_t(blue)};
}

BayerSums SumBayerCells(const uint16_t* samples, uint32_t width, uint32_t height) {
    BayerSums sums{0, 0, 0};
    if (width == 0 || height == 0) return sums;
    const uint32_t pairs = OwnCellPixels(width, width) / 2;
    for (uint32_t r = 0; r < height; ++r) {
        const CellRows rows = RowsOfCell(samples, width, height, r);
        const uint16_t* __restrict p = rows.greenRed;
        const uint16_t* __restrict q = rows.blueGreen;
        // The pairs of the row in plain sums (32 bits hold a row chunk of any
        // sample values), the rest through the common walk.
        uint64_t red = 0, green = 0, blue = 0;
        constexpr uint32_t kChunkPairs = 16384;
        for (uint32_t first = 0; first < pairs; first += kChunkPairs) {
            const uint32_t end = pairs - first < kChunkPairs ? pairs : first + kChunkPairs;
            uint32_t chunkRed = 0, chunkGreen = 0, chunkBlue = 0;
            for (size_t k = first; k < end; ++k) {
                // Two samples per 32-bit load keep the loads contiguous in k;
                // the highest index read is 2 * pairs, inside the row.
                const uint32_t pair = Load2(p + 2 * k), shifted = Load2(p + 2 * k + 1);
                const uint32_t middle = Load2(q + 2 * k + 1), bottom = Load2(q + 2 * k);
                const uint32_t leftGreen = pair & 0xFFFF, redSample = pair >> 16, rightGreen = shifted >> 16;
                const uint32_t middleGreen = middle & 0xFFFF, nextBlue = middle >> 16, blueSample = bottom & 0xFFFF;
                chunkRed += 2u * redSample;
                chunkBlue += blueSample + nextBlue;
                chunkGreen += ((leftGreen + middleGreen) >> 1) + ((rightGreen + middleGreen) >> 1);
            }
            red += chunkRed;
            green += chunkGreen;
            blue += chunkBlue;
        }
        WalkRow(rows, width, width, 2 * pairs, [&](uint32_t, uint32_t R, uint32_t G, uint32_t B) {
            red += R;
            green += G;
            blue += B;
        });
        sums.red += red;
        sums.green += green;
        sums.blue += blue;
    }
    return sums;
}

bool RenderFrame8(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout,
                  const DisplayTables& tables, uint32_t visibleWidth, uint32_t visibleHeight,
                  const DisplayTarget& target) {
    if (!samples || !target.pixels) return false;
    if (layout != kLayoutMono && layout != kLayoutBayer) return false;
    if (target.bytesPerPixel != 3 && target.bytesPerPixel != 4) return false;
    if (visibleWidth > width) visibleWidth = width;
    if (visibleHeight > height) visibleHeight = height;
    const bool four = target.bytesPerPixel == 4;
    if (layout == kLayoutMono) {
        if (four)
            Mono8<4>(samples, width, tables.grey, visibleWidth, visibleHeight, target);
        else
            Mono8<3>(samples, width, tables.grey, visibleWidth, visibleHeight, target);
    } else if (four) {
        Bayer8<4>(samples, width, height, tables, visibleWidth, visibleHeight, target);
    } else {
        Bayer8<3>(samples, width, height, tables, visibleWidth, visibleHeight, target);
    }
    return true;
}

bool RenderFrame16(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout,
                   const ChannelTablesView& tables, uint32_t shift, uint16_t* out, size_t strideWords,
                   uint32_t wordsPerPixel) {
    if (!samples || !out) return false;
    if (layout == kLayoutMono) {
        if (wordsPerPixel < 1) return false;
        for (uint32_t r = 0; r < height; ++r) {
            const uint16_t* src = samples + size_t(r) * width;
            uint16_t* dst = out + r * strideWords;
            for (uint32_t c = 0; c < width; ++c)
                dst[size_t(c) * wordsPerPixel] = uint16_t(ShiftClamp(tables.grey[src[c]], shift));
        }
        return true;
    }
    if (layout == kLayoutBayer) {
        if (wordsPerPixel < 3) return false;
        for (uint32_t r = 0; r < height; ++r) {
            uint16_t* dst = out + r * strideWords;
            WalkRow(RowsOfCell(samples, width, height, r), width, width, 0,
                    [&](uint32_t c, uint32_t red, uint32_t green, uint32_t blue) {
                        uint16_t* pixel = dst + size_t(c) * wordsPerPixel;
                        pixel[0] = uint16_t(ShiftClamp(tables.red[red], shift));
                        pixel[1] = uint16_t(ShiftClamp(tables.green[green], shift));
                        pixel[2] = uint16_t(ShiftClamp(tables.blue[blue], shift));
                    });
        }
        return true;
    }
    return false;
}

bool RenderBayerDirect8(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t shift, uint32_t visibleWidth,
                        uint32_t visibleHeight, const DisplayTarget& target) {
    if (!samples || !target.pixels) return false;
    if (target.bytesPerPixel != 3 && target.bytesPerPixel != 4) return false;
    if (visibleWidth > width) visibleWidth = width;
    if (visibleHeight > height) visibleHeight = height;
    for (uint32_t r = 0; r < visibleHeight; ++r) {
        const CellRows rows = RowsOfCell(samples, width, height, r);
        uint8_t* dst = target.pixels + ptrdiff_t(r) * target.pitch;
        if (target.bytesPerPixel == 4)
            DirectRow8<4>(rows, width, visibleWidth, shift, dst);
        else
            DirectRow8<3>(rows, width, visibleWidth, shift, dst);
    }
    return true;
}

bool RenderBayerDirect16(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t shift, uint16_t* out,
                         size_t strideWords, uint32_t wordsPerPixel) {
    if (!samples || !out || wordsPerPixel < 3) return false;
    for (uint32_t r = 0; r < height; ++r)
        DirectRow16(RowsOfCell(samples, width, height, r), width, shift, out + r * strideWords, wordsPerPixel);
    return true;
}

}  // namespace Render::Kernels
