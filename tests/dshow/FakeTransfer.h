#pragma once
// A data transfer of the tests' own making: frame i is a Mono frame whose
// samples are a pattern of i, one index may serve a frame of another size,
// and every acquired index is recorded.
#include <cstdint>
#include <mutex>
#include <vector>

#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"

namespace dshowtest {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

inline uint16_t PatternSample(int32_t index, uint32_t x, uint32_t y) {
    return static_cast<uint16_t>((index * 4099u + x * 257u + y * 131u) * 7u);
}

class FakeTransfer : public IOvDataTransfer, IOvFrame, IOvFrameMemBuffer {
public:
    FakeTransfer(uint32_t width, uint32_t height) : width_(width), height_(height) {}

    // Frame `index` comes with this size instead.
    void ServeOtherSize(int32_t index, uint32_t width, uint32_t height) {
        otherIndex_ = index;
        otherWidth_ = width;
        otherHeight_ = height;
    }
    // The samples of frame `index` at the transfer's own size.
    std::vector<uint16_t> Samples(int32_t index) const {
        std::vector<uint16_t> samples(size_t(width_) * height_);
        for (uint32_t y = 0; y < height_; ++y)
            for (uint32_t x = 0; x < width_; ++x) samples[size_t(y) * width_ + x] = PatternSample(index, x, y);
        return samples;
    }
    std::vector<int32_t> Acquired() {
        std::lock_guard<std::mutex> hold(mutex_);
        return acquired_;
    }

    // IOvDataTransfer
    bool Acquire(int32_t* frameIndex) override {
        std::lock_guard<std::mutex> hold(mutex_);
        acquired_.push_back(*frameIndex);
        const bool other = *frameIndex == otherIndex_;
        frameWidth_ = other ? otherWidth_ : width_;
        frameHeight_ = other ? otherHeight_ : height_;
        samples_.resize(size_t(frameWidth_) * frameHeight_);
        for (uint32_t y = 0; y < frameHeight_; ++y)
            for (uint32_t x = 0; x < frameWidth_; ++x)
                samples_[size_t(y) * frameWidth_ + x] = PatternSample(*frameIndex, x, y);
        return true;
    }
    bool GetFrame(IOvFrame** frame, uint32_t* layout) override {
        *frame = this;
        *layout = Mono;
        return true;
    }
    bool StartInput() override { return true; }
    IOvDecodeOptions* GetDecodeOptions() override { return nullptr; }
    bool Trigger() override { return true; }
    bool Reserved(uint32_t, uint32_t, uint32_t, uint32_t) override { return false; }
    bool GetState(int32_t* state) override { return false; }
    bool FindAttribute(uint32_t, IOvAddOnAttribute**) override { return false; }
    bool SetBackground(uint32_t, const uint16_t*) override { return false; }
    bool EnableBackground(bool) override { return false; }
    bool GetStatistics(uint32_t*, uint64_t*, uint64_t*) override { return false; }

private:
    // IOvFrame
    bool GetCurrent(IOvFrameMemBuffer** buffer) override {
        *buffer = this;
        return true;
    }
    bool GetOther(IOvFrameMemBuffer** buffer) override { return false; }
    void Swap() override {}
    // IOvFrameMemBuffer
    bool GetFormat(uint32_t* width, uint32_t* height, uint32_t* bytesPerPixel) override {
        *width = frameWidth_;
        *height = frameHeight_;
        *bytesPerPixel = 2;
        return true;
    }
    bool SetFormat(uint32_t, uint32_t, uint32_t) override { return false; }
    bool CopyFrom(IOvFrameMemBuffer*) override { return false; }
    bool GetData(uint8_t** data) override {
        *data = reinterpret_cast<uint8_t*>(samples_.data());
        return true;
    }

    std::mutex mutex_;
    uint32_t width_, height_;
    int32_t otherIndex_ = -1;
    uint32_t otherWidth_ = 0, otherHeight_ = 0;
    uint32_t frameWidth_ = 0, frameHeight_ = 0;
    std::vector<uint16_t> samples_;
    std::vector<int32_t> acquired_;
};

}  // namespace dshowtest
