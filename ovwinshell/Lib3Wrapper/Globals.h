#pragma once
#include <memory>

#include "OvTypeLib/Impl/OvEnumImpl.h"

namespace DllModule::Lib3Wrapper {

namespace OvTypeLib::Impl::Zel {
class OvSystemImpl;
}
namespace OvTypeLib::Impl::Vext {
class OvSystemImpl;
}

// Process-wide library lifetime: initialises the camera library at static
// initialisation, holds the one camera system and the system-type list, and
// tears everything down at static destruction.
class Lib3Globals {
public:
    static Lib3Globals& Instance();

    Lib3Globals();
    ~Lib3Globals();
    Lib3Globals(const Lib3Globals&) = delete;
    Lib3Globals& operator=(const Lib3Globals&) = delete;

    // Storing a new pointer deletes the previous occupant (unless it is the same).
    void SetVextSystem(OvTypeLib::Impl::Vext::OvSystemImpl* system);
    void SetZelSystem(OvTypeLib::Impl::Zel::OvSystemImpl* system);
    OvTypeLib::Impl::Vext::OvSystemImpl* GetVextSystem() const { return vext_; }
    OvTypeLib::Impl::Zel::OvSystemImpl* GetZelSystem() const { return zel_; }
    OvTypeLib::Impl::OvEnumPairsImpl& GetSystemTypes() { return systemTypes_; }

private:
    OvTypeLib::Impl::Vext::OvSystemImpl* vext_ = nullptr;
    OvTypeLib::Impl::Zel::OvSystemImpl* zel_ = nullptr;
    OvTypeLib::Impl::OvEnumPairsImpl systemTypes_;
};

// Caption of the message box shown when the library cannot be initialised.
extern const wchar_t* const NoDevicesCaption;

}  // namespace DllModule::Lib3Wrapper
