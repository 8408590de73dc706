#pragma once
// Private window messages sent by the imaging threads (always with
// SendNotifyMessage, so a sender never waits for the GUI thread).
#include <windows.h>

// A frame was written, delivered or acquired; lParam = the frame index.
constexpr UINT UWM_FRAME_INDEX = WM_APP + 7;
// The recording, export or frame range ended.
constexpr UINT UWM_SEQUENCE_END = WM_APP + 8;
// A surface needs another size: wParam = height << 16 | width (low 16 bits of
// each), lParam = the Render::Surface.
constexpr UINT UWM_FRAME_SIZE = WM_APP + 10;
// The worker took a frame; the main window refreshes its frame rate.
constexpr UINT UWM_STATUS_TICK = 0x8011;
// A long software-started exposure began; the main window starts its countdown.
constexpr UINT UWM_EXPOSURE_STARTED = 0x8016;
// A frame could not be saved: wParam = 1 when the series saved it, lParam =
// the system error code (0 when there is none). A series reports only the
// first of a run of failures.
constexpr UINT UWM_FRAME_NOT_SAVED = 0x8020;
