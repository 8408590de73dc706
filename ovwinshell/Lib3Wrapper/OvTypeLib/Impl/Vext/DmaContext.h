#pragma once
#include <cstdint>

#include "Lib3Wrapper/lib3datatypes.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext {

// The four library DMA contexts a VEXT frame is read into, one per part.
class DmaContext {
public:
    static constexpr int kParts = 4;

    DmaContext() = default;
    ~DmaContext();  // frees; a failure's text goes to the standard output
    DmaContext(const DmaContext&) = delete;
    DmaContext& operator=(const DmaContext&) = delete;

    // Frees any existing contexts, then creates four of size bytes each. Throws Lib3Error.
    void Create(uint64_t size);
    // Frees every context that has a buffer. Throws Lib3Error.
    void Free();

    OVHANDLE Context(int part) const { return contexts_[part]; }
    const uint8_t* Buffer(int part) const { return static_cast<const uint8_t*>(buffers_[part]); }

private:
    OVHANDLE contexts_[kParts] = {};
    void* buffers_[kParts] = {};
    Lib3ErrorData err_;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext
