#!/bin/bash
# Runs a Windows program under the private prefix with the current
# directory on drive C: (never on Z:, the host's root).
#
# Output goes through a file: Wine's helper processes (the desktop
# process started by the first window) outlive the program and would keep
# a pipe from ctest open, so ctest would wait for them forever.
: "${WINEPREFIX:?run through scripts/test.sh or scripts/run.sh}"
cd "$WINEPREFIX/drive_c" || exit 1
out=$(mktemp)
"${QUILM_WINE:-wine}" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
