// The simulated cameras driven through the library's exports directly: the
// VEXT recording memory, its readout commands and the test controls.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "ovlib3.h"
#include "ovlib3_sim.h"

namespace {

// Frames per second a fast-mode camera delivers through DMA (printed, not asserted).
TEST(SimulatorSpeed, PrintsZelFramesPerSecond) {
    OvSimReset();
    OvSimSetFastMode(1);
    ASSERT_EQ(OvLib3Init(0), 0);
    OVHANDLE system = 0, input = 0, context = 0;
    void* buffer = nullptr;
    ASSERT_EQ(OvLib3SystemCreate(1, &system, 0), 0);
    ASSERT_EQ(OvLib3SystemInit(system, 0), 0);
    ASSERT_EQ(OvLib3SystemGetInDInterface(system, 0xC0000000, 0, &input, 0), 0);
    ASSERT_EQ(OvLib3DmaCreateContext(&context, &buffer, 1280 * 1024 * 2, 0), 0);
    const auto start = std::chrono::steady_clock::now();
    int frames = 0;
    for (; std::chrono::steady_clock::now() - start < std::chrono::seconds(1); ++frames) {
        ASSERT_EQ(OvLib3InDInterfaceStartDma(input, context, 0), 0);
        int32_t done = 0;
        while (!done) ASSERT_EQ(OvLib3InDInterfaceQueryDmaEnd(input, &done, 0), 0);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("ZEL 1280x1024 mono, fast mode: %.1f frames/s\n", frames / seconds);
    OvLib3DmaFreeContext(context, 0);
    OvLib3SystemDestroy(system, 0);
    OvLib3Exit(0);
    OvSimReset();
}

}  // namespace
