#pragma once
#include <cstdint>
#include "IOvFrame.h"

namespace DllModule::Lib3Wrapper::OvTypeLib {

class IOvDecodeOptions {
public:
    virtual bool SetOption0(uint32_t value) = 0;
    virtual bool SetOption1(uint32_t value) = 0;
    virtual bool SetOption2(uint32_t value) = 0;
    virtual bool SetOption3(uint32_t value) = 0;
    virtual bool SetOption4(uint32_t value) = 0;
    virtual bool SetOption5(uint32_t value) = 0;
};

// Moves images from the camera into the transfer's frame. A successful
// Acquire keeps the acquisition lock held; the matching GetFrame releases it.
class IOvDataTransfer {
public:
    virtual bool StartInput() = 0;
    virtual IOvDecodeOptions* GetDecodeOptions() = 0;
    virtual bool Acquire(int32_t* frameIndex) = 0;
    virtual bool GetFrame(IOvFrame** frame, uint32_t* layout) = 0;
    virtual bool Trigger() = 0;
    virtual bool Reserved(uint32_t a, uint32_t b, uint32_t c, uint32_t d) = 0;
    virtual bool GetState(int32_t* state) = 0;
    virtual bool FindAttribute(uint32_t id, IOvAddOnAttribute** attribute) = 0;
    virtual bool SetBackground(uint32_t plane, const uint16_t* pixels) = 0;
    virtual bool EnableBackground(bool enable) = 0;
    virtual bool GetStatistics(uint32_t* frames, uint64_t* bytes, uint64_t* microseconds) = 0;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
