#pragma once
// The state of the VEXT display processing without any locking: levels,
// gamma, gain shift and white balance, the tables they make, and the frame
// rendering through them. ImageProcessor wraps one instance in its lock.
#include <cstddef>
#include <cstdint>

#include "BayerRender.h"
#include "PixelFormat.h"

namespace Render::Kernels {

enum WhiteBalanceMode : uint32_t {
    WbAuto = 0,    // references from the mean colour of every Bayer frame
    WbPixel = 1,   // references from one picked cell
    WbManual = 2,  // references from the sliders
    WbOff = 3,     // references 1: no balance
};

enum Channel : uint32_t { ChannelRed = 0, ChannelGreen = 1, ChannelBlue = 2, ChannelGrey = 3 };

class PixelPipeline {
public:
    // Levels 0 / 65535, references 65535, WbOff, shift 0, gamma 1.0; tables built.
    PixelPipeline();
    PixelPipeline(const PixelPipeline&) = delete;
    PixelPipeline& operator=(const PixelPipeline&) = delete;

    void SetGamma(float gamma);
    void SetLevels(uint16_t black, uint16_t white);
    void SetWhiteBalanceMode(uint32_t mode);
    // Only in WbManual.
    void SetManualBalance(uint16_t blue, uint16_t green, uint16_t red);
    // Only in WbPixel: the cell at (x, y) of the next Bayer frame gives the references.
    void PickBalancePixel(int32_t x, int32_t y);
    void GetBalanceReferences(uint16_t* blue, uint16_t* green, uint16_t* red) const;
    void SetGainShift(uint32_t shift);

    // Draws a frame at (x, y) of a display image (pitch in bytes, 24 or 32 bits
    // per pixel). clipWidth and clipHeight bound the image from its first
    // pixel: columns at or past clipWidth and rows at or past clipHeight are
    // not written. False when nothing could be drawn.
    bool Render8(int32_t x, int32_t y, uint32_t width, uint32_t height, uint8_t* destination, ptrdiff_t pitch,
                 uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout, uint32_t clipWidth = UINT32_MAX,
                 uint32_t clipHeight = UINT32_MAX);
    // Processed 16-bit output at (x, y) (not negative): rows strideWords apart,
    // 16 (Mono) or 48 (Bayer) bits per pixel; more bits leave the further words
    // of each pixel alone.
    bool Render16(int32_t x, int32_t y, uint32_t width, uint32_t height, uint16_t* destination, size_t strideWords,
                  uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout);

    // Inspection.
    float Gamma() const { return gamma_; }
    uint16_t BlackLevel() const { return black_; }
    uint16_t WhiteLevel() const { return white_; }
    uint32_t Mode() const { return mode_; }
    uint32_t GainShift() const { return shift_; }
    bool PickPending() const { return pickPending_ != 0; }
    const uint16_t* Table(Channel channel) const;
    const uint16_t* GammaTable() const { return gammaTable_; }
    const uint8_t* DisplayTable(Channel channel) const;

private:
    // Levels or gamma changed: the grey table, then the colour tables built on it.
    void RebuildGrey();
    // The references changed: the colour tables only.
    void RebuildColours();
    // Sets the references and rebuilds the colour tables when they differ from the current ones.
    void SetReferences(uint16_t red, uint16_t green, uint16_t blue);
    void RebuildDisplayTables();
    void RebuildColourDisplayTables();
    // Steps before a Bayer frame is drawn: a pending pick, else (when
    // `automatic`) the automatic balance. Saving passes false: saved frames use
    // the references of the frame on screen.
    void BalanceFrom(const uint16_t* samples, uint32_t width, uint32_t height, bool automatic);

    // In the order of the process-wide processor's fields.
    uint16_t red_[kTableSize];
    uint16_t green_[kTableSize];
    uint16_t blue_[kTableSize];
    uint16_t grey_[kTableSize];
    uint16_t gammaTable_[kTableSize];
    uint16_t black_ = 0;
    uint16_t white_ = 65535;
    uint16_t referenceRed_ = 65535;
    uint16_t referenceGreen_ = 65535;
    uint16_t referenceBlue_ = 65535;
    uint32_t mode_ = WbOff;
    uint8_t pickPending_ = 0;
    int32_t pickX_ = 0;
    int32_t pickY_ = 0;
    uint32_t shift_ = 0;
    float gamma_ = 1.0f;
    // The channel tables after the gain shift, as display bytes.
    uint8_t red8_[kTableSize];
    uint8_t green8_[kTableSize];
    uint8_t blue8_[kTableSize];
    uint8_t grey8_[kTableSize];
    // The grey table, or all three colour tables, are the identity (no
    // levels, gamma 1, and for the colours equal references): Mono or Bayer
    // frames are then converted arithmetically instead of through the tables.
    bool greyIdentity_ = true;
    bool colourIdentity_ = true;
};

}  // namespace Render::Kernels
