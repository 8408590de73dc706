#include "dma.h"

#include <new>

#include "guard.h"
#include "handles.h"

namespace ovsim {
namespace {

HandleTable<DmaContext>& contexts() {
    static HandleTable<DmaContext> table;
    return table;
}

// Keeps huge requests from exhausting the test machine.
constexpr uint64_t kMaxContextBytes = 1ull << 30;

}  // namespace

DmaContext* findDmaContext(OVHANDLE handle) { return contexts().find(handle); }

uint32_t liveDmaContexts() { return contexts().size(); }

}  // namespace ovsim

using namespace ovsim;

extern "C" {

OVRESULT OVLIB3_CALL OvLib3DmaCreateContext(OVHANDLE* context, void** buffer, uint64_t size, OVHANDLE err) {
    return runExport("OvLib3DmaCreateContext", err, [&](Lock&) {
        if (!context || !buffer) OV_FAIL(kErrBadParameter, 0, "нет места для дескриптора или адреса буфера");
        if (size == 0 || size > kMaxContextBytes)
            OV_FAIL(kErrBadParameter, 0, "размер буфера DMA " + std::to_string(size) + " недопустим");
        auto made = std::make_unique<DmaContext>();
        made->buffer.reset(new (std::nothrow) uint8_t[size]);
        if (!made->buffer) OV_FAIL(kErrNoMemory, 0, "нет памяти для буфера DMA");
        made->size = size;
        *buffer = made->buffer.get();
        *context = contexts().add(std::move(made));
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DmaFreeContext(OVHANDLE context, OVHANDLE err) {
    return runExport("OvLib3DmaFreeContext", err, [&](Lock&) {
        DmaContext* found = contexts().find(context);
        if (!found) OV_FAIL(kErrBadHandle, context, "это не контекст DMA");
        const bool used = found->used;
        contexts().remove(context);  // an input still using it notices on its next query
        // Freed either way; an idle context is reported as such (callers count 217 as success).
        if (!used) OV_FAIL(kErrContextIdle, context, "контекст освобождён, передач через него не было");
        return 0;
    });
}

}  // extern "C"
