// GRBG reconstruction, the automatic-balance sums and the table-driven frame
// rendering against a cell-by-cell reference, frames of every small shape.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "PixelReference.h"
#include "Render/Kernels/BayerRender.h"

using namespace Render::Kernels;

namespace {

std::vector<uint16_t> RandomFrame(std::mt19937& random, uint32_t width, uint32_t height) {
    std::vector<uint16_t> samples(size_t(width) * height);
    for (uint16_t& v : samples) v = uint16_t(random() % 3 ? random() % 4096 : random());
    return samples;
}

// Arbitrary (non-monotonic) tables, so a wrong channel or index shows.
struct RandomTables {
    explicit RandomTables(std::mt19937& random) {
        for (auto* t : {&red, &green, &blue, &grey}) {
            t->resize(kTableSize);
            for (uint16_t& v : *t) v = uint16_t(random());
        }
        for (auto* t : {&red8, &green8, &blue8, &grey8}) {
            t->resize(kTableSize);
            for (uint8_t& v : *t) v = uint8_t(random());
        }
    }
    DisplayTables Display() const { return {red8.data(), green8.data(), blue8.data(), grey8.data()}; }
    ChannelTablesView Wide() const { return {red.data(), green.data(), blue.data(), grey.data()}; }
    std::vector<uint16_t> red, green, blue, grey;
    std::vector<uint8_t> red8, green8, blue8, grey8;
};

}  // namespace

TEST(BayerCells, InteriorCellsFollowTheGrbgPattern) {
    // 4 x 4 frame, each sample its own index: row r, column c holds r * 4 + c.
    std::vector<uint16_t> s(16);
    for (uint16_t i = 0; i < 16; ++i) s[i] = i;
    BayerCell cell = BayerCellAt(s.data(), 4, 4, 0, 0);  // G R / B G
    EXPECT_EQ(cell.red, 1);
    EXPECT_EQ(cell.blue, 4);
    EXPECT_EQ(cell.green, (0 + 5) / 2);
    cell = BayerCellAt(s.data(), 4, 4, 1, 0);  // R G / G B
    EXPECT_EQ(cell.red, 1);
    EXPECT_EQ(cell.blue, 6);
    EXPECT_EQ(cell.green, (2 + 5) / 2);
    cell = BayerCellAt(s.data(), 4, 4, 0, 1);  // B G / G R
    EXPECT_EQ(cell.red, 9);
    EXPECT_EQ(cell.blue, 4);
    EXPECT_EQ(cell.green, (5 + 8) / 2);
    cell = BayerCellAt(s.data(), 4, 4, 1, 1);  // G B / R G
    EXPECT_EQ(cell.red, 9);
    EXPECT_EQ(cell.blue, 6);
    EXPECT_EQ(cell.green, (5 + 10) / 2);
}

TEST(BayerCells, LastRowAndColumnUseTheCellBeforeThem) {
    std::vector<uint16_t> s(15);
    for (uint16_t i = 0; i < 15; ++i) s[i] = uint16_t(100 + i);  // 5 wide, 3 high
    const BayerCell corner = BayerCellAt(s.data(), 5, 3, 4, 2), inside = BayerCellAt(s.data(), 5, 3, 3, 1);
    EXPECT_EQ(corner.red, inside.red);
    EXPECT_EQ(corner.green, inside.green);
    EXPECT_EQ(corner.blue, inside.blue);
    // Points outside the frame are taken as its nearest pixel.
    const BayerCell far = BayerCellAt(s.data(), 5, 3, 1000, -4);
    const BayerCell right = BayerCellAt(s.data(), 5, 3, 4, 0);
    EXPECT_EQ(far.red, right.red);
    EXPECT_EQ(far.blue, right.blue);
}

TEST(BayerCells, SingleSampleFramesAreSafe) {
    const std::vector<uint16_t> one{777};
    const BayerCell cell = BayerCellAt(one.data(), 1, 1, 0, 0);
    EXPECT_EQ(cell.red, 777);
    EXPECT_EQ(cell.blue, 777);
    EXPECT_EQ(cell.green, 777);
    const BayerSums sums = SumBayerCells(one.data(), 1, 1);
    EXPECT_EQ(sums.red, 777u);
    EXPECT_EQ(sums.green, 777u);
}

TEST(BayerCells, SumsCoverEveryPixelsCell) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        const uint32_t width = 1 + random() % 37, height = 1 + random() % 11;
        const std::vector<uint16_t> s = RandomFrame(random, width, height);
        uint64_t red = 0, green = 0, blue = 0;
        for (uint32_t r = 0; r < height; ++r)
            for (uint32_t c = 0; c < width; ++c) {
                const pixelref::Cell cell = pixelref::CellOf(s, width, height, r, c);
                red += cell.red;
                green += cell.green;
                blue += cell.blue;
            }
        const BayerSums sums = SumBayerCells(s.data(), width, height);
        ASSERT_EQ(sums.red, red) << width << "x" << height;
        ASSERT_EQ(sums.green, green) << width << "x" << height;
        ASSERT_EQ(sums.blue, blue) << width << "x" << height;
    }
}

TEST(BayerCells, SumsDoNotOverflowOnBrightFrames) {
    const uint32_t width = 3000, height = 1000;  // 3e6 pixels of 65535: beyond 32 bits
    const std::vector<uint16_t> s(size_t(width) * height, 65535);
    const BayerSums sums = SumBayerCells(s.data(), width, height);
    EXPECT_EQ(sums.red, uint64_t(width) * height * 65535);
    EXPECT_EQ(sums.green, uint64_t(width) * height * 65535);
}

TEST(BayerRender, RandomFramesMatchTheCellReference) {
    std::mt19937 random(31);
    const RandomTables tables(random);
    for (int round = 0; round < 300; ++round) {
        const uint32_t width = 1 + random() % 29, height = 1 + random() % 9;
        const uint32_t bpp = random() % 4 ? 4 : 3;
        const uint32_t visibleWidth = random() % 3 ? width : random() % (width + 1);
        const uint32_t visibleHeight = random() % 3 ? height : random() % (height + 1);
        const std::vector<uint16_t> s = RandomFrame(random, width, height);
        const size_t pitch = size_t(width) * bpp + random() % 5;
        std::vector<uint8_t> out(pitch * height, 0xA5);
        ASSERT_TRUE(RenderFrame8(s.data(), width, height, kLayoutBayer, tables.Display(), visibleWidth, visibleHeight,
                                 {out.data(), ptrdiff_t(pitch), bpp}));
        for (uint32_t r = 0; r < height; ++r) {
            for (size_t b = 0; b < pitch; ++b) {
                const uint32_t c = uint32_t(b / bpp), part = uint32_t(b % bpp);
                const uint8_t got = out[r * pitch + b];
                if (r >= visibleHeight || c >= visibleWidth) {
                    ASSERT_EQ(got, 0xA5) << "outside " << c << "," << r;
                    continue;
                }
                const pixelref::Cell cell = pixelref::CellOf(s, width, height, r, c);
                const uint8_t expected = part == 0   ? tables.blue8[cell.blue]
                                         : part == 1 ? tables.green8[cell.green]
                                         : part == 2 ? tables.red8[cell.red]
                                                     : 0;
                ASSERT_EQ(got, expected) << width << "x" << height << " pixel " << c << "," << r << " byte " << part;
            }
        }
    }
}

TEST(BayerRender, MonoGoesThroughTheGreyTable) {
    std::mt19937 random(8);
    const RandomTables tables(random);
    const uint32_t width = 13, height = 3;
    const std::vector<uint16_t> s = RandomFrame(random, width, height);
    std::vector<uint8_t> out(size_t(width) * height * 4);
    ASSERT_TRUE(RenderFrame8(s.data(), width, height, kLayoutMono, tables.Display(), width, height,
                             {out.data(), ptrdiff_t(width) * 4, 4}));
    for (size_t i = 0; i < s.size(); ++i) {
        ASSERT_EQ(out[i * 4], tables.grey8[s[i]]);
        ASSERT_EQ(out[i * 4 + 1], tables.grey8[s[i]]);
        ASSERT_EQ(out[i * 4 + 2], tables.grey8[s[i]]);
    }
    EXPECT_FALSE(RenderFrame8(s.data(), width, height, kLayoutBgr, tables.Display(), width, height,
                              {out.data(), ptrdiff_t(width) * 4, 4}));
}

TEST(BayerRender, SixteenBitOutputKeepsTheShiftedTableValues) {
    std::mt19937 random(9);
    const RandomTables tables(random);
    for (int round = 0; round < 200; ++round) {
        const uint32_t width = 1 + random() % 23, height = 1 + random() % 7;
        const uint32_t shift = random() % 5 ? random() % 4 : random() % 34;
        const bool bayer = random() % 2;
        const uint32_t words = bayer ? 3 + random() % 2 : 1 + random() % 3;
        const size_t stride = size_t(width) * words + random() % 3;
        const std::vector<uint16_t> s = RandomFrame(random, width, height);
        std::vector<uint16_t> out(stride * height, 0xBEEF);
        ASSERT_TRUE(RenderFrame16(s.data(), width, height, bayer ? kLayoutBayer : kLayoutMono, tables.Wide(), shift,
                                  out.data(), stride, words));
        for (uint32_t r = 0; r < height; ++r) {
            for (size_t w = 0; w < stride; ++w) {
                const uint32_t c = uint32_t(w / words), part = uint32_t(w % words);
                const uint16_t got = out[r * stride + w];
                if (c >= width || part >= (bayer ? 3u : 1u)) {
                    ASSERT_EQ(got, 0xBEEF) << "untouched word " << w << " of row " << r;
                    continue;
                }
                uint32_t expected;
                if (bayer) {
                    const pixelref::Cell cell = pixelref::CellOf(s, width, height, r, c);
                    const uint16_t value = part == 0   ? tables.red[cell.red]
                                           : part == 1 ? tables.green[cell.green]
                                                       : tables.blue[cell.blue];
                    expected = pixelref::Shifted(value, shift);
                } else {
                    expected = pixelref::Shifted(tables.grey[s[size_t(r) * width + c]], shift);
                }
                ASSERT_EQ(got, expected) << width << "x" << height << " pixel " << c << "," << r << " word " << part;
            }
        }
    }
}

TEST(BayerRender, TooNarrowPixelsWriteNothing) {
    std::mt19937 random(10);
    const RandomTables tables(random);
    const std::vector<uint16_t> s(16, 100);
    std::vector<uint16_t> out(64, 1);
    EXPECT_FALSE(RenderFrame16(s.data(), 4, 4, kLayoutBayer, tables.Wide(), 0, out.data(), 8, 2));
    EXPECT_FALSE(RenderFrame16(s.data(), 4, 4, kLayoutBgr, tables.Wide(), 0, out.data(), 12, 3));
    for (uint16_t v : out) ASSERT_EQ(v, 1);
}

// The identity-table paths compute each byte or word instead of looking it
// up; rows wide enough for several vector steps plus the scalar tail.
TEST(BayerRender, DirectPathsMatchTheCellReferenceForEveryShift) {
    std::mt19937 random(11);
    for (int round = 0; round < 400; ++round) {
        const uint32_t width = 1 + random() % 45, height = 1 + random() % 6;
        const uint32_t shift = round < 34 ? uint32_t(round) : random() % 5 ? random() % 4 : random() % 34;
        const std::vector<uint16_t> s = RandomFrame(random, width, height);
        SCOPED_TRACE(testing::Message() << width << "x" << height << " shift " << shift);

        const uint32_t bpp = random() % 4 ? 4 : 3;
        const uint32_t visibleWidth = random() % 3 ? width : random() % (width + 1);
        const size_t pitch = size_t(width) * bpp + random() % 5;
        std::vector<uint8_t> out(pitch * height, 0xA5);
        ASSERT_TRUE(RenderBayerDirect8(s.data(), width, height, shift, visibleWidth, height,
                                       {out.data(), ptrdiff_t(pitch), bpp}));
        const uint32_t words = 3 + random() % 2;
        const size_t stride = size_t(width) * words + random() % 3;
        std::vector<uint16_t> wide(stride * height, 0xBEEF);
        ASSERT_TRUE(RenderBayerDirect16(s.data(), width, height, shift, wide.data(), stride, words));

        for (uint32_t r = 0; r < height; ++r) {
            for (uint32_t c = 0; c < width; ++c) {
                const pixelref::Cell cell = pixelref::CellOf(s, width, height, r, c);
                const uint8_t* px = out.data() + r * pitch + size_t(c) * bpp;
                const uint32_t bytes[3] = {pixelref::Byte(cell.blue, shift), pixelref::Byte(cell.green, shift),
                                           pixelref::Byte(cell.red, shift)};
                for (uint32_t k = 0; k < bpp; ++k)
                    ASSERT_EQ(px[k], c >= visibleWidth ? 0xA5
                                     : k < 3           ? bytes[k]
                                                       : 0)
                        << "byte " << k << " of " << c << "," << r;
                const uint16_t* word = wide.data() + r * stride + size_t(c) * words;
                ASSERT_EQ(word[0], pixelref::Shifted(cell.red, shift)) << c << "," << r;
                ASSERT_EQ(word[1], pixelref::Shifted(cell.green, shift)) << c << "," << r;
                ASSERT_EQ(word[2], pixelref::Shifted(cell.blue, shift)) << c << "," << r;
                if (words == 4) {
                    ASSERT_EQ(word[3], 0xBEEF) << c << "," << r;
                }
            }
            for (size_t b = size_t(width) * bpp; b < pitch; ++b) ASSERT_EQ(out[r * pitch + b], 0xA5);
            for (size_t w = size_t(width) * words; w < stride; ++w) ASSERT_EQ(wide[r * stride + w], 0xBEEF);
        }
    }
}
