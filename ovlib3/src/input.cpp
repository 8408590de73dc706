#include "input.h"

#include <algorithm>

#include "dma.h"
#include "errors.h"
#include "handles.h"
#include "ids.h"
#include "pattern.h"
#include "system.h"
#include "vext_input.h"

namespace ovsim {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

HandleTable<Input>& inputs() {
    static HandleTable<Input> table;
    return table;
}

Input& inputAt(OVHANDLE handle) {
    Input* input = inputs().find(handle);
    if (!input) OV_FAIL(kErrBadHandle, handle, "это не интерфейс ввода");
    return *input;
}

bool isVext(const System& system) { return system.model.family == Family::Vext; }

TriggerMode triggerModeOf(const System& s) {
    switch (s.option<EnumOption>(kOptSyncMode).get()) {
        case kSyncSoftware:
            return TriggerMode::Software;
        case kSyncExternal:
            return TriggerMode::External;
        default:
            return TriggerMode::FreeRun;
    }
}

// Frame period: the longer of exposure and sensor readout; external sync
// cannot be faster than the external trigger.
Clock::duration framePeriodOf(const System& s) {
    if (s.model.family == Family::Vext) return microseconds(1000000 / s.option<ScalarOption>(kOptFrameRate).native());
    const FrameConfig c = s.frameConfig();
    const int64_t readoutUs = int64_t(c.roi.height) * s.model.lineTimeUs + s.model.readoutExtraUs;
    Clock::duration period = microseconds(std::max<int64_t>(c.exposureUs, readoutUs));
    if (triggerModeOf(s) == TriggerMode::External) period = std::max(period, externalTriggerPeriod());
    return period;
}

void restartTiming(Input& input, const System& system) {
    input.timing.restart(triggerModeOf(system), framePeriodOf(system), Clock::now());
    input.latched = false;
    input.appliedGeneration = system.configGeneration;
}

// An option change restarts the sensor: frames of the old configuration are dropped.
Input& syncedInput(OVHANDLE handle) {
    Input& input = inputAt(handle);
    const System& system = systemAt(input.system);
    if (input.appliedGeneration != system.configGeneration) restartTiming(input, system);
    return input;
}

// The deterministic seed, or a fresh one that also differs by frame.
uint64_t noiseSeedFor(uint64_t frame) { return simModes().deterministic ? simModes().seed : newNoiseSeed() ^ frame; }

// Takes the ready frame from the sensor, renders it into the input's frame
// memory and records its attributes.
void latchFrame(Input& input, const System& system) {
    const Clock::time_point now = Clock::now();
    const uint64_t number = input.timing.deliver(now);
    const FrameConfig config = system.frameConfig();
    const auto width = uint32_t(config.roi.width), height = uint32_t(config.roi.height);
    input.samples.resize(uint64_t(width) * height * config.format->channels);
    renderSamplesInto(config, number, noiseSeedFor(number), 0, input.samples.data());
    input.frame.resize(rawBlockBytes(*config.format, width, height));
    packRaw(*config.format, input.samples.data(), width, height, input.frame.data());
    const uint32_t checksum = byteSum(input.frame.data(), input.frame.size());
    input.last = {number, uint64_t(std::chrono::duration_cast<microseconds>(now - system.initTime).count()),
                  system.sensorTemperature(), checksum};
    input.latched = true;
}

// Hands the latched frame out; false (nothing copied) when out is too small.
bool copyLatched(Input& input, uint8_t* out, uint64_t size) {
    if (size < input.frame.size()) return false;
    std::copy(input.frame.begin(), input.frame.end(), out);
    input.latched = false;
    return true;
}

// Waits (without the lock) until a frame is ready or limit passes; true when ready.
bool waitForFrame(OVHANDLE handle, Clock::duration limit, Lock& lock) {
    const Clock::time_point deadline = Clock::now() + limit;
    for (;;) {
        const Clock::time_point now = Clock::now();
        const Input& input = syncedInput(handle);
        const Clock::duration until = input.timing.untilReady(now);
        if (input.latched || until <= Clock::duration::zero()) return true;
        if (now >= deadline || simModes().fast) return false;
        // Short slices: a trigger or option change from another thread may come meanwhile.
        // The input may be destroyed while unlocked: the next lookup then fails cleanly.
        sleepUnlocked(lock, std::min<Clock::duration>({until, deadline - now, milliseconds(10)}));
    }
}

// Waits (without the lock) until the queued VEXT part can be read (its frame
// is recorded) or limit passes; true when it can.
bool waitForPart(OVHANDLE handle, Clock::duration limit, Lock& lock) {
    const Clock::time_point deadline = Clock::now() + limit;
    for (;;) {
        if (readyAmount(handle)) return true;
        const Clock::time_point now = Clock::now();
        if (now >= deadline || simModes().fast) return false;
        sleepUnlocked(lock, std::min<Clock::duration>(deadline - now, milliseconds(10)));
    }
}

DataHeader typeOf(const System& system) {
    return isVext(system) ? vextPartHeaderFor(system.frameConfig()) : rawHeaderFor(system.frameConfig());
}

uint64_t blockBytes(const System& system) { return typeOf(system).blockSize; }

}  // namespace

OVHANDLE createInput(OVHANDLE system) { return inputs().add(std::make_unique<Input>(system)); }

void destroyInput(OVHANDLE input) { inputs().remove(input); }

OVHANDLE systemOfInput(OVHANDLE handle) {
    const Input* input = inputs().find(handle);
    return input ? input->system : 0;
}

uint32_t liveInputs() { return inputs().size(); }

DataHeader inputType(OVHANDLE handle) { return typeOf(systemAt(inputAt(handle).system)); }

uint64_t readyAmount(OVHANDLE handle) {
    System& system = systemAt(inputAt(handle).system);
    if (isVext(system)) return vextReadyAmount(inputAt(handle), system);
    const Input& input = syncedInput(handle);
    return input.latched || input.timing.readyFrame(Clock::now()) ? blockBytes(system) : 0;
}

OVRESULT waitReady(OVHANDLE handle, uint32_t milliseconds, Lock& lock) {
    const Clock::duration limit = std::chrono::milliseconds(milliseconds);
    const bool vext = isVext(systemAt(inputAt(handle).system));
    return (vext ? waitForPart(handle, limit, lock) : waitForFrame(handle, limit, lock)) ? 0 : kWarnTimeout;
}

void beginBlock(OVHANDLE handle) {
    System& system = systemAt(inputAt(handle).system);
    if (isVext(system)) return vextBeginBlock(inputAt(handle), system);
    Input& input = syncedInput(handle);
    input.blockOpen = true;
    if (!input.latched && input.timing.readyFrame(Clock::now())) latchFrame(input, system);
}

void endBlock(OVHANDLE handle) {
    Input& input = inputAt(handle);
    if (!input.blockOpen) OV_FAIL(kErrNoBlock, handle, "EndBlock без BeginBlock");
    input.blockOpen = false;
    input.latched = false;  // a frame not transferred in its block is lost
}

uint64_t transferFrame(OVHANDLE handle, void* buffer, uint64_t size, TransferMethod method, Lock& lock) {
    const System& system = systemAt(inputAt(handle).system);
    if (isVext(system)) OV_FAIL(kErrMethod, handle, "камера VEXT передаёт кадры только через DMA, по частям");
    if (!buffer) OV_FAIL(kErrBadParameter, handle, "нет буфера для данных");
    const uint64_t needed = blockBytes(system);
    if (size < needed)
        OV_FAIL(kErrBufferTooSmall, handle,
                "буфер " + std::to_string(size) + " байт, кадр требует " + std::to_string(needed));
    if (inputAt(handle).dmaActive) OV_FAIL(kErrBusy, handle, "идёт передача DMA");
    (void)method;  // block and programmed I/O deliver the same data here
    if (!syncedInput(handle).latched) {
        // A frame not yet ready is waited for, a little longer than one frame period.
        const Clock::duration limit =
            std::max<Clock::duration>(milliseconds(1000), 2 * framePeriodOf(system) + milliseconds(100));
        if (!waitForFrame(handle, limit, lock)) OV_FAIL(kErrTimeout, handle, "кадр не готов (нет запуска?)");
        Input& input = syncedInput(handle);
        if (!input.latched) latchFrame(input, systemAt(input.system));
    }
    Input& input = inputAt(handle);
    const uint64_t bytes = input.frame.size();
    if (!copyLatched(input, static_cast<uint8_t*>(buffer), size))
        OV_FAIL(kErrBufferTooSmall, handle, "формат кадра изменился во время ожидания");
    return bytes;
}

void startDma(OVHANDLE handle, OVHANDLE context) {
    const System& system = systemAt(inputAt(handle).system);
    if (!system.model.dma)
        OV_FAIL(kErrMethod, handle, "эта камера не поддерживает DMA: используйте блочную передачу или PIO");
    Input& input = isVext(system) ? inputAt(handle) : syncedInput(handle);
    DmaContext* ctx = findDmaContext(context);
    if (!ctx) OV_FAIL(kErrBadHandle, context, "это не контекст DMA");
    const uint64_t needed = blockBytes(system);
    if (ctx->size < needed)
        OV_FAIL(kErrBufferTooSmall, context,
                "контекст " + std::to_string(ctx->size) + " байт, кадр требует " + std::to_string(needed));
    if (input.dmaActive) OV_FAIL(kErrBusy, handle, "передача DMA уже идёт");
    ctx->used = true;
    input.dmaContext = context;
    input.dmaActive = true;
    input.dmaCompleted = false;
    input.dmaQueries = 0;
}

bool queryDmaEnd(OVHANDLE handle) {
    System& system = systemAt(inputAt(handle).system);
    Input& input = isVext(system) ? inputAt(handle) : syncedInput(handle);
    if (!input.dmaActive) {
        if (input.dmaCompleted) return true;
        OV_FAIL(kErrNoDma, handle, "нет запущенной передачи DMA");
    }
    DmaContext* ctx = findDmaContext(input.dmaContext);
    if (!ctx) {
        input.dmaActive = false;
        OV_FAIL(kErrNoDma, handle, "контекст DMA освобождён во время передачи");
    }
    // Completion is seen at the second query at the earliest, so callers must poll.
    if (++input.dmaQueries < 2 || simModes().dmaHang) return false;
    if (isVext(system)) {
        try {
            if (!vextCompleteDma(input, system, ctx->buffer.get(), ctx->size)) return false;
        } catch (SimError& error) {
            input.dmaActive = false;
            error.object = handle;
            throw;
        }
        input.dmaActive = false;
        input.dmaCompleted = true;
        return true;
    }
    if (!input.latched) {
        if (!input.timing.readyFrame(Clock::now())) return false;
        latchFrame(input, system);
    }
    input.dmaActive = false;
    if (!copyLatched(input, ctx->buffer.get(), ctx->size))
        OV_FAIL(kErrBufferTooSmall, handle, "формат кадра изменился во время передачи DMA");
    input.dmaCompleted = true;
    return true;
}

void cancelDma(OVHANDLE handle) {
    Input& input = inputAt(handle);
    input.dmaActive = false;
    input.dmaCompleted = false;
}

const BlockAttributes& lastAttributes(OVHANDLE handle) { return inputAt(handle).last; }

void softwareTrigger(System& system) {
    if (!system.input || system.model.family == Family::Vext) return;
    syncedInput(system.input).timing.trigger(Clock::now());
}

void restartInput(System& system) {
    if (!system.input) return;
    // Restarting re-arms the input; exposures already triggered still come.
    Input& input = syncedInput(system.input);
    const size_t triggered = input.timing.pendingTriggers();
    restartTiming(input, system);
    const Clock::time_point now = Clock::now();
    for (size_t i = 0; i < triggered; ++i) input.timing.trigger(now);
}

void restartAllInputs() {
    // The next operation on each input restarts its clock.
    inputs().forEach([](OVHANDLE, Input& input) { input.appliedGeneration = ~0ull; });
}

}  // namespace ovsim
