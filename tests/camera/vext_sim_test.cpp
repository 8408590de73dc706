// The simulated cameras driven through the library's exports directly: the
// VEXT recording memory, its readout commands and the test controls.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "ovlib3.h"
#include "ovlib3_sim.h"

namespace {

constexpr uint32_t kVext = 3;
constexpr uint32_t kControl = 0xC0300003, kInputControl = 0xC0300002, kInput = 0xC0000000;
constexpr uint32_t kArm = 0xA0000064, kRestart = 0xA0000065, kStatus = 0xA0000066, kStop = 0xA0000068;
constexpr uint32_t kSelectPart = 0xB0000001, kFrameRead = 0xB0000004, kPrepareReadout = 0xB0000005;
constexpr uint32_t kFrameRate = 0x400003, kSync = 0x400004, kRegion = 0x400006, kFramePosition = 0x400007;
constexpr uint32_t kPartitions = 0x400009, kFrameIndex = 0x400020, kTotalFrames = 0x900003, kSensor = 0x100004;
constexpr uint32_t kIdle = 3, kBusy = 7;
constexpr uint64_t kFullPartBytes = 1639 * 200;  // ceil(1024 * 1024 / 10 / 64) blocks
constexpr int32_t kFullCapacity = int32_t((4ull << 30) / (4 * kFullPartBytes));

template <class Condition>
bool Eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class VextSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        OvSimReset();
        ASSERT_EQ(OvLib3Init(0), 0);
        ASSERT_EQ(OvLib3SystemCreate(kVext, &system_, 0), 0);
    }
    void TearDown() override {
        if (context_) OvLib3DmaFreeContext(context_, 0);
        OvLib3SystemDestroy(system_, 0);
        OvLib3Exit(0);
        OvSimReset();
    }

    void Init() {
        ASSERT_EQ(OvLib3SystemInit(system_, 0), 0);
        ASSERT_EQ(OvLib3SystemGetCInterface(system_, kControl, 0, &control_, 0), 0);
        ASSERT_EQ(OvLib3SystemGetCInterface(system_, kInputControl, 0, &inputControl_, 0), 0);
        ASSERT_EQ(OvLib3SystemGetInDInterface(system_, kInput, 0, &input_, 0), 0);
        void* buffer = nullptr;
        ASSERT_EQ(OvLib3DmaCreateContext(&context_, &buffer, kFullPartBytes, 0), 0);
        buffer_ = static_cast<uint8_t*>(buffer);
    }
    OVHANDLE Option(uint32_t id) {
        OVHANDLE option = 0;
        EXPECT_EQ(OvLib3SystemGetCInterface(system_, id, 0, &option, 0), 0) << std::hex << id;
        return option;
    }
    int32_t Scalar(uint32_t id, uint32_t unit = 0) {
        int32_t value = -1;
        EXPECT_EQ(OvLib3OptionGetScalar(Option(id), &value, unit, 0), 0);
        return value;
    }
    OVRESULT SetScalar(uint32_t id, int32_t value, uint32_t unit = 0) {
        return OvLib3OptionSetScalar(Option(id), value, unit, 0);
    }
    std::pair<int32_t, int32_t> IndexRange() {
        std::pair<int32_t, int32_t> range{-1, -1};
        EXPECT_EQ(OvLib3OptionGetScalarRange(Option(kFrameIndex), &range.first, &range.second, 0, 0), 0);
        return range;
    }
    std::pair<int32_t, int32_t> TotalFrames() {
        std::pair<int32_t, int32_t> total{-1, -1};
        EXPECT_EQ(OvLib3GetInfoScalarVal(Option(kTotalFrames), &total.first, &total.second, 0), 0);
        return total;
    }
    uint32_t Status(OVHANDLE iface) {
        uint32_t record[16] = {};
        EXPECT_EQ(OvLib3CallCInterface_1(iface, kStatus, 272, record, 0), 0);
        return record[0];
    }
    uint32_t Status() {
        const uint32_t status = Status(inputControl_);
        EXPECT_EQ(Status(control_), status);
        return status;
    }
    void Arm(int32_t partitions) {
        ASSERT_EQ(SetScalar(kPartitions, partitions), 0);
        ASSERT_EQ(OvLib3CallCInterface_0(inputControl_, kArm, 0), 0);
    }
    OVRESULT SelectPart(uint32_t part, uint32_t paramType = 16) {
        return OvLib3CallCInterface_1(control_, kSelectPart, paramType, &part, 0);
    }
    uint64_t Ready() {
        uint64_t amount = 0;
        EXPECT_EQ(OvLib3InDInterfaceQueryReady(input_, &amount, 0), 0);
        return amount;
    }
    bool DmaDone() {
        int32_t done = 0;
        EXPECT_EQ(OvLib3InDInterfaceQueryDmaEnd(input_, &done, 0), 0);
        return done != 0;
    }
    uint32_t Attribute(uint32_t index) {
        uint32_t id = 0, second = 0, value = 0;
        EXPECT_EQ(OvLib3InDInterfaceGetAddOnAtributeNum(input_, index, &id, &second, &value, 0), 0);
        return value;
    }
    // The four parts of the frame at index, read as the viewer reads them; empty if one is not ready.
    std::vector<uint8_t> ReadFrame(int32_t index) {
        EXPECT_EQ(SetScalar(kFrameIndex, index), 0);
        EXPECT_EQ(OvLib3CallCInterface_0(control_, kPrepareReadout, 0), 0);
        std::vector<uint8_t> frame;
        for (uint32_t part = 0; part < 4; ++part) {
            EXPECT_EQ(SelectPart(part), 0);
            const uint64_t bytes = Ready();
            if (bytes == 0) return {};
            EXPECT_EQ(OvLib3InDInterfaceBeginBlock(input_, 0), 0);
            EXPECT_EQ(OvLib3InDInterfaceStartDma(input_, context_, 0), 0);
            int queries = 1;
            while (!DmaDone() && queries < 100) ++queries;
            EXPECT_EQ(OvLib3InDInterfaceEndBlock(input_, 0), 0);
            frame.insert(frame.end(), buffer_, buffer_ + bytes);
        }
        return frame;
    }

    OVHANDLE system_ = 0, control_ = 0, inputControl_ = 0, input_ = 0, context_ = 0;
    uint8_t* buffer_ = nullptr;
};

TEST_F(VextSimTest, OptionsDescribeTheMemory) {
    Init();
    EXPECT_EQ(Scalar(kFramePosition), 205);
    int32_t minimum = 0, maximum = 0;
    ASSERT_EQ(OvLib3OptionGetScalarRange(Option(kFramePosition), &minimum, &maximum, 0, 0), 0);
    EXPECT_EQ(std::make_pair(minimum, maximum), std::make_pair(1, kFullCapacity));
    EXPECT_EQ(SetScalar(kFramePosition, 0, 6), 0);  // 0 % is the shortest film
    EXPECT_EQ(Scalar(kFramePosition), 1);
    EXPECT_EQ(SetScalar(kFramePosition, 4, 6), 0);
    EXPECT_EQ(Scalar(kFramePosition), kFullCapacity * 4 / 100);
    EXPECT_EQ(TotalFrames(), std::make_pair(kFullCapacity, 0));
    ASSERT_EQ(SetScalar(kPartitions, 2), 0);
    EXPECT_EQ(TotalFrames(), std::make_pair(kFullCapacity / 2, 0));
    // Nothing recorded: index 0 only; a value outside is moved into the range.
    EXPECT_EQ(IndexRange(), std::make_pair(0, 0));
    EXPECT_EQ(SetScalar(kFrameIndex, 1), 0);
    EXPECT_EQ(Scalar(kFrameIndex), 0);
}

TEST_F(VextSimTest, TheSensorOptionChoosesTheInputType) {
    const struct {
        int32_t sensor;
        uint32_t format;
    } cases[] = {{43, 0x010A}, {44, 0x10002}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sensor);
        ASSERT_EQ(OvLib3SystemDestroy(system_, 0), 0);
        ASSERT_EQ(OvLib3SystemCreate(kVext, &system_, 0), 0);
        OVHANDLE sensor = 0;
        ASSERT_EQ(OvLib3SystemGetOptionCInterface(system_, kSensor, 0, &sensor, 0), 0);
        ASSERT_EQ(OvLib3OptionSetEnumVal(sensor, c.sensor, 0), 0);
        ASSERT_EQ(OvLib3SystemInit(system_, 0), 0);
        ASSERT_EQ(OvLib3SystemGetInDInterface(system_, kInput, 0, &input_, 0), 0);
        OVHANDLE header = 0;
        ASSERT_EQ(OvLib3DataheaderCreate(&header, 0), 0);
        ASSERT_EQ(OvLib3InDInterfaceGetType(input_, header, 0), 0);
        uint32_t dataType = 0, width = 0, height = 0, format = 0;
        uint64_t blockSize = 0;
        OvLib3DataheaderGetType(header, &dataType, nullptr, &blockSize, 0);
        OvLib3DataheaderGetU32(header, 4, &width, 0);
        OvLib3DataheaderGetU32(header, 5, &height, 0);
        OvLib3DataheaderGetU32(header, 9, &format, 0);
        EXPECT_EQ(dataType, 3u);
        EXPECT_EQ(width, 1024u);
        EXPECT_EQ(height, 1024u);
        EXPECT_EQ(format, c.format);
        EXPECT_EQ(blockSize, kFullPartBytes);
        EXPECT_EQ(OvLib3OptionSetEnumVal(sensor, 87 - c.sensor, 0), 24);  // fixed once initialised
        OvLib3DataheaderFree(header, 0);
    }
}

TEST_F(VextSimTest, CommandsNeedInitAndCheckTheirParameters) {
    OVHANDLE control = 0;
    ASSERT_EQ(OvLib3SystemGetCInterface(system_, kControl, 0, &control, 0), 0);
    EXPECT_EQ(OvLib3CallCInterface_0(control, kPrepareReadout, 0), 4);
    Init();
    EXPECT_EQ(SelectPart(4), 3);
    EXPECT_EQ(SelectPart(0, 17), 3);
    EXPECT_EQ(OvLib3CallCInterface_1(control_, kStatus, 16, nullptr, 0), 3);
    EXPECT_EQ(OvLib3CallCInterface_0(control_, 0xB0000099, 0), 19);
    EXPECT_EQ(OvLib3CallCInterface_0(control_, kFrameRead, 0), 0);
    EXPECT_EQ(OvLib3CallCInterface_0(control_, 0xB0000003, 0), 0);
    // Restarting input control 1 (the viewer does it once) arms nothing.
    OVHANDLE second = 0;
    ASSERT_EQ(OvLib3SystemGetCInterface(system_, kInputControl, 1, &second, 0), 0);
    EXPECT_EQ(OvLib3CallCInterface_0(second, kRestart, 0), 0);
    EXPECT_EQ(Status(), kIdle);
    EXPECT_EQ(IndexRange(), std::make_pair(0, 0));
    // Only DMA transfers, part by part.
    uint64_t count = 0;
    EXPECT_EQ(OvLib3InDInterfaceTransfer(input_, buffer_, kFullPartBytes, &count, 0), 15);
    EXPECT_EQ(OvLib3InDInterfacePIOTransfer(input_, buffer_, kFullPartBytes, &count, 0), 15);
    EXPECT_EQ(OvLib3InDInterfaceEndBlock(input_, 0), 23);
}

TEST_F(VextSimTest, DmaNeedsAWholePartAndOneTransferAtATime) {
    Init();
    OVHANDLE small = 0;
    void* buffer = nullptr;
    ASSERT_EQ(OvLib3DmaCreateContext(&small, &buffer, kFullPartBytes - 1, 0), 0);
    EXPECT_EQ(OvLib3InDInterfaceStartDma(input_, small, 0), 12);
    OvLib3DmaFreeContext(small, 0);
    ASSERT_EQ(OvSimSetRecordedFrames(system_, 2), 0);
    EXPECT_EQ(OvLib3InDInterfaceStartDma(input_, context_, 0), 0);
    EXPECT_EQ(OvLib3InDInterfaceStartDma(input_, context_, 0), 17);
    EXPECT_FALSE(DmaDone());
    EXPECT_FALSE(DmaDone());  // nothing selected: the transfer waits
    ASSERT_EQ(SelectPart(2), 0);
    EXPECT_TRUE(DmaDone());
    EXPECT_EQ(Ready(), 0u);  // the part left the queue
}

TEST_F(VextSimTest, AFastRecordingHoldsTheWholeFilmAtOnce) {
    OvSimSetFastMode(1);
    Init();
    ASSERT_EQ(SetScalar(kFramePosition, 12), 0);
    Arm(1);
    EXPECT_EQ(Status(), kIdle);
    EXPECT_EQ(IndexRange(), std::make_pair(0, 11));
    EXPECT_EQ(TotalFrames().second, 12);
    // Each frame keeps its look: the same index reads the same, another index differs.
    const std::vector<uint8_t> first = ReadFrame(3);
    ASSERT_EQ(first.size(), 4 * kFullPartBytes);
    const uint32_t number = Attribute(0);
    EXPECT_EQ(ReadFrame(4).size(), first.size());
    EXPECT_EQ(Attribute(0), number + 1);
    EXPECT_NE(ReadFrame(4), first);
    EXPECT_EQ(ReadFrame(3), first);
    EXPECT_EQ(SetScalar(kFrameIndex, 12), 0);
    EXPECT_EQ(Scalar(kFrameIndex), IndexRange().second);
    // Arming again, here live, empties the memory.
    Arm(2);
    ASSERT_EQ(OvLib3CallCInterface_0(inputControl_, kStop, 0), 0);
    EXPECT_EQ(IndexRange(), std::make_pair(0, 0));
    EXPECT_EQ(TotalFrames().second, 0);
    EXPECT_TRUE(ReadFrame(0).empty());
}

TEST_F(VextSimTest, ARecordingGrowsWhileBusyAndEndsAfterItsFramesOrAtStop) {
    Init();
    ASSERT_EQ(SetScalar(kFrameRate, 200), 0);
    for (const bool stopEarly : {false, true}) {
        SCOPED_TRACE(stopEarly ? "stopped" : "to the end");
        ASSERT_EQ(SetScalar(kFramePosition, stopEarly ? kFullCapacity : 6), 0);  // 6 frames, or 16 s
        Arm(1);
        if (stopEarly) {
            EXPECT_EQ(Status(), kBusy);  // frame 0 is recorded at the arm
        }
        ASSERT_TRUE(Eventually([&] { return IndexRange().second >= 2; }));
        EXPECT_FALSE(ReadFrame(1).empty());
        if (stopEarly) {
            ASSERT_EQ(OvLib3CallCInterface_0(inputControl_, kStop, 0), 0);
        }
        ASSERT_TRUE(Eventually([&] { return Status() == kIdle; }));
        const auto range = IndexRange();
        if (!stopEarly) {
            EXPECT_EQ(range, std::make_pair(0, 5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_EQ(IndexRange(), range);  // what was recorded stays, and nothing more
        EXPECT_EQ(TotalFrames().second, range.second + 1);
    }
}

TEST_F(VextSimTest, ExternalSyncRecordsNothingBeforeItsTrigger) {
    OvSimSetFastMode(1);
    OvSimSetExternalTriggerRate(1);  // one trigger in 1000 s
    Init();
    for (int32_t sync : {5, 33}) {
        ASSERT_EQ(OvLib3OptionSetEnumVal(Option(kSync), sync, 0), 0);
        Arm(1);
        EXPECT_EQ(Status(), kIdle);
        EXPECT_EQ(TotalFrames().second, 0);
        EXPECT_TRUE(ReadFrame(0).empty());
    }
    OvSimSetExternalTriggerRate(1000000);  // every millisecond
    Arm(1);
    ASSERT_TRUE(Eventually([&] { return TotalFrames().second == 205; }));
    EXPECT_EQ(Status(), kIdle);
}

TEST_F(VextSimTest, LiveRingIsReadableOnceFullWithTheNewestFrameLast) {
    Init();
    ASSERT_EQ(SetScalar(kFrameRate, 50), 0);
    Arm(2);
    EXPECT_EQ(Status(), kBusy);  // 205 frames take 4 s
    EXPECT_EQ(IndexRange(), std::make_pair(0, 204));
    EXPECT_TRUE(ReadFrame(200).empty());
    ASSERT_EQ(OvLib3CallCInterface_0(inputControl_, kStop, 0), 0);
    EXPECT_EQ(Status(), kIdle);
    // Wait sleeps until a queued part's frame is in the ring.
    ASSERT_EQ(SetScalar(kFrameRate, 1000), 0);
    ASSERT_EQ(SetScalar(kFramePosition, 3), 0);
    Arm(2);
    ASSERT_EQ(SetScalar(kFrameIndex, 2), 0);
    ASSERT_EQ(OvLib3CallCInterface_0(control_, kPrepareReadout, 0), 0);
    ASSERT_EQ(SelectPart(0), 0);
    EXPECT_EQ(OvLib3InDInterfaceWait(input_, 5000, 0), 0);
    EXPECT_EQ(Ready(), kFullPartBytes);
    ASSERT_EQ(SetScalar(kFramePosition, 205), 0);

    OvSimSetFastMode(1);
    Arm(2);
    EXPECT_EQ(Status(), kIdle);
    const int32_t n = Scalar(kFramePosition);
    ASSERT_FALSE(ReadFrame(n - 5).empty());
    const uint32_t fifthNewest = Attribute(0);
    ASSERT_FALSE(ReadFrame(n - 1).empty());
    EXPECT_GE(Attribute(0), fifthNewest + 4);
    EXPECT_EQ(SetScalar(kFrameIndex, n), 0);
    EXPECT_EQ(Scalar(kFrameIndex), n - 1);
    // The ring follows the frame position; in fast mode it stays full.
    ASSERT_EQ(SetScalar(kFramePosition, 1000), 0);
    EXPECT_EQ(IndexRange(), std::make_pair(0, 999));
    EXPECT_EQ(Status(), kIdle);
    EXPECT_FALSE(ReadFrame(995).empty());
    ASSERT_EQ(SetScalar(kFramePosition, kFullCapacity), 0);  // capped at one of the two partitions
    EXPECT_EQ(IndexRange(), std::make_pair(0, kFullCapacity / 2 - 1));
}

TEST_F(VextSimTest, TestControlsProvokeTheFailuresTheViewerHandles) {
    OvSimSetFastMode(1);
    Init();
    ASSERT_EQ(OvSimSetRecordedFrames(system_, 3), 0);
    OvSimSetVextNoData(1);
    EXPECT_TRUE(ReadFrame(0).empty());
    EXPECT_EQ(OvLib3InDInterfaceWait(input_, 100, 0), -1);
    OvSimSetVextNoData(0);
    EXPECT_FALSE(ReadFrame(0).empty());

    OvSimSetVextStatus(1);
    EXPECT_EQ(Status(), 1u);
    OvSimSetVextStatus(0);

    ASSERT_EQ(SetScalar(kFrameRate, 50), 0);
    ASSERT_EQ(SetScalar(kFramePosition, kFullCapacity), 0);
    OvSimSetFastMode(0);
    Arm(1);
    OvSimSetVextStuckInput(1);
    ASSERT_EQ(OvLib3CallCInterface_0(inputControl_, kStop, 0), 0);
    EXPECT_EQ(Status(), kBusy);
    OvSimSetVextStuckInput(0);
    ASSERT_EQ(OvLib3CallCInterface_0(inputControl_, kStop, 0), 0);
    EXPECT_EQ(Status(), kIdle);

    OvSimSetDmaHang(1);
    ASSERT_EQ(SetScalar(kFrameIndex, 0), 0);
    ASSERT_EQ(SelectPart(0), 0);
    ASSERT_EQ(OvLib3InDInterfaceStartDma(input_, context_, 0), 0);
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(DmaDone());
    EXPECT_EQ(OvLib3InDInterfaceCancelDma(input_, 0), 0);
}

TEST_F(VextSimTest, ThePredictionFollowsTheFilmAndNeedsDeterministicMode) {
    OvSimSetFastMode(1);
    Init();
    ASSERT_EQ(SetScalar(kFramePosition, 3), 0);
    Arm(1);
    std::vector<uint16_t> image(1024 * 1024), again(image.size());
    EXPECT_EQ(OvSimExpectedVextFrame(system_, 0, image.data(), image.size()), 25);
    OvSimSetDeterministic(1, 77);
    Arm(1);
    EXPECT_EQ(OvSimExpectedVextFrame(system_, 0, image.data(), image.size() - 1), 12);
    EXPECT_EQ(OvSimExpectedVextFrame(system_, 3, image.data(), image.size()), 8);
    ASSERT_EQ(OvSimExpectedVextFrame(system_, 2, image.data(), image.size()), 0);
    for (uint16_t sample : {image[0], image[image.size() / 2], image.back()}) EXPECT_EQ(sample & 0x3F, 0);
    ASSERT_EQ(OvSimExpectedVextFrame(system_, 0, again.data(), again.size()), 0);
    EXPECT_NE(again, image);
    ASSERT_EQ(OvSimExpectedVextFrame(system_, 2, again.data(), again.size()), 0);
    EXPECT_EQ(again, image);
}

}  // namespace
