#pragma once
// A data transfer of the tests' own making: frame i is a Mono frame whose
// samples are a pattern of i, one index may serve a frame of another size,
// and every acquired index is recorded.
#include <cstdint>
#include <mutex>
#include <vector>

#include "Lib3Wrapper/OvTypeLib/Impl/OvFrameImpl.h"
#include "support/TransferStub.h"

namespace dshowtest {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

inline uint16_t PatternSample(int32_t index, uint32_t x, uint32_t y) {
    return static_cast<uint16_t>((index * 4099u + x * 257u + y * 131u) * 7u);
}

class FakeTransfer : public ovtest::TransferStub {
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

    bool Acquire(int32_t* frameIndex) override {
        std::lock_guard<std::mutex> hold(mutex_);
        acquired_.push_back(*frameIndex);
        const bool other = *frameIndex == otherIndex_;
        const uint32_t width = other ? otherWidth_ : width_, height = other ? otherHeight_ : height_;
        IOvFrameMemBuffer* buffer = nullptr;
        uint8_t* data = nullptr;
        frame_.GetCurrent(&buffer);
        buffer->SetFormat(width, height, 2);
        buffer->GetData(&data);
        auto* samples = reinterpret_cast<uint16_t*>(data);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) samples[size_t(y) * width + x] = PatternSample(*frameIndex, x, y);
        return true;
    }
    bool GetFrame(IOvFrame** frame, uint32_t* layout) override {
        *frame = &frame_;
        *layout = Mono;
        return true;
    }

private:
    std::mutex mutex_;
    uint32_t width_, height_;
    int32_t otherIndex_ = -1;
    uint32_t otherWidth_ = 0, otherHeight_ = 0;
    Impl::OvFrameImpl frame_;
    std::vector<int32_t> acquired_;
};

}  // namespace dshowtest
