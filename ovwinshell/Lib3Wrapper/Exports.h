#pragma once
#include <cstdint>

#include "OvTypeLib/IOvEnum.h"
#include "OvTypeLib/IOvLogger.h"
#include "OvTypeLib/IOvSystem.h"

namespace DllModule::Lib3Wrapper {

// Fills and returns the (type id, name) list of camera system types; the list
// stays owned by the library globals. Always true.
bool Lib3GetSystemTypes(OvTypeLib::IOvEnum** types);

// Installs the logger, replaces any existing system (of either family) by a
// new one of the requested type and returns it; ownership stays here.
bool Lib3CreateSystem(uint32_t typeId, OvTypeLib::IOvSystem** system, OvTypeLib::IOvLogger* logger);

// Deletes the system of that type's family. Always true.
bool Lib3ReleaseSystem(uint32_t typeId);

}  // namespace DllModule::Lib3Wrapper
