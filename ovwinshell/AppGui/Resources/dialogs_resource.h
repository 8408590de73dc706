// Dialog templates, their control ids and the dialogs' texts. Included by
// dialogs.rc and by the dialogs' sources; plain defines only.
#pragma once

// About box.
#define IDD_ABOUT 102
#define IDC_ABOUT_TEXT 1040

// Preferences.
#define IDD_PREFERENCES 108
#define IDC_CAPTURE_FOLDER 1038
#define IDC_BROWSE_FOLDER 1039

// Camera-type dialog.
#define IDD_CREATE 114
#define IDC_CAMERA_TYPE 1065
#define IDC_OPTIONS_PLACE 1066

// The old-style open-file dialog reduced to a folder chooser.
#define IDD_FOLDER_CHOOSER 1536
#define IDC_FOLDERS_LABEL 1200

// Texts.
#define IDS_ABOUT_PROGRAM 230    // the program's version and the maker's contact lines
#define IDS_ABOUT_LIBRARY 231    // followed by the camera library's version
#define IDS_FOLDER_TOO_LONG 232  // format: the folder as entered
#define IDS_PREFERENCES_TITLE 233
#define IDS_FOLDER_CHOOSER_TITLE 234
