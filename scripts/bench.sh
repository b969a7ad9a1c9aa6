#!/bin/bash
# Benchmarks (not tests): the install engine's copy phase against xcopy on
# a generated medium of about 5,000 files in 200 folders (50 MB; FILES,
# FOLDERS and BYTES set another), as the median of REPS (default 6) paired
# runs with the load average beside each.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
source "$ROOT/scripts/bench-env.sh"
bench_build
FILES="${FILES:-5000}"
NAME="BenchMedium$([ "$FILES" = 5000 ] || echo "-$FILES")"
MEDIUM="$WINEPREFIX/drive_c/$NAME"
if [ ! -f "$MEDIUM/.complete" ]; then
    rm -rf "$MEDIUM"
    "$BUILD_ROOT/native/tools/make_medium" "$MEDIUM" --files "$FILES" --folders "${FOLDERS:-200}" \
        --bytes "${BYTES:-50000000}"
    touch "$MEDIUM/.complete"
fi
cp "$BUILD_ROOT/bench-$QUILM_ARCH/tools/bench_copy/bench_copy.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"
"$QUILM_WINE" 'C:\bench_copy.exe' "C:\\$NAME\\" 'C:\BenchWork\' "${REPS:-6}"

# The whole installation, as IT staff run it: Setup.exe /VERYSILENT into a
# new folder, then again over it (a reinstall, which keeps every earlier
# file until its copy phase is over), paired, with the load and each run's
# peak resident size beside each.
cp "$WIN/setup/Setup.exe" "$MEDIUM/Setup.exe"
seconds() {
    local start end pid
    start=$(date +%s.%N)
    "$QUILM_WINE" "C:\\$NAME\\Setup.exe" /VERYSILENT "/DIR=C:\\BenchInstall" >/dev/null 2>&1 &
    pid=$!
    peak_kb "$pid" > "$BUILD_ROOT/bench_peak.txt"
    wait "$pid" || true
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
ratios=()
for i in $(seq 1 "${REPS:-6}"); do
    rm -rf "$WINEPREFIX/drive_c/BenchInstall"
    load=$(cut -d' ' -f1-3 /proc/loadavg)
    fresh=$(seconds)
    peak=$(( $(cat "$BUILD_ROOT/bench_peak.txt") / 1024 ))
    again=$(seconds)
    peak="$peak and $(( $(cat "$BUILD_ROOT/bench_peak.txt") / 1024 ))"
    ratio=$(awk -v a="$again" -v b="$fresh" 'BEGIN { print a / b }')
    ratios+=("$ratio")
    printf 'setup pair %d (load %s): fresh %.3f s, reinstall %.3f s, %.3f x the fresh install; peak %s MB\n' "$i" "$load" "$fresh" "$again" "$ratio" "$peak"
done
rm -rf "$WINEPREFIX/drive_c/BenchInstall"
printf '%s\n' "${ratios[@]}" | sort -g | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "median ratio reinstall/fresh install (Setup.exe /VERYSILENT): %.3f\n", m }'
