#include "VextUnpack.h"

#include <algorithm>

#include "CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace Render::Kernels {

namespace {

inline uint32_t Bytes3(const uint8_t* group, int high, int middle, int low) {
    return uint32_t(group[high]) << 16 | uint32_t(group[middle]) << 8 | group[low];
}

// Pixel 6 of a position interleaves bits 20..24 of planes B and D, from the
// least significant bit: B20 D20 B21 D21 D22 B22 D23 B23 D24 B24.
struct SixthPixelTables {
    uint16_t fromB[32];
    uint16_t fromD[32];
};

constexpr SixthPixelTables MakeSixthPixelTables() {
    constexpr int kBTarget[5] = {0, 2, 5, 7, 9};  // bit 20 + i of B goes to kBTarget[i]
    constexpr int kDTarget[5] = {1, 3, 4, 6, 8};
    SixthPixelTables tables{};
    for (uint32_t bits = 0; bits < 32; ++bits) {
        uint16_t b = 0, d = 0;
        for (int i = 0; i < 5; ++i) {
            if (bits >> i & 1) {
                b = uint16_t(b | 1u << kBTarget[i]);
                d = uint16_t(d | 1u << kDTarget[i]);
            }
        }
        tables.fromB[bits] = b;
        tables.fromD[bits] = d;
    }
    return tables;
}

constexpr SixthPixelTables kSixth = MakeSixthPixelTables();

// The ten 10-bit samples of one position.
inline void SamplesOf(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t s[10]) {
    s[0] = a & 0x3FF;
    s[1] = b & 0x3FF;
    s[2] = a >> 10 & 0x3FF;
    s[3] = b >> 10 & 0x3FF;
    s[4] = (c >> 20 & 7) | (a >> 17 & 0x38) | (c >> 17 & 0xC0) | (a >> 15 & 0x300);
    s[5] = kSixth.fromB[b >> 20 & 31] | kSixth.fromD[d >> 20 & 31];
    s[6] = c & 0x3FF;
    s[7] = d & 0x3FF;
    s[8] = c >> 10 & 0x3FF;
    s[9] = d >> 10 & 0x3FF;
}

inline uint16_t Subtracted(uint32_t value, uint32_t background, uint32_t offset) {
    if (background >= value) return uint16_t(offset);
    const uint32_t result = value - background + offset;
    return uint16_t(result > 0xFFFF ? 0xFFFF : result);
}

}  // namespace

void UnpackVextPartScalar(const uint8_t* part, size_t pixelCount, uint32_t* plane) {
    const size_t blocks = VextBlocks(pixelCount);
    for (size_t block = 0; block < blocks; ++block, part += kVextBlockBytes) {
        for (int g = 0; g < 8; ++g, plane += 8) {
            const uint8_t* group = part + 24 * g;
            // Bit 24 of word i is bit 7 - i of the group's extra byte.
            const uint32_t extra = part[192 + g];
            plane[0] = (extra >> 7 & 1) << 24 | Bytes3(group, 0, 1, 2);
            plane[1] = (extra >> 6 & 1) << 24 | Bytes3(group, 3, 4, 5);
            plane[2] = (extra >> 5 & 1) << 24 | Bytes3(group, 6, 7, 15);
            plane[3] = (extra >> 4 & 1) << 24 | Bytes3(group, 8, 9, 10);
            plane[4] = (extra >> 3 & 1) << 24 | Bytes3(group, 11, 12, 13);
            plane[5] = (extra >> 2 & 1) << 24 | Bytes3(group, 14, 22, 23);
            plane[6] = (extra >> 1 & 1) << 24 | Bytes3(group, 16, 17, 18);
            plane[7] = (extra & 1) << 24 | Bytes3(group, 19, 20, 21);
        }
    }
}

#if defined(__x86_64__) || defined(__i386__)
// The same with byte shuffles: each half of a group's words is one shuffle of
// sixteen of its bytes (low byte first in each 32-bit lane), and bit 24 comes
// from comparing the extra byte with one bit mask per lane.
__attribute__((target("ssse3"))) void UnpackVextPartShuffled(const uint8_t* part, size_t pixelCount, uint32_t* plane) {
    const size_t blocks = VextBlocks(pixelCount);
    const __m128i firstHalf = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 15, 7, 6, -1, 10, 9, 8, -1);
    // Bytes 8..23 of the group: words 4..7 take bytes 11-13, 14/22/23, 16-18, 19-21.
    const __m128i secondHalf = _mm_setr_epi8(5, 4, 3, -1, 15, 14, 6, -1, 10, 9, 8, -1, 13, 12, 11, -1);
    const __m128i firstBits = _mm_setr_epi32(0x80, 0x40, 0x20, 0x10);
    const __m128i secondBits = _mm_setr_epi32(0x08, 0x04, 0x02, 0x01);
    const __m128i bit24 = _mm_set1_epi32(1 << 24);
    const __m128i zero = _mm_setzero_si128();
    for (size_t block = 0; block < blocks; ++block, part += kVextBlockBytes) {
        for (int g = 0; g < 8; ++g, plane += 8) {
            const uint8_t* group = part + 24 * g;
            const __m128i extra = _mm_set1_epi32(part[192 + g]);
            const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(group));
            const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(group + 8));
            const __m128i lowTop = _mm_andnot_si128(_mm_cmpeq_epi32(_mm_and_si128(extra, firstBits), zero), bit24);
            const __m128i highTop = _mm_andnot_si128(_mm_cmpeq_epi32(_mm_and_si128(extra, secondBits), zero), bit24);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(plane), _mm_or_si128(_mm_shuffle_epi8(low, firstHalf), lowTop));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(plane + 4),
                             _mm_or_si128(_mm_shuffle_epi8(high, secondHalf), highTop));
        }
    }
}

void UnpackVextPart(const uint8_t* part, size_t pixelCount, uint32_t* plane) {
    static const bool shuffle = Ssse3Usable();
    if (shuffle)
        UnpackVextPartShuffled(part, pixelCount, plane);
    else
        UnpackVextPartScalar(part, pixelCount, plane);
}
#else
void UnpackVextPartShuffled(const uint8_t* part, size_t pixelCount, uint32_t* plane) {
    UnpackVextPartScalar(part, pixelCount, plane);
}
void UnpackVextPart(const uint8_t* part, size_t pixelCount, uint32_t* plane) {
    UnpackVextPartScalar(part, pixelCount, plane);
}
#endif

namespace {

// out = max(out - background, 0) + offset, saturated at 0xFFFF: the offset
// where the background is not below the pixel.
void SubtractBackground(uint16_t* out, size_t count, const uint16_t* background, uint16_t offset) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i add = _mm_set1_epi16(short(offset));
    for (; i + 8 <= count; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(background + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_adds_epu16(_mm_subs_epu16(v, b), add));
    }
#endif
    for (; i < count; ++i) out[i] = Subtracted(out[i], background[i], offset);
}

}  // namespace

void CombineVextPlanesWith(VextPositionCombiner combiner, const uint32_t* const planes[4], size_t pixelCount,
                           const uint16_t* background, uint16_t offset, uint16_t* out) {
    const size_t whole = pixelCount / 10;
    size_t p = combiner ? combiner(planes, whole, out) : 0;
    // The rest one position at a time; the last position of a frame whose
    // pixel count is not a multiple of ten carries padding, and only the
    // frame's own pixels are written.
    uint32_t s[10];
    for (; p * 10 < pixelCount; ++p) {
        SamplesOf(planes[0][p], planes[1][p], planes[2][p], planes[3][p], s);
        const size_t count = std::min<size_t>(10, pixelCount - p * 10);
        for (size_t i = 0; i < count; ++i) out[p * 10 + i] = uint16_t(s[i] << 6);
    }
    if (background) SubtractBackground(out, pixelCount, background, offset);
}

void CombineVextPlanes(const uint32_t* const planes[4], size_t pixelCount, const uint16_t* background, uint16_t offset,
                       uint16_t* out) {
    static const VextPositionCombiner best = Avx2Usable() ? &CombineVextPositionsAvx2 : &CombineVextPositionsSse2;
    CombineVextPlanesWith(best, planes, pixelCount, background, offset, out);
}

}  // namespace Render::Kernels
