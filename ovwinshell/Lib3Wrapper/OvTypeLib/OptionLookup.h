#pragma once
// Looking options of a system up: by identifier and index, or all in turn.
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

// Calls visit(IOvOption*) for every option of the system in enumeration order.
template <class Visit>
void ForEachOption(IOvSystem* system, Visit&& visit) {
    IOvEnum* options = nullptr;
    void* item = nullptr;
    if (!system || !system->GetOptions(&options) || !options) return;
    for (bool more = options->First(nullptr, nullptr, &item); more; more = options->Next(nullptr, nullptr, &item))
        if (item) visit(static_cast<IOvOption*>(item));
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
