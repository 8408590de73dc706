// The camera's input data interface: frame readiness, block, programmed I/O
// and DMA transfers, and the add-on attributes of the current block's frame.
#pragma once
#include <cstdint>
#include <vector>

#include "frame_timing.h"
#include "header.h"
#include "ovlib3.h"
#include "vext_memory.h"

namespace ovsim {

class System;

enum class TransferMethod { Block, Pio, Dma };

struct BlockAttributes {
    uint64_t frameNumber = 0;
    uint64_t timeUs = 0;  // exposure end, since initialisation
    int32_t temperature = 0;
    uint32_t checksum = 0;  // sum of the block's bytes
};

struct Input {
    explicit Input(OVHANDLE owner) : system(owner) {}
    OVHANDLE system;
    FrameTiming timing;
    uint64_t appliedGeneration = ~0ull;  // system configuration the timing was set up for
    bool blockOpen = false;
    // The frame taken from the sensor for the next transfer: BeginBlock takes
    // a ready frame (so attributes read inside the block describe it), else
    // the transfer itself does. Rendered here and copied out by the transfer.
    bool latched = false;
    std::vector<uint16_t> samples;  // the latest frame as rendered (VEXT: 10-bit)
    std::vector<uint8_t> frame;
    OVHANDLE dmaContext = 0;
    bool dmaActive = false;
    bool dmaCompleted = false;
    uint32_t dmaQueries = 0;
    BlockAttributes last;
    // VEXT: the frame read out last, rendered and packed into its four parts.
    std::optional<VextFrame> packedFrame;
    std::vector<uint8_t> packedParts;
    uint32_t packedSums[4] = {};  // byte sum of each part
};

OVHANDLE createInput(OVHANDLE system);
void destroyInput(OVHANDLE input);
OVHANDLE systemOfInput(OVHANDLE input);  // 0 if handle is not an input
uint32_t liveInputs();

// Input operations; all throw SimError. Those taking a Lock may sleep without it.
DataHeader inputType(OVHANDLE input);
uint64_t readyAmount(OVHANDLE input);
OVRESULT waitReady(OVHANDLE input, uint32_t milliseconds, Lock& lock);
void beginBlock(OVHANDLE input);
void endBlock(OVHANDLE input);
uint64_t transferFrame(OVHANDLE input, void* buffer, uint64_t size, TransferMethod method, Lock& lock);
void startDma(OVHANDLE input, OVHANDLE context);
bool queryDmaEnd(OVHANDLE input);
void cancelDma(OVHANDLE input);
const BlockAttributes& lastAttributes(OVHANDLE input);

// Commands from the control interfaces.
void softwareTrigger(System& system);
void restartInput(System& system);
// After a timing mode change of the simulator: every input's clock restarts.
void restartAllInputs();

}  // namespace ovsim
