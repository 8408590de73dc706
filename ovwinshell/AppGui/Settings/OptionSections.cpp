#include "OptionSections.h"

#include "Common/AnsiText.h"
#include "IniFile.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"

namespace AppGui::Settings {

namespace {
constexpr wchar_t kValue[] = L"Value";
constexpr wchar_t kUnit[] = L"Unit";
constexpr size_t kSectionCapacity = 255;  // characters, the terminator included
}  // namespace

std::wstring OptionSectionName(const std::wstring& name, uint32_t index) {
    // The index in "%d", as the profiles have always had it.
    std::wstring section = name + L"_" + std::to_wstring(static_cast<int32_t>(index));
    if (section.size() > kSectionCapacity - 1) section.resize(kSectionCapacity - 1);
    return section;
}

std::wstring OptionSectionName(OvTypeLib::IOvOption* option) {
    return OptionSectionName(AnsiToWide(option->GetName(0)), option->GetIndex());
}

void WriteEnumOption(OvTypeLib::IOvEnumOption* option, int32_t value, const std::wstring& path) {
    const IniFile file(path);
    const std::wstring section = OptionSectionName(option->AsOption());
    const char* name = nullptr;
    if (option->GetValueName(value, &name) && name)
        file.WriteString(section.c_str(), kValue, AnsiToWide(name));
    else
        file.WriteInt(section.c_str(), kValue, value);
}

void WriteScalarOption(OvTypeLib::IOvScalarOption* option, int32_t value, uint32_t unit, const std::wstring& path) {
    const IniFile file(path);
    const std::wstring section = OptionSectionName(option->AsOption());
    file.WriteInt(section.c_str(), kValue, value);
    const char* name = nullptr;
    if (option->GetUnitName(unit, &name) && name)
        file.WriteString(section.c_str(), kUnit, AnsiToWide(name));
    else
        file.WriteInt(section.c_str(), kUnit, static_cast<int>(unit));
}

void WriteRectOption(OvTypeLib::IOvRectOption* option, const RectValue& rect, const std::wstring& path) {
    const IniFile file(path);
    const std::wstring section = OptionSectionName(option->AsOption());
    file.WriteInt(section.c_str(), L"x", rect.x);
    file.WriteInt(section.c_str(), L"y", rect.y);
    file.WriteInt(section.c_str(), L"width", rect.width);
    file.WriteInt(section.c_str(), L"height", rect.height);
}

void ReadEnumOption(OvTypeLib::IOvEnumOption* option, int32_t& value, const std::wstring& path) {
    const IniFile file(path);
    const std::wstring section = OptionSectionName(option->AsOption());
    const std::string text = WideToAnsi(file.ReadString(section.c_str(), kValue, L"", 255).c_str());
    int32_t parsed = 0;
    if (option->GetValueId(text.c_str(), &parsed))
        value = parsed;
    else
        value = file.ReadInt(section.c_str(), kValue, value);
}

void ReadScalarOption(OvTypeLib::IOvScalarOption* option, int32_t& value, uint32_t& unit, const std::wstring& path) {
    const IniFile file(path);
    const std::wstring section = OptionSectionName(option->AsOption());
    value = file.ReadInt(section.c_str(), kValue, value);
    const std::string text = WideToAnsi(file.ReadString(section.c_str(), kUnit, L"X", 255).c_str());
    uint32_t parsed = 0;
    if (option->GetUnitId(text.c_str(), &parsed))
        unit = parsed;
    else
        unit = static_cast<uint32_t>(file.ReadInt(section.c_str(), kUnit, static_cast<int>(unit)));
}

void ReadRectOption(OvTypeLib::IOvRectOption* option, RectValue& rect, const std::wstring& path) {
    const IniFile file(path);
    const std::wstring section = OptionSectionName(option->AsOption());
    rect.x = file.ReadInt(section.c_str(), L"x", rect.x);
    rect.y = file.ReadInt(section.c_str(), L"y", rect.y);
    rect.width = file.ReadInt(section.c_str(), L"width", rect.width);
    rect.height = file.ReadInt(section.c_str(), L"height", rect.height);
}

void LoadOptionsFromProfile(OvTypeLib::IOvSystem* system, const std::wstring& path) {
    OvTypeLib::ForEachOption(system, [&](OvTypeLib::IOvOption* option) {
        switch (option->GetKind()) {
            case OvTypeLib::OptionKindScalar: {
                OvTypeLib::IOvScalarOption* scalar = option->AsScalar();
                int32_t value = 0;
                uint32_t unit = 0;
                if (!scalar || !scalar->GetValue(unit, &value)) break;
                ReadScalarOption(scalar, value, unit, path);
                scalar->SetValue(unit, value);
                break;
            }
            case OvTypeLib::OptionKindEnum: {
                OvTypeLib::IOvEnumOption* choice = option->AsEnum();
                int32_t value = 0;
                if (!choice || !choice->GetValue(&value)) break;
                ReadEnumOption(choice, value, path);
                choice->SetValue(value);
                break;
            }
            case OvTypeLib::OptionKindRect: {
                OvTypeLib::IOvRectOption* rect = option->AsRect();
                RectValue value;
                if (!rect || !rect->GetRect(&value.x, &value.y, &value.width, &value.height)) break;
                ReadRectOption(rect, value, path);
                rect->SetRect(value.x, value.y, value.width, value.height);
                break;
            }
            default:
                break;
        }
    });
}

}  // namespace AppGui::Settings
