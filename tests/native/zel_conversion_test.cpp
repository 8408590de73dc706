// The ZEL frame view's sample conversion against the literal rule, into
// destinations with padding that must stay untouched.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "PixelReference.h"
#include "Render/Kernels/ZelConversion.h"

using namespace Render::Kernels;

namespace {

constexpr uint8_t kUntouched = 0xA5;

struct Canvas {
    Canvas(uint32_t w, uint32_t h, uint32_t bpp, uint32_t padding)
        : width(w), height(h), bytesPerPixel(bpp), pitch(size_t(w) * bpp + padding), bytes(pitch * h, kUntouched) {}
    DisplayTarget Target() { return {bytes.data(), ptrdiff_t(pitch), bytesPerPixel}; }
    const uint8_t* Pixel(uint32_t x, uint32_t y) const { return bytes.data() + y * pitch + size_t(x) * bytesPerPixel; }
    uint32_t width, height, bytesPerPixel;
    size_t pitch;
    std::vector<uint8_t> bytes;
};

void ExpectConverted(const std::vector<uint16_t>& samples, uint32_t rowPixels, uint32_t width, uint32_t height,
                     bool bgr, uint32_t shift, const Canvas& canvas) {
    for (uint32_t y = 0; y < canvas.height; ++y) {
        for (uint32_t x = 0; x < canvas.width; ++x) {
            const uint8_t* p = canvas.Pixel(x, y);
            if (x >= width || y >= height) {
                for (uint32_t b = 0; b < canvas.bytesPerPixel; ++b) ASSERT_EQ(p[b], kUntouched) << x << "," << y;
                continue;
            }
            for (uint32_t b = 0; b < 3; ++b) {
                const size_t index = (size_t(y) * rowPixels + x) * (bgr ? 3 : 1) + (bgr ? b : 0);
                ASSERT_EQ(p[b], pixelref::Byte(samples[index], shift))
                    << "pixel " << x << "," << y << " byte " << b << " shift " << shift;
            }
            if (canvas.bytesPerPixel == 4) {
                ASSERT_EQ(p[3], 0) << x << "," << y;
            }
        }
        for (size_t b = size_t(canvas.width) * canvas.bytesPerPixel; b < canvas.pitch; ++b)
            ASSERT_EQ(canvas.bytes[y * canvas.pitch + b], kUntouched) << "row padding of row " << y;
    }
}

}  // namespace

TEST(ZelConversion, SampleOf0x4000WithShift2ShowsWhite) {
    const std::vector<uint16_t> samples{0x4000, 0x3FFF, 0x0100, 0};
    Canvas canvas(4, 1, 4, 0);
    ASSERT_TRUE(ConvertZelFrame(samples.data(), 4, 4, 1, kLayoutMono, 2, canvas.Target()));
    EXPECT_EQ(canvas.Pixel(0, 0)[0], 255);   // 0x10000 clamps to 65535
    EXPECT_EQ(canvas.Pixel(1, 0)[1], 0xFF);  // 0xFFFC >> 8
    EXPECT_EQ(canvas.Pixel(2, 0)[2], 0x04);
    EXPECT_EQ(canvas.Pixel(3, 0)[0], 0);
}

TEST(ZelConversion, BgrKeepsTheSampleOrderInTheBytes) {
    const std::vector<uint16_t> samples{0x1100, 0x2200, 0x3300};
    for (uint32_t bpp : {3u, 4u}) {
        Canvas canvas(1, 1, bpp, 0);
        ASSERT_TRUE(ConvertZelFrame(samples.data(), 1, 1, 1, kLayoutBgr, 0, canvas.Target()));
        EXPECT_EQ(canvas.Pixel(0, 0)[0], 0x11);
        EXPECT_EQ(canvas.Pixel(0, 0)[1], 0x22);
        EXPECT_EQ(canvas.Pixel(0, 0)[2], 0x33);
    }
}

TEST(ZelConversion, LargeShiftsLoseTheBitsOfA32BitWord) {
    // 0x8000 << 17 leaves bit 32 only: the 32-bit value is 0 and shows black;
    // 0x0001 << 17 stays 0x20000 and clamps to white.
    const std::vector<uint16_t> samples(40, 0x8000);
    std::vector<uint16_t> mixed(samples);
    for (size_t i = 0; i < mixed.size(); i += 2) mixed[i] = 1;
    Canvas canvas(40, 1, 4, 0);
    ASSERT_TRUE(ConvertZelFrame(mixed.data(), 40, 40, 1, kLayoutMono, 17, canvas.Target()));
    EXPECT_EQ(canvas.Pixel(0, 0)[0], 255);
    EXPECT_EQ(canvas.Pixel(1, 0)[0], 0);
    ASSERT_TRUE(ConvertZelFrame(samples.data(), 40, 40, 1, kLayoutMono, 40, canvas.Target()));
    EXPECT_EQ(canvas.Pixel(39, 0)[2], 0);
}

TEST(ZelConversion, OtherLayoutsAndDepthsDrawNothing) {
    const std::vector<uint16_t> samples(64, 0xFFFF);
    Canvas canvas(8, 8, 4, 0);
    EXPECT_FALSE(ConvertZelFrame(samples.data(), 8, 8, 8, kLayoutBayer, 0, canvas.Target()));
    EXPECT_FALSE(ConvertZelFrame(samples.data(), 8, 8, 8, 7, 0, canvas.Target()));
    DisplayTarget sixteen = canvas.Target();
    sixteen.bytesPerPixel = 2;
    EXPECT_FALSE(ConvertZelFrame(samples.data(), 8, 8, 8, kLayoutMono, 0, sixteen));
    for (uint8_t b : canvas.bytes) ASSERT_EQ(b, kUntouched);
}

TEST(ZelConversion, ToDisplayBytesMatchesTheRuleForEveryValueAndShift) {
    std::vector<uint16_t> all(65536);
    for (uint32_t i = 0; i < 65536; ++i) all[i] = uint16_t(i);
    std::vector<uint8_t> out(65536);
    for (uint32_t shift = 0; shift <= 33; ++shift) {
        ToDisplayBytes(all.data(), all.size(), shift, out.data());
        for (uint32_t i = 0; i < 65536; ++i) ASSERT_EQ(out[i], pixelref::Byte(i, shift)) << i << " << " << shift;
    }
}

TEST(ZelConversion, RandomFramesMatchTheRule) {
    std::mt19937 random(2024);
    for (int round = 0; round < 400; ++round) {
        const bool bgr = random() % 2;
        const uint32_t width = 1 + random() % 45, height = 1 + random() % 9;
        const uint32_t rowPixels = width + (random() % 3 ? 0 : random() % 5);  // sometimes a clipped frame
        const uint32_t bpp = random() % 3 ? 4 : 3;
        const uint32_t shift = random() % 4 ? random() % 9 : random() % 36;
        std::vector<uint16_t> samples(size_t(rowPixels) * height * (bgr ? 3 : 1));
        for (uint16_t& v : samples) v = uint16_t(random());
        Canvas canvas(rowPixels, height + 1, bpp, random() % 7);
        ASSERT_TRUE(ConvertZelFrame(samples.data(), rowPixels, width, height, bgr ? kLayoutBgr : kLayoutMono, shift,
                                    canvas.Target()));
        ExpectConverted(samples, rowPixels, width, height, bgr, shift, canvas);
        if (HasFatalFailure()) {
            ADD_FAILURE() << width << "x" << height << " of " << rowPixels << " bgr " << bgr << " bpp " << bpp;
            return;
        }
    }
}
