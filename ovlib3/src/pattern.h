// The moving test pattern: a gradient, a disc circling the sensor and a band
// of scrolling bars, brightness proportional to exposure and gain, plus noise.
// The pattern depends only on the frame number; the noise on (seed, frame,
// sample position), so a deterministic seed makes whole frames predictable.
#pragma once
#include <cstdint>
#include <vector>

#include "option.h"
#include "pixel_formats.h"

namespace ovsim {

// What a frame looks like: everything rendering and headers need.
struct FrameConfig {
    uint32_t sensorWidth = 0, sensorHeight = 0;
    Rect roi;
    const PixelFormat* format = nullptr;
    int32_t exposureUs = 0;
    int32_t gainCenti = 100;              // 100 = gain 1.0
    int32_t referenceExposureUs = 20000;  // the exposure that gives the scene's own brightness
    bool operator==(const FrameConfig&) const = default;
};

// The 16-bit samples the camera measures (before the format drops low bits):
// width*height samples for mono and mosaic formats, width*height*3 (BGR) else.
std::vector<uint16_t> renderSamples(const FrameConfig& config, uint64_t frameNumber, uint64_t noiseSeed);

// The same samples shifted right by `shift` bits into out (e.g. 6 for 10-bit data).
void renderSamplesInto(const FrameConfig& config, uint64_t frameNumber, uint64_t noiseSeed, uint32_t shift,
                       uint16_t* out);

// The codec's final output for that frame: mono samples or 48-bit BGR.
std::vector<uint16_t> renderDecoded(const FrameConfig& config, uint64_t frameNumber, uint64_t noiseSeed);

}  // namespace ovsim
