#pragma once
#include <cstdint>

#include "Lib3Wrapper/lib3datatypes.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel {

// One library DMA context and its buffer, freed with the holder.
class ZelDmaContext {
public:
    ZelDmaContext() = default;
    ~ZelDmaContext();  // frees; a failure is reported, not thrown
    ZelDmaContext(const ZelDmaContext&) = delete;
    ZelDmaContext& operator=(const ZelDmaContext&) = delete;

    void Create(uint64_t size);  // throws Lib3Error
    void Free();                 // throws Lib3Error

    OVHANDLE Context() const { return context_; }
    const uint8_t* Buffer() const { return static_cast<const uint8_t*>(buffer_); }

private:
    OVHANDLE context_ = 0;
    void* buffer_ = nullptr;
    Lib3ErrorData err_;
    uint64_t size_ = 0;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel
