// The simulated camera types: fixed properties of each model, and the
// options each family offers before and after initialisation.
#pragma once
#include <cstdint>

#include "option.h"

namespace ovsim {

class System;

enum class Family { Zel, Vext };

struct CameraModel {
    uint32_t type;
    Family family;
    bool colour;
    const char* modelFile;  // shown as the "object file" of errors
    int32_t sensorWidth, sensorHeight;
    int32_t lineTimeUs;            // readout time per sensor row
    int32_t readoutExtraUs;        // fixed readout overhead per frame
    bool softwareStart;            // sync mode 4 and the software trigger
    bool inputControl;             // has control interface 0xC0300002
    bool dma;                      // the input supports DMA transfers
    const char* serialNumbers[2];  // 0xC0000002 index 0 (camera) and 1 (board)
};

const CameraModel* findCameraModel(uint32_t type);

// Does the model have this control interface (0xC0xxxxxx) at this index?
bool hasControlInterface(const CameraModel& model, uint32_t id, uint32_t index);

void addPreInitOptions(System& system);
void addPostInitOptions(System& system);

}  // namespace ovsim
