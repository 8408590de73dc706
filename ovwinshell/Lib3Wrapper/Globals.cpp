#include "Globals.h"

#include <windows.h>

#include "Common/AnsiText.h"
#include "Lib3Error.h"
#include "MessageSink.h"
#include "OvTypeLib/Impl/Vext/OvVextSystemImpl.h"
#include "OvTypeLib/Impl/Zel/OvZelSystemImpl.h"
#include "lib3datatypes.h"

namespace DllModule::Lib3Wrapper {

namespace {
const char* const kUnitPath = ".\\Globals";

// Both process-wide objects live in this unit so that the sink is built
// before the library globals and destroyed after them.
MessageSink g_messageSink;
Lib3Globals g_lib3Globals;
}  // namespace

const wchar_t* const NoDevicesCaption = L"Не найдено ни одного устройства. Работа приложения невозможна.";

MessageSink& MessageSink::Instance() { return g_messageSink; }
Lib3Globals& Lib3Globals::Instance() { return g_lib3Globals; }

Lib3Globals::Lib3Globals() {
    Lib3ErrorData err;
    OVRESULT result = OvLib3Init(err);
    if (result > 0) {
        Lib3Error error(err, kUnitPath, __LINE__);
        const char* text = MessageSink::Instance().Report(ErrorTitle, error.Text(), true);
        MessageBoxW(nullptr, AnsiToWide(text).c_str(), NoDevicesCaption, MB_OK | MB_ICONERROR);
    }
}

Lib3Globals::~Lib3Globals() {
    SetZelSystem(nullptr);
    SetVextSystem(nullptr);
    systemTypes_.Clear();
    Lib3ErrorData err;
    OVRESULT result = OvLib3Exit(err);
    if (result > 0) MessageSink::Instance().Report(ErrorTitle, Lib3Error(err, kUnitPath, __LINE__).Text(), true);
}

void Lib3Globals::SetVextSystem(OvTypeLib::Impl::Vext::OvSystemImpl* system) {
    if (vext_ == system) return;
    delete vext_;
    vext_ = system;
}

void Lib3Globals::SetZelSystem(OvTypeLib::Impl::Zel::OvSystemImpl* system) {
    if (zel_ == system) return;
    delete zel_;
    zel_ = system;
}

}  // namespace DllModule::Lib3Wrapper
