// Test controls (ovlib3_sim.h).
#include <algorithm>
#include <cstring>

#include "dma.h"
#include "errors.h"
#include "faults.h"
#include "header.h"
#include "input.h"
#include "ovlib3_sim.h"
#include "sim_state.h"
#include "system.h"

using namespace ovsim;

namespace {

// Test controls return plain codes and store no error data.
template <class Body>
OVRESULT controlResult(Body&& body) {
    std::lock_guard lock(libraryMutex());
    try {
        body();
        return 0;
    } catch (const SimError& error) {
        return error.code;
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    }
}

}  // namespace

extern "C" {

void OVLIB3_CALL OvSimReset(void) {
    std::lock_guard lock(libraryMutex());
    clearFaults();
    resetCallCounts();
    resetSimModes();
    restartAllInputs();
}

void OVLIB3_CALL OvSimFailCall(const char* function, uint32_t nth, int32_t code) {
    std::lock_guard lock(libraryMutex());
    armFault(function, nth, code);
}

void OVLIB3_CALL OvSimFailFromText(const char* text) {
    std::lock_guard lock(libraryMutex());
    if (text) armFaultsFromText(text);
}

void OVLIB3_CALL OvSimClearFaults(void) {
    std::lock_guard lock(libraryMutex());
    clearFaults();
}

uint32_t OVLIB3_CALL OvSimCallCount(const char* function) {
    std::lock_guard lock(libraryMutex());
    return callCount(function);
}

uint32_t OVLIB3_CALL OvSimLiveHandlesOf(int kind) {
    std::lock_guard lock(libraryMutex());
    switch (kind) {
        case OVSIM_KIND_ERROR_DATA: return liveErrorDatas();
        case OVSIM_KIND_DATA_HEADER: return liveDataHeaders();
        case OVSIM_KIND_SYSTEM: return liveSystems();
        case OVSIM_KIND_DMA_CONTEXT: return liveDmaContexts();
        default: return 0;
    }
}

uint32_t OVLIB3_CALL OvSimLiveHandles(void) {
    return OvSimLiveHandlesOf(OVSIM_KIND_ERROR_DATA) + OvSimLiveHandlesOf(OVSIM_KIND_DATA_HEADER) +
           OvSimLiveHandlesOf(OVSIM_KIND_SYSTEM) + OvSimLiveHandlesOf(OVSIM_KIND_DMA_CONTEXT);
}

void OVLIB3_CALL OvSimSetFastMode(int on) {
    std::lock_guard lock(libraryMutex());
    simModes().fast = on != 0;
    restartAllInputs();
}

void OVLIB3_CALL OvSimSetDeterministic(int on, uint32_t seed) {
    std::lock_guard lock(libraryMutex());
    simModes().deterministic = on != 0;
    simModes().seed = seed;
}

void OVLIB3_CALL OvSimSetDmaHang(int on) {
    std::lock_guard lock(libraryMutex());
    simModes().dmaHang = on != 0;
}

void OVLIB3_CALL OvSimSetExternalTriggerRate(uint32_t milliHertz) {
    std::lock_guard lock(libraryMutex());
    simModes().externalTriggerMilliHz = std::max<uint32_t>(1, milliHertz);
    restartAllInputs();
}

OVRESULT OVLIB3_CALL OvSimSetRecordedFrames(OVHANDLE handle, uint32_t frames) {
    return controlResult([&] {
        System& system = systemAt(handle);
        if (system.model.family != Family::Vext) OV_FAIL(kErrNotImplemented, handle, "только для VEXT");
        system.recordedFrames = frames;
        ++system.configGeneration;
    });
}

OVRESULT OVLIB3_CALL OvSimExpectedImage(uint32_t frameNumber, uint16_t* out, uint64_t outSamples) {
    return controlResult([&] {
        if (!newestSystem()) OV_FAIL(kErrBadHandle, 0, "нет ни одной системы");
        const System& system = systemAt(newestSystem());
        if (!system.initialised) OV_FAIL(kErrNotInitialised, newestSystem(), "система не инициализирована");
        if (system.model.family == Family::Vext) OV_FAIL(kErrNotImplemented, newestSystem(), "только для ZEL");
        if (!simModes().deterministic) OV_FAIL(kErrNotDeterministic, 0, "включите OvSimSetDeterministic");
        const std::vector<uint16_t> image = renderDecoded(system.frameConfig(), frameNumber, simModes().seed);
        if (!out || outSamples < image.size()) OV_FAIL(kErrBufferTooSmall, 0, "мало места для изображения");
        std::memcpy(out, image.data(), image.size() * sizeof(uint16_t));
    });
}

}  // extern "C"
