#pragma once
// A stand-in camera option for tests that need values no simulated camera has.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Lib3Wrapper/OvTypeLib/IOvOption.h"

namespace guitest {

using DllModule::Lib3Wrapper::OvTypeLib::IOvEnum;
using DllModule::Lib3Wrapper::OvTypeLib::IOvEnumOption;
using DllModule::Lib3Wrapper::OvTypeLib::IOvOption;
using DllModule::Lib3Wrapper::OvTypeLib::IOvRectOption;
using DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption;
using DllModule::Lib3Wrapper::OvTypeLib::OptionKindEnum;
using DllModule::Lib3Wrapper::OvTypeLib::OptionKindInfo;
using DllModule::Lib3Wrapper::OvTypeLib::OptionKindRect;
using DllModule::Lib3Wrapper::OvTypeLib::OptionKindScalar;

// One option of any kind, with named units (scalar) or named values (enum).
class FakeOption : public IOvOption, public IOvScalarOption, public IOvEnumOption, public IOvRectOption {
public:
    FakeOption(uint32_t kind, std::string ansiName, uint32_t index = 0)
        : kind_(kind), name_(std::move(ansiName)), index_(index) {}

    std::map<uint32_t, std::string> unitNames;
    std::map<int32_t, std::string> valueNames;
    int32_t value = 0;
    uint32_t unit = 0;
    int32_t rect[4] = {0, 0, 0, 0};
    bool readable = true;
    std::vector<uint32_t> unitsAsked;  // units GetValue was asked in
    int sets = 0;

    // IOvOption
    uint32_t GetId() override { return 0x400000 + index_; }
    uint32_t GetIndex() override { return index_; }
    const char* GetName(uint32_t selector) override { return selector == 0 ? name_.c_str() : "display"; }
    uint32_t GetKind() override { return kind_; }
    IOvEnumOption* AsEnum() override { return kind_ == OptionKindEnum ? this : nullptr; }
    IOvScalarOption* AsScalar() override {
        return kind_ == OptionKindScalar || kind_ == OptionKindInfo ? this : nullptr;
    }
    IOvRectOption* AsRect() override { return kind_ == OptionKindRect ? this : nullptr; }

    // IOvScalarOption
    bool GetInfoValue(int32_t*, int32_t*) override { return false; }
    bool GetUnits(IOvEnum**) override { return false; }
    bool GetRange(uint32_t, int32_t*, int32_t*) override { return false; }
    bool GetValue(uint32_t inUnit, int32_t* out) override {
        unitsAsked.push_back(inUnit);
        if (!readable) return false;
        *out = value;
        return true;
    }
    bool SetValue(uint32_t inUnit, int32_t newValue) override {
        ++sets;
        unit = inUnit;
        value = newValue;
        return true;
    }
    bool StepValue(uint32_t, int32_t) override { return false; }
    IOvOption* AsOption() override { return this; }
    bool GetUnitName(uint32_t id, const char** name) override {
        auto found = unitNames.find(id);
        if (found == unitNames.end()) return false;
        *name = found->second.c_str();
        return true;
    }
    bool GetUnitId(const char* name, uint32_t* id) override {
        for (const auto& [unitId, text] : unitNames)
            if (text == name) {
                *id = unitId;
                return true;
            }
        return false;
    }

    // IOvEnumOption
    bool GetValues(IOvEnum**) override { return false; }
    bool GetValue(int32_t* out) override {
        if (!readable) return false;
        *out = value;
        return true;
    }
    bool SetValue(int32_t newValue) override {
        ++sets;
        value = newValue;
        return true;
    }
    bool GetValueName(int32_t id, const char** name) override {
        auto found = valueNames.find(id);
        if (found == valueNames.end()) return false;
        *name = found->second.c_str();
        return true;
    }
    bool GetValueId(const char* name, int32_t* id) override {
        for (const auto& [valueId, text] : valueNames)
            if (text == name) {
                *id = valueId;
                return true;
            }
        return false;
    }

    // IOvRectOption
    bool GetRect(int32_t* x, int32_t* y, int32_t* w, int32_t* h) override {
        if (!readable) return false;
        *x = rect[0], *y = rect[1], *w = rect[2], *h = rect[3];
        return true;
    }
    bool GetMinRect(int32_t*, int32_t*, int32_t*, int32_t*) override { return false; }
    bool GetMaxRect(int32_t*, int32_t*, int32_t*, int32_t*) override { return false; }
    bool SetRect(int32_t x, int32_t y, int32_t w, int32_t h) override {
        ++sets;
        rect[0] = x, rect[1] = y, rect[2] = w, rect[3] = h;
        return true;
    }

private:
    uint32_t kind_;
    std::string name_;
    uint32_t index_;
};

}  // namespace guitest
