#!/bin/bash
# Runs a Windows program under the private prefix with the current
# directory on drive C: (never on Z:, the host's root).
: "${WINEPREFIX:?run through scripts/test.sh or scripts/run.sh}"
cd "$WINEPREFIX/drive_c" || exit 1
exec "${QUILM_WINE:-wine}" "$@"
