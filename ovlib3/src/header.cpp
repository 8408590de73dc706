#include "header.h"

#include <algorithm>

#include "guard.h"
#include "handles.h"
#include "ids.h"
#include "sim_state.h"
#include "vext_packing.h"

namespace ovsim {
namespace {

HandleTable<DataHeader>& headers() {
    static HandleTable<DataHeader> table;
    return table;
}

void requireField(uint32_t field, OVHANDLE header) {
    if (field >= kHeaderFields) OV_FAIL(kErrBadParameter, header, "номер поля " + std::to_string(field) + " больше 31");
}

DataHeader headerOf(const FrameConfig& c, uint32_t dataType, uint64_t blockSize) {
    DataHeader h;
    h.dataType = dataType;
    setHeaderSize(h, uint32_t(c.roi.width), uint32_t(c.roi.height));
    h.fields[kFieldPixelFormat] = c.format->code;
    h.fields[kFieldLayout] = kLayoutRaw;
    h.fields[kFieldBitsPerPixel] = c.format->rawBits;
    h.fields[kFieldRoiX] = uint32_t(c.roi.x);
    h.fields[kFieldRoiY] = uint32_t(c.roi.y);
    h.blockSize = blockSize;
    return h;
}

}  // namespace

DataHeader& headerAt(OVHANDLE handle) {
    DataHeader* header = headers().find(handle);
    if (!header) OV_FAIL(kErrBadHandle, handle, "это не заголовок данных");
    return *header;
}

uint32_t liveDataHeaders() { return headers().size(); }

uint32_t headerWidth(const DataHeader& h) {
    return h.fields[h.dataType == kDataTypeColour ? kFieldColourWidth : kFieldMonoWidth];
}

uint32_t headerHeight(const DataHeader& h) {
    return h.fields[h.dataType == kDataTypeColour ? kFieldColourHeight : kFieldMonoHeight];
}

void setHeaderSize(DataHeader& h, uint32_t width, uint32_t height) {
    const bool colour = h.dataType == kDataTypeColour;
    h.fields[colour ? kFieldColourWidth : kFieldMonoWidth] = width;
    h.fields[colour ? kFieldColourHeight : kFieldMonoHeight] = height;
}

DataHeader rawHeaderFor(const FrameConfig& c) {
    return headerOf(c, c.format->colour ? kDataTypeColour : kDataTypeMono,
                    rawBlockBytes(*c.format, uint32_t(c.roi.width), uint32_t(c.roi.height)));
}

DataHeader vextPartHeaderFor(const FrameConfig& c) {
    const uint64_t bytes = vextPartBytes(uint64_t(c.roi.width) * uint64_t(c.roi.height));
    return headerOf(c, kDataTypeMono, bytes - std::min<uint64_t>(bytes, simModes().vextBlockShortfall));
}

}  // namespace ovsim

using namespace ovsim;

extern "C" {

OVRESULT OVLIB3_CALL OvLib3DataheaderCreate(OVHANDLE* header, OVHANDLE err) {
    return runExport("OvLib3DataheaderCreate", err, [&](Lock&) {
        if (!header) OV_FAIL(kErrBadParameter, 0, "указатель на дескриптор равен нулю");
        *header = headers().add(std::make_unique<DataHeader>());
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DataheaderInit(OVHANDLE header, OVHANDLE err) {
    return runExport("OvLib3DataheaderInit", err, [&](Lock&) {
        headerAt(header) = DataHeader{};
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DataheaderFree(OVHANDLE header, OVHANDLE err) {
    return runExport("OvLib3DataheaderFree", err, [&](Lock&) {
        if (!headers().remove(header)) OV_FAIL(kErrBadHandle, header, "это не заголовок данных");
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DataheaderCopy(OVHANDLE destination, OVHANDLE source, OVHANDLE err) {
    return runExport("OvLib3DataheaderCopy", err, [&](Lock&) {
        const DataHeader copy = headerAt(source);
        headerAt(destination) = copy;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DataHeaderCompare(OVHANDLE a, OVHANDLE b, int32_t* differs, OVHANDLE err) {
    return runExport("OvLib3DataHeaderCompare", err, [&](Lock&) {
        if (!differs) OV_FAIL(kErrBadParameter, a, "нет места для результата");
        *differs = headerAt(a) == headerAt(b) ? 0 : 1;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DataheaderGetType(OVHANDLE header, uint32_t* dataType, uint32_t* second, uint64_t* blockSize,
                                             OVHANDLE err) {
    return runExport("OvLib3DataheaderGetType", err, [&](Lock&) {
        const DataHeader& h = headerAt(header);
        if (dataType) *dataType = h.dataType;
        if (second) *second = h.subType;
        if (blockSize) *blockSize = h.blockSize;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DataheaderGetU32(OVHANDLE header, uint32_t field, uint32_t* value, OVHANDLE err) {
    return runExport("OvLib3DataheaderGetU32", err, [&](Lock&) {
        const DataHeader& h = headerAt(header);
        requireField(field, header);
        if (!value) OV_FAIL(kErrBadParameter, header, "нет места для значения");
        *value = h.fields[field];
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3DataheaderSetU32(OVHANDLE header, uint32_t field, uint32_t value, OVHANDLE err) {
    return runExport("OvLib3DataheaderSetU32", err, [&](Lock&) {
        DataHeader& h = headerAt(header);
        requireField(field, header);
        h.fields[field] = value;
        return 0;
    });
}

}  // extern "C"
