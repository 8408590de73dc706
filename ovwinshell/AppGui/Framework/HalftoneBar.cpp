#include "HalftoneBar.h"

namespace AppGui {

void InvertHalftoneRect(HWND window, const RECT& rect) {
    static const WORD kPattern[8] = {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555};
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, kPattern);
    if (!bitmap) return;
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);  // the brush keeps its own copy
    if (!brush) return;
    // A cache DC without DCX_CLIPCHILDREN: the ghost crosses the panes too.
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (dc) {
        HGDIOBJ previous = SelectObject(dc, brush);
        PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, PATINVERT);
        SelectObject(dc, previous);
        ReleaseDC(window, dc);
    }
    DeleteObject(brush);
}

}  // namespace AppGui
