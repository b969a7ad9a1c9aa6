// Window messages from the uninstall job to its owner (the uninstaller's
// dialog); they lie just above WM_USER (1024).
#pragma once

enum : unsigned {
    WM_UNINSTALL_PROGRESS = 1036,    // sent: lParam file path
    WM_UNINSTALL_FILES_DONE = 1037,  // sent
    WM_UNINSTALL_DONE = 1038,        // sent
    WM_UNINSTALL_FAILED = 1040       // posted: the record could not be read
};
