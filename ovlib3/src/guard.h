// The export boundary: every export counts its call, may fail by injection,
// runs under the library lock and turns a SimError into a stored error.
#pragma once
#include <new>
#include <string>

#include "errors.h"
#include "faults.h"
#include "sim_state.h"

namespace ovsim {

// The failure stored for an injected fault (code 999 carries a long remark).
SimError injectedError(int32_t code);

template <class Body>
OVRESULT runExport(const char* function, OVHANDLE err, Body&& body) {
    Lock lock(libraryMutex());
    try {
        if (auto code = countCallAndTakeFault(function)) {
            recordError(err, function, injectedError(*code));
            return *code;
        }
        return body(lock);
    } catch (const SimError& error) {
        recordError(err, function, error);
        return error.code;
    } catch (const std::bad_alloc&) {
        recordError(err, function, SimError{kErrNoMemory, __FILE__, __LINE__, 0, "нет памяти"});
        return kErrNoMemory;
    }
}

// Lists have no error data: a failure is the fallback value (0 or null).
template <class Result, class Body>
Result runListExport(const char* function, Result fallback, Body&& body) {
    Lock lock(libraryMutex());
    if (countCallAndTakeFault(function)) return fallback;
    return body();
}

}  // namespace ovsim
