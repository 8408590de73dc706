#pragma once
// Zoom levels of the frame view. 100 is the natural size; the negative values
// are the fitting modes; any other value is a percentage.
#include <windows.h>

namespace AppGui {

constexpr int kZoomNatural = 100;
constexpr int kZoomFitWhole = -75;  // the whole image visible
constexpr int kZoomFitWidth = -50;
constexpr int kZoomFitHeight = -25;
constexpr int kZoomMin = -75;
constexpr int kZoomMax = 800;

int ClampZoom(int zoom);

// The child's size for a zoom, from its natural size and the host's client size.
SIZE ZoomedSize(int zoom, SIZE natural, SIZE client);

// The caption of a zoom, e.g. "(Масштаб 150%)", written into one buffer
// shared by every caller (valid until the next call).
const wchar_t* ZoomCaption(int zoom);

// The main window's +10% and -10% steps: from a fitting mode both go to 100;
// up stops at 800; down goes in tens while the zoom is at least 40, else to 30.
int ZoomStepUp(int zoom);
int ZoomStepDown(int zoom);

// The zoom of one host: the level and the natural size taken whenever a new
// level is set while the zoom is 100.
class ZoomState {
public:
    int Zoom() const { return zoom_; }
    SIZE Natural() const { return natural_; }
    // Sets the zoom and returns the child's new size. `current` is the
    // child's size now, `client` the host's client size.
    SIZE Apply(int zoom, SIZE current, SIZE client);

private:
    int zoom_ = kZoomNatural;
    SIZE natural_{0, 0};
};

}  // namespace AppGui
