#pragma once
#include <cstdint>

namespace DllModule::Lib3Wrapper::OvTypeLib {

class IOvEnum;
class IOvEnumOption;
class IOvScalarOption;
class IOvRectOption;

enum OptionKind : uint32_t {
    OptionKindScalar = 0,
    OptionKindEnum = 1,
    OptionKindRect = 2,
    OptionKindInfo = 3,  // read-only information value, read with GetInfoValue
};

// One camera option. Values are signed 32-bit integers in the library's units.
class IOvOption {
public:
    virtual uint32_t GetId() = 0;
    virtual uint32_t GetIndex() = 0;
    // Selector 1: the display name; any other selector: the enumeration text.
    virtual const char* GetName(uint32_t selector) = 0;
    virtual uint32_t GetKind() = 0;
    virtual IOvEnumOption* AsEnum() = 0;
    virtual IOvScalarOption* AsScalar() = 0;
    virtual IOvRectOption* AsRect() = 0;
};

class IOvScalarOption {
public:
    virtual bool GetInfoValue(int32_t* first, int32_t* second) = 0;
    virtual bool GetUnits(IOvEnum** units) = 0;
    virtual bool GetRange(uint32_t unit, int32_t* minimum, int32_t* maximum) = 0;
    virtual bool GetValue(uint32_t unit, int32_t* value) = 0;
    virtual bool SetValue(uint32_t unit, int32_t value) = 0;
    virtual bool StepValue(uint32_t unit, int32_t step) = 0;
    virtual IOvOption* AsOption() = 0;
    // The name (valid until the next lookup on this option) of a unit id.
    virtual bool GetUnitName(uint32_t unit, const char** name) = 0;
    virtual bool GetUnitId(const char* name, uint32_t* unit) = 0;
};

class IOvEnumOption {
public:
    virtual bool GetValues(IOvEnum** values) = 0;
    virtual bool GetValue(int32_t* value) = 0;
    virtual bool SetValue(int32_t value) = 0;
    virtual IOvOption* AsOption() = 0;
    virtual bool GetValueName(int32_t value, const char** name) = 0;
    virtual bool GetValueId(const char* name, int32_t* value) = 0;
};

class IOvRectOption {
public:
    virtual bool GetRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) = 0;
    virtual bool GetMinRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) = 0;
    virtual bool GetMaxRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) = 0;
    virtual bool SetRect(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual IOvOption* AsOption() = 0;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
