#!/bin/sh
# Makes the demo medium for the host tests in the Wine prefix, at
# C:\quilm_host_medium, with two copies of the test control library in
# "Control", made by the native tool QUILM_MAKE_MEDIUM names (set by
# scripts/test.sh); without it the set-up fails.
# usage: make_host_medium.sh CONTROL_DLL [clean]
: "${WINEPREFIX:?run through scripts/test.sh}"
medium="$WINEPREFIX/drive_c/quilm_host_medium"
rm -rf "$medium"
[ "$2" = clean ] && exit 0
: "${QUILM_MAKE_MEDIUM:?the native make_medium tool; run through scripts/test.sh}"
"$QUILM_MAKE_MEDIUM" "$medium" >/dev/null || exit 1
cp "$1" "$medium/Control/QuilmMap.ocx" && cp "$1" "$medium/Control/QuilmGrid.ocx"
