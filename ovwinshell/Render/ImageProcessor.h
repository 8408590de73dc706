#pragma once
// The VEXT display processing shared by the frame view, the film writers and
// the DirectShow source filter (which compiles this source too and calls the
// viewer's instance): levels, gamma, gain and white balance through lookup
// tables, GRBG colour reconstruction. Every operation holds the processor's
// lock, so settings may change from the GUI thread while a worker renders.
#include <windows.h>

#include <cstdint>

#include "Common/CritSec.h"
#include "Render/Kernels/PixelPipeline.h"

namespace Render {

using Kernels::WbAuto;
using Kernels::WbManual;
using Kernels::WbOff;
using Kernels::WbPixel;
using Kernels::WhiteBalanceMode;

class ImageProcessor {
public:
    // The process-wide instance, built on first use.
    static ImageProcessor& Instance();

    // Levels 0 / 65535, references 65535, WbOff, shift 0, gamma 1.0.
    ImageProcessor() = default;
    ImageProcessor(const ImageProcessor&) = delete;
    ImageProcessor& operator=(const ImageProcessor&) = delete;

    void SetGamma(float gamma);
    void SetLevels(uint16_t black, uint16_t white);
    // WbOff also sets the three references to 1.
    void SetWhiteBalanceMode(uint32_t mode);
    // Only in WbManual.
    void SetManualBalance(uint16_t blue, uint16_t green, uint16_t red);
    // Only in WbPixel: the next Bayer frame takes its references from the 2 x 2
    // cell at (x, y) of the frame.
    void PickBalancePixel(int32_t x, int32_t y);
    void GetBalanceReferences(uint16_t* blue, uint16_t* green, uint16_t* red);
    void SetGainShift(uint32_t shift);

    // Draws a Mono or Bayer frame with its top-left pixel at (x, y) of a locked
    // display image of 24 or 32 bits per pixel (pitch in bytes). clipWidth and
    // clipHeight, when given, are the image's size: nothing is written at or
    // past them. False when nothing was drawn.
    bool Render8(int32_t x, int32_t y, uint32_t width, uint32_t height, uint8_t* destination, int32_t pitch,
                 uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout, uint32_t clipWidth = UINT32_MAX,
                 uint32_t clipHeight = UINT32_MAX);
    // Processed 16-bit output for saving: Mono one word per pixel (16 bits per
    // pixel), Bayer red, green, blue (48); rows strideWords words apart.
    bool Render16(int32_t x, int32_t y, uint32_t width, uint32_t height, uint16_t* destination, uint32_t strideWords,
                  uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout);

    // Current settings.
    float Gamma();
    void GetLevels(uint16_t* black, uint16_t* white);
    uint32_t Mode();
    uint32_t GainShift();
    bool PickPending();
    // One entry of a channel table (Kernels::ChannelRed ... ChannelGrey).
    uint16_t TableValue(Kernels::Channel channel, uint16_t index);

private:
    CritSec lock_;
    Kernels::PixelPipeline pipeline_;
};

}  // namespace Render
