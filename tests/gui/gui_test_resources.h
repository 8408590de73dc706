#pragma once
// Dialog templates used by the framework tests only.
#define IDD_TEST_MODAL 9001
#define IDD_TEST_PANE 9002
#define IDC_TEST_LABEL 9010
#define IDC_TEST_FIRST 9011
#define IDC_TEST_SECOND 9012
