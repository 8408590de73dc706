#pragma once
#include <cstdint>
#include "ovlib3.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

// Standard list numbers of the camera library.
enum LibList : uint32_t {
    ListErrorTexts = 1,
    ListInterfaces = 2,
    ListUnits = 3,
    ListEnumValues = 4,
    ListAttributeNames = 7,
    ListSystemTypes = 10,
    ListPreInitOptions = 11,
};

inline OVHANDLE GetList(uint32_t number, uint32_t selector) { return OvLib3ListGetStdListML(number, selector, 2); }

// Calls visit(text, id) for each entry from index 0 until the list ends or visit returns false.
template <typename Visit>
void WalkList(OVHANDLE list, Visit&& visit) {
    if (!list) return;
    for (uint32_t index = 0;; ++index) {
        const char* text = nullptr;
        uint32_t id = 0;
        if (OvLib3ListGetAll(&text, &id, index, list) == 0) return;
        if (!visit(text ? text : "", id)) return;
    }
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
