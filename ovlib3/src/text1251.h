// UTF-8 -> Windows-1251 conversion: the library hands out cp1251 texts, but
// the sources stay readable as UTF-8.
#pragma once
#include <string>
#include <string_view>

namespace ovsim {

// Converts UTF-8 text to Windows-1251; characters without a cp1251 code become '?'.
std::string toCp1251(std::string_view utf8);

}  // namespace ovsim
