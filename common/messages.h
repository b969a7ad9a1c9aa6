// Window messages between the workers and their dialogs.  The setup
// messages lie just below WM_USER (1024), the uninstall ones above it.
#pragma once

enum : unsigned {
    WM_SETUP_PROGRESS = 1012,     // sent: wParam source path, lParam destination path
    WM_SETUP_CONFIGURING = 1013,  // sent: the copy phase is over, configuring starts
    WM_SETUP_DONE = 1014,         // posted
    WM_SETUP_FAILED = 1015,       // posted: the copy phase stopped

    WM_UNINSTALL_PROGRESS = 1036,    // sent: lParam file path
    WM_UNINSTALL_FILES_DONE = 1037,  // sent
    WM_UNINSTALL_DONE = 1038,        // sent
    WM_UNINSTALL_FAILED = 1040       // posted: the record could not be read
};
