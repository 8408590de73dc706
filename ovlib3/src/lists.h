// The library's standard lists (error texts, interfaces, units, enum values,
// attribute names, camera types, pre-init options), all in cp1251.
#pragma once
#include <cstdint>

#include "ovlib3.h"

namespace ovsim {

// Text of id in the list with this handle, or null.
const char* listText(OVHANDLE list, uint32_t id);

}  // namespace ovsim
