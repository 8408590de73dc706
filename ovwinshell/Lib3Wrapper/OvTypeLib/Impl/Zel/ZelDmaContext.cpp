#include "ZelDmaContext.h"

#include "Lib3Wrapper/Reported.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\Zel\\ZelDmaContext";
constexpr OVRESULT kAlreadyIdle = 217;  // the library's "nothing to free" counts as success
}  // namespace

ZelDmaContext::~ZelDmaContext() {
    try {
        Free();
    } catch (const Lib3Error& error) {
        ReportError(error);
    }
}

void ZelDmaContext::Create(uint64_t size) {
    if (size_ != 0) Free();
    LIB3_CHECK(OvLib3DmaCreateContext(&context_, &buffer_, size, err_), err_);
    size_ = size;
}

void ZelDmaContext::Free() {
    if (!buffer_) return;
    OVRESULT result = OvLib3DmaFreeContext(context_, err_);
    if (result > 0 && result != kAlreadyIdle) throw Lib3Error(err_, kUnitPath, __LINE__);
    buffer_ = nullptr;
    size_ = 0;
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel
