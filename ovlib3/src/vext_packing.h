// The VEXT camera's packed 10-bit frame format: a frame is read out in four
// parts (planes); each part is a run of 200-byte blocks of 64 words of 25
// bits, and the four words at the same position of the four parts carry ten
// pixels. Pure code, no Windows headers: the viewer's tests build it natively.
#pragma once
#include <cstdint>

namespace ovsim {

// Bytes of one DMA part for a frame of pixelCount pixels: whole 200-byte blocks
// holding ceil(pixelCount / 10) 25-bit words.
uint64_t vextPartBytes(uint64_t pixelCount);

// Packs pixelCount 10-bit samples (values 0..1023, pixel order) into four
// parts of vextPartBytes(pixelCount) bytes each (padding positions are 0).
void packVextFrame(const uint16_t* samples10, uint64_t pixelCount, uint8_t* const parts[4]);

}  // namespace ovsim
