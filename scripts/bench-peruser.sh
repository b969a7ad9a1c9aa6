#!/bin/bash
# Benchmark (not a test): the per-user program QuilmUser.exe as Active
# Setup starts it at a user's first logon, with six AutoCAD releases
# installed, beside `reg.exe query` of one key in the same prefix; the
# median of RUNS (default 10) runs of each, the ratio and the load average.
# Aim: no more than 3 x the reg.exe query.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
source "$ROOT/scripts/bench-env.sh"
bench_build QuilmUser
RUNS="${RUNS:-10}"
C="$WINEPREFIX/drive_c"
DEST="$C/BenchUser"
rm -rf "$DEST"
mkdir -p "$DEST"
cp "$WIN/peruser/QuilmUser.exe" "$DEST/"
reg() { "$QUILM_WINE" reg "$@" >/dev/null 2>&1 || true; }
ACAD='HKLM\SOFTWARE\Autodesk\AutoCAD'
PROFILES='HKCU\Software\Autodesk\AutoCAD'
# Six releases, half of them with a base profile of the user's.
reg add "$ACAD\R15.0" /v CurVer /d "ACAD-1:804" /f
reg add "$ACAD\R15.0\ACAD-1:804" /v AcadLocation /d 'C:\AutoCAD 2002' /f
for row in R16.0:ACAD-201:804 R16.2:ACAD-4001:409 R17.0:ACAD-5001:804 R17.2:ACAD-7001:804 \
           R18.1:ACAD-9001:804; do
    release=${row%%:*} product=${row#*:}
    reg add "$ACAD\\$release\\$product" /v AcadLocation /d "C:\\AutoCAD $release" /f
done
reg add "$PROFILES\R16.0\ACAD-201:804\Profiles\<<Unnamed Profile>>\General" /v ACAD /d 'C:\A\support' /f
reg add "$PROFILES\R17.0\ACAD-5001:804\Profiles\<<Unnamed Profile>>\General" /v ACAD /d 'C:\B\support' /f
cleanup() {
    reg delete 'HKLM\SOFTWARE\Autodesk' /f
    reg delete 'HKCU\Software\Autodesk' /f
    rm -rf "$DEST"
}
trap cleanup EXIT

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
cd "$C"
user=() query=()
for run in $(seq "$RUNS"); do
    # Each run is a first logon: no profile of the package yet.
    for release in R15.0\\ACAD-1:804 R16.0\\ACAD-201:804 R16.2\\ACAD-4001:409 \
                   R17.0\\ACAD-5001:804 R17.2\\ACAD-7001:804 R18.1\\ACAD-9001:804; do
        reg delete "$PROFILES\\$release\\Profiles\\<<Quilm V8>>" /f
    done
    t0=$(now)
    "$QUILM_WINE" 'C:\BenchUser\QuilmUser.exe'
    t1=$(now)
    "$QUILM_WINE" reg query "$ACAD\R17.0\ACAD-5001:804" /v AcadLocation >/dev/null
    t2=$(now)
    user+=($(( (t1 - t0) / 1000000 )))
    query+=($(( (t2 - t1) / 1000000 )))
    echo "run $run: QuilmUser.exe ${user[-1]} ms, reg.exe query ${query[-1]} ms, load $(cut -d' ' -f1-3 /proc/loadavg)"
done
mu=$(printf '%s\n' "${user[@]}" | median)
mq=$(printf '%s\n' "${query[@]}" | median)
echo "median of $RUNS: QuilmUser.exe $mu ms, reg.exe query $mq ms, ratio $(echo "scale=2; $mu / $mq" | bc)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
