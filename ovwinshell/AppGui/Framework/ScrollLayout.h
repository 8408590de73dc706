#pragma once
// The arithmetic of a scrolling host, apart from any window.
#include <windows.h>

namespace AppGui {

// Where a child of `child` pixels goes on one axis of a client of `client`
// pixels: scrolled to -position when the client is smaller, else centred.
int PlaceOnAxis(int client, int child, int position);

// The position a scroll-bar request asks for (WM_HSCROLL/WM_VSCROLL code),
// before the system clamps it. `thumb` is the position in the message,
// `track` the tracking position. Line steps are a tenth of the page.
// Returns false for requests that do not move (SB_ENDSCROLL).
bool RequestedScrollPosition(int code, const SCROLLINFO& info, int thumb, int* position);

}  // namespace AppGui
