#include "vext_packing.h"

namespace ovsim {
namespace {

constexpr uint64_t kPixelsPerPosition = 10;
constexpr uint64_t kWordsPerBlock = 64;
constexpr uint64_t kBlockBytes = 200;
constexpr uint64_t kGroupBytes = 24;   // eight words' low 24 bits
constexpr uint64_t kExtraBytes = 192;  // then one byte per group with the words' bit 24
constexpr int kWordsPerGroup = 8;

// Where the three bytes of each word of a group go, most significant first.
constexpr uint8_t kWordBytes[kWordsPerGroup][3] = {
    {0, 1, 2}, {3, 4, 5}, {6, 7, 15}, {8, 9, 10}, {11, 12, 13}, {14, 22, 23}, {16, 17, 18}, {19, 20, 21},
};

struct PositionWords {
    uint32_t plane[4];  // A, B, C, D
};

constexpr uint32_t bit(uint32_t value, int from, int to) { return ((value >> from) & 1u) << to; }

// Pixels 5 and 6 are spread over bits 20-24 of the planes. Per sample value:
// pixel 5's bits 20-24 of A (low half) and C (high half), pixel 6's of B and D.
struct SpreadTables {
    uint32_t fifth[1024] = {}, sixth[1024] = {};
    constexpr SpreadTables() {
        for (uint32_t v = 0; v < 1024; ++v) {
            // Pixel 5, from its least significant bit: C20-22, A20-22, C23-24, A23-24.
            const uint32_t a = ((v >> 3) & 7u) | (v >> 8) << 3, c = (v & 7u) | ((v >> 6) & 3u) << 3;
            // Pixel 6, from its least significant bit: B20, D20, B21, D21, D22, B22, D23, B23, D24, B24.
            const uint32_t b = bit(v, 0, 0) | bit(v, 2, 1) | bit(v, 5, 2) | bit(v, 7, 3) | bit(v, 9, 4);
            const uint32_t d = bit(v, 1, 0) | bit(v, 3, 1) | bit(v, 4, 2) | bit(v, 6, 3) | bit(v, 8, 4);
            fifth[v] = a | c << 16;
            sixth[v] = b | d << 16;
        }
    }
};
constexpr SpreadTables kSpread;

// Ten pixels into the four 25-bit words of one position: pixels 1-4 and 7-10
// fill bits 0-19 of the planes whole, pixels 5 and 6 bits 20-24.
PositionWords combine(const uint16_t* s) {
    const uint32_t fifth = kSpread.fifth[s[4] & 0x3FFu], sixth = kSpread.sixth[s[5] & 0x3FFu];
    PositionWords w;
    w.plane[0] = (s[0] & 0x3FFu) | (s[2] & 0x3FFu) << 10 | (fifth & 0xFFFFu) << 20;
    w.plane[1] = (s[1] & 0x3FFu) | (s[3] & 0x3FFu) << 10 | (sixth & 0xFFFFu) << 20;
    w.plane[2] = (s[6] & 0x3FFu) | (s[8] & 0x3FFu) << 10 | (fifth >> 16) << 20;
    w.plane[3] = (s[7] & 0x3FFu) | (s[9] & 0x3FFu) << 10 | (sixth >> 16) << 20;
    return w;
}

}  // namespace

uint64_t vextPartBytes(uint64_t pixelCount) {
    const uint64_t words = (pixelCount + kPixelsPerPosition - 1) / kPixelsPerPosition;
    return (words + kWordsPerBlock - 1) / kWordsPerBlock * kBlockBytes;
}

void packVextFrame(const uint16_t* samples10, uint64_t pixelCount, uint8_t* const parts[4]) {
    const uint64_t positions = (pixelCount + kPixelsPerPosition - 1) / kPixelsPerPosition;
    const uint64_t wholePositions = pixelCount / kPixelsPerPosition;
    const uint64_t blocks = (positions + kWordsPerBlock - 1) / kWordsPerBlock;
    for (uint64_t block = 0; block < blocks; ++block) {
        for (int group = 0; group < kWordsPerGroup; ++group) {
            PositionWords words[kWordsPerGroup];
            for (int i = 0; i < kWordsPerGroup; ++i) {
                const uint64_t p = block * kWordsPerBlock + uint64_t(group) * kWordsPerGroup + uint64_t(i);
                if (p < wholePositions) {
                    words[i] = combine(samples10 + p * kPixelsPerPosition);
                } else {
                    // The last position may be short (pixels past the end are 0); then padding.
                    uint16_t tail[kPixelsPerPosition] = {};
                    for (uint64_t k = 0; p < positions && p * kPixelsPerPosition + k < pixelCount; ++k)
                        tail[k] = samples10[p * kPixelsPerPosition + k];
                    words[i] = combine(tail);
                }
            }
            for (int plane = 0; plane < 4; ++plane) {
                uint8_t* out = parts[plane] + block * kBlockBytes + uint64_t(group) * kGroupBytes;
                uint8_t extra = 0;
                for (int i = 0; i < kWordsPerGroup; ++i) {
                    const uint32_t word = words[i].plane[plane];
                    out[kWordBytes[i][0]] = uint8_t(word >> 16);
                    out[kWordBytes[i][1]] = uint8_t(word >> 8);
                    out[kWordBytes[i][2]] = uint8_t(word);
                    extra |= uint8_t(((word >> 24) & 1u) << (7 - i));
                }
                parts[plane][block * kBlockBytes + kExtraBytes + uint64_t(group)] = extra;
            }
        }
    }
}

}  // namespace ovsim
