#pragma once
// One profile section per camera option, named "<name>_<index>" after the
// option's name (selector 0) and index:
//
//   enum    Value               the value's text, or the value in decimal when it has none
//   scalar  Value, Unit         the value in decimal (in the unit given); the unit's text,
//                               or the unit id in decimal
//   rect    x, y, width, height
//
// Readers take the current values in and give the profile's back, the
// current ones standing in for whatever the section lacks.
#include <cstdint>
#include <string>

#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"

namespace AppGui::Settings {

namespace OvTypeLib = DllModule::Lib3Wrapper::OvTypeLib;

struct RectValue {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// "<name>_<index>" (the index as a signed decimal), at most 254 characters.
std::wstring OptionSectionName(const std::wstring& name, uint32_t index);
std::wstring OptionSectionName(OvTypeLib::IOvOption* option);

void WriteEnumOption(OvTypeLib::IOvEnumOption* option, int32_t value, const std::wstring& path);
void WriteScalarOption(OvTypeLib::IOvScalarOption* option, int32_t value, uint32_t unit, const std::wstring& path);
void WriteRectOption(OvTypeLib::IOvRectOption* option, const RectValue& rect, const std::wstring& path);

void ReadEnumOption(OvTypeLib::IOvEnumOption* option, int32_t& value, const std::wstring& path);
void ReadScalarOption(OvTypeLib::IOvScalarOption* option, int32_t& value, uint32_t& unit, const std::wstring& path);
void ReadRectOption(OvTypeLib::IOvRectOption* option, RectValue& rect, const std::wstring& path);

// Before a system is initialised: every option of the system takes the
// values of its section (scalars read in unit 0). Options whose current
// values cannot be read, and information values, are left alone.
void LoadOptionsFromProfile(OvTypeLib::IOvSystem* system, const std::wstring& path);

}  // namespace AppGui::Settings
