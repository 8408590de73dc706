#include "OvFrameImpl.h"

#include <cstring>
#include <memory>

#include "Lib3Wrapper/Lib3Error.h"
#include "LibList.h"
#include "OvEnumImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

bool OvFrameMemBufferImpl::GetFormat(uint32_t* width, uint32_t* height, uint32_t* bytesPerPixel) {
    *width = width_;
    *height = height_;
    *bytesPerPixel = bytesPerPixel_;
    return true;
}

bool OvFrameMemBufferImpl::SetFormat(uint32_t width, uint32_t height, uint32_t bytesPerPixel) {
    if (width == width_ && height == height_ && bytesPerPixel == bytesPerPixel_) return true;
    width_ = width;
    height_ = height;
    bytesPerPixel_ = static_cast<uint8_t>(bytesPerPixel);
    store_.resize(static_cast<size_t>(width) * height * bytesPerPixel_);
    return true;
}

bool OvFrameMemBufferImpl::CopyFrom(IOvFrameMemBuffer* other) {
    if (!other) return false;
    uint32_t width = 0, height = 0, bytesPerPixel = 0;
    other->GetFormat(&width, &height, &bytesPerPixel);
    SetFormat(width, height, bytesPerPixel);
    uint8_t* source = nullptr;
    other->GetData(&source);
    if (!store_.empty()) std::memcpy(store_.data(), source, store_.size());
    return true;
}

bool OvFrameMemBufferImpl::GetData(uint8_t** data) {
    *data = store_.data();
    return true;
}

bool OvFrameImpl::GetCurrent(IOvFrameMemBuffer** buffer) {
    *buffer = swapped_ ? &b_ : &a_;
    return true;
}

bool OvFrameImpl::GetOther(IOvFrameMemBuffer** buffer) {
    *buffer = swapped_ ? &a_ : &b_;
    return true;
}

OvAddOnAttributeImpl::OvAddOnAttributeImpl(uint32_t id, const char* name, uint32_t value)
    : id_(id), name_(name ? name : ""), value_(value) {}

bool OvAddOnAttributeImpl::GetValue(uint32_t* value) {
    CritSecLock guard(lock_);
    *value = value_;
    return true;
}

void OvAddOnAttributeImpl::SetValue(uint32_t value) {
    CritSecLock guard(lock_);
    value_ = value;
}

void RefreshAttributes(OvEnumAttributesImpl& attributes, OVHANDLE input, OVHANDLE err, const char* unitPath) {
    OVHANDLE names = OvLib3ListGetStdList(ListAttributeNames);
    if (!names) return;
    uint32_t count = 0;
    ThrowIfFailed(OvLib3InDInterfaceGetAddOnAtributeTotal(input, &count, err), err, unitPath, __LINE__);
    if (count == attributes.Count()) {
        for (uint32_t index = 0; index < count; ++index) {
            uint32_t id = 0, second = 0, value = 0;
            ThrowIfFailed(OvLib3InDInterfaceGetAddOnAtributeNum(input, index, &id, &second, &value, err), err, unitPath,
                          __LINE__);
            attributes.At(index).SetValue(value);
        }
        return;
    }
    attributes.Clear();
    for (uint32_t index = 0; index < count; ++index) {
        uint32_t id = 0, second = 0, value = 0;
        ThrowIfFailed(OvLib3InDInterfaceGetAddOnAtributeNum(input, index, &id, &second, &value, err), err, unitPath,
                      __LINE__);
        if (const char* name = OvLib3ListGetString(id, names))
            attributes.Append(std::make_unique<OvAddOnAttributeImpl>(id, name, value));
    }
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
