#include "pattern.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace ovsim {
namespace {

constexpr int kNoiseAmplitude = 384;  // +- in 16-bit units
// Noise comes from one fixed table; each row of each frame starts at a place
// hashed from (seed, frame, row) and reads on, so a row costs one hash.
constexpr uint32_t kNoiseStarts = 1u << 16;
constexpr uint32_t kMaxRowSamples = 1u << 13;  // 1600 x 3 at most today
// Scaled brightness is capped far above saturation so that sums never overflow.
constexpr int64_t kBrightnessCap = 1 << 20;
constexpr int64_t kBarPeriod = 64;  // bars 32 wide, 32 apart

uint64_t mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

const int16_t* noiseTable() {
    static const std::vector<int16_t> table = [] {
        std::vector<int16_t> made(kNoiseStarts + kMaxRowSamples);
        for (size_t i = 0; i < made.size(); ++i)
            made[i] = static_cast<int16_t>(int(mix(i + 1) % (2 * kNoiseAmplitude + 1)) - kNoiseAmplitude);
        return made;
    }();
    return table.data();
}

const int16_t* noiseRow(uint64_t seed, uint64_t frame, uint64_t y) {
    const uint64_t h = mix((seed << 32 ^ frame) * 0x9E3779B97F4A7C15ull + y * 0xC2B2AE3D27D4EB4Full);
    return noiseTable() + (h & (kNoiseStarts - 1));
}

// Per-frame geometry of the moving parts, in sensor coordinates.
struct Motion {
    int64_t discX, discY, discRadius;
    int64_t barShift;
};

Motion motionAt(const FrameConfig& c, uint64_t frame) {
    const double angle = static_cast<double>(frame % 240) * (2.0 * 3.14159265358979 / 240.0);
    const int64_t w = c.sensorWidth, h = c.sensorHeight;
    return {w / 2 + static_cast<int64_t>(std::lround(std::cos(angle) * double(w) / 3.0)),
            h / 2 + static_cast<int64_t>(std::lround(std::sin(angle) * double(h) / 3.0)), std::max<int64_t>(4, h / 8),
            static_cast<int64_t>((frame * 4) % kBarPeriod)};
}

// Brightness of the still gradient of one channel (0 blue, 1 green, 2 red; mono uses 1).
int64_t gradient(const FrameConfig& c, int64_t x, int64_t y, int channel) {
    const int64_t w = c.sensorWidth, h = c.sensorHeight;
    switch (channel) {
        case 2:
            return 4000 + 24000 * x / w;  // red rises to the right
        case 0:
            return 4000 + 24000 * (w - 1 - x) / w;  // blue to the left
        default:
            return 4000 + 16000 * x / w + 8000 * y / h;
    }
}

constexpr int64_t kDiscBrightness[3] = {4000, 12000, 26000};
constexpr int64_t kBarBrightness = 16000;

int channelOf(const FrameConfig& c, uint32_t sample, int64_t x, int64_t y) {
    if (c.format->channels == 3) return int(sample % 3);
    return c.format->mosaic ? mosaicChannel(uint32_t(x), uint32_t(y)) : 1;
}

// Everything about a configuration's frames that does not move, scaled by
// exposure and gain: computed once per configuration.
struct StillScene {
    FrameConfig config;
    uint32_t rowSamples = 0;
    std::vector<int32_t> base;                 // the gradient, per sample
    std::array<std::vector<int32_t>, 2> disc;  // what the disc adds to each sample of a row, by row parity
    std::vector<int32_t> bars;                 // what the bars add, by column + shift

    explicit StillScene(const FrameConfig& c) : config(c) {
        const uint32_t channels = c.format->channels, width = uint32_t(c.roi.width), height = uint32_t(c.roi.height);
        rowSamples = width * channels;
        const auto scaled = [&c](int64_t v) {
            const int64_t s = v * c.exposureUs * c.gainCenti / (int64_t(c.referenceExposureUs) * 100);
            return static_cast<int32_t>(std::min(s, kBrightnessCap));
        };
        base.resize(uint64_t(rowSamples) * height);
        for (uint32_t row = 0; row < height; ++row)
            for (uint32_t s = 0; s < rowSamples; ++s) {
                const int64_t x = c.roi.x + s / channels, y = c.roi.y + row;
                base[uint64_t(row) * rowSamples + s] = scaled(gradient(c, x, y, channelOf(c, s, x, y)));
            }
        for (int parity = 0; parity < 2; ++parity) {
            disc[parity].resize(rowSamples);
            for (uint32_t s = 0; s < rowSamples; ++s) {
                const int64_t x = c.roi.x + s / channels;
                disc[parity][s] = scaled(kDiscBrightness[channelOf(c, s, x, c.roi.y + parity)]);
            }
        }
        bars.resize(rowSamples + kBarPeriod * channels);
        for (uint32_t s = 0; s < bars.size(); ++s)
            bars[s] = ((c.roi.x + s / channels) / 32) % 2 == 0 ? scaled(kBarBrightness) : 0;
    }
};

const StillScene& stillSceneFor(const FrameConfig& c) {
    // Two configurations cover a served frame and its prediction alternating with another camera.
    static std::array<std::unique_ptr<StillScene>, 2> cache;
    for (auto& scene : cache)
        if (scene && sameLook(scene->config, c)) return *scene;
    std::swap(cache[0], cache[1]);
    cache[0] = std::make_unique<StillScene>(c);
    return *cache[0];
}

int64_t discHalfWidth(int64_t radius, int64_t dy) {
    const int64_t r2 = radius * radius - dy * dy;
    auto half = static_cast<int64_t>(std::sqrt(double(r2)));
    while (half * half > r2) --half;
    while ((half + 1) * (half + 1) <= r2) ++half;
    return half;
}

}  // namespace

bool sameLook(const FrameConfig& a, const FrameConfig& b) {
    return a.sensorWidth == b.sensorWidth && a.sensorHeight == b.sensorHeight && a.roi.x == b.roi.x &&
           a.roi.y == b.roi.y && a.roi.width == b.roi.width && a.roi.height == b.roi.height && a.format == b.format &&
           a.exposureUs == b.exposureUs && a.gainCenti == b.gainCenti && a.referenceExposureUs == b.referenceExposureUs;
}

void renderSamplesInto(const FrameConfig& c, uint64_t frame, uint64_t seed, uint32_t shift, uint16_t* out) {
    const StillScene& scene = stillSceneFor(c);
    const Motion m = motionAt(c, frame);
    const uint32_t channels = c.format->channels, n = scene.rowSamples;
    std::vector<int32_t> row(n);
    for (int64_t r = 0; r < c.roi.height; ++r, out += n) {
        const int64_t y = c.roi.y + r;
        const int32_t* base = scene.base.data() + uint64_t(r) * n;
        const int16_t* noise = noiseRow(seed, frame, uint64_t(y));
        const bool bars = y < int64_t(c.sensorHeight) / 8;
        const int64_t dy = y - m.discY;
        const bool disc = dy * dy <= m.discRadius * m.discRadius;
        if (!bars && !disc) {  // most rows: the still scene and noise only
            for (uint32_t s = 0; s < n; ++s)
                out[s] = static_cast<uint16_t>(std::clamp(base[s] + noise[s], 0, 65535) >> shift);
            continue;
        }
        for (uint32_t s = 0; s < n; ++s) row[s] = base[s] + noise[s];
        if (bars) {
            const int32_t* add = scene.bars.data() + m.barShift * channels;
            for (uint32_t s = 0; s < n; ++s) row[s] += add[s];
        }
        if (disc) {
            const int64_t half = discHalfWidth(m.discRadius, dy);
            const int64_t first = std::max<int64_t>(m.discX - half, c.roi.x) - c.roi.x;
            const int64_t last = std::min<int64_t>(m.discX + half, c.roi.x + c.roi.width - 1) - c.roi.x;
            const int32_t* add = scene.disc[uint64_t(r) & 1].data();
            for (int64_t s = first * channels; s < (last + 1) * channels; ++s) row[s] += add[s];
        }
        for (uint32_t s = 0; s < n; ++s) out[s] = static_cast<uint16_t>(std::clamp(row[s], 0, 65535) >> shift);
    }
}

std::vector<uint16_t> renderSamples(const FrameConfig& c, uint64_t frame, uint64_t seed) {
    std::vector<uint16_t> samples(uint64_t(c.roi.width) * uint64_t(c.roi.height) * c.format->channels);
    renderSamplesInto(c, frame, seed, 0, samples.data());
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
