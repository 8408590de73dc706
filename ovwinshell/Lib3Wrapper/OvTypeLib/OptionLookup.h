#pragma once
// Looks an option of a system up by identifier and index (null when absent).
#include "IOvEnum.h"
#include "IOvOption.h"
#include "IOvSystem.h"

namespace DllModule::Lib3Wrapper::OvTypeLib {

inline IOvOption* FindSystemOption(IOvSystem* system, uint32_t id, uint32_t index = 0) {
    IOvEnum* options = nullptr;
    void* item = nullptr;
    if (!system || !system->GetOptions(&options) || !options || !options->Find(id, index, &item)) return nullptr;
    return static_cast<IOvOption*>(item);
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
