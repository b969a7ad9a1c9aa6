# Sourced by the benchmarks (not tests): what they all need before they
# measure.  Needs ROOT and BUILD_ROOT.
#
# bench_build TARGET...  installs the dependencies, sources wine-env.sh,
#   builds the native medium generator and the given targets in the
#   release build WIN="$BUILD_ROOT/bench-$QUILM_ARCH" (all when none is
#   given), and starts Wine.
bench_build() {
    "$ROOT/scripts/deps.sh"
    source "$ROOT/scripts/wine-env.sh"
    cmake -S "$ROOT" -B "$BUILD_ROOT/native" -G Ninja >/dev/null
    cmake --build "$BUILD_ROOT/native" -j2 --target make_medium
    WIN="$BUILD_ROOT/bench-$QUILM_ARCH"
    cmake -S "$ROOT" -B "$WIN" -G Ninja -DQUILM_TESTS=OFF -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$QUILM_ARCH.cmake" >/dev/null
    if [ $# -gt 0 ]; then cmake --build "$WIN" -j2 --target "$@"; else cmake --build "$WIN" -j2; fi
    wine_start
}

# peak_kb PID: the peak resident size of process PID in kB, read until it
# ends (under Wine the loader becomes the program in the same process).
peak_kb() {
    local kb=0 hwm
    while kill -0 "$1" 2>/dev/null; do
        hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$1/status" 2>/dev/null || true)
        [ -n "$hwm" ] && kb=$hwm
        sleep 0.2
    done
    echo "$kb"
}
