// Window messages from the install job to its owner (the copy page); they
// lie just below WM_USER (1024).
#pragma once

enum : unsigned {
    WM_SETUP_PROGRESS = 1012,     // sent: wParam source path, lParam destination path
    WM_SETUP_CONFIGURING = 1013,  // sent: the copy phase is over, configuring starts
    WM_SETUP_DONE = 1014,         // posted
    WM_SETUP_FAILED = 1015,       // posted: the copy phase stopped (and was undone)
    WM_SETUP_UNDOING = 1016,      // sent: the undo starts, wParam its number of steps
    WM_SETUP_UNDO_STEP = 1017     // sent: lParam the path undone
};
