#include "OvEnumOptionImpl.h"

#include <cstring>

#include "Lib3Wrapper/Reported.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\OvEnumOptionImpl";
}

OvEnumOptionImpl::OvEnumOptionImpl(uint32_t id, uint32_t index, const char* name, OVHANDLE iface)
    : OvOptionImpl(id, index, name, OptionKindEnum, iface) {
    CollectSupported(ListEnumValues, values_, [this](uint32_t value) { return Supports(value); });
}

bool OvEnumOptionImpl::Supports(uint32_t value) {
    return OvLib3OptionQueryEnumVal(iface_, static_cast<int32_t>(value), err_) <= 0;
}

bool OvEnumOptionImpl::GetValues(IOvEnum** values) {
    *values = &values_;
    return true;
}

bool OvEnumOptionImpl::GetValue(int32_t* value) {
    return RunReported([&] {
        CritSecLock guard(lock_);
        LIB3_CHECK(OvLib3OptionGetEnumVal(iface_, value, err_), err_);
        return true;
    });
}

bool OvEnumOptionImpl::SetValue(int32_t value) {
    return RunReported([&] {
        CritSecLock guard(lock_);
        LIB3_CHECK(OvLib3OptionSetEnumVal(iface_, value, err_), err_);
        return true;
    });
}

bool OvEnumOptionImpl::GetValueName(int32_t value, const char** name) {
    auto sameId = [value](const char*, uint32_t id) { return id == static_cast<uint32_t>(value); };
    if (!FindSupported(
            ListEnumValues, [this](uint32_t id) { return Supports(id); }, sameId, &valueName_, nullptr))
        return false;
    *name = valueName_.c_str();
    return true;
}

bool OvEnumOptionImpl::GetValueId(const char* name, int32_t* value) {
    uint32_t id = 0;
    auto sameText = [name](const char* text, uint32_t) { return std::strcmp(text, name) == 0; };
    if (!FindSupported(
            ListEnumValues, [this](uint32_t v) { return Supports(v); }, sameText, nullptr, &id))
        return false;
    *value = static_cast<int32_t>(id);
    return true;
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
