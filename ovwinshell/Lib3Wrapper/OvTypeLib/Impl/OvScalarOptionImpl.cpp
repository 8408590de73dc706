#include "OvScalarOptionImpl.h"

#include <cstring>

#include "Lib3Wrapper/Reported.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\OvScalarOptionImpl";
}

OvScalarOptionImpl::OvScalarOptionImpl(uint32_t id, uint32_t index, const char* name, uint32_t kind, OVHANDLE iface)
    : OvOptionImpl(id, index, name, kind, iface) {
    CollectSupported(ListUnits, units_, [this](uint32_t unit) { return Supports(unit); });
}

bool OvScalarOptionImpl::Supports(uint32_t unit) { return OvLib3OptionQueryScalarUnit(iface_, unit, err_) <= 0; }

bool OvScalarOptionImpl::GetInfoValue(int32_t* first, int32_t* second) {
    return RunReported([&] {
        LIB3_CHECK(OvLib3GetInfoScalarVal(iface_, first, second, err_), err_);
        return true;
    });
}

bool OvScalarOptionImpl::GetUnits(IOvEnum** units) {
    *units = &units_;
    return true;
}

bool OvScalarOptionImpl::GetRange(uint32_t unit, int32_t* minimum, int32_t* maximum) {
    return RunReported([&] {
        LIB3_CHECK(OvLib3OptionGetScalarRange(iface_, minimum, maximum, unit, err_), err_);
        return true;
    });
}

bool OvScalarOptionImpl::GetValue(uint32_t unit, int32_t* value) {
    return RunReported([&] {
        CritSecLock guard(lock_);
        LIB3_CHECK(OvLib3OptionGetScalar(iface_, value, unit, err_), err_);
        return true;
    });
}

bool OvScalarOptionImpl::SetValue(uint32_t unit, int32_t value) {
    return RunReported([&] {
        CritSecLock guard(lock_);
        LIB3_CHECK(OvLib3OptionSetScalar(iface_, value, unit, err_), err_);
        return true;
    });
}

bool OvScalarOptionImpl::StepValue(uint32_t unit, int32_t step) {
    return RunReported([&] {
        CritSecLock guard(lock_);
        LIB3_CHECK(OvLib3OptionRelScalar(iface_, step, unit, err_), err_);
        return true;
    });
}

bool OvScalarOptionImpl::GetUnitName(uint32_t unit, const char** name) {
    auto sameId = [unit](const char*, uint32_t id) { return id == unit; };
    if (!FindSupported(
            ListUnits, [this](uint32_t id) { return Supports(id); }, sameId, &unitName_, nullptr))
        return false;
    *name = unitName_.c_str();
    return true;
}

bool OvScalarOptionImpl::GetUnitId(const char* name, uint32_t* unit) {
    auto sameText = [name](const char* text, uint32_t) { return std::strcmp(text, name) == 0; };
    return FindSupported(
        ListUnits, [this](uint32_t id) { return Supports(id); }, sameText, nullptr, unit);
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
