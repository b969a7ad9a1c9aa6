#!/bin/bash
# Times the uninstall job on the record of a generated medium against
# "rmdir /S /Q" of the same installed tree, in one Wine prefix, and prints
# the median ratio.  Needs the native make_medium and the Windows
# install_demo and uninstall_demo of $BUILD_ROOT.
#   BUILD_ROOT=... tools/uninstall_demo/bench.sh [RUNS] [make_medium options]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
: "${BUILD_ROOT:?BUILD_ROOT must be set}"
RUNS="${1:-5}"
shift || true
OPTS=("$@")
[ ${#OPTS[@]} -gt 0 ] || OPTS=(--files 5000 --folders 200 --bytes 50000000)
source "$ROOT/scripts/wine-env.sh"
wine_start
C="$WINEPREFIX/drive_c"
WIN="$BUILD_ROOT/win"
rm -rf "$C/BenchUMedium" "$C/BenchU"
"$BUILD_ROOT/native/tools/make_medium" "$C/BenchUMedium" "${OPTS[@]}" >/dev/null
cd "$C"
now() { date +%s%N; }
ratios=()
for run in $(seq "$RUNS"); do
    rm -rf "$C/BenchU"
    "$QUILM_WINE" "$WIN/tools/install_demo.exe" 'C:\BenchUMedium\' 'C:\BenchU\A\' >/dev/null
    "$QUILM_WINE" "$WIN/tools/install_demo.exe" 'C:\BenchUMedium\' 'C:\BenchU\B\' >/dev/null
    t0=$(now)
    "$QUILM_WINE" "$WIN/tools/uninstall_demo/uninstall_demo.exe" 'C:\BenchU\A\Uninstall.log' --quiet > /tmp/bench_u.txt
    t1=$(now)
    "$QUILM_WINE" cmd /c rmdir /S /Q 'C:\BenchU\B' >/dev/null
    t2=$(now)
    job=$(( (t1 - t0) / 1000000 )); rd=$(( (t2 - t1) / 1000000 ))
    left=$(find "$C/BenchU/A" -type f | wc -l)
    echo "run $run: uninstall job ${job} ms ($(grep -o '[0-9]* ms' /tmp/bench_u.txt) inside), rmdir /S /Q ${rd} ms, files left ${left}"
    ratios+=("$(echo "scale=3; $job / $rd" | bc)")
done
rm -rf "$C/BenchU" "$C/BenchUMedium"
printf '%s\n' "${ratios[@]}" | sort -n | awk '{a[NR]=$1} END {print "median ratio uninstall/rmdir: " a[int((NR+1)/2)]}'
