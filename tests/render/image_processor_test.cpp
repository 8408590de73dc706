// The shared image processor: one instance, its defaults, and rendering that
// never sees a half-rebuilt table while another thread changes settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "Render/ImageProcessor.h"
#include "native/PixelReference.h"

namespace {

using Render::ImageProcessor;

TEST(ImageProcessor, OneInstanceForTheProcess) { EXPECT_EQ(&ImageProcessor::Instance(), &ImageProcessor::Instance()); }

TEST(ImageProcessor, StartsAtTheDocumentedDefaults) {
    auto processor = std::make_unique<ImageProcessor>();
    uint16_t black = 1, white = 1, blue = 0, green = 0, red = 0;
    processor->GetLevels(&black, &white);
    processor->GetBalanceReferences(&blue, &green, &red);
    EXPECT_EQ(black, 0);
    EXPECT_EQ(white, 65535);
    EXPECT_EQ(blue, 65535);
    EXPECT_EQ(green, 65535);
    EXPECT_EQ(red, 65535);
    EXPECT_EQ(processor->Mode(), uint32_t(Render::WbOff));
    EXPECT_EQ(processor->GainShift(), 0u);
    EXPECT_FLOAT_EQ(processor->Gamma(), 1.0f);
    for (uint32_t i = 0; i < 65536; i += 251)
        EXPECT_EQ(processor->TableValue(Render::Kernels::ChannelGrey, uint16_t(i)), i);
}

TEST(ImageProcessor, OperationsReachTheTables) {
    auto processor = std::make_unique<ImageProcessor>();
    processor->SetLevels(100, 1100);
    processor->SetWhiteBalanceMode(Render::WbManual);
    processor->SetManualBalance(500, 1000, 250);
    const auto expected = pixelref::ChannelTables(pixelref::GammaTable(1.0f), 100, 1100, 250, 1000, 500);
    for (uint32_t i = 0; i < 65536; i += 13) {
        ASSERT_EQ(processor->TableValue(Render::Kernels::ChannelRed, uint16_t(i)), expected.red[i]) << i;
        ASSERT_EQ(processor->TableValue(Render::Kernels::ChannelBlue, uint16_t(i)), expected.blue[i]) << i;
    }
    processor->SetWhiteBalanceMode(Render::WbPixel);
    processor->PickBalancePixel(3, 4);
    EXPECT_TRUE(processor->PickPending());
    const std::vector<uint16_t> frame{10, 20, 30, 40};
    std::vector<uint16_t> out(12);
    ASSERT_TRUE(processor->Render16(0, 0, 2, 2, out.data(), 6, 48, frame.data(), 1));
    uint16_t blue = 0, green = 0, red = 0;
    processor->GetBalanceReferences(&blue, &green, &red);
    EXPECT_EQ(red, 20);
    EXPECT_EQ(blue, 30);
    EXPECT_EQ(green, 25);
}

// Two level settings alternate on one thread while another renders the same
// Bayer frame: every rendered frame must be entirely one of the two results.
TEST(ImageProcessor, RenderingNeverMixesTwoSettings) {
    auto processor = std::make_unique<ImageProcessor>();
    const uint32_t w = 256, h = 64;
    std::vector<uint16_t> frame(size_t(w) * h);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint16_t(i * 4 + (i % 7) * 3000);
    auto render = [&] {
        std::vector<uint8_t> out(size_t(w) * h * 4);
        processor->Render8(0, 0, w, h, out.data(), int32_t(w * 4), 32, frame.data(), 1);
        return out;
    };
    processor->SetLevels(100, 60000);
    const std::vector<uint8_t> first = render();
    processor->SetLevels(20000, 30000);
    const std::vector<uint8_t> second = render();
    ASSERT_NE(first, second);

    struct Shared {
        ImageProcessor* processor;
        volatile LONG stop;
    } shared{processor.get(), 0};
    HANDLE changer = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* s = static_cast<Shared*>(p);
            for (int i = 0; !s->stop; ++i) {
                if (i % 2)
                    s->processor->SetLevels(100, 60000);
                else
                    s->processor->SetLevels(20000, 30000);
            }
            return 0;
        },
        &shared, 0, nullptr);
    ASSERT_NE(changer, nullptr);
    int mixed = 0;
    const int renders = 300;
    for (int i = 0; i < renders; ++i) {
        const std::vector<uint8_t> out = render();
        if (out != first && out != second) ++mixed;
    }
    InterlockedExchange(&shared.stop, 1);
    WaitForSingleObject(changer, INFINITE);
    CloseHandle(changer);
    EXPECT_EQ(mixed, 0) << "of " << renders << " frames";
}

}  // namespace
