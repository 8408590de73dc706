#pragma once
// The VEXT camera's packed 10-bit frames: each frame arrives in four DMA
// parts; every part is a run of 200-byte blocks of 64 words of 25 bits, and
// the word at position p of the four parts (planes A, B, C, D) together hold
// the ten pixels 10p .. 10p + 9.
#include <cstddef>
#include <cstdint>

namespace Render::Kernels {

constexpr size_t kVextBlockBytes = 200;
constexpr size_t kVextWordsPerBlock = 64;
// Added to every pixel while a background is subtracted, so that noise below
// the background stays visible.
constexpr uint16_t kVextBackgroundOffset = 5120;

// Word positions a frame of pixelCount pixels needs in each plane.
inline size_t VextPositions(size_t pixelCount) { return (pixelCount + 9) / 10; }
// Whole blocks that hold those positions, and the bytes and words they make.
inline size_t VextBlocks(size_t pixelCount) {
    return (VextPositions(pixelCount) + kVextWordsPerBlock - 1) / kVextWordsPerBlock;
}
inline size_t VextPartBytes(size_t pixelCount) { return VextBlocks(pixelCount) * kVextBlockBytes; }
inline size_t VextPlaneWords(size_t pixelCount) { return VextBlocks(pixelCount) * kVextWordsPerBlock; }

// Unpacks the VextPartBytes(pixelCount) bytes of one part into
// VextPlaneWords(pixelCount) words of plane, with byte shuffles where the
// processor has them.
void UnpackVextPart(const uint8_t* part, size_t pixelCount, uint32_t* plane);
// The two ways, for the tests: one byte at a time, and with SSSE3 shuffles
// (only where Ssse3Usable(), CpuFeatures.h).
void UnpackVextPartScalar(const uint8_t* part, size_t pixelCount, uint32_t* plane);
void UnpackVextPartShuffled(const uint8_t* part, size_t pixelCount, uint32_t* plane);

// Writes pixelCount 16-bit pixels (the 10-bit samples at bits 15..6) from the
// four planes into out. With a background (pixelCount values), a pixel v over
// its background b becomes min(v - b + offset, 0xFFFF), any other the offset.
// Without one (null) the pixels are written as they are.
void CombineVextPlanes(const uint32_t* const planes[4], size_t pixelCount, const uint16_t* background, uint16_t offset,
                       uint16_t* out);

// The vector loops behind CombineVextPlanes, one per instruction set: each
// combines the longest run of whole positions its registers take and returns
// how many it did. Visible so that the tests can run every path.
using VextPositionCombiner = size_t (*)(const uint32_t* const planes[4], size_t wholePositions, uint16_t* out);
size_t CombineVextPositionsSse2(const uint32_t* const planes[4], size_t wholePositions, uint16_t* out);
size_t CombineVextPositionsAvx2(const uint32_t* const planes[4], size_t wholePositions, uint16_t* out);  // Avx2Usable()
// CombineVextPlanes with a chosen loop (null: one position at a time).
void CombineVextPlanesWith(VextPositionCombiner combiner, const uint32_t* const planes[4], size_t pixelCount,
                           const uint16_t* background, uint16_t offset, uint16_t* out);

}  // namespace Render::Kernels
