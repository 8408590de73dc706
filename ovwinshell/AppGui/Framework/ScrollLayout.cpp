#include "ScrollLayout.h"

namespace AppGui {

int PlaceOnAxis(int client, int child, int position) { return client < child ? -position : (client - child) / 2; }

bool RequestedScrollPosition(int code, const SCROLLINFO& info, int thumb, int* position) {
    const int page = static_cast<int>(info.nPage);
    switch (code) {
        case SB_LINEUP:
            *position = info.nPos - page / 10;
            return true;
        case SB_LINEDOWN:
            *position = info.nPos + page / 10;
            return true;
        case SB_PAGEUP:
            *position = info.nPos - page;
            return true;
        case SB_PAGEDOWN:
            *position = info.nPos + page;
            return true;
        case SB_THUMBPOSITION:
            *position = thumb;
            return true;
        case SB_THUMBTRACK:
            *position = info.nTrackPos;
            return true;
        case SB_TOP:
            *position = info.nMin;
            return true;
        case SB_BOTTOM:
            *position = info.nMax;
            return true;
        default:
            return false;
    }
}

}  // namespace AppGui
