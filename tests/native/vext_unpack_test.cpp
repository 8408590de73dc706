// The VEXT unpacking and combining kernels: where single bits land, the
// background rule, frames whose pixel count is not a multiple of ten, and a
// randomised round trip through the simulated camera's packer.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Render/Kernels/CpuFeatures.h"
#include "Render/Kernels/VextUnpack.h"
#include "vext_packing.h"

using namespace Render::Kernels;

namespace {

struct Planes {
    explicit Planes(size_t pixelCount) {
        for (auto& plane : words) plane.assign(VextPlaneWords(pixelCount), 0);
    }
    const uint32_t* const* Pointers() {
        for (int k = 0; k < 4; ++k) pointers[k] = words[k].data();
        return pointers;
    }
    std::vector<uint32_t> words[4];
    const uint32_t* pointers[4] = {};
};

std::vector<uint16_t> Combined(Planes& planes, size_t pixelCount, const uint16_t* background = nullptr,
                               uint16_t offset = 0) {
    std::vector<uint16_t> out(pixelCount);
    CombineVextPlanes(planes.Pointers(), pixelCount, background, offset, out.data());
    return out;
}

using Unpacker = void (*)(const uint8_t*, size_t, uint32_t*);

// Every way this processor can unpack and combine.
struct Path {
    Unpacker unpack;
    VextPositionCombiner combine;
    const char* name;
};
std::vector<Path> Paths() {
    std::vector<Path> paths = {{&UnpackVextPartScalar, nullptr, "scalar"},
                               {&UnpackVextPartScalar, &CombineVextPositionsSse2, "SSE2"}};
    if (Ssse3Usable()) paths.push_back({&UnpackVextPartShuffled, &CombineVextPositionsSse2, "SSSE3"});
    if (Avx2Usable()) paths.push_back({&UnpackVextPartShuffled, &CombineVextPositionsAvx2, "AVX2"});
    return paths;
}

// The camera's four parts for 10-bit samples, packed by the simulator.
struct Packed {
    explicit Packed(const std::vector<uint16_t>& samples10) : pixels(samples10.size()) {
        const size_t partBytes = size_t(ovsim::vextPartBytes(pixels));
        EXPECT_GE(partBytes, VextPartBytes(pixels));
        uint8_t* pointers[4];
        for (int k = 0; k < 4; ++k) pointers[k] = (parts[k].assign(partBytes, 0xEE), parts[k].data());
        ovsim::packVextFrame(samples10.data(), pixels, pointers);
    }
    std::vector<uint16_t> Decode(const Path& path, const uint16_t* background = nullptr, uint16_t offset = 0) {
        Planes planes(pixels);
        for (int k = 0; k < 4; ++k) path.unpack(parts[k].data(), pixels, planes.words[k].data());
        std::vector<uint16_t> out(pixels);
        CombineVextPlanesWith(path.combine, planes.Pointers(), pixels, background, offset, out.data());
        return out;
    }
    size_t pixels;
    std::vector<uint8_t> parts[4];
};

}  // namespace

TEST(VextUnpack, BitTwentyFourOfEachPlaneLandsInPixelFiveOrSix) {
    struct Case {
        int plane;
        int pixel;  // 0-based within the position
        int bit;
    };
    const Case cases[] = {{0, 4, 15}, {1, 5, 15}, {2, 4, 13}, {3, 5, 14}};
    for (const Case& c : cases) {
        Planes planes(20);
        planes.words[c.plane][1] = 1u << 24;  // the second position: pixels 10..19
        const std::vector<uint16_t> out = Combined(planes, 20);
        for (size_t i = 0; i < out.size(); ++i)
            EXPECT_EQ(out[i], i == size_t(10 + c.pixel) ? 1u << c.bit : 0u) << "plane " << c.plane << " pixel " << i;
    }
}

TEST(VextUnpack, BackgroundSubtractionAndItsAbsence) {
    const size_t pixels = 1003;
    std::mt19937 random(7);
    std::vector<uint16_t> samples(pixels);
    for (auto& s : samples) s = uint16_t(random() & 0x3FF);
    Packed packed(samples);
    const std::vector<uint16_t> zero(pixels, 0);
    for (const Path& path : Paths()) {
        SCOPED_TRACE(path.name);
        const std::vector<uint16_t> raw = packed.Decode(path);
        for (size_t i = 0; i < pixels; ++i) ASSERT_EQ(raw[i], samples[i] << 6) << i;
        for (uint16_t v : packed.Decode(path, raw.data(), kVextBackgroundOffset)) ASSERT_EQ(v, kVextBackgroundOffset);
        const std::vector<uint16_t> overZero = packed.Decode(path, zero.data(), kVextBackgroundOffset);
        for (size_t i = 0; i < pixels; ++i)
            ASSERT_EQ(overZero[i], raw[i] ? std::min(raw[i] + kVextBackgroundOffset, 0xFFFF) : kVextBackgroundOffset);
    }
}

TEST(VextUnpack, RandomRoundTripsOfAnySize) {
    struct Size {
        uint32_t width, height;
    };
    // 641 and 643 pixels need one word more than whole blocks of 640 pixels hold.
    const Size sizes[] = {{1, 1}, {3, 3}, {7, 1}, {10, 1}, {641, 1}, {643, 1}, {33, 17}, {1024, 1024}, {2048, 2048}};
    std::mt19937 random(11);
    for (const Size& size : sizes) {
        std::vector<uint16_t> samples(size_t(size.width) * size.height);
        for (auto& s : samples) s = uint16_t(random() & 0x3FF);
        Packed packed(samples);
        for (const Path& path : Paths()) {
            const std::vector<uint16_t> out = packed.Decode(path);
            for (size_t i = 0; i < samples.size(); ++i)
                ASSERT_EQ(out[i], samples[i] << 6)
                    << path.name << " " << size.width << "x" << size.height << " pixel " << i;
        }
    }
}
