#include "DmaContext.h"

#include <cstdio>

#include "Lib3Wrapper/Reported.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\Vext\\DmaContext";
constexpr OVRESULT kNeverUsed = 217;  // the library's "freed a context no transfer used" is no failure
}  // namespace

DmaContext::~DmaContext() {
    try {
        Free();
    } catch (const Lib3Error& error) {
        std::printf("\n%s", error.Text());
    }
}

void DmaContext::Create(uint64_t size) {
    Free();
    for (int part = 0; part < kParts; ++part)
        LIB3_CHECK(OvLib3DmaCreateContext(&contexts_[part], &buffers_[part], size, err_), err_);
}

void DmaContext::Free() {
    for (int part = 0; part < kParts; ++part) {
        if (!buffers_[part]) continue;
        OVRESULT result = OvLib3DmaFreeContext(contexts_[part], err_);
        buffers_[part] = nullptr;
        contexts_[part] = 0;
        if (result > 0 && result != kNeverUsed) throw Lib3Error(err_, kUnitPath, __LINE__);
    }
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext
