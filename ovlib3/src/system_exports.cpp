// Library lifetime, systems, their interfaces and control commands.
#include <algorithm>
#include <cstring>

#include "guard.h"
#include "ids.h"
#include "input.h"
#include "system.h"
#include "vext_commands.h"

using namespace ovsim;

namespace {

uint32_t& libraryInitCount() {
    static uint32_t count = 0;
    return count;
}

// The parameter block of kParamTextBuffer.
struct TextBuffer {
    uint32_t capacity;
    char* buffer;
};

void requireInitialised(const System& system, OVHANDLE handle) {
    if (!system.initialised) OV_FAIL(kErrNotInitialised, handle, "сначала вызовите OvLib3SystemInit");
}

OVHANDLE optionInterface(const System& system, OVHANDLE handle, const OptionKey& key) {
    Option* option = system.findOption(key.stage, key.id, key.index);
    if (!option)
        OV_FAIL(kErrNoInterface, handle,
                "нет интерфейса " + std::to_string(key.id) + " с индексом " + std::to_string(key.index));
    return interfaceHandle(handle, key, option);
}

void runControlCommand(const Interface& iface, OVHANDLE handle, uint32_t command) {
    System& system = systemAt(iface.system);
    if (system.model.family == Family::Vext) {
        requireInitialised(system, handle);
        if (runVextCommand(system, iface, command)) return;
    } else if (iface.key.id == kIfaceControl && command == kCmdSoftwareTrigger) {
        requireInitialised(system, handle);
        if (!system.model.softwareStart) OV_FAIL(kErrUnknownCommand, handle, "камера без программного запуска");
        softwareTrigger(system);  // outside software start mode a trigger has no effect
        return;
    }
    if (iface.key.id == kIfaceInputControl && command == kCmdInputRestart) {
        requireInitialised(system, handle);
        restartInput(system);
        return;
    }
    OV_FAIL(kErrUnknownCommand, handle, "команда " + std::to_string(command) + " не поддерживается интерфейсом");
}

void readSerialNumber(const Interface& iface, OVHANDLE handle, uint32_t paramType, void* param) {
    if (paramType != kParamTextBuffer) OV_FAIL(kErrBadParameter, handle, "ожидается параметр типа 284");
    auto* text = static_cast<TextBuffer*>(param);
    if (!text || !text->buffer || text->capacity == 0) OV_FAIL(kErrBadParameter, handle, "нет буфера для текста");
    const char* serial = systemAt(iface.system).model.serialNumbers[iface.key.index];
    const size_t length = std::min<size_t>(std::strlen(serial), text->capacity - 1);
    std::memcpy(text->buffer, serial, length);
    text->buffer[length] = '\0';
}

}  // namespace

extern "C" {

OVRESULT OVLIB3_CALL OvLib3Init(OVHANDLE err) {
    return runExport("OvLib3Init", err, [&](Lock&) {
        ++libraryInitCount();
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3Exit(OVHANDLE err) {
    return runExport("OvLib3Exit", err, [&](Lock&) {
        if (libraryInitCount() == 0) OV_FAIL(kErrNotInitialised, 0, "OvLib3Exit без OvLib3Init");
        --libraryInitCount();
        return 0;
    });
}

const char* OVLIB3_CALL OvLib3Version(void) {
    static const char* const version = "OVLIB3 simulator 1.0";
    return runListExport<const char*>("OvLib3Version", version, [] { return version; });
}

OVRESULT OVLIB3_CALL OvLib3SystemCreate(uint32_t typeId, OVHANDLE* system, OVHANDLE err) {
    return runExport("OvLib3SystemCreate", err, [&](Lock&) {
        if (libraryInitCount() == 0) OV_FAIL(kErrNotInitialised, 0, "сначала вызовите OvLib3Init");
        if (!system) OV_FAIL(kErrBadParameter, 0, "нет места для дескриптора");
        const CameraModel* model = findCameraModel(typeId);
        if (!model) OV_FAIL(kErrUnknownCamera, 0, "тип камеры " + std::to_string(typeId) + " отсутствует в списке 10");
        *system = createSystem(*model);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3SystemInit(OVHANDLE handle, OVHANDLE err) {
    return runExport("OvLib3SystemInit", err, [&](Lock&) {
        System& system = systemAt(handle);
        if (system.initialised) OV_FAIL(kErrAlreadyInitialised, handle, "повторная инициализация");
        addPostInitOptions(system);
        system.input = createInput(handle);
        system.initTime = Clock::now();
        system.initialised = true;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3SystemDestroy(OVHANDLE handle, OVHANDLE err) {
    return runExport("OvLib3SystemDestroy", err, [&](Lock&) {
        destroySystem(handle);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3SystemGetCInterface(OVHANDLE handle, uint32_t interfaceId, uint32_t index, OVHANDLE* iface,
                                               OVHANDLE err) {
    return runExport("OvLib3SystemGetCInterface", err, [&](Lock&) {
        System& system = systemAt(handle);
        if (!iface) OV_FAIL(kErrBadParameter, handle, "нет места для дескриптора");
        const OptionKey key{Stage::PostInit, interfaceId, index};
        if (hasControlInterface(system.model, interfaceId, index)) {
            *iface = interfaceHandle(handle, key, nullptr);
            return 0;
        }
        requireInitialised(system, handle);
        *iface = optionInterface(system, handle, key);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3SystemGetOptionCInterface(OVHANDLE handle, uint32_t optionId, uint32_t index,
                                                     OVHANDLE* iface, OVHANDLE err) {
    return runExport("OvLib3SystemGetOptionCInterface", err, [&](Lock&) {
        System& system = systemAt(handle);
        if (!iface) OV_FAIL(kErrBadParameter, handle, "нет места для дескриптора");
        *iface = optionInterface(system, handle, {Stage::PreInit, optionId, index});
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3SystemGetInDInterface(OVHANDLE handle, uint32_t interfaceId, uint32_t index, OVHANDLE* input,
                                                 OVHANDLE err) {
    return runExport("OvLib3SystemGetInDInterface", err, [&](Lock&) {
        System& system = systemAt(handle);
        if (!input) OV_FAIL(kErrBadParameter, handle, "нет места для дескриптора");
        if (interfaceId != kIfaceInput || index != 0)
            OV_FAIL(kErrNoInterface, handle, "нет интерфейса ввода " + std::to_string(interfaceId));
        requireInitialised(system, handle);
        *input = system.input;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3CallCInterface_0(OVHANDLE handle, uint32_t command, OVHANDLE err) {
    return runExport("OvLib3CallCInterface_0", err, [&](Lock&) {
        runControlCommand(interfaceAt(handle), handle, command);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3CallCInterface_1(OVHANDLE handle, uint32_t command, uint32_t paramType, void* param,
                                            OVHANDLE err) {
    return runExport("OvLib3CallCInterface_1", err, [&](Lock&) {
        const Interface& iface = interfaceAt(handle);
        System& system = systemAt(iface.system);
        if (system.model.family == Family::Vext && iface.key.id != kIfaceSerialNumber) {
            requireInitialised(system, handle);
            try {
                if (runVextParamCommand(system, iface, command, paramType, param)) return 0;
            } catch (SimError& error) {
                error.object = handle;
                throw;
            }
        }
        if (iface.key.id != kIfaceSerialNumber || command != kCmdReadSerial)
            OV_FAIL(kErrUnknownCommand, handle,
                    "команда " + std::to_string(command) + " не поддерживается интерфейсом");
        readSerialNumber(iface, handle, paramType, param);
        return 0;
    });
}

}  // extern "C"
