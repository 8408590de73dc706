// Error codes, the exception that carries a failure to the export boundary,
// and the error data objects that record failures for OvLib3ErrorSPrintf.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ovlib3.h"

namespace ovsim {

enum ErrorCode : int32_t {
    kErrGeneral = 1,
    kErrBadHandle = 2,
    kErrBadParameter = 3,
    kErrNotInitialised = 4,
    kErrAlreadyInitialised = 5,
    kErrNoInterface = 6,
    kErrWrongKind = 7,
    kErrOutOfRange = 8,
    kErrUnitUnsupported = 9,
    kErrEnumValue = 10,
    kErrRect = 11,
    kErrBufferTooSmall = 12,
    kErrSizeMismatch = 13,
    kErrConversion = 14,
    kErrMethod = 15,
    kErrTimeout = 16,
    kErrBusy = 17,
    kErrNotImplemented = 18,
    kErrUnknownCommand = 19,
    kErrUnknownCamera = 20,
    kErrNoMemory = 21,
    kErrNoDma = 22,
    kErrNoBlock = 23,
    kErrPreInitOnly = 24,
    kErrNotDeterministic = 25,
    kErrSimulated = 100,
    kErrContextIdle = 217,
    kErrSimulatedLong = 999,
};

// Results <= 0 are success; Wait uses this one to say "time ran out, no frame".
constexpr OVRESULT kWarnTimeout = -1;

// (code, UTF-8 text) pairs: the content of list 1.
const std::vector<std::pair<int32_t, const char*>>& errorTexts();

// A failure on its way to the export boundary. The remark is UTF-8.
struct SimError {
    int32_t code;
    const char* file;
    int line;
    OVHANDLE object;
    std::string remark;
};

#define OV_FAIL(code, object, remark) \
    throw ::ovsim::SimError { (code), __FILE__, __LINE__, (object), (remark) }

// Stores the failure into the error data err (ignored when err is not one).
void recordError(OVHANDLE err, const char* function, const SimError& error);

// Implemented by the systems: the "object file" shown for a handle (cp1251).
std::string objectFileOf(OVHANDLE object);

uint32_t liveErrorDatas();

}  // namespace ovsim
