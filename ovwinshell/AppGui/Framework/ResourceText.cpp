#include "ResourceText.h"

#include "WindowClass.h"

namespace AppGui {

std::wstring LoadText(UINT id) {
    // With no buffer LoadStringW hands out the read-only resource text itself.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(ModuleInstance(), id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

}  // namespace AppGui
