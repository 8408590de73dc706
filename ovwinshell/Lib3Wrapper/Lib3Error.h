#pragma once
#include <string>
#include "ovlib3.h"

namespace DllModule::Lib3Wrapper {

// A failed library call, with one readable text built from the library's
// error data, the throwing unit's path and the line of the call.
class Lib3Error {
public:
    Lib3Error(OVHANDLE errorData, const char* sourcePath, int line);
    virtual ~Lib3Error() = default;

    const char* Text() const { return message_.c_str(); }

private:
    std::string message_;
};

// The throw rule: a library result greater than 0 is a failure.
inline void ThrowIfFailed(OVRESULT result, OVHANDLE errorData, const char* sourcePath, int line) {
    if (result > 0) throw Lib3Error(errorData, sourcePath, line);
}

// Each throwing unit defines kUnitPath, the unit's path as error texts name it.
#define LIB3_CHECK(call, errorData) ::DllModule::Lib3Wrapper::ThrowIfFailed((call), (errorData), kUnitPath, __LINE__)

// Title of every error report; the log pane recognises lines equal to it.
extern const char* const ErrorTitle;

}  // namespace DllModule::Lib3Wrapper
