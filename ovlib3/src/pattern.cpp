#include "pattern.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The same table split into what each entry adds and what it takes away
// (one of the two is 0), for saturating 16-bit arithmetic.
struct NoiseParts {
    std::vector<uint16_t> rise, fall;
};

const NoiseParts& noiseParts() {
    static const NoiseParts parts = [] {
        const int16_t* table = noiseTable();
        NoiseParts made;
        made.rise.resize(kNoiseStarts + kMaxRowSamples);
        made.fall.resize(kNoiseStarts + kMaxRowSamples);
        for (size_t i = 0; i < made.rise.size(); ++i) {
            made.rise[i] = static_cast<uint16_t>(std::max<int>(table[i], 0));
            made.fall[i] = static_cast<uint16_t>(std::max<int>(-table[i], 0));
        }
        return made;
    }();
    return parts;
}

// Where a row of a frame starts reading the noise table.
uint64_t noiseStart(uint64_t seed, uint64_t frame, uint64_t y) {
    const uint64_t h = mix((seed << 32 ^ frame) * 0x9E3779B97F4A7C15ull + y * 0xC2B2AE3D27D4EB4Full);
    return h & (kNoiseStarts - 1);
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

// What does not move, per sample: the gradient of each row, what the disc
// adds to a row by row parity, what the bars add by column + shift.
template <typename Sample>
struct SceneTables {
    std::vector<Sample> base;
    std::array<std::vector<Sample>, 2> disc;
    std::vector<Sample> bars;
};

// Everything about a configuration's frames that does not move, scaled by
// exposure and gain: computed once per configuration. When the gradient,
// bars and disc together stay within 16 bits (a mono camera at or below the
// reference exposure), the tables are kept in 16 bits and noise is added with
// saturating arithmetic; brighter scenes keep 32-bit tables.
struct StillScene {
    FrameConfig config;
    uint32_t rowSamples = 0;
    SceneTables<int32_t> wide;     // empty when narrow is used
    SceneTables<uint16_t> narrow;  // empty when the scene needs more than 16 bits

    explicit StillScene(const FrameConfig& c) : config(c) {
        const uint32_t channels = c.format->channels, width = uint32_t(c.roi.width), height = uint32_t(c.roi.height);
        rowSamples = width * channels;
        const auto scaled = [&c](int64_t v) {
            const int64_t s = v * c.exposureUs * c.gainCenti / (int64_t(c.referenceExposureUs) * 100);
            return static_cast<int32_t>(std::min(s, kBrightnessCap));
        };
        wide.base.resize(uint64_t(rowSamples) * height);
        for (uint32_t row = 0; row < height; ++row)
            for (uint32_t s = 0; s < rowSamples; ++s) {
                const int64_t x = c.roi.x + s / channels, y = c.roi.y + row;
                wide.base[uint64_t(row) * rowSamples + s] = scaled(gradient(c, x, y, channelOf(c, s, x, y)));
            }
        for (int parity = 0; parity < 2; ++parity) {
            wide.disc[parity].resize(rowSamples);
            for (uint32_t s = 0; s < rowSamples; ++s) {
                const int64_t x = c.roi.x + s / channels;
                wide.disc[parity][s] = scaled(kDiscBrightness[channelOf(c, s, x, c.roi.y + parity)]);
            }
        }
        wide.bars.resize(rowSamples + kBarPeriod * channels);
        for (uint32_t s = 0; s < wide.bars.size(); ++s)
            wide.bars[s] = ((c.roi.x + s / channels) / 32) % 2 == 0 ? scaled(kBarBrightness) : 0;
        if (rowSamples == 0 || height == 0) return;
        const auto range = [](const std::vector<int32_t>& v) { return std::minmax_element(v.begin(), v.end()); };
        const auto base = range(wide.base), bars = range(wide.bars);
        const auto disc0 = range(wide.disc[0]), disc1 = range(wide.disc[1]);
        const bool negative = std::min({*base.first, *bars.first, *disc0.first, *disc1.first}) < 0;
        const int64_t brightest = int64_t(*base.second) + *bars.second + std::max(*disc0.second, *disc1.second);
        if (negative || brightest > 65535) return;
        const auto narrowed = [](const std::vector<int32_t>& v) { return std::vector<uint16_t>(v.begin(), v.end()); };
        narrow = {narrowed(wide.base), {narrowed(wide.disc[0]), narrowed(wide.disc[1])}, narrowed(wide.bars)};
        wide = {};
    }
};

const StillScene& stillSceneFor(const FrameConfig& c) {
    // Two configurations cover a served frame and its prediction alternating with another camera.
    static std::array<std::unique_ptr<StillScene>, 2> cache;
    for (auto& scene : cache)
        if (scene && scene->config == c) return *scene;
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

// clamp(base + rise - fall, 0, 65535) >> shift for base values of 16 bits,
// where rise or fall is 0: a saturating add, then a saturating subtract.
void addNoise(const uint16_t* base, const uint16_t* rise, const uint16_t* fall, uint32_t n, uint32_t shift,
              uint16_t* out) {
    uint32_t s = 0;
#if defined(__SSE2__)
    const __m128i count = _mm_cvtsi32_si128(int(shift));
    for (; s + 8 <= n; s += 8) {
        const auto at = [s](const uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + s)); };
        const __m128i v = _mm_subs_epu16(_mm_adds_epu16(at(base), at(rise)), at(fall));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + s), _mm_srl_epi16(v, count));
    }
#endif
    for (; s < n; ++s) {
        const int32_t v = int32_t(base[s]) + rise[s] - fall[s];
        out[s] = static_cast<uint16_t>(std::clamp(v, 0, 65535) >> shift);
    }
}

// Row r of the scene before noise: the still gradient, plus the bars and the
// disc where they pass (summed in scratch).
template <typename Sample>
const Sample* sceneRow(const SceneTables<Sample>& tables, const FrameConfig& c, const Motion& m, int64_t r, uint32_t n,
                       std::vector<Sample>& scratch) {
    const Sample* base = tables.base.data() + uint64_t(r) * n;
    const int64_t y = c.roi.y + r, dy = y - m.discY;
    const bool bars = y < int64_t(c.sensorHeight) / 8;
    const bool disc = dy * dy <= m.discRadius * m.discRadius;
    if (!bars && !disc) return base;  // most rows
    scratch.assign(base, base + n);
    const uint32_t channels = c.format->channels;
    if (bars) {
        const Sample* add = tables.bars.data() + m.barShift * channels;
        for (uint32_t s = 0; s < n; ++s) scratch[s] += add[s];
    }
    if (disc) {
        const int64_t half = discHalfWidth(m.discRadius, dy);
        const int64_t first = std::max<int64_t>(m.discX - half, c.roi.x) - c.roi.x;
        const int64_t last = std::min<int64_t>(m.discX + half, c.roi.x + c.roi.width - 1) - c.roi.x;
        const Sample* add = tables.disc[uint64_t(r) & 1].data();
        for (int64_t s = first * channels; s < (last + 1) * channels; ++s) scratch[s] += add[s];
    }
    return scratch.data();
}

}  // namespace

void renderSamplesInto(const FrameConfig& c, uint64_t frame, uint64_t seed, uint32_t shift, uint16_t* out) {
    const StillScene& scene = stillSceneFor(c);
    const Motion m = motionAt(c, frame);
    const uint32_t n = scene.rowSamples;
    if (!scene.narrow.base.empty()) {
        const NoiseParts& noise = noiseParts();
        std::vector<uint16_t> scratch;
        for (int64_t r = 0; r < c.roi.height; ++r, out += n) {
            const uint64_t at = noiseStart(seed, frame, uint64_t(c.roi.y + r));
            addNoise(sceneRow(scene.narrow, c, m, r, n, scratch), noise.rise.data() + at, noise.fall.data() + at, n,
                     shift, out);
        }
        return;
    }
    std::vector<int32_t> scratch;
    for (int64_t r = 0; r < c.roi.height; ++r, out += n) {
        const int32_t* row = sceneRow(scene.wide, c, m, r, n, scratch);
        const int16_t* noise = noiseTable() + noiseStart(seed, frame, uint64_t(c.roi.y + r));
        for (uint32_t s = 0; s < n; ++s)
            out[s] = static_cast<uint16_t>(std::clamp(row[s] + noise[s], 0, 65535) >> shift);
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
