// The ZEL data transfer: method probe, renegotiation, statistics, decoding.
#include "Lib3Wrapper/OvTypeLib/Impl/Zel/OvZelDataTransferImpl.h"
#include "support/AcquireHelpers.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

using ZelTransfer = DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel::OvDataTransferImpl;
using namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel;

constexpr uint32_t kExposure = 0x400002;
constexpr uint32_t kSyncMode = 0x400004;
constexpr uint32_t kRegion = 0x400006;
constexpr uint32_t kDataFormat = 0x400008;

class ZelTransferTest : public CameraTest {
protected:
    IOvDataTransfer* Open(uint32_t type) {
        system_ = CreateAndInit(type);
        IOvDataTransfer* transfer = nullptr;
        EXPECT_TRUE(system_->GetDataTransfer(0, &transfer));
        return transfer;
    }
    uint32_t MethodOf(IOvDataTransfer* transfer) { return static_cast<ZelTransfer*>(transfer)->GetMethod(); }

    void SetRegion(int32_t x, int32_t y, int32_t width, int32_t height) {
        ASSERT_TRUE(system_->LockAcquisition());
        EXPECT_TRUE(FindOption(system_, kRegion)->AsRect()->SetRect(x, y, width, height));
        system_->UnlockAcquisition();
    }
    void SetFormat(int32_t value) {
        ASSERT_TRUE(system_->LockAcquisition());
        EXPECT_TRUE(FindOption(system_, kDataFormat)->AsEnum()->SetValue(value));
        system_->UnlockAcquisition();
    }
    std::vector<int32_t> FormatValues() {
        IOvEnum* values = nullptr;
        FindOption(system_, kDataFormat)->AsEnum()->GetValues(&values);
        std::vector<int32_t> list;
        uint32_t id = 0;
        for (bool more = values->First(&id, nullptr, nullptr); more; more = values->Next(&id, nullptr, nullptr))
            list.push_back(static_cast<int32_t>(id));
        return list;
    }

    IOvSystem* system_ = nullptr;
};

TEST_F(ZelTransferTest, ProbeChoosesDmaWhenTheCameraHasIt) {
    IOvDataTransfer* transfer = Open(kZelMono);
    EXPECT_EQ(MethodOf(transfer), MethodUnknown);
    Grabbed first = Grab(transfer);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(MethodOf(transfer), MethodDma);
    EXPECT_EQ(first.layout, Mono);
    EXPECT_EQ(first.bytesPerPixel, 2u);
    EXPECT_GT(OvSimCallCount("OvLib3InDInterfaceStartDma"), 0u);
    EXPECT_EQ(OvSimCallCount("OvLib3InDInterfaceTransfer"), 0u);
    EXPECT_EQ(Logger().Count(), 0u);

    // Handing the transfer out again makes the next acquisition probe again.
    IOvDataTransfer* again = nullptr;
    ASSERT_TRUE(system_->GetDataTransfer(0, &again));
    EXPECT_EQ(again, transfer);
    EXPECT_EQ(MethodOf(transfer), MethodUnknown);
}

TEST_F(ZelTransferTest, SilentDmaFailureFallsBackToBlockTransfer) {
    IOvDataTransfer* transfer = Open(kZelMono);
    OvSimFailCall("OvLib3InDInterfaceStartDma", 0, 0);
    ASSERT_TRUE(Grab(transfer).ok);
    EXPECT_EQ(MethodOf(transfer), MethodBlock);
    EXPECT_EQ(Logger().Count(), 0u);
    ASSERT_TRUE(Grab(transfer).ok);
    EXPECT_EQ(MethodOf(transfer), MethodBlock);
}

TEST_F(ZelTransferTest, ColourCameraWithoutDmaUsesBlockTransfer) {
    IOvDataTransfer* transfer = Open(kZelColour);
    Grabbed frame = Grab(transfer);
    ASSERT_TRUE(frame.ok);
    EXPECT_EQ(MethodOf(transfer), MethodBlock);
    EXPECT_EQ(frame.layout, Bgr);
    EXPECT_EQ(frame.bytesPerPixel, 6u);
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(ZelTransferTest, ProgrammedIoIsTheLastResortAndItsFailureIsReported) {
    IOvDataTransfer* transfer = Open(kZelMono);
    OvSimFailCall("OvLib3InDInterfaceStartDma", 0, 0);
    OvSimFailCall("OvLib3InDInterfaceTransfer", 0, 0);
    ASSERT_TRUE(Grab(transfer).ok);
    EXPECT_EQ(MethodOf(transfer), MethodPio);

    ASSERT_TRUE(system_->GetDataTransfer(0, &transfer));
    OvSimFailCall("OvLib3InDInterfacePIOTransfer", 0, 0);
    Logger().Clear();
    int32_t index = 0;
    EXPECT_FALSE(transfer->Acquire(&index));
    EXPECT_EQ(MethodOf(transfer), MethodUnknown);
    ASSERT_EQ(Logger().Count(), 1u);
    EXPECT_NE(Logger().Lines()[0].find("OvLib3InDInterfacePIOTransfer"), std::string::npos);
    EXPECT_NE(Logger().Lines()[0].find("\nFile: .\\Lib3Wrapper\\OvTypeLib\\Impl\\Zel\\OvZelDataTransferImpl\n"),
              std::string::npos);

    // The lock was released and the next acquisition probes again.
    EXPECT_TRUE(system_->LockAcquisition());
    system_->UnlockAcquisition();
    OvSimClearFaults();
    uint32_t begun = OvSimCallCount("OvLib3InDInterfaceBeginBlock");
    ASSERT_TRUE(Grab(transfer).ok);
    EXPECT_EQ(MethodOf(transfer), MethodDma);
    EXPECT_GT(OvSimCallCount("OvLib3InDInterfaceBeginBlock"), begun);
}

TEST_F(ZelTransferTest, DmaThatNeverEndsTimesOutDuringTheProbe) {
    IOvDataTransfer* transfer = Open(kZelMono);
    OvSimSetDmaHang(1);
    ASSERT_TRUE(Grab(transfer).ok);
    EXPECT_EQ(MethodOf(transfer), MethodBlock);
    ASSERT_EQ(Logger().Count(), 1u);
    const std::string text = Logger().Lines()[0];
    EXPECT_EQ(text.rfind("*** Error ***\nFile: .\\Lib3Wrapper\\OvTypeLib\\Impl\\Zel\\OvZelDataTransferImpl\nLine: ", 0),
              0u)
        << text;
    EXPECT_NE(text.find("\nText: OvLib3InDInterfaceQueryDmaEnd(..). Timeout error."), std::string::npos);
}

TEST_F(ZelTransferTest, StatisticsCountFramesBytesAndTime) {
    IOvDataTransfer* transfer = Open(kZelMono);
    SetFormat(20);  // 16-bit samples: the block is two bytes per pixel
    int32_t x, y, width, height;
    FindOption(system_, kRegion)->AsRect()->GetRect(&x, &y, &width, &height);
    ASSERT_TRUE(Grab(transfer).ok);  // the probe counts nothing
    uint32_t frames = 99;
    uint64_t bytes = 99, micros = 99;
    ASSERT_TRUE(transfer->GetStatistics(&frames, &bytes, &micros));
    EXPECT_EQ(frames, 0u);
    EXPECT_EQ(bytes, 0u);

    const uint32_t n = 7;
    for (uint32_t i = 0; i < n; ++i) ASSERT_TRUE(Grab(transfer).ok);
    ASSERT_TRUE(transfer->GetStatistics(&frames, &bytes, &micros));
    EXPECT_EQ(frames, n);
    EXPECT_EQ(bytes, uint64_t(n) * width * height * 2);
    uint64_t earlier = micros;
    ASSERT_TRUE(Grab(transfer).ok);
    transfer->GetStatistics(&frames, &bytes, &micros);
    EXPECT_GE(micros, earlier);
}

TEST_F(ZelTransferTest, TypeChangeRenegotiatesAndDeliversTheNewFrame) {
    for (uint32_t type : {kZelMono, kZelColour}) {
        IOvDataTransfer* transfer = Open(type);
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(Grab(transfer).ok);
        uint32_t frames = 0;
        uint64_t bytes = 0, micros = 0;
        transfer->GetStatistics(&frames, &bytes, &micros);
        EXPECT_EQ(frames, 2u);

        SetRegion(16, 8, 320, 240);
        Grabbed changed = Grab(transfer);
        ASSERT_TRUE(changed.ok) << type;
        EXPECT_EQ(changed.width, 320u);
        EXPECT_EQ(changed.height, 240u);
        EXPECT_EQ(changed.samples.size(), 320u * 240u * (type == kZelColour ? 3 : 1));
        transfer->GetStatistics(&frames, &bytes, &micros);
        EXPECT_EQ(frames, 1u) << type;
        EXPECT_EQ(Logger().Count(), 0u);
    }
}

TEST_F(ZelTransferTest, DecodedPixelsMatchThePredictedPatternInEveryFormat) {
    OvSimSetDeterministic(1, 1234);
    for (uint32_t type : {kZelMono, kZelColour}) {
        IOvDataTransfer* transfer = Open(type);
        SetRegion(8, 4, 200, 120);
        for (int32_t format : FormatValues()) {
            SetFormat(format);
            Grab(transfer);  // renegotiation frame
            for (int i = 0; i < 2; ++i) {
                Grabbed frame = Grab(transfer);
                EXPECT_TRUE(MatchesPrediction(frame)) << "type " << type << " format " << format;
                EXPECT_EQ(frame.layout, type == kZelColour ? Bgr : Mono);
            }
        }
    }
    EXPECT_EQ(Logger().Count(), 0u);
}

TEST_F(ZelTransferTest, AttributesWithoutNamesAreLeftOutAndTheListIsRebuilt) {
    IOvDataTransfer* transfer = Open(kZelMono);
    ASSERT_TRUE(Grab(transfer).ok);  // the probe reads no attributes
    IOvAddOnAttribute* attribute = nullptr;
    EXPECT_FALSE(transfer->FindAttribute(kFrameNumberAttribute, &attribute));

    uint32_t lookups = OvSimCallCount("OvLib3ListGetString");
    Grabbed first = Grab(transfer);
    uint32_t perAcquisition = OvSimCallCount("OvLib3ListGetString") - lookups;
    EXPECT_EQ(perAcquisition, 4u);  // four attributes, one of them nameless
    Grabbed second = Grab(transfer);
    EXPECT_EQ(OvSimCallCount("OvLib3ListGetString") - lookups, 2 * perAcquisition);
    ASSERT_TRUE(first.numbered && second.numbered);
    EXPECT_GT(second.frameNumber, first.frameNumber);

    for (uint32_t id : {0x70000001u, 0x70000002u, 0x70000003u})
        EXPECT_TRUE(transfer->FindAttribute(id, &attribute)) << std::hex << id;
    EXPECT_FALSE(transfer->FindAttribute(0x7000000F, &attribute));
}

TEST_F(ZelTransferTest, StartInputNeedsTheInputControlInterface) {
    IOvDataTransfer* transfer = Open(kZelNoSoftwareStart);
    uint32_t calls = OvSimCallCount("OvLib3CallCInterface_0");
    EXPECT_FALSE(transfer->StartInput());
    EXPECT_EQ(OvSimCallCount("OvLib3CallCInterface_0"), calls);

    transfer = Open(kZelMono);
    calls = OvSimCallCount("OvLib3CallCInterface_0");
    EXPECT_TRUE(transfer->StartInput());
    EXPECT_EQ(OvSimCallCount("OvLib3CallCInterface_0"), calls + 2);
}

TEST_F(ZelTransferTest, SoftwareStartDeliversOneFramePerTrigger) {
    IOvDataTransfer* transfer = Open(kZelMono);
    ASSERT_TRUE(system_->LockAcquisition());
    ASSERT_TRUE(FindOption(system_, kSyncMode)->AsEnum()->SetValue(4));
    system_->UnlockAcquisition();
    OvSimSetFastMode(0);
    ASSERT_TRUE(transfer->StartInput());
    ASSERT_TRUE(Grab(transfer).ok);
    int32_t index = 0;
    EXPECT_FALSE(transfer->Acquire(&index));  // nothing until the next trigger, silently
    EXPECT_EQ(Logger().Count(), 0u);
    ASSERT_TRUE(transfer->Trigger());
    EXPECT_TRUE(Grab(transfer).ok);
}

TEST_F(ZelTransferTest, DecodeOptionsAndUnsupportedSlots) {
    IOvDataTransfer* transfer = Open(kZelMono);
    IOvDecodeOptions* decode = transfer->GetDecodeOptions();
    ASSERT_NE(decode, nullptr);
    EXPECT_TRUE(decode->SetOption0(1));
    EXPECT_TRUE(decode->SetOption5(0));
    EXPECT_FALSE(transfer->Reserved(1, 2, 1, 2));
    EXPECT_FALSE(transfer->SetBackground(0, nullptr));
    EXPECT_FALSE(transfer->EnableBackground(true));
    int32_t state = -5;
    EXPECT_TRUE(transfer->GetState(&state));
    EXPECT_EQ(state, 0);
}

}  // namespace
}  // namespace ovtest
