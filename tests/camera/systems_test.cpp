// Camera systems: creation and replacement, the two option walks, and the
// state before initialisation.
#include <algorithm>
#include <cstring>

#include "Lib3Wrapper/Globals.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

class SystemTest : public CameraTest {};

TEST_F(SystemTest, TypeListHasBothFamiliesWithNamesAndFindAlwaysFails) {
    IOvEnum* types = nullptr;
    ASSERT_TRUE(Lib3GetSystemTypes(&types));
    std::vector<uint32_t> ids;
    uint32_t id = 0;
    const char* name = nullptr;
    void* third = reinterpret_cast<void*>(1);
    for (bool more = types->First(&id, &name, &third); more; more = types->Next(&id, &name, &third)) {
        ids.push_back(id);
        EXPECT_GT(std::strlen(name), 0u);
        EXPECT_EQ(third, nullptr);
    }
    EXPECT_NE(std::find(ids.begin(), ids.end(), kVext), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), kZelMono), ids.end());

    // Asking again rebuilds the same list rather than appending to it.
    Lib3GetSystemTypes(&types);
    size_t count = 0;
    for (bool more = types->First(&id, &name, nullptr); more; more = types->Next(&id, &name, nullptr)) ++count;
    EXPECT_EQ(count, ids.size());

    void* item = reinterpret_cast<void*>(1);
    EXPECT_FALSE(types->Find(ids[0], 0, &item));
    EXPECT_EQ(item, nullptr);
}

TEST_F(SystemTest, OnlyOneSystemExistsAcrossFamilies) {
    auto& globals = Lib3Globals::Instance();
    IOvSystem* zel = Create(kZelMono);
    ASSERT_NE(zel, nullptr);
    EXPECT_EQ(static_cast<void*>(globals.GetZelSystem()), static_cast<void*>(zel));

    IOvSystem* vext = Create(kVext);
    ASSERT_NE(vext, nullptr);
    EXPECT_EQ(globals.GetZelSystem(), nullptr);
    EXPECT_EQ(static_cast<void*>(globals.GetVextSystem()), static_cast<void*>(vext));

    // Every id other than 3 makes a ZEL system.
    for (uint32_t type : {kZelColour, kZelMono, kZelNoSoftwareStart}) {
        IOvSystem* next = Create(type);
        ASSERT_NE(next, nullptr) << type;
        EXPECT_EQ(globals.GetVextSystem(), nullptr);
        EXPECT_EQ(static_cast<void*>(globals.GetZelSystem()), static_cast<void*>(next));
    }
    EXPECT_TRUE(Lib3ReleaseSystem(0));
    EXPECT_EQ(globals.GetZelSystem(), nullptr);
    EXPECT_EQ(OvSimLiveHandles(), baselineHandles_);
}

TEST_F(SystemTest, FailedCreationLeavesNoSystem) {
    Create(kZelMono);
    OvSimFailCall("OvLib3SystemCreate", 1, 0);
    IOvSystem* system = reinterpret_cast<IOvSystem*>(1);
    EXPECT_FALSE(Lib3CreateSystem(kZelMono, &system, &Logger()));
    EXPECT_EQ(system, reinterpret_cast<IOvSystem*>(1));  // untouched
    EXPECT_EQ(Lib3Globals::Instance().GetZelSystem(), nullptr);
    ASSERT_EQ(Logger().Count(), 1u);
    EXPECT_NE(Logger().Lines()[0].find("\nFile: .\\Exports\nLine: "), std::string::npos);
}

TEST_F(SystemTest, BeforeInitThereIsNoTransferNoInfoAndLockingIsFree) {
    for (uint32_t type : {kZelMono, kVext}) {
        IOvSystem* system = Create(type);
        IOvDataTransfer* transfer = reinterpret_cast<IOvDataTransfer*>(1);
        EXPECT_FALSE(system->GetDataTransfer(0, &transfer));
        EXPECT_EQ(transfer, nullptr);
        EXPECT_STREQ(system->GetInfo(), "");
        EXPECT_TRUE(system->LockAcquisition());
        EXPECT_TRUE(system->UnlockAcquisition());
    }
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(SystemTest, InitBuildsSerialNumberInfo) {
    IOvSystem* system = CreateAndInit(kZelMono);
    std::string info = system->GetInfo();
    // "Серийный номер котроллера: " ... "\nСерийный номер камеры: " in code page 1251.
    EXPECT_EQ(
        info.rfind("\xd1\xe5\xf0\xe8\xe9\xed\xfb\xe9 \xed\xee\xec\xe5\xf0 \xea\xee\xf2\xf0\xee\xeb\xeb\xe5\xf0\xe0: ",
                   0),
        0u)
        << info;
    EXPECT_NE(info.find("\n\xd1\xe5\xf0\xe8\xe9\xed\xfb\xe9 \xed\xee\xec\xe5\xf0 \xea\xe0\xec\xe5\xf0\xfb: "),
              std::string::npos);

    // An unreadable serial number only shortens the text.
    IOvSystem* second = Create(kZelMono);
    OvSimFailCall("OvLib3CallCInterface_1", 2, 0);
    ASSERT_TRUE(second->Init());
    std::string shorter = second->GetInfo();
    EXPECT_EQ(shorter.find('\n'), std::string::npos) << shorter;
    EXPECT_FALSE(shorter.empty());
}

TEST_F(SystemTest, OptionOnlyAtIndexesThreeAndSevenBeforeButNotAfterInit) {
    const uint32_t channel = 0x100003;
    for (uint32_t type : {kZelMono, kVext}) {
        IOvSystem* system = Create(type);
        std::vector<uint32_t> indexes;
        for (auto& [id, index] : OptionKeys(system))
            if (id == channel) indexes.push_back(index);
        EXPECT_EQ(indexes, (std::vector<uint32_t>{3, 7})) << type;

        ASSERT_TRUE(system->Init());
        for (auto& [id, index] : OptionKeys(system)) EXPECT_NE(id, channel) << type;
    }
}

TEST_F(SystemTest, OptionsAfterInitIncludeTheCameraControls) {
    IOvSystem* zel = CreateAndInit(kZelMono);
    for (uint32_t id : {0x400002u, 0x400004u, 0x400006u, 0x400008u}) EXPECT_NE(FindOption(zel, id), nullptr) << id;
    EXPECT_EQ(FindOption(zel, 0x400002)->GetKind(), OptionKindScalar);
    EXPECT_EQ(FindOption(zel, 0x400004)->GetKind(), OptionKindEnum);
    EXPECT_EQ(FindOption(zel, 0x400006)->GetKind(), OptionKindRect);

    IOvSystem* vext = CreateAndInit(kVext);
    for (uint32_t id : {0x400003u, 0x400007u, 0x400020u}) EXPECT_NE(FindOption(vext, id), nullptr) << id;
    IOvOption* total = FindOption(vext, 0x900003);
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->GetKind(), OptionKindInfo);
    EXPECT_STREQ(total->GetName(0), "Total frames count");
    // It is the last option of the list.
    EXPECT_EQ(OptionKeys(vext).back(), std::make_pair(0x900003u, 0u));
}

TEST_F(SystemTest, FailedInitIsReportedAndCanBeRetried) {
    IOvSystem* system = Create(kZelMono);
    OvSimFailCall("OvLib3SystemInit", 1, 0);
    EXPECT_FALSE(system->Init());
    ASSERT_EQ(Logger().Count(), 1u);
    EXPECT_NE(Logger().Lines()[0].find("\nFile: .\\Lib3Wrapper\\OvTypeLib\\Impl\\Zel\\OvZelSystemImpl\nLine: "),
              std::string::npos);
    IOvDataTransfer* transfer = nullptr;
    EXPECT_FALSE(system->GetDataTransfer(0, &transfer));
    EXPECT_TRUE(system->Init());
    EXPECT_TRUE(system->GetDataTransfer(0, &transfer));
    EXPECT_NE(transfer, nullptr);
}

TEST_F(SystemTest, LockingFollowsTheModeTheTransferWasHandedOutIn) {
    IOvSystem* zel = CreateAndInit(kZelMono);
    EXPECT_FALSE(zel->LockAcquisition());  // initialised, not handed out yet
    IOvDataTransfer* transfer = nullptr;
    EXPECT_FALSE(zel->GetDataTransfer(1, &transfer));
    EXPECT_EQ(transfer, nullptr);
    ASSERT_TRUE(zel->GetDataTransfer(0, &transfer));
    EXPECT_TRUE(zel->LockAcquisition());
    EXPECT_TRUE(zel->UnlockAcquisition());

    IOvSystem* vext = CreateAndInit(kVext);
    EXPECT_FALSE(vext->LockAcquisition());
    ASSERT_TRUE(vext->GetDataTransfer(2, &transfer));
    EXPECT_FALSE(vext->LockAcquisition());
    ASSERT_TRUE(vext->GetDataTransfer(0, &transfer));
    EXPECT_TRUE(vext->LockAcquisition());
    EXPECT_TRUE(vext->UnlockAcquisition());
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(SystemTest, CInterfacesAreZelOnly) {
    OVHANDLE iface = 0;
    IOvSystem* zel = CreateAndInit(kZelMono);
    EXPECT_TRUE(zel->GetCInterface(0x900001, 0, &iface));
    EXPECT_NE(iface, 0u);
    EXPECT_FALSE(zel->GetCInterface(0x12345678, 0, &iface));
    IOvSystem* vext = CreateAndInit(kVext);
    EXPECT_FALSE(vext->GetCInterface(0x900001, 0, &iface));
}

}  // namespace
}  // namespace ovtest
