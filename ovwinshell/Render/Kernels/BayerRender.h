#pragma once
// Colour reconstruction of GRBG mosaic frames and the table-driven frame
// rendering of the VEXT display processing (8 bits for the screen, 16 bits
// for saving).
//
// Mosaic: even rows G R G R ..., odd rows B G B G ... Output pixel (r, c)
// takes the 2x2 cell of samples at rows r, r+1 and columns c, c+1: red and
// blue are its red and blue samples, green the integer mean of its two greens.
// Cells that would reach past the last row or column are moved back into the
// frame: the last row and column repeat the cell of the row or column before.
// A frame one sample high or wide uses its single row or column twice, the
// colours still assigned by the cell's position in the pattern.
#include <cstddef>
#include <cstdint>

#include "PixelFormat.h"

namespace Render::Kernels {

struct BayerCell {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

// The cell whose top-left sample is (x, y), moved into the frame as above
// (coordinates outside the frame are clamped to it). The frame must hold at
// least one sample.
BayerCell BayerCellAt(const uint16_t* samples, uint32_t width, uint32_t height, int64_t x, int64_t y);

struct BayerSums {
    uint64_t red;
    uint64_t green;
    uint64_t blue;
};

// The sums of red, green and blue over the cells of every pixel of the frame.
BayerSums SumBayerCells(const uint16_t* samples, uint32_t width, uint32_t height);

// 8-bit display tables (kTableSize entries each), see BuildDisplayTable.
struct DisplayTables {
    const uint8_t* red;
    const uint8_t* green;
    const uint8_t* blue;
    const uint8_t* grey;
};

// Draws a width x height frame into target: Mono through the grey table to all
// three bytes, Bayer reconstructed, each colour through its table. Only the
// first visibleWidth columns and visibleHeight rows are written (the frame's
// own size or less); the reconstruction still sees the whole frame. False, and
// nothing drawn, for other layouts or depths.
bool RenderFrame8(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout,
                  const DisplayTables& tables, uint32_t visibleWidth, uint32_t visibleHeight,
                  const DisplayTarget& target);

// RenderFrame8 of a Bayer frame when all three colour tables are the
// identity: each colour's byte is DisplayByte(sample, shift), computed
// instead of looked up. False, and nothing drawn, for other depths.
bool RenderBayerDirect8(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t shift, uint32_t visibleWidth,
                        uint32_t visibleHeight, const DisplayTarget& target);

struct ChannelTablesView {
    const uint16_t* red;
    const uint16_t* green;
    const uint16_t* blue;
    const uint16_t* grey;
};

// 16-bit output for saving: each value min(table value << shift, 65535).
// Mono writes word 0 of each output pixel, Bayer words 0, 1, 2 as red, green,
// blue. Output pixels are wordsPerPixel words apart (at least 1 for Mono, 3
// for Bayer), rows strideWords apart. False, and nothing written, otherwise.
bool RenderFrame16(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t layout,
                   const ChannelTablesView& tables, uint32_t shift, uint16_t* out, size_t strideWords,
                   uint32_t wordsPerPixel);

// RenderFrame16 of a Bayer frame when all three colour tables are the
// identity: each word is min(sample << shift, 65535).
bool RenderBayerDirect16(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t shift, uint16_t* out,
                         size_t strideWords, uint32_t wordsPerPixel);

}  // namespace Render::Kernels
