// The simulated camera's 12-bit packing (shuffled where the processor can)
// against the byte layout written out here, for every tail length, and the
// frame checksum.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ids.h"
#include "pixel_formats.h"

using namespace ovsim;

TEST(SimulatorPacking, TwelveBitLayoutRoundTripAndChecksum) {
    const PixelFormat& format = *formatByEnum(kFormatMono12Packed);
    std::mt19937 random(12);
    for (uint32_t width = 2; width <= 80; width += 2) {
        std::vector<uint16_t> samples(width);
        for (uint16_t& v : samples) v = uint16_t(random());
        std::vector<uint8_t> expected(width / 2 * 3);
        for (uint32_t i = 0; i < width; i += 2) {
            const uint32_t a = samples[i] >> 4, b = samples[i + 1] >> 4;
            expected[i / 2 * 3] = uint8_t(a >> 4);
            expected[i / 2 * 3 + 1] = uint8_t(b >> 4);
            expected[i / 2 * 3 + 2] = uint8_t((a & 0xF) | (b & 0xF) << 4);
        }
        std::vector<uint8_t> packed(expected.size());
        packRaw(format, samples.data(), width, 1, packed.data());
        ASSERT_EQ(packed, expected) << width;

        std::vector<uint16_t> unpacked(width);
        unpackRaw(format, packed.data(), width, 1, unpacked.data());
        for (uint32_t i = 0; i < width; ++i) ASSERT_EQ(unpacked[i], samples[i] & 0xFFF0) << width << " " << i;

        uint32_t sum = 0;
        for (uint8_t byte : packed) sum += byte;
        ASSERT_EQ(byteSum(packed.data(), packed.size()), sum) << width;
    }
}
