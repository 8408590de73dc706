// Resource and command ids of ovwinshell. Included by the resource script and
// by C++ sources; plain defines only.
#pragma once

// Menu, accelerator table and icon of the main window; the main toolbar's
// bitmap and control id.
#define IDR_MAINFRAME 101
#define IDB_MAIN_TOOLBAR 101
#define IDC_MAIN_TOOLBAR 101
#define MAIN_TOOLBAR_IMAGES 10
// The ZEL toolbar's bitmap and control id.
#define IDB_ZEL_TOOLBAR 104
#define IDC_ZEL_TOOLBAR 104
#define ZEL_TOOLBAR_IMAGES 4

// Commands (WM_COMMAND ids). The string with a command's id is its tooltip.
#define ID_APP_EXIT 40001
#define ID_APP_ABOUT 40002
#define ID_ACQUIRE_ONE 40010
#define ID_SETTINGS_COMMON 40012
#define ID_CAMERA_NEW 40021
#define ID_CAMERA_OPEN 40022
#define ID_CAMERA_SAVE 40023
#define ID_CAMERA_CLOSE 40024
#define ID_ZOOM_100 40025
#define ID_ZOOM_FIT 40026
#define ID_ZOOM_IN 40027
#define ID_ZOOM_OUT 40028
#define ID_SHOW_STATISTICS 40029
#define ID_PAUSE_INPUT 40030
#define ID_SAVE_FRAME 40031
#define ID_SAVE_SERIES 40032

// Texts.
#define IDS_RESUME_INPUT 201  // tooltip of ID_PAUSE_INPUT while input is paused
#define IDS_APP_TITLE 202
#define IDS_NO_DEVICES 203
#define IDS_FILE_READ_ERROR 204    // title of the box for a profile that cannot be read
#define IDS_FILE_READ_CAPTION 205  // followed by the profile's path
#define IDS_NO_SYSTEM_TYPE 206     // format: section, key
#define IDS_TYPE_NOT_SUPPORTED 207
#define IDS_EXPOSURE_LEFT 208  // followed by milliseconds and IDS_MILLISECONDS
#define IDS_MILLISECONDS 209
#define IDS_STATUS_TYPE_INFO 210  // followed by the value in decimal
#define IDS_STATUS_FPS 211        // format: frames per second
#define IDS_PROFILE_FILTER 212
#define IDS_ALL_FILES_FILTER 213

// The output pane: the log's pop-up menu and command, the tab texts, the
// log's alert box title.
#define IDR_LOG_MENU 106
#define ID_LOG_CLEAR 40033
#define IDS_LOG_ALERT_TITLE 214
#define IDS_TAB_LOG 215
#define IDS_TAB_RECORDING 216
#define IDS_TAB_STATISTICS 217

// The statistics tab (dialog template 103) and its depth list texts.
#define IDD_STATISTICS 103
#define IDC_HIST_BITS_8 1023
#define IDC_HIST_BITS_9 1024
#define IDC_HIST_BITS_10 1025
#define IDC_HIST_BITS_11 1026
#define IDC_HIST_BITS_12 1027
#define IDC_HIST_BITS_13 1028
#define IDC_HIST_SHOW 1029
#define IDC_STAT_SHOW 1030
#define IDC_STAT_DEPTH 1031
#define IDC_HIST_FRAME 1041
#define IDC_HIST_SCROLL 1042
#define IDC_HIST_KEEP_PICTURE 1103
#define IDC_HIST_NORMALISE 1104
#define IDC_DATA_RATE 1119
#define IDC_DATA_AMOUNT 1120
#define IDC_DATA_SPEED 1121
#define IDS_DEPTH_8 218
#define IDS_DEPTH_10 219
#define IDS_DEPTH_12 220
#define IDS_DEPTH_16 221
#define IDS_CAMERA_NOT_OPENED 222  // the camera layer's report follows

// Work that was not done (240 on).
#define IDS_FRAME_NOT_SAVED 240     // format: folder, the system's reason
#define IDS_SERIES_NOT_SAVED 241    // follows IDS_FRAME_NOT_SAVED in the series' box
#define IDS_SETTINGS_NOT_SAVED 242  // format: the preferences file

// The VEXT recording panel (dialog template 115) and its toolbar (bitmap 105).
#define IDD_VEXT_PANEL 115
#define IDB_VEXT_TOOLBAR 105
#define VEXT_TOOLBAR_IMAGES 8
#define ID_VEXT_SETUP 40003
#define ID_VEXT_RECORD 40004
#define ID_VEXT_STOP 40005
#define ID_VEXT_SAVE 40006
#define ID_VEXT_PLAY_BACK 40014
#define ID_VEXT_PLAY 40015
#define ID_VEXT_STEP_BACK 40018
#define ID_VEXT_STEP 40019
#define IDC_VEXT_FIRST 1046
#define IDC_VEXT_LAST 1047
#define IDC_VEXT_FRAME_SLIDER 1067
#define IDC_VEXT_TOOLBAR_PLACE 1068
#define IDC_VEXT_BACKGROUND 1071
#define IDC_VEXT_BINNING 1072
#define IDC_VEXT_GAMMA_ON 1073
#define IDC_VEXT_WHITE 1075
#define IDC_VEXT_GAMMA 1076
#define IDC_VEXT_SPEED 1083
#define IDC_VEXT_GAMMA_TEXT 1085
#define IDC_VEXT_SET_FIRST 1087
#define IDC_VEXT_SET_LAST 1088
#define IDC_VEXT_FRAME_NUMBER 1089
#define IDC_VEXT_STATUS 1090
#define IDC_VEXT_LOADING 1091
#define IDC_VEXT_LOADING_PROGRESS 1092
#define IDC_VEXT_SAVING 1094
#define IDC_VEXT_SAVING_PROGRESS 1095
#define IDC_VEXT_FILE 1096
#define IDC_VEXT_BROWSE 1097
#define IDC_VEXT_CODEC 1099
#define IDC_VEXT_BLACK 1100
#define IDC_VEXT_FORMAT 1101
#define IDC_VEXT_GAIN 1102
#define IDC_VEXT_WB_BLUE 1106
#define IDC_VEXT_WB_GREEN 1107
#define IDC_VEXT_WB_RED 1108
#define IDC_VEXT_WB_AUTO 1109
#define IDC_VEXT_WB_PIXEL 1110
#define IDC_VEXT_WB_MANUAL 1111
#define IDC_VEXT_WB_ON 1112
#define IDS_VEXT_WRITE_FAILED 223  // format: frame index, file, system text
