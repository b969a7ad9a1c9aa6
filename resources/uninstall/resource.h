// Resource identifiers of Uninstall.exe.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDR_MAINFRAME 128

#define IDD_UNINSTALL 102

// Texts (below 0xE000: the framework's ids start there, AfxRes.h).
#define IDS_UNINSTALL_QUESTION 101
#define IDS_UNINSTALL_CAPTION 102
#define IDS_UNINSTALL_FAILED 103
#define IDS_ITEMS_NOT_REMOVED 104
#define IDS_PASSED_OVER 105  // %s: the record's entry
#define IDS_DONE_AT_RESTART 107
#define IDS_PROGRAMS_IN_USE 106  // %s: the programs using the installation, one a line

#define IDC_PROGRESS 1000
#define IDC_CURRENT 1001
#define IDC_TITLE 1002
#define IDC_DONE_TEXT 1003
#define IDC_FRAME 1004
