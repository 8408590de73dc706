// The simulated ZEL camera alone: frames per second it hands out by DMA at
// 1280 x 1024 mono in its fast mode (no decoding, nothing drawn).
#include <cstdio>

#include "Bench.h"
#include "ovlib3.h"
#include "ovlib3_sim.h"

void BenchSimulatedCamera() {
    OvSimSetFastMode(1);
    OVHANDLE system = 0, input = 0, context = 0;
    void* buffer = nullptr;
    if (OvLib3SystemCreate(1, &system, 0) > 0 || OvLib3SystemInit(system, 0) > 0 ||
        OvLib3SystemGetInDInterface(system, 0xC0000000, 0, &input, 0) > 0 ||
        OvLib3DmaCreateContext(&context, &buffer, 1280 * 1024 * 2, 0) > 0) {
        std::printf("no simulated camera: no simulator row\n");
    } else {
        const double seconds = bench::BestSeconds([&] {
            int32_t done = 0;
            if (OvLib3InDInterfaceStartDma(input, context, 0) > 0) return;
            while (!done && OvLib3InDInterfaceQueryDmaEnd(input, &done, 0) <= 0) {
            }
        });
        std::printf("%-38s %10.1f frames/s (1280 x 1024 mono 12-bit, DMA, fast mode)\n", "simulated ZEL camera",
                    1.0 / seconds);
    }
    if (context) OvLib3DmaFreeContext(context, 0);
    if (system) OvLib3SystemDestroy(system, 0);
    OvSimSetFastMode(0);
}
