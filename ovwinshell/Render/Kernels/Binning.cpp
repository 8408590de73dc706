#include "Binning.h"

namespace Render::Kernels {

namespace {

constexpr uint32_t kDarkOffsetPerSample = 768;

template <uint32_t B, uint32_t spp>
void BinRows(const uint16_t* samples, uint32_t width, uint32_t height, uint16_t* out) {
    const uint32_t outWidth = width / B, outHeight = height / B;
    const uint32_t offset = (B * B - 1) * kDarkOffsetPerSample;
    const uint64_t rowSamples = uint64_t(width) * spp;
    constexpr uint32_t kChunkPixels = 256;  // output pixels per pass
    // Column sums of B rows first, then B adjacent columns: both loops are plain
    // strided adds the compiler can vectorise.
    uint32_t sums[kChunkPixels * 8 * 3];
    for (uint32_t oy = 0; oy < outHeight; ++oy) {
        const uint16_t* block = samples + uint64_t(oy) * B * rowSamples;
        uint16_t* dst = out + uint64_t(oy) * outWidth * spp;
        for (uint32_t first = 0; first < outWidth; first += kChunkPixels) {
            const uint32_t pixels = outWidth - first < kChunkPixels ? outWidth - first : kChunkPixels;
            const uint64_t inStart = uint64_t(first) * B * spp;
            const uint32_t inCount = pixels * B * spp;
            for (uint32_t i = 0; i < inCount; ++i) sums[i] = block[inStart + i];
            for (uint32_t r = 1; r < B; ++r) {
                const uint16_t* row = block + r * rowSamples + inStart;
                for (uint32_t i = 0; i < inCount; ++i) sums[i] += row[i];
            }
            uint16_t* chunkOut = dst + uint64_t(first) * spp;
            for (uint32_t p = 0; p < pixels; ++p) {
                for (uint32_t s = 0; s < spp; ++s) {
                    uint32_t sum = 0;
                    for (uint32_t c = 0; c < B; ++c) sum += sums[(p * B + c) * spp + s];
                    const uint32_t value = sum - offset;  // wraps below the offset, then clamps
                    chunkOut[p * spp + s] = value > 65535u ? uint16_t(65535) : uint16_t(value);
                }
            }
        }
    }
}

template <uint32_t B>
void Bin(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t spp, uint16_t* out) {
    if (spp == 1)
        BinRows<B, 1>(samples, width, height, out);
    else
        BinRows<B, 3>(samples, width, height, out);
}

}  // namespace

uint64_t BinnedSampleCount(uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint32_t factor) {
    if (factor == 0) return 0;
    return uint64_t(width / factor) * (height / factor) * samplesPerPixel;
}

bool BinFrame(const uint16_t* samples, uint32_t width, uint32_t height, uint32_t samplesPerPixel, uint32_t factor,
              uint16_t* out) {
    if (samplesPerPixel != 1 && samplesPerPixel != 3) return false;
    switch (factor) {
        case 2: Bin<2>(samples, width, height, samplesPerPixel, out); return true;
        case 4: Bin<4>(samples, width, height, samplesPerPixel, out); return true;
        case 8: Bin<8>(samples, width, height, samplesPerPixel, out); return true;
        default: return false;
    }
}

}  // namespace Render::Kernels
