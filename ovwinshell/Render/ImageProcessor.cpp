#include "ImageProcessor.h"

namespace Render {

ImageProcessor& ImageProcessor::Instance() {
    static ImageProcessor instance;
    return instance;
}

void ImageProcessor::SetGamma(float gamma) {
    CritSecLock hold(lock_);
    pipeline_.SetGamma(gamma);
}

void ImageProcessor::SetLevels(uint16_t black, uint16_t white) {
    CritSecLock hold(lock_);
    pipeline_.SetLevels(black, white);
}

void ImageProcessor::SetWhiteBalanceMode(uint32_t mode) {
    CritSecLock hold(lock_);
    pipeline_.SetWhiteBalanceMode(mode);
}

void ImageProcessor::SetManualBalance(uint16_t blue, uint16_t green, uint16_t red) {
    CritSecLock hold(lock_);
    pipeline_.SetManualBalance(blue, green, red);
}

void ImageProcessor::PickBalancePixel(int32_t x, int32_t y) {
    CritSecLock hold(lock_);
    pipeline_.PickBalancePixel(x, y);
}

void ImageProcessor::GetBalanceReferences(uint16_t* blue, uint16_t* green, uint16_t* red) {
    CritSecLock hold(lock_);
    pipeline_.GetBalanceReferences(blue, green, red);
}

void ImageProcessor::SetGainShift(uint32_t shift) {
    CritSecLock hold(lock_);
    pipeline_.SetGainShift(shift);
}

bool ImageProcessor::Render8(int32_t x, int32_t y, uint32_t width, uint32_t height, uint8_t* destination, int32_t pitch,
                             uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout, uint32_t clipWidth,
                             uint32_t clipHeight) {
    CritSecLock hold(lock_);
    return pipeline_.Render8(x, y, width, height, destination, pitch, bitsPerPixel, samples, layout, clipWidth,
                             clipHeight);
}

bool ImageProcessor::Render16(int32_t x, int32_t y, uint32_t width, uint32_t height, uint16_t* destination,
                              uint32_t strideWords, uint32_t bitsPerPixel, const uint16_t* samples, uint32_t layout) {
    CritSecLock hold(lock_);
    return pipeline_.Render16(x, y, width, height, destination, strideWords, bitsPerPixel, samples, layout);
}

float ImageProcessor::Gamma() {
    CritSecLock hold(lock_);
    return pipeline_.Gamma();
}

void ImageProcessor::GetLevels(uint16_t* black, uint16_t* white) {
    CritSecLock hold(lock_);
    if (black) *black = pipeline_.BlackLevel();
    if (white) *white = pipeline_.WhiteLevel();
}

uint32_t ImageProcessor::Mode() {
    CritSecLock hold(lock_);
    return pipeline_.Mode();
}

uint32_t ImageProcessor::GainShift() {
    CritSecLock hold(lock_);
    return pipeline_.GainShift();
}

bool ImageProcessor::PickPending() {
    CritSecLock hold(lock_);
    return pipeline_.PickPending();
}

uint16_t ImageProcessor::TableValue(Kernels::Channel channel, uint16_t index) {
    CritSecLock hold(lock_);
    return pipeline_.Table(channel)[index];
}

}  // namespace Render
