#pragma once
// Private window messages sent by the imaging code (always with SendNotifyMessage).
#include <windows.h>

#define UWM_FRAME_INDEX (WM_APP + 7)
#define UWM_SEQUENCE_END (WM_APP + 8)
#define UWM_FRAME_SIZE (WM_APP + 10)
#define UWM_STATUS_TICK 0x8011
#define UWM_EXPOSURE_STARTED 0x8016
