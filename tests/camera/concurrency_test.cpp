// Acquisition on one thread while another changes the camera's options
// through LockAcquisition/UnlockAcquisition, as the worker and the options
// pane do. Every frame must be whole and decode to the predicted image of the
// configuration it was taken in.
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "support/AcquireHelpers.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

constexpr uint32_t kExposure = 0x400002;
constexpr uint32_t kRegion = 0x400006;
constexpr uint32_t kDataFormat = 0x400008;

class ConcurrencyTest : public CameraTest, public ::testing::WithParamInterface<uint32_t> {};

// One frame, compared with the prediction while the configuration is held
// still: the acquisition lock is recursive, so this thread keeps it across
// GetFrame and no option can change before the prediction is rendered.
::testing::AssertionResult GrabAndCheck(IOvSystem* system, IOvDataTransfer* transfer, bool probe, bool* got) {
    int32_t index = 0;
    *got = false;
    if (!transfer->Acquire(&index)) return ::testing::AssertionSuccess();
    system->LockAcquisition();
    Grabbed grabbed;
    IOvAddOnAttribute* number = nullptr;
    if (transfer->FindAttribute(kFrameNumberAttribute, &number))
        grabbed.numbered = number->GetValue(&grabbed.frameNumber);
    IOvFrame* frame = nullptr;
    if (transfer->GetFrame(&frame, &grabbed.layout)) {
        IOvFrameMemBuffer* buffer = nullptr;
        frame->GetCurrent(&buffer);
        buffer->GetFormat(&grabbed.width, &grabbed.height, &grabbed.bytesPerPixel);
        uint8_t* data = nullptr;
        buffer->GetData(&data);
        grabbed.samples.assign(reinterpret_cast<const uint16_t*>(data),
                               reinterpret_cast<const uint16_t*>(data) +
                                   size_t(grabbed.width) * grabbed.height * grabbed.bytesPerPixel / 2);
        grabbed.ok = true;
    }
    // The probe of the first acquisition reads no attributes, so it has no number.
    ::testing::AssertionResult result =
        grabbed.ok && !grabbed.numbered && probe ? ::testing::AssertionSuccess() : MatchesPrediction(grabbed);
    system->UnlockAcquisition();
    *got = true;
    return result;
}

TEST_P(ConcurrencyTest, OptionChangesDuringAcquisitionNeverTearAFrame) {
    OvSimSetDeterministic(1, 77);
    IOvSystem* system = CreateAndInit(GetParam());
    IOvDataTransfer* transfer = nullptr;
    ASSERT_TRUE(system->GetDataTransfer(0, &transfer));
    IOvScalarOption* exposure = FindOption(system, kExposure)->AsScalar();
    IOvRectOption* region = FindOption(system, kRegion)->AsRect();
    IOvEnumOption* format = FindOption(system, kDataFormat)->AsEnum();
    ASSERT_TRUE(exposure && region && format);
    int32_t low = 0, high = 0;
    ASSERT_TRUE(exposure->GetRange(0, &low, &high));

    constexpr int kRounds = 3000;
    std::atomic<bool> done{false};
    std::atomic<int> frames{0}, changes{0};
    int mismatches = 0;
    std::thread acquisition([&] {
        while (!done.load()) {
            bool got = false;
            ::testing::AssertionResult checked = GrabAndCheck(system, transfer, frames == 0, &got);
            if (!got) continue;
            ++frames;
            // Two frames per change at most: neither side may starve the other
            // (a critical section is not fair), yet they overlap on the lock.
            if (frames.load() % 2 == 0) {
                const int seen = changes.load();
                for (int spins = 0; changes.load() == seen && !done.load() && spins < 1000000; ++spins)
                    std::this_thread::yield();
            }
            if (!checked && ++mismatches <= 3) ADD_FAILURE() << checked.message();
        }
    });

    const int32_t widths[] = {320, 256, 200, 64};
    std::vector<int32_t> formats;
    IOvEnum* values = nullptr;
    format->GetValues(&values);
    uint32_t id = 0;
    for (bool more = values->First(&id, nullptr, nullptr); more; more = values->Next(&id, nullptr, nullptr))
        formats.push_back(static_cast<int32_t>(id));
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(system->LockAcquisition());
        switch (round % 3) {
            case 0:
                exposure->SetValue(0, low + (high - low) / 8 * (round % 7) / 6);
                break;
            case 1:
                region->SetRect(round % 17 * 8, round % 13 * 2, widths[round % 4], 48 + round % 5 * 16);
                break;
            default:
                format->SetValue(formats[round % formats.size()]);
                break;
        }
        system->UnlockAcquisition();
        ++changes;
        const int target = frames.load() + 1;
        for (int spins = 0; frames.load() < target && spins < 1000000; ++spins) std::this_thread::yield();
    }
    done = true;
    acquisition.join();

    EXPECT_GT(frames.load(), kRounds);
    std::printf("%d frames during %d option changes\n", frames.load(), kRounds);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Logger().Count(), 0u);
    if (Logger().Count() > 0) ADD_FAILURE() << Logger().Lines()[0];
}

// The monochrome camera transfers by DMA, the colour one by block transfer.
INSTANTIATE_TEST_SUITE_P(Cameras, ConcurrencyTest, ::testing::Values(kZelMono, kZelColour));

}  // namespace
}  // namespace ovtest
