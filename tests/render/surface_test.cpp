// The surface base: creation, colour fill, locking, single pixels and lines
// on a real software DirectDraw surface.
#include <cstdlib>

#include "DisplayFixture.h"

namespace {

using namespace rendertest;

// Opens the protected drawing operations to the tests.
class OpenSurface : public Render::Surface {
public:
    using Surface::Surface;
    bool Draw(const uint16_t*, uint32_t, uint32_t, uint32_t) override { return false; }
    bool DoLock() { return Lock(); }
    void DoUnlock() { Unlock(); }
    void DoFillRetrying(COLORREF c) { FillRetrying(c); }
    void DoSetPixel(int32_t x, int32_t y, COLORREF c) { SetPixel(x, y, c); }
    void DoLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, COLORREF c) { DrawLine(x0, y0, x1, y1, c); }
    const DDSURFACEDESC2& Desc() const { return desc_; }
};

using SurfaceTest = DisplayTest;

TEST_F(SurfaceTest, CreateStoresTheRequestedSizeAndMakesAtLeastOnePixel) {
    OpenSurface surface(window_);
    EXPECT_EQ(surface.Window(), window_);
    EXPECT_EQ(surface.OffScreen(), nullptr);
    EXPECT_EQ(surface.Width(), 0u);
    ASSERT_TRUE(surface.Create(directDraw_, 0, 0));
    EXPECT_EQ(surface.Width(), 0u);
    EXPECT_EQ(surface.Height(), 0u);
    ASSERT_NE(surface.OffScreen(), nullptr);
    EXPECT_EQ(ReadBack(surface).width, 1u);
    ASSERT_TRUE(surface.Create(directDraw_, 37, 5));
    const Image image = ReadBack(surface);
    EXPECT_EQ(image.width, 37u);
    EXPECT_EQ(image.height, 5u);
    EXPECT_TRUE(image.bitsPerPixel == 24 || image.bitsPerPixel == 32) << image.bitsPerPixel;
}

TEST_F(SurfaceTest, FailedCreateKeepsTheStoredSize) {
    OpenSurface surface(window_);
    ASSERT_TRUE(surface.Create(directDraw_, 8, 6));
    EXPECT_FALSE(surface.Create(nullptr, 100, 100));
    EXPECT_EQ(surface.Width(), 8u);
    EXPECT_EQ(surface.Height(), 6u);
    EXPECT_EQ(surface.OffScreen(), nullptr);  // the old image is gone
    EXPECT_FALSE(surface.DoLock());
    surface.Fill(RGB(1, 2, 3));  // without an image: nothing happens
}

TEST_F(SurfaceTest, FillStoresColourRefsBlueFirst) {
    OpenSurface surface(window_);
    ASSERT_TRUE(surface.Create(directDraw_, 9, 4));
    surface.Fill(RGB(0x12, 0x34, 0x56));  // COLORREF 0x563412
    Image image = ReadBack(surface);
    for (uint32_t p : image.pixels) ASSERT_EQ(p, 0x123456u);  // byte 0 0x56, byte 2 0x12
    surface.DoFillRetrying(0x808080);
    image = ReadBack(surface);
    for (uint32_t p : image.pixels) ASSERT_EQ(p, Grey(0x80));
}

TEST_F(SurfaceTest, SetPixelWritesInsideTheLockedImageOnly) {
    OpenSurface surface(window_);
    ASSERT_TRUE(surface.Create(directDraw_, 4, 3));
    surface.Fill(0);
    surface.DoSetPixel(1, 1, RGB(0xAA, 0xBB, 0xCC));  // not locked: ignored
    ASSERT_TRUE(surface.DoLock());
    EXPECT_NE(surface.Desc().lpSurface, nullptr);
    surface.DoSetPixel(2, 1, RGB(0xAA, 0xBB, 0xCC));
    for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, 3}, {0, -1}, {100000, 100000}})
        surface.DoSetPixel(x, y, RGB(255, 255, 255));
    surface.DoUnlock();
    EXPECT_EQ(surface.Desc().lpSurface, nullptr);
    const Image image = ReadBack(surface);
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 4; ++x) EXPECT_EQ(image.At(x, y), x == 2 && y == 1 ? 0xAABBCCu : 0u) << x << "," << y;
}

TEST_F(SurfaceTest, LinesJoinBothEndsInUnitSteps) {
    OpenSurface surface(window_);
    ASSERT_TRUE(surface.Create(directDraw_, 40, 30));
    const int lines[][4] = {{0, 0, 39, 29}, {5, 20, 30, 3},  {38, 1, 2, 9},  {10, 10, 10, 25},
                            {3, 7, 3, 7},   {35, 28, 0, 28}, {20, 0, 24, 29}};
    for (const auto& l : lines) {
        surface.Fill(0);
        ASSERT_TRUE(surface.DoLock());
        surface.DoLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0));
        surface.DoUnlock();
        const Image image = ReadBack(surface);
        const int dx = std::abs(l[2] - l[0]), dy = std::abs(l[3] - l[1]);
        size_t lit = 0;
        for (uint32_t y = 0; y < image.height; ++y)
            for (uint32_t x = 0; x < image.width; ++x) {
                if (image.At(x, y) == 0) continue;
                ++lit;
                EXPECT_EQ(image.At(x, y), 0xFF0000u);
                // Every point lies within half a pixel of the ideal line, measured along the minor axis.
                if (dx >= dy && dx > 0) {
                    const double ideal = l[1] + double(l[3] - l[1]) * (int(x) - l[0]) / (l[2] - l[0]);
                    EXPECT_LE(std::abs(ideal - int(y)), 0.5 + 1e-9) << x << "," << y;
                } else if (dy > 0) {
                    const double ideal = l[0] + double(l[2] - l[0]) * (int(y) - l[1]) / (l[3] - l[1]);
                    EXPECT_LE(std::abs(ideal - int(x)), 0.5 + 1e-9) << x << "," << y;
                }
            }
        EXPECT_EQ(lit, size_t(std::max(dx, dy) + 1)) << "one point per step of the major axis";
        EXPECT_NE(image.At(l[0], l[1]), 0u);
        EXPECT_NE(image.At(l[2], l[3]), 0u);
    }
}

TEST_F(SurfaceTest, LinesLeavingTheImageAreCut) {
    OpenSurface surface(window_);
    ASSERT_TRUE(surface.Create(directDraw_, 10, 10));
    surface.Fill(0);
    ASSERT_TRUE(surface.DoLock());
    surface.DoLine(-20, 5, 30, 5, RGB(0, 255, 0));
    surface.DoUnlock();
    const Image image = ReadBack(surface);
    for (uint32_t x = 0; x < 10; ++x) EXPECT_EQ(image.At(x, 5), 0x00FF00u);
    EXPECT_EQ(image.At(0, 4), 0u);
}

}  // namespace
