// Option exports: each checks that the interface is of the right kind, so the
// viewer can classify an interface by which call succeeds.
#include <string>

#include "guard.h"
#include "system.h"

using namespace ovsim;

namespace {

const char* kindName(OptionKind kind) {
    switch (kind) {
        case OptionKind::Scalar:
            return "скалярным параметром";
        case OptionKind::Enum:
            return "перечислением";
        case OptionKind::Rect:
            return "областью";
        default:
            return "информационным значением";
    }
}

template <class T>
T& optionAt(OVHANDLE iface, OptionKind kind) {
    const Interface& found = interfaceAt(iface);
    if (!found.option || found.option->kind() != kind)
        OV_FAIL(kErrWrongKind, iface, std::string("интерфейс не является ") + kindName(kind));
    return static_cast<T&>(*found.option);
}

// Changes of pre-init options are refused once the system runs.
template <class T>
T& changeableOptionAt(OVHANDLE iface, OptionKind kind) {
    T& option = optionAt<T>(iface, kind);
    if (option.fixedAfterInit && systemAt(interfaceAt(iface).system).initialised)
        OV_FAIL(kErrPreInitOnly, iface, "система уже инициализирована");
    return option;
}

void requireOut(const void* pointer, OVHANDLE iface) {
    if (!pointer) OV_FAIL(kErrBadParameter, iface, "нет места для результата");
}

void writeRect(const Rect& r, int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    if (x) *x = r.x;
    if (y) *y = r.y;
    if (width) *width = r.width;
    if (height) *height = r.height;
}

// Errors raised inside the option objects learn which interface they concern.
template <class Body>
OVRESULT optionExport(const char* function, OVHANDLE iface, OVHANDLE err, Body&& body) {
    return runExport(function, err, [&](Lock&) {
        try {
            body();
        } catch (SimError& error) {
            if (error.object == 0) error.object = iface;
            throw;
        }
        return 0;
    });
}

}  // namespace

extern "C" {

OVRESULT OVLIB3_CALL OvLib3OptionGetEnumVal(OVHANDLE iface, int32_t* value, OVHANDLE err) {
    return optionExport("OvLib3OptionGetEnumVal", iface, err, [&] {
        const auto& option = optionAt<EnumOption>(iface, OptionKind::Enum);
        requireOut(value, iface);
        *value = option.get();
    });
}

OVRESULT OVLIB3_CALL OvLib3OptionSetEnumVal(OVHANDLE iface, int32_t value, OVHANDLE err) {
    return optionExport("OvLib3OptionSetEnumVal", iface, err,
                        [&] { changeableOptionAt<EnumOption>(iface, OptionKind::Enum).set(value); });
}

OVRESULT OVLIB3_CALL OvLib3OptionQueryEnumVal(OVHANDLE iface, int32_t value, OVHANDLE err) {
    return optionExport("OvLib3OptionQueryEnumVal", iface, err,
                        [&] { optionAt<EnumOption>(iface, OptionKind::Enum).query(value); });
}

OVRESULT OVLIB3_CALL OvLib3OptionNextScalarUnit(OVHANDLE iface, uint32_t* unit, OVHANDLE err) {
    return optionExport("OvLib3OptionNextScalarUnit", iface, err, [&] {
        const auto& option = optionAt<ScalarOption>(iface, OptionKind::Scalar);
        requireOut(unit, iface);
        *unit = option.nextUnit(*unit);
    });
}

OVRESULT OVLIB3_CALL OvLib3OptionQueryScalarUnit(OVHANDLE iface, uint32_t unit, OVHANDLE err) {
    return optionExport("OvLib3OptionQueryScalarUnit", iface, err,
                        [&] { optionAt<ScalarOption>(iface, OptionKind::Scalar).queryUnit(unit); });
}

OVRESULT OVLIB3_CALL OvLib3OptionGetScalar(OVHANDLE iface, int32_t* value, uint32_t unit, OVHANDLE err) {
    return optionExport("OvLib3OptionGetScalar", iface, err, [&] {
        const auto& option = optionAt<ScalarOption>(iface, OptionKind::Scalar);
        requireOut(value, iface);
        *value = option.get(unit);
    });
}

OVRESULT OVLIB3_CALL OvLib3OptionSetScalar(OVHANDLE iface, int32_t value, uint32_t unit, OVHANDLE err) {
    return optionExport("OvLib3OptionSetScalar", iface, err,
                        [&] { changeableOptionAt<ScalarOption>(iface, OptionKind::Scalar).set(value, unit); });
}

OVRESULT OVLIB3_CALL OvLib3OptionRelScalar(OVHANDLE iface, int32_t step, uint32_t unit, OVHANDLE err) {
    return optionExport("OvLib3OptionRelScalar", iface, err,
                        [&] { changeableOptionAt<ScalarOption>(iface, OptionKind::Scalar).step(step, unit); });
}

OVRESULT OVLIB3_CALL OvLib3OptionGetScalarRange(OVHANDLE iface, int32_t* minimum, int32_t* maximum, uint32_t unit,
                                                OVHANDLE err) {
    return optionExport("OvLib3OptionGetScalarRange", iface, err, [&] {
        const Range range = optionAt<ScalarOption>(iface, OptionKind::Scalar).range(unit);
        if (minimum) *minimum = static_cast<int32_t>(range.first);
        if (maximum) *maximum = static_cast<int32_t>(range.second);
    });
}

OVRESULT OVLIB3_CALL OvLib3GetInfoScalarVal(OVHANDLE iface, int32_t* first, int32_t* second, OVHANDLE err) {
    return optionExport("OvLib3GetInfoScalarVal", iface, err, [&] {
        const auto values = optionAt<InfoOption>(iface, OptionKind::Info).read();
        if (first) *first = values.first;
        if (second) *second = values.second;
    });
}

OVRESULT OVLIB3_CALL OvLib3OptionGetRect(OVHANDLE iface, int32_t* x, int32_t* y, int32_t* width, int32_t* height,
                                         OVHANDLE err) {
    return optionExport("OvLib3OptionGetRect", iface, err,
                        [&] { writeRect(optionAt<RectOption>(iface, OptionKind::Rect).get(), x, y, width, height); });
}

OVRESULT OVLIB3_CALL OvLib3OptionSetRect(OVHANDLE iface, int32_t x, int32_t y, int32_t width, int32_t height,
                                         OVHANDLE err) {
    return optionExport("OvLib3OptionSetRect", iface, err, [&] {
        changeableOptionAt<RectOption>(iface, OptionKind::Rect).set({x, y, width, height});
    });
}

OVRESULT OVLIB3_CALL OvLib3OptionMinRect(OVHANDLE iface, int32_t* x, int32_t* y, int32_t* width, int32_t* height,
                                         OVHANDLE err) {
    return optionExport("OvLib3OptionMinRect", iface, err, [&] {
        writeRect(optionAt<RectOption>(iface, OptionKind::Rect).rules().minimum, x, y, width, height);
    });
}

OVRESULT OVLIB3_CALL OvLib3OptionMaxRect(OVHANDLE iface, int32_t* x, int32_t* y, int32_t* width, int32_t* height,
                                         OVHANDLE err) {
    return optionExport("OvLib3OptionMaxRect", iface, err, [&] {
        writeRect(optionAt<RectOption>(iface, OptionKind::Rect).rules().maximum, x, y, width, height);
    });
}

}  // extern "C"
