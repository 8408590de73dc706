#pragma once
#include "ovlib3.h"

namespace DllModule::Lib3Wrapper {

// Owns one library error-data handle; passed as the last argument of every call.
class Lib3ErrorData {
public:
    Lib3ErrorData() { OvLib3ErrorDataCreate(&handle_); }
    ~Lib3ErrorData() {
        if (handle_) OvLib3ErrorDataFree(handle_);
    }
    Lib3ErrorData(const Lib3ErrorData&) = delete;
    Lib3ErrorData& operator=(const Lib3ErrorData&) = delete;

    OVHANDLE Get() const { return handle_; }
    operator OVHANDLE() const { return handle_; }

private:
    OVHANDLE handle_ = 0;
};

// Owns one library data header (a data type with numbered 32-bit fields).
// Construction throws Lib3Error when the library cannot create it.
class Lib3DataHeader {
public:
    Lib3DataHeader();
    ~Lib3DataHeader();
    Lib3DataHeader(const Lib3DataHeader&) = delete;
    Lib3DataHeader& operator=(const Lib3DataHeader&) = delete;

    OVHANDLE Get() const { return handle_; }

private:
    OVHANDLE handle_ = 0;
};

}  // namespace DllModule::Lib3Wrapper
