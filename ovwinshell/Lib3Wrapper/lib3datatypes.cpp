#include "lib3datatypes.h"

#include "Lib3Error.h"

namespace DllModule::Lib3Wrapper {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\lib3datatypes";
}

Lib3DataHeader::Lib3DataHeader() {
    Lib3ErrorData err;
    LIB3_CHECK(OvLib3DataheaderCreate(&handle_, err), err);
    OVRESULT result = OvLib3DataheaderInit(handle_, err);
    if (result > 0) {
        // The destructor will not run for a half-built holder: free it here.
        Lib3Error error(err, kUnitPath, __LINE__);
        OvLib3DataheaderFree(handle_, err);
        throw error;
    }
}

Lib3DataHeader::~Lib3DataHeader() {
    Lib3ErrorData err;
    OvLib3DataheaderFree(handle_, err);
}

}  // namespace DllModule::Lib3Wrapper
