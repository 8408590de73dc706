#include "pattern.h"

#include <algorithm>
#include <cmath>

namespace ovsim {
namespace {

constexpr int64_t kReferenceExposureUs = 20000;  // the default exposure gives mid-grey
constexpr int kNoiseAmplitude = 384;             // +- in 16-bit units

uint64_t mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

int noiseAt(uint64_t seed, uint64_t frame, uint64_t position) {
    // One mixing round over a combination of the three: cheap enough for every sample.
    const uint64_t h = mix((seed << 32 ^ frame) * 0x9E3779B97F4A7C15ull + position * 0xC2B2AE3D27D4EB4Full);
    return static_cast<int>(h % (2 * kNoiseAmplitude + 1)) - kNoiseAmplitude;
}

// Per-frame geometry of the moving parts, in sensor coordinates.
struct Scene {
    int64_t width, height;
    int64_t discX, discY, discRadius;
    int64_t barShift;
};

Scene sceneFor(const FrameConfig& c, uint64_t frame) {
    const double angle = static_cast<double>(frame % 240) * (2.0 * 3.14159265358979 / 240.0);
    Scene s{c.sensorWidth, c.sensorHeight, 0, 0, std::max<int64_t>(4, c.sensorHeight / 8),
            static_cast<int64_t>((frame * 4) % 64)};
    s.discX = s.width / 2 + static_cast<int64_t>(std::lround(std::cos(angle) * double(s.width) / 3.0));
    s.discY = s.height / 2 + static_cast<int64_t>(std::lround(std::sin(angle) * double(s.height) / 3.0));
    return s;
}

// Scene brightness of one channel (0 blue, 1 green, 2 red; mono uses 1) at
// full exposure scale, before exposure, gain and noise.
int64_t sceneValue(const Scene& s, int64_t x, int64_t y, int channel) {
    int64_t value;
    switch (channel) {
        case 2: value = 4000 + 24000 * x / s.width; break;                 // red rises to the right
        case 0: value = 4000 + 24000 * (s.width - 1 - x) / s.width; break;  // blue to the left
        default: value = 4000 + 16000 * x / s.width + 8000 * y / s.height; break;
    }
    const int64_t dx = x - s.discX, dy = y - s.discY;
    if (dx * dx + dy * dy <= s.discRadius * s.discRadius) value += channel == 2 ? 26000 : channel == 1 ? 12000 : 4000;
    if (y < s.height / 8 && ((x + s.barShift) / 32) % 2 == 0) value += 16000;
    return value;
}

uint16_t exposed(int64_t scene, const FrameConfig& c, int noise) {
    const int64_t value = scene * c.exposureUs * c.gainCenti / (kReferenceExposureUs * 100) + noise;
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, 65535));
}

}  // namespace

std::vector<uint16_t> renderSamples(const FrameConfig& c, uint64_t frame, uint64_t seed) {
    const Scene scene = sceneFor(c, frame);
    const uint32_t channels = c.format->channels;
    const auto width = static_cast<uint32_t>(c.roi.width), height = static_cast<uint32_t>(c.roi.height);
    std::vector<uint16_t> samples(uint64_t(width) * height * channels);
    uint16_t* out = samples.data();
    for (uint32_t row = 0; row < height; ++row) {
        const int64_t y = c.roi.y + row;
        for (uint32_t col = 0; col < width; ++col) {
            const int64_t x = c.roi.x + col;
            const uint64_t position = (uint64_t(y) * c.sensorWidth + uint64_t(x)) * 3;
            if (channels == 3) {
                for (int ch = 0; ch < 3; ++ch)
                    *out++ = exposed(sceneValue(scene, x, y, ch), c, noiseAt(seed, frame, position + ch));
            } else {
                // Mosaic samples measure one colour each; the sensor origin is even so the phase holds.
                const int ch = c.format->mosaic ? mosaicChannel(uint32_t(x), uint32_t(y)) : 1;
                *out++ = exposed(sceneValue(scene, x, y, ch), c, noiseAt(seed, frame, position));
            }
        }
    }
    return samples;
}

std::vector<uint16_t> renderDecoded(const FrameConfig& c, uint64_t frame, uint64_t seed) {
    std::vector<uint16_t> samples = renderSamples(c, frame, seed);
    for (auto& s : samples) s = quantize(s, c.format->significantBits);
    if (!c.format->mosaic) return samples;
    std::vector<uint16_t> bgr(samples.size() * 3);
    demosaicGrbg(samples.data(), uint32_t(c.roi.width), uint32_t(c.roi.height), bgr.data());
    return bgr;
}

}  // namespace ovsim
