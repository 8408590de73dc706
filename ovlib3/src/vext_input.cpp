#include "vext_input.h"

#include <algorithm>

#include "errors.h"
#include "system.h"
#include "vext_packing.h"

namespace ovsim {
namespace {

uint64_t partBytesOf(const VextFrame& frame) {
    return vextPartBytes(uint64_t(frame.config.roi.width) * uint64_t(frame.config.roi.height));
}

bool sameFrame(const VextFrame& a, const VextFrame& b) {
    return a.number == b.number && a.seed == b.seed && a.config == b.config;
}

// Renders and packs the frame once for all four parts of a readout.
void pack(Input& input, const VextFrame& frame) {
    if (input.packedFrame && sameFrame(*input.packedFrame, frame)) return;
    const uint64_t pixels = uint64_t(frame.config.roi.width) * uint64_t(frame.config.roi.height);
    const uint64_t partBytes = partBytesOf(frame);
    input.packedFrame.reset();
    input.samples.resize(pixels);
    renderSamplesInto(frame.config, frame.number, frame.seed, 6, input.samples.data());
    input.packedParts.resize(4 * partBytes);
    uint8_t* parts[4];
    for (uint32_t part = 0; part < 4; ++part) parts[part] = input.packedParts.data() + part * partBytes;
    packVextFrame(input.samples.data(), pixels, parts);
    for (uint32_t part = 0; part < 4; ++part) input.packedSums[part] = byteSum(parts[part], partBytes);
    input.packedFrame = frame;
}

void recordAttributes(Input& input, const System& system, const VextFrame& frame, uint32_t part) {
    pack(input, frame);
    input.last = {frame.number, frame.timeUs, system.sensorTemperature(), input.packedSums[part]};
}

}  // namespace

uint64_t vextReadyAmount(Input&, System& system) {
    if (simModes().vextNoData) return 0;
    const auto head = vextQueueHead(system);
    return head ? partBytesOf(head->second) : 0;
}

void vextBeginBlock(Input& input, System& system) {
    input.blockOpen = true;
    if (simModes().vextNoData) return;
    if (const auto head = vextQueueHead(system)) recordAttributes(input, system, head->second, head->first);
}

bool vextCompleteDma(Input& input, System& system, uint8_t* buffer, uint64_t size) {
    if (simModes().vextNoData) return false;
    const auto head = vextQueueHead(system);
    if (!head) return false;
    const auto& [part, frame] = *head;
    const uint64_t partBytes = partBytesOf(frame);
    if (size < partBytes)
        OV_FAIL(kErrBufferTooSmall, 0,
                "контекст " + std::to_string(size) + " байт, часть кадра требует " + std::to_string(partBytes));
    recordAttributes(input, system, frame, part);
    const uint8_t* bytes = input.packedParts.data() + part * partBytes;
    std::copy(bytes, bytes + partBytes, buffer);
    vextTakeQueueHead(system);
    return true;
}

}  // namespace ovsim
