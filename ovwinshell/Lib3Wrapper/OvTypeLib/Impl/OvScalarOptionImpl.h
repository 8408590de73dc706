#pragma once
#include "OvOptionImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

// Scalar option (kind 0) or read-only information value (kind 3).
class OvScalarOptionImpl : public OvOptionImpl, public IOvScalarOption {
public:
    OvScalarOptionImpl(uint32_t id, uint32_t index, const char* name, uint32_t kind, OVHANDLE iface);

    IOvScalarOption* AsScalar() override { return this; }

    bool GetInfoValue(int32_t* first, int32_t* second) override;
    bool GetUnits(IOvEnum** units) override;
    bool GetRange(uint32_t unit, int32_t* minimum, int32_t* maximum) override;
    bool GetValue(uint32_t unit, int32_t* value) override;
    bool SetValue(uint32_t unit, int32_t value) override;
    bool StepValue(uint32_t unit, int32_t step) override;
    IOvOption* AsOption() override { return this; }
    bool GetUnitName(uint32_t unit, const char** name) override;
    bool GetUnitId(const char* name, uint32_t* unit) override;

private:
    bool Supports(uint32_t unit);

    Lib3ErrorData err_;
    OvEnumPairsImpl units_;
    std::string unitName_;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
