#!/bin/bash
# The main job: builds the programs, makes the demo medium and installs it
# under Wine.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"

"$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$BUILD_ROOT/native" -G Ninja -DQUILM_TESTS=OFF >/dev/null
cmake --build "$BUILD_ROOT/native" -j2 --target make_medium
source "$ROOT/scripts/wine-env.sh"
cmake -S "$ROOT" -B "$BUILD_ROOT/run-$QUILM_ARCH" -G Ninja -DQUILM_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$QUILM_ARCH.cmake" >/dev/null
cmake --build "$BUILD_ROOT/run-$QUILM_ARCH" -j2
wine_start keep_display

MEDIUM="$WINEPREFIX/drive_c/QuilmMedium"
rm -rf "$MEDIUM"
"$BUILD_ROOT/native/tools/make_medium" "$MEDIUM"
DEST='C:\Program Files\Corvantix\Quilm\'
cp "$BUILD_ROOT/run-$QUILM_ARCH/tools/install_demo.exe" "$MEDIUM/../install_demo.exe"
cd "$WINEPREFIX/drive_c"
"$QUILM_WINE" 'C:\install_demo.exe' 'C:\QuilmMedium\' "$DEST" | iconv -f gbk -t utf-8
echo "The package is in $WINEPREFIX/drive_c/Program Files/Corvantix/Quilm"
