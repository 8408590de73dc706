#include "Zoom.h"

#include <algorithm>
#include <cwchar>

namespace AppGui {

int ClampZoom(int zoom) { return std::clamp(zoom, kZoomMin, kZoomMax); }

SIZE ZoomedSize(int zoom, SIZE natural, SIZE client) {
    const long naturalWidth = std::max<long>(natural.cx, 1);
    const long naturalHeight = std::max<long>(natural.cy, 1);
    SIZE size{};
    switch (zoom) {
        case kZoomNatural:
            return natural;
        case kZoomFitWhole:
            size.cx = client.cx;
            size.cy = size.cx * natural.cy / naturalWidth;
            if (size.cy > client.cy) {
                size.cx = natural.cx * client.cy / naturalHeight;
                size.cy = client.cy;
            }
            return size;
        case kZoomFitWidth:
            size.cx = client.cx;
            size.cy = size.cx * natural.cy / naturalWidth;
            return size;
        case kZoomFitHeight:
            size.cy = client.cy;
            size.cx = natural.cx * size.cy / naturalHeight;
            return size;
        default:
            // Other negative levels are percentages too; a window has no negative size.
            size.cx = std::max<long>(zoom * natural.cx / 100, 0);
            size.cy = std::max<long>(zoom * natural.cy / 100, 0);
            return size;
    }
}

const wchar_t* ZoomCaption(int zoom) {
    static wchar_t caption[260];
    switch (zoom) {
        case kZoomFitWhole:
            std::wcscpy(caption, L"(Масштаб \"Полностью\")");
            break;
        case kZoomFitWidth:
            std::wcscpy(caption, L"(Масштаб \"По ширине\")");
            break;
        case kZoomFitHeight:
            std::wcscpy(caption, L"(Масштаб \"По высоте\")");
            break;
        default:
            std::swprintf(caption, 260, L"(Масштаб %d%ls)", zoom, L"%");
            break;
    }
    return caption;
}

int ZoomStepUp(int zoom) {
    if (zoom < 0) return kZoomNatural;
    return std::min(zoom + 10, kZoomMax);
}

int ZoomStepDown(int zoom) {
    if (zoom < 0) return kZoomNatural;
    return zoom >= 40 ? zoom - 10 : 30;
}

SIZE ZoomState::Apply(int zoom, SIZE current, SIZE client) {
    if (zoom_ == kZoomNatural) natural_ = current;
    zoom_ = ClampZoom(zoom);
    return ZoomedSize(zoom_, natural_, client);
}

}  // namespace AppGui
