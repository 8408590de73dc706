// Option objects: names, units, value lookups, typed views and refusals.
#include <cstring>

#include "support/CameraFixture.h"

namespace ovtest {
namespace {

class OptionTest : public CameraTest {};

TEST_F(OptionTest, TypedViewsMatchTheKind) {
    IOvSystem* system = CreateAndInit(kZelMono);
    IOvEnum* options = nullptr;
    system->GetOptions(&options);
    void* item = nullptr;
    int seen = 0;
    for (bool more = options->First(nullptr, nullptr, &item); more; more = options->Next(nullptr, nullptr, &item)) {
        auto* option = static_cast<IOvOption*>(item);
        uint32_t kind = option->GetKind();
        EXPECT_EQ(option->AsScalar() != nullptr, kind == OptionKindScalar || kind == OptionKindInfo);
        EXPECT_EQ(option->AsEnum() != nullptr, kind == OptionKindEnum);
        EXPECT_EQ(option->AsRect() != nullptr, kind == OptionKindRect);
        if (option->AsScalar()) {
            EXPECT_EQ(option->AsScalar()->AsOption(), option);
        }
        if (option->AsEnum()) {
            EXPECT_EQ(option->AsEnum()->AsOption(), option);
        }
        if (option->AsRect()) {
            EXPECT_EQ(option->AsRect()->AsOption(), option);
        }
        ++seen;
    }
    EXPECT_GT(seen, 4);
}

TEST_F(OptionTest, EnumerationGivesIdAndDisplayName) {
    IOvSystem* system = CreateAndInit(kZelMono);
    IOvEnum* options = nullptr;
    system->GetOptions(&options);
    uint32_t id = 0;
    const char* name = nullptr;
    void* item = nullptr;
    ASSERT_TRUE(options->First(&id, &name, &item));
    auto* option = static_cast<IOvOption*>(item);
    EXPECT_EQ(id, option->GetId());
    EXPECT_STREQ(name, option->GetName(1));
    IOvOption* exposure = FindOption(system, 0x400002);
    EXPECT_GT(std::strlen(exposure->GetName(1)), 0u);
    EXPECT_GT(std::strlen(exposure->GetName(0)), 0u);
    EXPECT_STRNE(exposure->GetName(1), exposure->GetName(0));
}

TEST_F(OptionTest, ScalarUnitsNamesAndIds) {
    IOvScalarOption* exposure = FindOption(CreateAndInit(kZelMono), 0x400002)->AsScalar();
    IOvEnum* units = nullptr;
    exposure->GetUnits(&units);
    std::vector<uint32_t> ids;
    uint32_t id = 0;
    for (bool more = units->First(&id, nullptr, nullptr); more; more = units->Next(&id, nullptr, nullptr))
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<uint32_t>{2, 3}));

    const char* name = nullptr;
    ASSERT_TRUE(exposure->GetUnitName(3, &name));
    std::string milliseconds = name;
    uint32_t unit = 0;
    ASSERT_TRUE(exposure->GetUnitId(milliseconds.c_str(), &unit));
    EXPECT_EQ(unit, 3u);
    std::string upper = milliseconds;
    // Upper case in code page 1251: Cyrillic lower-case letters are 0xE0..0xFF, 0x20 above their capitals.
    for (char& c : upper) {
        const auto byte = static_cast<unsigned char>(c);
        c = static_cast<char>(byte >= 0xE0 ? byte - 0x20 : std::toupper(byte));
    }
    ASSERT_NE(upper, milliseconds);
    EXPECT_FALSE(exposure->GetUnitId(upper.c_str(), &unit));
    EXPECT_FALSE(exposure->GetUnitName(31, &name));  // a unit it does not support

    // Milliseconds and microseconds describe the same value.
    int32_t ms = 0, us = 0;
    ASSERT_TRUE(exposure->GetValue(3, &ms));
    ASSERT_TRUE(exposure->GetValue(2, &us));
    EXPECT_NEAR(us / 1000.0, ms, 1.0);
}

TEST_F(OptionTest, ScalarWithOnlyNativeUnitsHasNoUnitNames) {
    IOvOption* frameIndex = FindOption(CreateAndInit(kVext), 0x400020);
    ASSERT_NE(frameIndex, nullptr);
    IOvScalarOption* scalar = frameIndex->AsScalar();
    IOvEnum* units = nullptr;
    scalar->GetUnits(&units);
    EXPECT_FALSE(units->First(nullptr, nullptr, nullptr));
    const char* name = nullptr;
    EXPECT_FALSE(scalar->GetUnitName(0, &name));
    EXPECT_FALSE(scalar->GetUnitName(2, &name));
    int32_t minimum = 0, maximum = 0;
    EXPECT_TRUE(scalar->GetRange(0, &minimum, &maximum));
}

TEST_F(OptionTest, RefusedValuesAreReportedAndTheOptionStaysUsable) {
    IOvSystem* system = CreateAndInit(kZelMono);
    IOvScalarOption* exposure = FindOption(system, 0x400002)->AsScalar();
    int32_t minimum = 0, maximum = 0, before = 0, after = 0;
    ASSERT_TRUE(exposure->GetRange(2, &minimum, &maximum));
    ASSERT_TRUE(exposure->GetValue(2, &before));
    EXPECT_FALSE(exposure->SetValue(2, maximum + 1));
    EXPECT_EQ(Logger().Count(), 1u);
    ASSERT_TRUE(exposure->GetValue(2, &after));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(exposure->SetValue(2, minimum));
    EXPECT_TRUE(exposure->StepValue(2, 1));
    ASSERT_TRUE(exposure->GetValue(2, &after));
    EXPECT_GT(after, minimum);

    IOvEnumOption* sync = FindOption(system, 0x400004)->AsEnum();
    EXPECT_FALSE(sync->SetValue(12345));
    EXPECT_TRUE(sync->SetValue(6));
    int32_t value = 0;
    EXPECT_TRUE(sync->GetValue(&value));
    EXPECT_EQ(value, 6);

    IOvRectOption* region = FindOption(system, 0x400006)->AsRect();
    int32_t x, y, w, h;
    ASSERT_TRUE(region->GetMaxRect(&x, &y, &w, &h));
    EXPECT_FALSE(region->SetRect(x, y, w + 8, h));
    EXPECT_EQ(Logger().Count(), 3u);
    for (const std::string& line : Logger().Lines()) EXPECT_EQ(line.rfind("*** Error ***\n", 0), 0u);
}

TEST_F(OptionTest, EnumValueNamesUseTheProfileTexts) {
    IOvEnumOption* sync = FindOption(CreateAndInit(kZelMono), 0x400004)->AsEnum();
    IOvEnum* values = nullptr;
    sync->GetValues(&values);
    std::vector<uint32_t> ids;
    uint32_t id = 0;
    for (bool more = values->First(&id, nullptr, nullptr); more; more = values->Next(&id, nullptr, nullptr))
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<uint32_t>{4, 5, 6}));
    for (int32_t value : {4, 5, 6}) {
        const char* name = nullptr;
        ASSERT_TRUE(sync->GetValueName(value, &name));
        std::string text = name;
        int32_t back = 0;
        ASSERT_TRUE(sync->GetValueId(text.c_str(), &back));
        EXPECT_EQ(back, value);
    }
    const char* name = nullptr;
    EXPECT_FALSE(sync->GetValueName(17, &name));  // a data format value, not a sync mode
}

TEST_F(OptionTest, TotalFramesCountIsAnInformationValue) {
    IOvOption* total = FindOption(CreateAndInit(kVext), 0x900003);
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->GetKind(), OptionKindInfo);
    ASSERT_NE(total->AsScalar(), nullptr);
    EXPECT_EQ(total->AsEnum(), nullptr);
    EXPECT_EQ(total->AsRect(), nullptr);
    int32_t first = 0, second = 0;
    EXPECT_TRUE(total->AsScalar()->GetInfoValue(&first, &second));
    EXPECT_GT(first, 0);
}

}  // namespace
}  // namespace ovtest
