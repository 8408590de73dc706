// The VEXT input's data path: a selected part of a frame in memory is ready
// once that frame exists, and one DMA transfer delivers it packed.
#pragma once
#include <cstdint>

#include "input.h"

namespace ovsim {

// Bytes of the queued part when it can be read now, else 0.
uint64_t vextReadyAmount(Input& input, System& system);
// Block start: the attributes now describe the queued part's frame.
void vextBeginBlock(Input& input, System& system);
// A running DMA completes with the queued part; false while it cannot yet.
bool vextCompleteDma(Input& input, System& system, uint8_t* buffer, uint64_t size);

}  // namespace ovsim
