// VEXT control commands: arming and stopping the input, the transfer status,
// and the readout of frame parts (see vext_memory.h).
#pragma once
#include <cstdint>

namespace ovsim {

class System;
struct Interface;

// Runs a VEXT command of CallCInterface_0; false when the command is not one.
bool runVextCommand(System& system, const Interface& iface, uint32_t command);
// Runs a VEXT command of CallCInterface_1 (status record, part selection); false when it is not one.
bool runVextParamCommand(System& system, const Interface& iface, uint32_t command, uint32_t paramType, void* param);

}  // namespace ovsim
