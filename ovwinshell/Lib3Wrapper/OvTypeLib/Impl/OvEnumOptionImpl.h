#pragma once
#include "OvOptionImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

// Enumerated option (kind 1): one value of a named set.
class OvEnumOptionImpl : public OvOptionImpl, public IOvEnumOption {
public:
    OvEnumOptionImpl(uint32_t id, uint32_t index, const char* name, OVHANDLE iface);

    IOvEnumOption* AsEnum() override { return this; }

    bool GetValues(IOvEnum** values) override;
    bool GetValue(int32_t* value) override;
    bool SetValue(int32_t value) override;
    IOvOption* AsOption() override { return this; }
    bool GetValueName(int32_t value, const char** name) override;
    bool GetValueId(const char* name, int32_t* value) override;

private:
    bool Supports(uint32_t value);

    Lib3ErrorData err_;
    OvEnumPairsImpl values_;
    std::string valueName_;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
