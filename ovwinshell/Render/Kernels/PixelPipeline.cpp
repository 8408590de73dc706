#include "PixelPipeline.h"

#include "ChannelTables.h"
#include "ZelConversion.h"

namespace Render::Kernels {

namespace {

bool IsIdentity(const uint16_t* table) {
    for (uint32_t i = 0; i < kTableSize; ++i)
        if (table[i] != i) return false;
    return true;
}

}  // namespace

PixelPipeline::PixelPipeline() {
    BuildGammaTable(gamma_, gammaTable_);
    RebuildGrey();
}

void PixelPipeline::RebuildGrey() {
    BuildGreyTable(gammaTable_, black_, white_, grey_);
    greyIdentity_ = IsIdentity(grey_);
    BuildDisplayTable(grey_, shift_, grey8_);
    RebuildColours();
}

void PixelPipeline::RebuildColours() {
    BuildBalancedTables(grey_, referenceRed_, referenceGreen_, referenceBlue_,
                        ChannelTables{red_, green_, blue_, grey_});
    // Equal references (0 counting as 1) scale nothing: the colour tables are the grey table.
    const auto divisor = [](uint16_t reference) { return reference ? reference : uint16_t(1); };
    colourIdentity_ = greyIdentity_ && divisor(referenceRed_) == divisor(referenceGreen_) &&
                      divisor(referenceGreen_) == divisor(referenceBlue_);
    RebuildColourDisplayTables();
}

void PixelPipeline::SetReferences(uint16_t red, uint16_t green, uint16_t blue) {
    if (red == referenceRed_ && green == referenceGreen_ && blue == referenceBlue_) return;
    referenceRed_ = red;
    referenceGreen_ = green;
    referenceBlue_ = blue;
    RebuildColours();
}

void PixelPipeline::RebuildColourDisplayTables() {
    BuildDisplayTable(red_, shift_, red8_);
    BuildDisplayTable(green_, shift_, green8_);
    BuildDisplayTable(blue_, shift_, blue8_);
}

void PixelPipeline::RebuildDisplayTables() {
    BuildDisplayTable(grey_, shift_, grey8_);
    RebuildColourDisplayTables();
}

void PixelPipeline::SetGamma(float gamma) {
    BuildGammaTable(gamma, gammaTable_);
    RebuildGrey();
    gamma_ = gamma;
}

void PixelPipeline::SetLevels(uint16_t black, uint16_t white) {
    black_ = black;
    white_ = white;
    RebuildGrey();
}

void PixelPipeline::SetWhiteBalanceMode(uint32_t mode) {
    mode_ = mode;
    // A pick belongs to the pixel mode: leaving it drops a pick not yet taken.
    if (mode != WbPixel) pickPending_ = 0;
    if (mode == WbOff) SetReferences(1, 1, 1);
}

void PixelPipeline::SetManualBalance(uint16_t blue, uint16_t green, uint16_t red) {
    if (mode_ != WbManual) return;
    SetReferences(red, green, blue);
}

void PixelPipeline::PickBalancePixel(int32_t x, int32_t y) {
    if (mode_ != WbPixel) return;
    pickX_ = x;
    pickY_ = y;
    pickPending_ = 1;
}

void PixelPipeline::GetBalanceReferences(uint16_t* blue, uint16_t* green, uint16_t* red) const {
    if (blue) *blue = referenceBlue_;
    if (green) *green = referenceGreen_;
    if (red) *red = referenceRed_;
}

void PixelPipeline::SetGainShift(uint32_t shift) {
    if (shift == shift_) return;
    shift_ = shift;
    RebuildDisplayTables();
}

const uint16_t* PixelPipeline::Table(Channel channel) const {
    switch (channel) {
        case ChannelRed:
            return red_;
        case ChannelGreen:
            return green_;
        case ChannelBlue:
            return blue_;
        default:
            return grey_;
    }
}

const uint8_t* PixelPipeline::DisplayTable(Channel channel) const {
    switch (channel) {
        case ChannelRed:
            return red8_;
        case ChannelGreen:
            return green8_;
        case ChannelBlue:
            return blue8_;
        default:
            return grey8_;
    }
}

void PixelPipeline::BalanceFrom(const uint16_t* samples, uint32_t width, uint32_t height, bool automatic) {
    if (width == 0 || height == 0) return;
    if (pickPending_ && mode_ == WbPixel) {
        const BayerCell cell = BayerCellAt(samples, width, height, pickX_, pickY_);
        SetReferences(cell.red, cell.green, cell.blue);
        pickPending_ = 0;
    } else if (automatic && mode_ == WbAuto) {
        // A steady scene keeps its mean colour: the tables stay as they are.
        const BayerSums sums = SumBayerCells(samples, width, height);
        const uint64_t pixels = uint64_t(width) * height;
        SetReferences(uint16_t(sums.red / pixels), uint16_t(sums.green / pixels), uint16_t(sums.blue / pixels));
    }
}

bool PixelPipeline::Render8(int32_t x, int32_t y, uint32_t width, uint32_t height, uint8_t* destination,
                            ptrdiff_t pitch, uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout,
                            uint32_t clipWidth, uint32_t clipHeight) {
    if (!destination || !samples || !IsDrawableDepth(bitsPerPixel)) return false;
    if (layout != kLayoutMono && layout != kLayoutBayer) return false;
    if (layout == kLayoutBayer) BalanceFrom(samples, width, height, true);
    const uint32_t visibleWidth = x >= 0 && uint32_t(x) < clipWidth ? clipWidth - uint32_t(x) : 0;
    const uint32_t visibleHeight = y >= 0 && uint32_t(y) < clipHeight ? clipHeight - uint32_t(y) : 0;
    const uint32_t columns = visibleWidth < width ? visibleWidth : width;
    const uint32_t rows = visibleHeight < height ? visibleHeight : height;
    if (columns == 0 || rows == 0) return true;  // nothing of the frame falls inside the image
    const uint32_t bytesPerPixel = bitsPerPixel / 8;
    const DisplayTarget target{destination + ptrdiff_t(x) * bytesPerPixel + ptrdiff_t(y) * pitch, pitch, bytesPerPixel};
    // min(v << shift, 65535) >> 8 without a lookup.
    if (layout == kLayoutMono && greyIdentity_)
        return ConvertZelFrame(samples, width, columns, rows, kLayoutMono, shift_, target);
    if (layout == kLayoutBayer && colourIdentity_)
        return RenderBayerDirect8(samples, width, height, shift_, columns, rows, target);
    return RenderFrame8(samples, width, height, layout, DisplayTables{red8_, green8_, blue8_, grey8_}, columns, rows,
                        target);
}

bool PixelPipeline::Render16(int32_t x, int32_t y, uint32_t width, uint32_t height, uint16_t* destination,
                             size_t strideWords, uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout) {
    if (!destination || !samples || x < 0 || y < 0) return false;
    const uint32_t wordsPerPixel = bitsPerPixel / 16;
    if (layout == kLayoutMono ? wordsPerPixel < 1 : layout == kLayoutBayer ? wordsPerPixel < 3 : true) return false;
    if (layout == kLayoutBayer) BalanceFrom(samples, width, height, false);
    uint16_t* start = destination + ptrdiff_t(x) * wordsPerPixel + ptrdiff_t(y) * ptrdiff_t(strideWords);
    if (layout == kLayoutBayer && colourIdentity_)
        return RenderBayerDirect16(samples, width, height, shift_, start, strideWords, wordsPerPixel);
    return RenderFrame16(samples, width, height, layout, ChannelTablesView{red_, green_, blue_, grey_}, shift_, start,
                         strideWords, wordsPerPixel);
}

}  // namespace Render::Kernels
