#pragma once
#include <string>
#include "ovlib3.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

// The information text of an initialised system: the controller's and the
// camera's serial numbers, as far as the library can tell them.
std::string ReadSystemInfo(OVHANDLE system, OVHANDLE err);

// Destroys the library system behind `system`; a failure is reported, never thrown.
void DestroyLibrarySystem(OVHANDLE system, const char* unitPath);

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
