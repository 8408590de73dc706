#pragma once
// Acquisition helpers for tests: one frame through Acquire/GetFrame, the
// frame number the camera stamped on it, and a comparison with the image the
// simulator predicts for that number.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "ovlib3_sim.h"

namespace ovtest {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

constexpr uint32_t kFrameNumberAttribute = 0x70000001;

struct Grabbed {
    bool ok = false;
    uint32_t width = 0, height = 0, bytesPerPixel = 0, layout = 0;
    std::vector<uint16_t> samples;
    bool numbered = false;
    uint32_t frameNumber = 0;
    int32_t index = 0;
};

// One frame; index is the frame a recording camera is asked for (it may
// answer with another one, kept in grabbed.index).
inline Grabbed Grab(IOvDataTransfer* transfer, int32_t index = 0) {
    Grabbed grabbed;
    if (!transfer->Acquire(&index)) return grabbed;
    grabbed.index = index;
    // The attribute is read while the frame is still held.
    IOvAddOnAttribute* number = nullptr;
    if (transfer->FindAttribute(kFrameNumberAttribute, &number)) {
        grabbed.numbered = number->GetValue(&grabbed.frameNumber);
    }
    IOvFrame* frame = nullptr;
    if (!transfer->GetFrame(&frame, &grabbed.layout)) return grabbed;
    IOvFrameMemBuffer* buffer = nullptr;
    frame->GetCurrent(&buffer);
    buffer->GetFormat(&grabbed.width, &grabbed.height, &grabbed.bytesPerPixel);
    uint8_t* data = nullptr;
    buffer->GetData(&data);
    size_t bytes = static_cast<size_t>(grabbed.width) * grabbed.height * grabbed.bytesPerPixel;
    grabbed.samples.resize(bytes / 2);
    if (bytes) std::memcpy(grabbed.samples.data(), data, bytes);
    grabbed.ok = true;
    return grabbed;
}

// True when the frame holds exactly what the simulator predicts for its number.
inline ::testing::AssertionResult MatchesPrediction(const Grabbed& grabbed) {
    if (!grabbed.ok) return ::testing::AssertionFailure() << "no frame";
    if (!grabbed.numbered) return ::testing::AssertionFailure() << "no frame number";
    std::vector<uint16_t> expected(grabbed.samples.size());
    if (OvSimExpectedImage(grabbed.frameNumber, expected.data(), expected.size()) > 0)
        return ::testing::AssertionFailure() << "no prediction for frame " << grabbed.frameNumber;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != grabbed.samples[i])
            return ::testing::AssertionFailure() << "frame " << grabbed.frameNumber << " sample " << i << ": "
                                                 << grabbed.samples[i] << " != " << expected[i];
    }
    return ::testing::AssertionSuccess();
}

}  // namespace ovtest
