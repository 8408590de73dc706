// DMA contexts: buffers the caller allocates through the library for DMA transfers.
#pragma once
#include <cstdint>
#include <memory>

#include "ovlib3.h"

namespace ovsim {

struct DmaContext {
    std::unique_ptr<uint8_t[]> buffer;
    uint64_t size = 0;
    bool used = false;  // took part in a transfer at least once
};

DmaContext* findDmaContext(OVHANDLE handle);
uint32_t liveDmaContexts();

}  // namespace ovsim
