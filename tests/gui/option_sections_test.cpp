// Option sections of a profile: names, the writers and readers of the three
// option kinds (texts where the option has them, numbers where not, current
// values where the section is silent), and loading a whole system's options,
// with stand-in options and with the simulated camera.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "AppGui/Settings/OptionSections.h"
#include "Common/AnsiText.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "FakeOption.h"
#include "SettingsTestSupport.h"
#include "support/CameraFixture.h"
#include "support/MessageBoxCatcher.h"

namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib;
using namespace AppGui::Settings;
using guitest::FakeOption;
using guitest::IniText;
using guitest::IniWrite;
using guitest::ScratchFile;

// "Экспозиция", "Режим", "мкс", "мс", "Внешняя" in Windows-1251, as the camera library speaks.
const std::string kExposure = "\xdd\xea\xf1\xef\xee\xe7\xe8\xf6\xe8\xff";
const std::string kMode = "\xd0\xe5\xe6\xe8\xec";
const std::string kMicroseconds = "\xec\xea\xf1";
const std::string kMilliseconds = "\xec\xf1";
const std::string kExternal = "\xc2\xed\xe5\xf8\xed\xff\xff";

TEST(OptionSectionName, IsNameUnderscoreIndexInWideText) {
    FakeOption exposure(OptionKindScalar, kExposure, 0);
    FakeOption channel(OptionKindScalar, "Channel", 7);
    EXPECT_EQ(OptionSectionName(&exposure), L"Экспозиция_0");
    EXPECT_EQ(OptionSectionName(&channel), L"Channel_7");
    EXPECT_EQ(OptionSectionName(L"x", 4294967295u), L"x_-1");  // "%d" of the index
    EXPECT_EQ(OptionSectionName(std::wstring(300, L'я'), 1).size(), 254u);
}

TEST(ScalarSection, WritesValueAndUnitText) {
    const std::wstring path = ScratchFile(L"ov-option-scalar.ovp");
    FakeOption option(OptionKindScalar, kExposure);
    option.unitNames = {{2, kMicroseconds}, {3, kMilliseconds}};
    WriteScalarOption(&option, 25, 3, path);
    EXPECT_EQ(IniText(path, L"Экспозиция_0", L"Value"), L"25");
    EXPECT_EQ(IniText(path, L"Экспозиция_0", L"Unit"), L"мс");
    // A unit without a name is written as its number.
    WriteScalarOption(&option, -40, 9, path);
    EXPECT_EQ(IniText(path, L"Экспозиция_0", L"Value"), L"-40");
    EXPECT_EQ(IniText(path, L"Экспозиция_0", L"Unit"), L"9");
}

TEST(ScalarSection, ReadsBackValueAndUnit) {
    const std::wstring path = ScratchFile(L"ov-option-scalar-read.ovp");
    FakeOption option(OptionKindScalar, kExposure);
    option.unitNames = {{2, kMicroseconds}, {3, kMilliseconds}};
    WriteScalarOption(&option, 1500, 2, path);
    int32_t value = 7;
    uint32_t unit = 3;
    ReadScalarOption(&option, value, unit, path);
    EXPECT_EQ(value, 1500);
    EXPECT_EQ(unit, 2u);
}

TEST(ScalarSection, AnUnknownUnitTextThatIsANumberIsTheUnitId) {
    const std::wstring path = ScratchFile(L"ov-option-scalar-number.ovp");
    FakeOption option(OptionKindScalar, "Gain");
    option.unitNames = {{2, kMicroseconds}};
    IniWrite(path, L"Gain_0", L"Value", L"300");
    IniWrite(path, L"Gain_0", L"Unit", L"31");
    int32_t value = 0;
    uint32_t unit = 2;
    ReadScalarOption(&option, value, unit, path);
    EXPECT_EQ(value, 300);
    EXPECT_EQ(unit, 31u);
}

TEST(ScalarSection, AMissingSectionKeepsTheCurrentValues) {
    const std::wstring path = ScratchFile(L"ov-option-scalar-missing.ovp");
    FakeOption option(OptionKindScalar, "Gain");
    int32_t value = 123;
    uint32_t unit = 5;
    ReadScalarOption(&option, value, unit, path);
    EXPECT_EQ(value, 123);
    EXPECT_EQ(unit, 5u);
    // Only the value present: the unit stays.
    IniWrite(path, L"Gain_0", L"Value", L"77");
    ReadScalarOption(&option, value, unit, path);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(unit, 5u);
}

TEST(EnumSection, WritesTheValuesTextOrItsNumber) {
    const std::wstring path = ScratchFile(L"ov-option-enum.ovp");
    FakeOption option(OptionKindEnum, kMode, 0);
    option.valueNames = {{5, kExternal}};
    WriteEnumOption(&option, 5, path);
    EXPECT_EQ(IniText(path, L"Режим_0", L"Value"), L"Внешняя");
    WriteEnumOption(&option, 6, path);
    EXPECT_EQ(IniText(path, L"Режим_0", L"Value"), L"6");
}

TEST(EnumSection, ReadsTextsNumbersAndKeepsTheCurrentValue) {
    const std::wstring path = ScratchFile(L"ov-option-enum-read.ovp");
    FakeOption option(OptionKindEnum, kMode, 0);
    option.valueNames = {{5, kExternal}};
    int32_t value = 6;
    ReadEnumOption(&option, value, path);  // no section
    EXPECT_EQ(value, 6);
    IniWrite(path, L"Режим_0", L"Value", L"Внешняя");
    ReadEnumOption(&option, value, path);
    EXPECT_EQ(value, 5);
    IniWrite(path, L"Режим_0", L"Value", L"4");  // no such text: the number
    ReadEnumOption(&option, value, path);
    EXPECT_EQ(value, 4);
}

TEST(RectSection, RoundTripAndPartialSections) {
    const std::wstring path = ScratchFile(L"ov-option-rect.ovp");
    FakeOption option(OptionKindRect, "ROI", 0);
    WriteRectOption(&option, RectValue{8, 16, 640, 480}, path);
    EXPECT_EQ(IniText(path, L"ROI_0", L"x"), L"8");
    EXPECT_EQ(IniText(path, L"ROI_0", L"y"), L"16");
    EXPECT_EQ(IniText(path, L"ROI_0", L"width"), L"640");
    EXPECT_EQ(IniText(path, L"ROI_0", L"height"), L"480");
    RectValue rect{1, 2, 3, 4};
    ReadRectOption(&option, rect, path);
    EXPECT_EQ(rect.x, 8);
    EXPECT_EQ(rect.y, 16);
    EXPECT_EQ(rect.width, 640);
    EXPECT_EQ(rect.height, 480);

    const std::wstring partial = ScratchFile(L"ov-option-rect-partial.ovp");
    IniWrite(partial, L"ROI_0", L"width", L"320");
    RectValue current{1, 2, 3, 4};
    ReadRectOption(&option, current, partial);
    EXPECT_EQ(current.x, 1);
    EXPECT_EQ(current.y, 2);
    EXPECT_EQ(current.width, 320);
    EXPECT_EQ(current.height, 4);
}

// A system that offers a fixed list of options.
class FakeOptions : public IOvEnum {
public:
    std::vector<IOvOption*> items;
    bool First(uint32_t*, const char**, void** item) override {
        cursor_ = 0;
        return Current(item);
    }
    bool Next(uint32_t*, const char**, void** item) override {
        ++cursor_;
        return Current(item);
    }
    bool Find(uint32_t, uint32_t, void**) override { return false; }

private:
    bool Current(void** item) {
        if (cursor_ >= items.size()) return false;
        *item = items[cursor_];
        return true;
    }
    size_t cursor_ = 0;
};

class FakeSystem : public IOvSystem {
public:
    FakeOptions options;
    bool Init() override { return true; }
    bool GetOptions(IOvEnum** out) override {
        *out = &options;
        return true;
    }
    bool GetDataTransfer(uint32_t, IOvDataTransfer**) override { return false; }
    bool StopInput(bool) override { return true; }
    bool LockAcquisition() override { return true; }
    bool UnlockAcquisition() override { return true; }
    const char* GetInfo() override { return ""; }
    bool GetCInterface(uint32_t, uint32_t, OVHANDLE*) override { return false; }
};

TEST(LoadOptionsFromProfile, EveryOptionTakesItsSection) {
    const std::wstring path = ScratchFile(L"ov-option-load.ovp");
    FakeOption exposure(OptionKindScalar, kExposure, 0), mode(OptionKindEnum, kMode, 0), roi(OptionKindRect, "ROI", 0),
        untouched(OptionKindScalar, "Gain", 0), info(OptionKindInfo, "Temperature", 0),
        unreadable(OptionKindScalar, "Broken", 0);
    exposure.unitNames = {{3, kMilliseconds}};
    exposure.value = 20000;
    mode.valueNames = {{5, kExternal}};
    mode.value = 6;
    untouched.value = 100;
    unreadable.readable = false;
    IniWrite(path, L"Экспозиция_0", L"Value", L"40");
    IniWrite(path, L"Экспозиция_0", L"Unit", L"мс");
    IniWrite(path, L"Режим_0", L"Value", L"Внешняя");
    IniWrite(path, L"ROI_0", L"width", L"512");
    IniWrite(path, L"Temperature_0", L"Value", L"99");
    IniWrite(path, L"Broken_0", L"Value", L"1");

    FakeSystem system;
    system.options.items = {&exposure, &mode, &roi, &untouched, &info, &unreadable};
    LoadOptionsFromProfile(&system, path);

    EXPECT_EQ(exposure.unitsAsked, std::vector<uint32_t>{0});  // read in unit 0
    EXPECT_EQ(exposure.value, 40);
    EXPECT_EQ(exposure.unit, 3u);
    EXPECT_EQ(mode.value, 5);
    EXPECT_EQ(roi.rect[2], 512);
    // Without a section the option is set to what it had, in unit 0.
    EXPECT_EQ(untouched.value, 100);
    EXPECT_EQ(untouched.unit, 0u);
    EXPECT_EQ(info.sets, 0);
    EXPECT_EQ(unreadable.sets, 0);
}

TEST(LoadOptionsFromProfile, NoSystemNoTrouble) { LoadOptionsFromProfile(nullptr, ScratchFile(L"ov-option-none.ovp")); }

// The simulated camera's options before Init: board number, interface kind
// and the two channels.
class SimulatedProfile : public ovtest::CameraTest {
protected:
    MessageBoxCatcher boxes_;
};

int32_t ScalarOf(IOvSystem* system, uint32_t id, uint32_t index) {
    int32_t value = -1;
    IOvOption* option = FindSystemOption(system, id, index);
    if (option && option->AsScalar()) option->AsScalar()->GetValue(0, &value);
    return value;
}

int32_t EnumOf(IOvSystem* system, uint32_t id) {
    int32_t value = -1;
    IOvOption* option = FindSystemOption(system, id, 0);
    if (option && option->AsEnum()) option->AsEnum()->GetValue(&value);
    return value;
}

TEST_F(SimulatedProfile, SectionsWrittenFromOneSystemConfigureTheNext) {
    MessageBoxCatcher::Forget();
    const std::wstring path = ScratchFile(L"ov-option-sim.ovp");
    IOvSystem* first = Create(ovtest::kZelMono);
    ASSERT_NE(first, nullptr);
    IOvOption* board = FindOption(first, 0x100001, 0);
    IOvOption* kind = FindOption(first, 0x100002, 0);
    IOvOption* channel3 = FindOption(first, 0x100003, 3);
    IOvOption* channel7 = FindOption(first, 0x100003, 7);
    ASSERT_TRUE(board && kind && channel3 && channel7);
    WriteScalarOption(board->AsScalar(), 2, 0, path);
    WriteEnumOption(kind->AsEnum(), 40, path);  // written as the value's Russian text
    WriteScalarOption(channel3->AsScalar(), 9, 0, path);
    WriteScalarOption(channel7->AsScalar(), 11, 0, path);
    const std::wstring kindSection = OptionSectionName(kind);
    const std::wstring kindText = IniText(path, kindSection.c_str(), L"Value");
    EXPECT_NE(kindText, L"40");
    EXPECT_NE(kindText, L"<missing>");
    ASSERT_TRUE(DllModule::Lib3Wrapper::Lib3ReleaseSystem(ovtest::kZelMono));

    IOvSystem* second = Create(ovtest::kZelMono);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ScalarOf(second, 0x100001, 0), 0);
    LoadOptionsFromProfile(second, path);
    EXPECT_EQ(ScalarOf(second, 0x100001, 0), 2);
    EXPECT_EQ(EnumOf(second, 0x100002), 40);
    EXPECT_EQ(ScalarOf(second, 0x100003, 3), 9);
    EXPECT_EQ(ScalarOf(second, 0x100003, 7), 11);
    EXPECT_TRUE(second->Init());
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
}

}  // namespace
