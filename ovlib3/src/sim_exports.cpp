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

// An initialised VEXT system.
// Handle 0 stands for the newest system (tests of the viewer's layer do not see handles).
System& vextSystemAt(OVHANDLE handle) {
    System& system = systemAt(handle ? handle : newestSystem());
    if (system.model.family != Family::Vext) OV_FAIL(kErrNotImplemented, handle, "только для VEXT");
    if (!system.initialised) OV_FAIL(kErrNotInitialised, handle, "система не инициализирована");
    return system;
}

}  // namespace

extern "C" {

void OVLIB3_CALL OvSimReset(void) {
    std::lock_guard lock(libraryMutex());
    clearFaults();
    resetCallCounts();
    resetSimModes();
    restartAllInputs();
    forEachSystem([](OVHANDLE, System& system) { system.vext.stopIgnored = false; });
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
        case OVSIM_KIND_ERROR_DATA:
            return liveErrorDatas();
        case OVSIM_KIND_DATA_HEADER:
            return liveDataHeaders();
        case OVSIM_KIND_SYSTEM:
            return liveSystems();
        case OVSIM_KIND_DMA_CONTEXT:
            return liveDmaContexts();
        default:
            return 0;
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
        System& system = vextSystemAt(handle);
        vextSetFilm(system, frames);
    });
}

void OVLIB3_CALL OvSimSetVextNoData(int on) {
    std::lock_guard lock(libraryMutex());
    simModes().vextNoData = on != 0;
}

void OVLIB3_CALL OvSimSetVextStatus(uint32_t status) {
    std::lock_guard lock(libraryMutex());
    simModes().vextStatus = status;
}

void OVLIB3_CALL OvSimSetVextBlockShortfall(uint32_t bytes) {
    std::lock_guard lock(libraryMutex());
    simModes().vextBlockShortfall = bytes;
}

void OVLIB3_CALL OvSimSetVextStuckInput(int on) {
    std::lock_guard lock(libraryMutex());
    simModes().vextStuckInput = on != 0;
    // Stops ignored meanwhile are forgotten: the next stop works.
    forEachSystem([](OVHANDLE, System& system) { system.vext.stopIgnored = false; });
}

OVRESULT OVLIB3_CALL OvSimExpectedVextFrame(OVHANDLE handle, int32_t index, uint16_t* out, uint64_t outSamples) {
    return controlResult([&] {
        System& system = vextSystemAt(handle);
        if (!simModes().deterministic) OV_FAIL(kErrNotDeterministic, 0, "включите OvSimSetDeterministic");
        const std::optional<VextFrame> frame = vextFrameAt(system, index);
        if (!frame) OV_FAIL(kErrOutOfRange, handle, "кадра " + std::to_string(index) + " нет в памяти");
        const uint64_t samples = uint64_t(frame->config.roi.width) * uint64_t(frame->config.roi.height);
        if (!out || outSamples < samples) OV_FAIL(kErrBufferTooSmall, 0, "мало места для изображения");
        renderSamplesInto(frame->config, frame->number, frame->seed, 6, out);
        for (uint64_t i = 0; i < samples; ++i) out[i] = uint16_t(out[i] << 6);
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
