#pragma once
// Texts of the string table.
#include <windows.h>

#include <string>

namespace AppGui {

// The string resource `id` of the program's module; empty when there is none.
std::wstring LoadText(UINT id);

}  // namespace AppGui
