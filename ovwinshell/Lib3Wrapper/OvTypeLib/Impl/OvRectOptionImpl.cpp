#include "OvRectOptionImpl.h"

#include "Lib3Wrapper/Reported.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\OvRectOptionImpl";
}

OvRectOptionImpl::OvRectOptionImpl(uint32_t id, uint32_t index, const char* name, OVHANDLE iface)
    : OvOptionImpl(id, index, name, OptionKindRect, iface) {}

bool OvRectOptionImpl::GetRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    return RunReported([&] {
        CritSecLock guard(lock_);
        LIB3_CHECK(OvLib3OptionGetRect(iface_, x, y, width, height, err_), err_);
        return true;
    });
}

bool OvRectOptionImpl::GetMinRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    return RunReported([&] {
        LIB3_CHECK(OvLib3OptionMinRect(iface_, x, y, width, height, err_), err_);
        return true;
    });
}

bool OvRectOptionImpl::GetMaxRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    return RunReported([&] {
        LIB3_CHECK(OvLib3OptionMaxRect(iface_, x, y, width, height, err_), err_);
        return true;
    });
}

bool OvRectOptionImpl::SetRect(int32_t x, int32_t y, int32_t width, int32_t height) {
    return RunReported([&] {
        CritSecLock guard(lock_);
        LIB3_CHECK(OvLib3OptionSetRect(iface_, x, y, width, height, err_), err_);
        return true;
    });
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
