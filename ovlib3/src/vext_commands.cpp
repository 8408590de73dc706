#include "vext_commands.h"

#include <cstring>

#include "ids.h"
#include "system.h"

namespace ovsim {

bool runVextCommand(System& system, const Interface& iface, uint32_t command) {
    if (system.model.family != Family::Vext) return false;
    if (iface.key.id == kIfaceControl) return command == kCmdVextSelectFrame || command == kCmdSoftwareTrigger;
    if (iface.key.id != kIfaceInputControl) return false;
    switch (command) {
        case kCmdVextArmInput:
        case kCmdInputRestart: system.vextInputRunning = true; return true;
        case kCmdVextStopInput: system.vextInputRunning = false; return true;
        default: return false;
    }
}

bool readVextStatus(const System& system, const Interface& iface, uint32_t command, uint32_t paramType, void* param) {
    if (system.model.family != Family::Vext || iface.key.id != kIfaceInputControl || command != kCmdVextStatus)
        return false;
    if (paramType != kParamStatusRecord || !param) OV_FAIL(kErrBadParameter, 0, "ожидается запись состояния (тип 272)");
    uint32_t record[16] = {system.vextInputRunning ? kVextStatusRunning : kVextStatusIdle};
    std::memcpy(param, record, sizeof record);
    return true;
}

}  // namespace ovsim
