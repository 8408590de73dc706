#include "OvSystemCommon.h"

#include "Lib3Wrapper/Reported.h"
#include "Lib3Wrapper/lib3datatypes.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

namespace {
constexpr uint32_t kSerialInterface = 0xC0000002;
constexpr uint32_t kReadSerialCommand = 0x50000065;
constexpr uint32_t kTextParameter = 284;

// "Серийный номер котроллера: " and "\nСерийный номер камеры: " in code page 1251.
const char* const kSerialCaptions[2] = {
    "\xd1\xe5\xf0\xe8\xe9\xed\xfb\xe9 \xed\xee\xec\xe5\xf0 \xea\xee\xf2\xf0\xee\xeb\xeb\xe5\xf0\xe0: ",
    "\n\xd1\xe5\xf0\xe8\xe9\xed\xfb\xe9 \xed\xee\xec\xe5\xf0 \xea\xe0\xec\xe5\xf0\xfb: ",
};

struct TextParameter {
    uint32_t capacity;
    char* buffer;
};
}  // namespace

std::string ReadSystemInfo(OVHANDLE system, OVHANDLE err) {
    std::string info;
    for (uint32_t index = 0; index < 2; ++index) {
        OVHANDLE iface = 0;
        if (OvLib3SystemGetCInterface(system, kSerialInterface, index, &iface, err) > 0) continue;
        char text[256] = {};
        TextParameter parameter{sizeof text, text};
        if (OvLib3CallCInterface_1(iface, kReadSerialCommand, kTextParameter, &parameter, err) > 0) continue;
        text[sizeof text - 1] = '\0';
        info += kSerialCaptions[index];
        info += text;
    }
    return info;
}

void DestroyLibrarySystem(OVHANDLE system, const char* unitPath) {
    Lib3ErrorData err;
    if (OvLib3SystemDestroy(system, err) > 0) ReportError(Lib3Error(err, unitPath, __LINE__));
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
