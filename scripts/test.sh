#!/bin/bash
# Builds everything and runs every test: the platform-free tests natively,
# the Windows tests under Wine in a private prefix on a private display.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"

"$ROOT/scripts/deps.sh"

cmake -S "$ROOT" -B "$BUILD_ROOT/native" -G Ninja -DQUILM_TESTS=ON >/dev/null
cmake --build "$BUILD_ROOT/native" -j2
status=0
ctest --test-dir "$BUILD_ROOT/native" --output-on-failure || status=1

# The platform-free code again under AddressSanitizer and UBSan.
cmake -S "$ROOT" -B "$BUILD_ROOT/native-asan" -G Ninja -DQUILM_SANITIZE=ON -DQUILM_TESTS=ON >/dev/null
cmake --build "$BUILD_ROOT/native-asan" -j2
ctest --test-dir "$BUILD_ROOT/native-asan" --output-on-failure || status=1

# Fuzzing from the committed seed corpus, for a bounded time each.
"$ROOT/scripts/fuzz.sh" || status=1

source "$ROOT/scripts/wine-env.sh"
# The shipped programs are 32-bit: always build them.  Tests run in the
# flavour this machine can execute (see wine-env.sh).
cmake -S "$ROOT" -B "$BUILD_ROOT/win32" -G Ninja -DQUILM_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$BUILD_ROOT/win32" -j2
cmake -S "$ROOT" -B "$BUILD_ROOT/win" -G Ninja -DQUILM_TESTS=ON \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$QUILM_ARCH.cmake" >/dev/null
cmake --build "$BUILD_ROOT/win" -j2

echo "Windows tests: $QUILM_ARCH programs under $QUILM_WINE"
wine_start
export QUILM_MAKE_MEDIUM="$BUILD_ROOT/native/tools/make_medium"
export QUILM_BUILD_ROOT="$BUILD_ROOT"
ctest --test-dir "$BUILD_ROOT/win" --output-on-failure --timeout 600 || status=1
exit $status
