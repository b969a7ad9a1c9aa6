#!/bin/bash
# Benchmarks (not tests): the install engine's copy phase against xcopy on
# a generated medium of about 5,000 files in 200 folders (50 MB), as the
# median of REPS (default 6) paired runs with the load average beside each.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
source "$ROOT/scripts/bench-env.sh"
bench_build
MEDIUM="$WINEPREFIX/drive_c/BenchMedium"
if [ ! -f "$MEDIUM/.complete" ]; then
    rm -rf "$MEDIUM"
    "$BUILD_ROOT/native/tools/make_medium" "$MEDIUM" --files 5000 --folders 200 --bytes 50000000
    touch "$MEDIUM/.complete"
fi
cp "$BUILD_ROOT/bench-$QUILM_ARCH/tools/bench_copy/bench_copy.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"
"$QUILM_WINE" 'C:\bench_copy.exe' 'C:\BenchMedium\' 'C:\BenchWork\' "${REPS:-6}"
