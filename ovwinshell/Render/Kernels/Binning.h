#pragma once
// Software binning: b x b blocks summed, minus a fixed dark offset per output sample.
#include <cstdint>

namespace Render::Kernels {

// The number of output samples for a frame of width x height pixels with
// samplesPerPixel samples each (1 or 3) binned by factor: (w / b) * (h / b) * spp.
uint64_t BinnedSampleCount(uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint32_t factor);

// Bins a frame into out (BinnedSampleCount samples). Each output sample is the
// block's sum minus (b*b - 1) * 768 as an unsigned 32-bit number, values above
// 65535 (including a sum below the offset) becoming 65535. samplesPerPixel 3
// bins each colour sample separately. Factors other than 2, 4, 8 produce
// nothing and return false.
bool BinFrame(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint32_t factor,
              uint16_t* out);

}  // namespace Render::Kernels
