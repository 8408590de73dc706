#include "VextUnpack.h"

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

void UnpackVextPart(const uint8_t* part, size_t pixelCount, uint32_t* plane) {
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

void CombineVextPlanes(const uint32_t* const planes[4], size_t pixelCount, const uint16_t* background,
                       uint16_t offset, uint16_t* out) {
    const uint32_t* a = planes[0];
    const uint32_t* b = planes[1];
    const uint32_t* c = planes[2];
    const uint32_t* d = planes[3];
    const size_t whole = pixelCount / 10;
    uint32_t s[10];
    for (size_t p = 0; p < whole; ++p, out += 10) {
        SamplesOf(a[p], b[p], c[p], d[p], s);
        if (background) {
            for (int i = 0; i < 10; ++i) out[i] = Subtracted(s[i] << 6, background[i], offset);
            background += 10;
        } else {
            for (int i = 0; i < 10; ++i) out[i] = uint16_t(s[i] << 6);
        }
    }
    // The last position of a frame whose pixel count is not a multiple of
    // ten carries padding: only the frame's own pixels are written.
    const size_t rest = pixelCount - whole * 10;
    if (rest == 0) return;
    SamplesOf(a[whole], b[whole], c[whole], d[whole], s);
    for (size_t i = 0; i < rest; ++i)
        out[i] = background ? Subtracted(s[i] << 6, background[i], offset) : uint16_t(s[i] << 6);
}

}  // namespace Render::Kernels
