#pragma once
#include <cstdint>
#include "ovlib3.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

class OvEnumOptionsImpl;

// Options the library offers before initialisation: every entry of list 11
// (text selector 0 for ZEL, 1 for VEXT) at each of the indexes 0 to 9.
void FillOptionsBeforeInit(OvEnumOptionsImpl& options, OVHANDLE system, uint32_t selector, OVHANDLE err);

// The full option set after initialisation: every entry of list 2 at indexes
// 0, 1, 2 ... up to the first missing interface. The old options are deleted.
void FillOptionsAfterInit(OvEnumOptionsImpl& options, OVHANDLE system, OVHANDLE err);

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
