#pragma once
// The "ghost" of a splitter bar while it is dragged: the bar's rectangle
// inverted through an 8x8 half-tone pattern (rows alternating 0xAAAA and
// 0x5555), drawn over the window and its children. Drawing it twice at the
// same place removes it.
#include <windows.h>

namespace AppGui {

void InvertHalftoneRect(HWND window, const RECT& rect);

}  // namespace AppGui
