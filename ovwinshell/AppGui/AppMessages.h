#pragma once
// The private window messages of the program (WM_APP + n). The imaging code's
// own ones come from Render/RenderMessages.h; the others are defined here.
#include <windows.h>

#include "Render/RenderMessages.h"

// To the main window.
#define UWM_OPTION_CHANGED 0x8002     // lParam = option id
#define UWM_SHOW_OUTPUT 0x8005        // the log pane has an error entry
#define UWM_TOGGLE_STATISTICS 0x8009  // to the output pane; wParam = shown
#define UWM_BUILD_OPTIONS 0x800D      // to the options pane
#define UWM_SAVE_OPTIONS 0x800E       // to the options pane; lParam = file path
#define UWM_LOAD_OPTIONS 0x800F       // to the options pane; lParam = file path
#define UWM_REAPPLY_OPTIONS 0x8010
#define UWM_WRITE_OPTIONS 0x8012  // lParam = file path
#define UWM_CAPTURE_STATE 0x8013  // wParam = mode, lParam = text
#define UWM_FRAME_VIEW 0x8014     // passed on to the frame view
#define UWM_FIT_OPTIONS 0x8015    // to the options pane

// To other windows.
#define UWM_LOG_TEXT 0x8005  // to the log pane's own window; lParam = text
#define UWM_GET_ZOOM 0x800B  // to a zoom window; returns the zoom
#define UWM_SET_ZOOM 0x800C  // to a zoom window; wParam = zoom

static_assert(UWM_FRAME_INDEX == 0x8007 && UWM_SEQUENCE_END == 0x8008 && UWM_FRAME_SIZE == 0x800A,
              "the imaging messages share this numbering");
