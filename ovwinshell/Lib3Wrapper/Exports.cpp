#include "Exports.h"

#include "Globals.h"
#include "OvTypeLib/Impl/LibList.h"
#include "OvTypeLib/Impl/OvSystemCommon.h"
#include "OvTypeLib/Impl/Vext/OvVextSystemImpl.h"
#include "OvTypeLib/Impl/Zel/OvZelSystemImpl.h"
#include "Reported.h"
#include "lib3datatypes.h"

namespace DllModule::Lib3Wrapper {

namespace {
const char* const kUnitPath = ".\\Exports";
}

using OvTypeLib::VextSystemType;

bool Lib3GetSystemTypes(OvTypeLib::IOvEnum** types) {
    auto& list = Lib3Globals::Instance().GetSystemTypes();
    list.Clear();
    OvTypeLib::Impl::WalkList(OvLib3ListGetStdList(OvTypeLib::Impl::ListSystemTypes),
                              [&](const char* text, uint32_t id) {
                                  list.Add(id, text);
                                  return true;
                              });
    *types = &list;
    return true;
}

bool Lib3CreateSystem(uint32_t typeId, OvTypeLib::IOvSystem** system, OvTypeLib::IOvLogger* logger) {
    Lib3ErrorData err;
    MessageSink::Instance().SetLogger(logger);
    auto& globals = Lib3Globals::Instance();
    globals.SetZelSystem(nullptr);
    globals.SetVextSystem(nullptr);
    return RunReported([&] {
        OVHANDLE handle = 0;
        LIB3_CHECK(OvLib3SystemCreate(typeId, &handle, err), err);
        try {
            if (typeId == VextSystemType) {
                auto* created = new OvTypeLib::Impl::Vext::OvSystemImpl(handle);
                globals.SetVextSystem(created);
                *system = created;
            } else {
                auto* created = new OvTypeLib::Impl::Zel::OvSystemImpl(handle);
                globals.SetZelSystem(created);
                *system = created;
            }
        } catch (...) {
            // The object never took the handle over: give the system back here.
            OvTypeLib::Impl::DestroyLibrarySystem(handle, kUnitPath);
            throw;
        }
        return true;
    });
}

bool Lib3ReleaseSystem(uint32_t typeId) {
    auto& globals = Lib3Globals::Instance();
    if (typeId == VextSystemType)
        globals.SetVextSystem(nullptr);
    else
        globals.SetZelSystem(nullptr);
    return true;
}

}  // namespace DllModule::Lib3Wrapper
