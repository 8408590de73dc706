// VEXT control commands. The recording memory is not modelled yet: the
// commands only track whether the input runs, so the viewer's mode changes
// and stop/status polling work.
#pragma once
#include <cstdint>

namespace ovsim {

class System;
struct Interface;

// Runs a VEXT command of CallCInterface_0; false when the command is not one.
bool runVextCommand(System& system, const Interface& iface, uint32_t command);
// CallCInterface_1(input control, 0xA0000066, 272, record): fills the status record.
bool readVextStatus(const System& system, const Interface& iface, uint32_t command, uint32_t paramType, void* param);

}  // namespace ovsim
