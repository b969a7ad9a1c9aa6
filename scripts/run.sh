#!/bin/bash
# The main job: builds the programs, makes the demo medium with Setup.exe
# in its root and starts the setup wizard under Wine.  With a display of
# your own ($DISPLAY) you drive the wizard yourself; without one it runs on
# a private Xvfb display and is driven through the installation by the UI
# driver, with a screenshot of every page.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"

"$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$BUILD_ROOT/native" -G Ninja >/dev/null
cmake --build "$BUILD_ROOT/native" -j2 --target make_medium
source "$ROOT/scripts/wine-env.sh"
cmake -S "$ROOT" -B "$BUILD_ROOT/run-$QUILM_ARCH" -G Ninja -DQUILM_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$QUILM_ARCH.cmake" >/dev/null
cmake --build "$BUILD_ROOT/run-$QUILM_ARCH" -j2
wine_start keep_display
[ "${QUILM_XVFB_PID:-}" ] && QUILM_DISPLAY_IS_PRIVATE=1 || QUILM_DISPLAY_IS_PRIVATE=0

MEDIUM="$WINEPREFIX/drive_c/QuilmMedium"
rm -rf "$MEDIUM"
"$BUILD_ROOT/native/tools/make_medium" "$MEDIUM"
# The uninstaller is a root file of the medium: the installation copies it
# into the install folder, where its Add/Remove Programs entry starts it.
cp "$BUILD_ROOT/run-$QUILM_ARCH/uninstall/Uninstall.exe" "$MEDIUM/Uninstall.exe"
# So is the per-user program Active Setup starts at every user's logon.
cp "$BUILD_ROOT/run-$QUILM_ARCH/peruser/QuilmUser.exe" "$MEDIUM/QuilmUser.exe"
# Real controls for the medium: the test control library under two names,
# so the installation registers them like the package's own.
for ocx in QuilmMap.ocx QuilmGrid.ocx; do
    cp "$BUILD_ROOT/run-$QUILM_ARCH/tools/controls_fixture/quilm_test_control.dll" "$MEDIUM/Control/$ocx"
done
cp "$BUILD_ROOT/run-$QUILM_ARCH/setup/Setup.exe" "$MEDIUM/Setup.exe"
# The slideshow pictures beside Setup.exe (generated, original artwork).
SLIDES="$MEDIUM/安装界面"
mkdir -p "$SLIDES"
convert -size 1024x768 gradient:'#1b4f72-#a9cce3' -fill '#f4d03f' -draw 'circle 760,220 760,140' \
        -fill '#1e8449' -draw 'polygon 0,768 0,560 300,420 620,600 1024,470 1024,768' "$SLIDES/01.jpg"
convert -size 1280x720 gradient:'#145a32-#d4efdf' -fill '#ffffff' \
        -draw 'rectangle 160,160 560,560' -draw 'rectangle 720,160 1120,560' "$SLIDES/02.jpg"
convert -size 600x800 gradient:'#784212-#fad7a0' -fill '#2e4053' -draw 'circle 300,400 300,220' "$SLIDES/03.jpg"

DEST="$WINEPREFIX/drive_c/Program Files/Corvantix/Quilm"
cd "$WINEPREFIX/drive_c"
if [ "$QUILM_DISPLAY_IS_PRIVATE" = 0 ]; then
    echo "Starting the setup wizard on your display $DISPLAY; it covers the screen."
    "$QUILM_WINE" 'C:\QuilmMedium\Setup.exe' || true
else
    SHOTS="$BUILD_ROOT/run-screens"
    rm -rf "$SHOTS" && mkdir -p "$SHOTS"
    cp "$BUILD_ROOT/run-$QUILM_ARCH/tools/uidriver/uidriver.exe" "$WINEPREFIX/drive_c/uidriver.exe"
    echo "No display of your own: the wizard runs on the private display $DISPLAY"
    echo "and is driven through the installation; screenshots go to $SHOTS"
    "$QUILM_WINE" 'C:\QuilmMedium\Setup.exe' &
    SETUP_PID=$!
    drive() { "$QUILM_WINE" 'C:\uidriver.exe' "$@" | tr -d '\r'; }
    page() { drive wait 'Quilm V8.5 安装向导' '#32770' "$1" "${2:-20000}"; }
    shot() { sleep 0.5; drive shot "C:\\$1.bmp" >/dev/null && convert "$1.bmp" "$SHOTS/$1.png" && rm -f "$1.bmp"; }
    # After an earlier run the wizard first asks whether to install again.
    W=$(page 1004 5000 || true)
    if [ -z "$W" ]; then drive msgbox 6 10000 >/dev/null; W=$(page 1004); fi
    shot 1-welcome; drive click "$W" 1001
    L=$(page 1005); drive click "$L" 1007; sleep 0.3; shot 2-agreement; drive click "$L" 1001
    P=$(page 1011); shot 3-destination; drive click "$P" 1001
    C=$(page 1014 5000 || true); [ -n "$C" ] && shot 4-copy
    F=$(page 1017 300000); shot 5-finish; drive click "$F" 1017; drive click "$F" 1001
    wait "$SETUP_PID" || true
    rm -f "$WINEPREFIX/drive_c/uidriver.exe"
    echo "Screenshots: $SHOTS"
fi
if [ -f "$DEST/Uninstall.log" ]; then
    echo "The package is in $DEST"
    echo "Its install record: $DEST/Uninstall.log"
else
    echo "The installation did not complete (nothing at $DEST)."
fi
