// String identifiers the framework knows, for its code and for the
// resource scripts (like the system's afxres.h: plain #defines only).
//
//   0x0001-0xDFFF  each program's own texts (its resource.h)
//   0xE000-0xEFFF  texts the framework asks of each program, written in
//                  the program's own resource script
//   0xF000-0xFFFF  the framework's own texts, in resources/common/Framework.rc,
//                  which each program's resource script includes
#pragma once

// Asked of each program.
#define AFX_IDS_COMMAND_LINE_HELP 0xE000  // the box for /? : switches and exit codes
#define AFX_IDS_UNKNOWN_SWITCH 0xE001     // %s: the switch not understood
#define AFX_IDS_DIR_NOT_ABSOLUTE 0xE002   // %s: /DIR's folder (programs with /DIR only)
#define AFX_IDS_ANOTHER_RUNNING 0xE003    // another installation runs: try later

// The failure notice (AfxFailureNotice).
#define AFX_IDS_MORE_ITEMS 0xF000  // %d: the items not listed
#define AFX_IDS_LOG_LEAD 0xF001    // before the log's path

// CFileException::GetErrorMessage, one per cause; %s: the file.
#define AFX_IDS_FILE_GENERIC 0xF010
#define AFX_IDS_FILE_NOT_FOUND 0xF011
#define AFX_IDS_FILE_BAD_PATH 0xF012
#define AFX_IDS_FILE_TOO_MANY_OPEN 0xF013
#define AFX_IDS_FILE_ACCESS_DENIED 0xF014
#define AFX_IDS_FILE_INVALID 0xF015
#define AFX_IDS_FILE_REMOVE_CURRENT_DIR 0xF016
#define AFX_IDS_FILE_DIRECTORY_FULL 0xF017
#define AFX_IDS_FILE_BAD_SEEK 0xF018
#define AFX_IDS_FILE_HARD_IO 0xF019
#define AFX_IDS_FILE_SHARING_VIOLATION 0xF01A
#define AFX_IDS_FILE_LOCK_VIOLATION 0xF01B
#define AFX_IDS_FILE_DISK_FULL 0xF01C
#define AFX_IDS_FILE_END_OF_FILE 0xF01D
