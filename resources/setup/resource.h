// Resource identifiers of Setup.exe.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDR_MAINFRAME 128

#define IDD_SETUP_DIALOG 102
#define IDD_WELCOME 129
#define IDD_LICENSE 130
#define IDD_INSTALL_PATH 132
#define IDD_COPY 133
#define IDD_FINISH 134
#define IDD_SILENT 135

// Texts (below 0xE000: the framework's ids start there, AfxRes.h).
#define IDS_CANCEL_QUESTION 102
#define IDS_BROWSE_TITLE 103
#define IDS_WIZARD_TITLE 104
#define IDS_QUIT_QUESTION 105
#define IDS_REINSTALL_QUESTION 106
#define IDS_REINSTALL_CAPTION 107
#define IDS_CONFIGURING 108
#define IDS_FILES_NOT_COPIED 109
#define IDS_PROMPT_NO_SOURCE 110
#define IDS_PROMPT_NO_FOLDER 111
#define IDS_LICENSE_TEXT 112
// The install job's failed items (SetupJob.rc), each with one %s.
#define IDS_FAILED_CONTROL 113
#define IDS_FAILED_VALUE 114
#define IDS_FAILED_PROFILE 115
#define IDS_FAILED_SHORTCUT 116
#define IDS_FAILED_NO_SHELL_FOLDERS 117
#define IDS_FAILED_RECORD 118
#define IDS_FAILED_LOG 119
// The notice's headline when more than files failed (%d: how many).
#define IDS_ITEMS_FAILED 120
// The box naming the AutoCAD releases the package has no modules for (%d:
// how many; SetupJob.rc).
#define IDS_HOSTS_UNSUPPORTED 124
// The box naming the files replaced at the restart (%d: how many).
#define IDS_RESTART_NEEDED 127
#define IDS_UNDOING 128
#define IDS_UNDO_AT_RESTART 129
#define IDS_NOT_UNDONE 130
// The install job's questions before its copy (SetupJob.rc): the programs
// using the destination (%s: one a line), the free space (%s: the folder
// asked, the size needed, the size free).
#define IDS_PROMPT_IN_USE 125
#define IDS_PROMPT_NO_SPACE 126
// The destination refused or questioned (%s: the folder).
#define IDS_DEST_SYSTEM_FOLDER 121
#define IDS_DEST_DRIVE_ROOT 122
#define IDS_DEST_CAPTION 123

#define IDC_BACK 1000
#define IDC_NEXT 1001
#define IDC_TITLE 1003
#define IDC_WELCOME_TEXT 1004
#define IDC_LICENSE_TEXT 1005
#define IDC_DISAGREE 1006
#define IDC_AGREE 1007
#define IDC_DEST_EDIT 1011
#define IDC_BROWSE 1012
#define IDC_COPY_GROUP 1013
#define IDC_PROGRESS 1014
#define IDC_COPY_ITEM 1015
#define IDC_README 1017
#define IDC_CONFIGURING 1018
