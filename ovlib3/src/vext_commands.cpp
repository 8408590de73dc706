#include "vext_commands.h"

#include <cstring>

#include "ids.h"
#include "system.h"
#include "vext_memory.h"

namespace ovsim {
namespace {

bool isInputControl(const Interface& iface, uint32_t index) {
    return iface.key.id == kIfaceInputControl && iface.key.index == index;
}

void readStatus(System& system, uint32_t paramType, void* param) {
    if (paramType != kParamStatusRecord || !param) OV_FAIL(kErrBadParameter, 0, "ожидается запись состояния (тип 272)");
    uint32_t record[16] = {vextStatus(system)};
    std::memcpy(param, record, sizeof record);
}

void selectPart(System& system, uint32_t paramType, const void* param) {
    if (paramType != kParamPartNumber || !param) OV_FAIL(kErrBadParameter, 0, "ожидается номер части (тип 16)");
    uint32_t part = 0;
    std::memcpy(&part, param, sizeof part);
    if (part > 3) OV_FAIL(kErrBadParameter, 0, "часть кадра " + std::to_string(part) + ", допустимы 0..3");
    vextSelectPart(system, part);
}

}  // namespace

bool runVextCommand(System& system, const Interface& iface, uint32_t command) {
    if (system.model.family != Family::Vext) return false;
    if (iface.key.id == kIfaceControl) {
        switch (command) {
            case kCmdVextPrepareReadout:
                vextPrepareReadout(system);
                return true;
            case kCmdVextFrameRead:  // the camera needs no acknowledgement of a live readout
            case kCmdSoftwareTrigger:
                return true;  // recording with software start begins at the arm
            default:
                return false;
        }
    }
    // Restarting an input control (the viewer does it once, on index 1) arms nothing.
    if (iface.key.id == kIfaceInputControl && command == kCmdInputRestart) return true;
    if (!isInputControl(iface, 0)) return false;
    switch (command) {
        case kCmdVextArmInput:
            vextArm(system);
            return true;
        case kCmdVextStopInput:
            vextStop(system);
            return true;
        default:
            return false;
    }
}

bool runVextParamCommand(System& system, const Interface& iface, uint32_t command, uint32_t paramType, void* param) {
    if (system.model.family != Family::Vext) return false;
    const bool control = iface.key.id == kIfaceControl;
    if (command == kCmdVextStatus && (control || isInputControl(iface, 0))) {
        readStatus(system, paramType, param);
        return true;
    }
    if (command == kCmdVextSelectPart && control) {
        selectPart(system, paramType, param);
        return true;
    }
    return false;
}

}  // namespace ovsim
