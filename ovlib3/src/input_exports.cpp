// Input data interface exports.
#include "guard.h"
#include "ids.h"
#include "input.h"

using namespace ovsim;

namespace {

OVRESULT transferExport(const char* function, OVHANDLE input, void* buffer, uint64_t size, uint64_t* count,
                        TransferMethod method, OVHANDLE err) {
    return runExport(function, err, [&](Lock& lock) {
        if (!count) OV_FAIL(kErrBadParameter, input, "нет места для числа байт");
        *count = 0;
        *count = transferFrame(input, buffer, size, method, lock);
        return 0;
    });
}

}  // namespace

extern "C" {

OVRESULT OVLIB3_CALL OvLib3InDInterfaceGetType(OVHANDLE input, OVHANDLE header, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceGetType", err, [&](Lock&) {
        const DataHeader type = inputType(input);
        headerAt(header) = type;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceQueryReady(OVHANDLE input, uint64_t* amount, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceQueryReady", err, [&](Lock&) {
        if (!amount) OV_FAIL(kErrBadParameter, input, "нет места для результата");
        *amount = readyAmount(input);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceWait(OVHANDLE input, uint32_t milliseconds, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceWait", err, [&](Lock& lock) { return waitReady(input, milliseconds, lock); });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceBeginBlock(OVHANDLE input, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceBeginBlock", err, [&](Lock&) {
        beginBlock(input);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceEndBlock(OVHANDLE input, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceEndBlock", err, [&](Lock&) {
        endBlock(input);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceStartDma(OVHANDLE input, OVHANDLE context, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceStartDma", err, [&](Lock&) {
        startDma(input, context);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceQueryDmaEnd(OVHANDLE input, int32_t* done, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceQueryDmaEnd", err, [&](Lock&) {
        if (!done) OV_FAIL(kErrBadParameter, input, "нет места для результата");
        *done = queryDmaEnd(input) ? 1 : 0;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceCancelDma(OVHANDLE input, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceCancelDma", err, [&](Lock&) {
        cancelDma(input);
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceTransfer(OVHANDLE input, void* buffer, uint64_t size, uint64_t* count,
                                                OVHANDLE err) {
    return transferExport("OvLib3InDInterfaceTransfer", input, buffer, size, count, TransferMethod::Block, err);
}

OVRESULT OVLIB3_CALL OvLib3InDInterfacePIOTransfer(OVHANDLE input, void* buffer, uint64_t size, uint64_t* count,
                                                   OVHANDLE err) {
    return transferExport("OvLib3InDInterfacePIOTransfer", input, buffer, size, count, TransferMethod::Pio, err);
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceGetAddOnAtributeTotal(OVHANDLE input, uint32_t* count, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceGetAddOnAtributeTotal", err, [&](Lock&) {
        lastAttributes(input);  // validates the handle
        if (!count) OV_FAIL(kErrBadParameter, input, "нет места для результата");
        *count = 4;
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3InDInterfaceGetAddOnAtributeNum(OVHANDLE input, uint32_t index, uint32_t* id,
                                                           uint32_t* second, uint32_t* value, OVHANDLE err) {
    return runExport("OvLib3InDInterfaceGetAddOnAtributeNum", err, [&](Lock&) {
        const BlockAttributes& a = lastAttributes(input);
        // (id, second, value): the time stamp's second word is its high half.
        const uint32_t table[4][3] = {
            {kAttrFrameNumber, 0, uint32_t(a.frameNumber)},
            {kAttrTimeStamp, uint32_t(a.timeUs >> 32), uint32_t(a.timeUs)},
            {kAttrSensorTemperature, 0, uint32_t(a.temperature)},
            {kAttrChecksum, 0, a.checksum},
        };
        if (index >= 4) OV_FAIL(kErrOutOfRange, input, "атрибутов всего 4, запрошен " + std::to_string(index));
        if (id) *id = table[index][0];
        if (second) *second = table[index][1];
        if (value) *value = table[index][2];
        return 0;
    });
}

}  // extern "C"
