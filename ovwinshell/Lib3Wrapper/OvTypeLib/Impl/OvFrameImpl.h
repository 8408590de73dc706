#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Common/CritSec.h"
#include "Lib3Wrapper/OvTypeLib/IOvFrame.h"
#include "ovlib3.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

class OvEnumAttributesImpl;

// One image store: width x height x bytes per pixel bytes, rows packed.
class OvFrameMemBufferImpl : public IOvFrameMemBuffer {
public:
    bool GetFormat(uint32_t* width, uint32_t* height, uint32_t* bytesPerPixel) override;
    bool SetFormat(uint32_t width, uint32_t height, uint32_t bytesPerPixel) override;
    bool CopyFrom(IOvFrameMemBuffer* other) override;
    bool GetData(uint8_t** data) override;

private:
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint8_t bytesPerPixel_ = 0;
    std::vector<uint8_t> store_;
};

// Two buffers; a transfer writes into the current one, consumers may swap.
class OvFrameImpl : public IOvFrame {
public:
    bool GetCurrent(IOvFrameMemBuffer** buffer) override;
    bool GetOther(IOvFrameMemBuffer** buffer) override;
    void Swap() override { swapped_ = !swapped_; }

private:
    OvFrameMemBufferImpl a_;
    OvFrameMemBufferImpl b_;
    bool swapped_ = false;
};

// A named 32-bit value that the input reports with each block.
class OvAddOnAttributeImpl : public IOvAddOnAttribute {
public:
    OvAddOnAttributeImpl(uint32_t id, const char* name, uint32_t value);

    bool GetValue(uint32_t* value) override;
    void SetValue(uint32_t value);
    uint32_t GetId() const { return id_; }
    const char* GetName() const { return name_.c_str(); }

private:
    uint32_t id_;
    std::string name_;
    uint32_t value_;
    CritSec lock_;
};

// Re-reads the input's add-on attributes into `attributes` inside an open
// block: values only while the count is unchanged, otherwise the named ones
// anew. Library failures throw from `unitPath`.
void RefreshAttributes(OvEnumAttributesImpl& attributes, OVHANDLE input, OVHANDLE err, const char* unitPath);

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
