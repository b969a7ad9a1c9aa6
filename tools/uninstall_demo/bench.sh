#!/bin/bash
# Times the uninstall job, in one Wine prefix, against the system's own
# tool for the same work, and prints the median ratio of the paired runs
# with the load average beside each pair.  Needs the native make_medium
# and the Windows install_demo and uninstall_demo of $BUILD_ROOT.
#   BUILD_ROOT=... tools/uninstall_demo/bench.sh [RUNS] [make_medium options]
#     the record of a generated medium's installation against
#     "rmdir /S /Q" of the same installed tree;
#   BUILD_ROOT=... tools/uninstall_demo/bench.sh [RUNS] --record-mb N
#     a record of N MB (100 is the uninstaller's largest case) naming
#     files that are gone already, under names of 60,000 bytes, against
#     "find" reading every line of the same record.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
: "${BUILD_ROOT:?BUILD_ROOT must be set}"
RUNS="${1:-5}"
shift || true
OPTS=("$@")
[ ${#OPTS[@]} -gt 0 ] || OPTS=(--files 5000 --folders 200 --bytes 50000000)
RECORD_MB=
[ "${OPTS[0]}" = --record-mb ] && RECORD_MB="${OPTS[1]:?--record-mb needs a size}"
source "$ROOT/scripts/wine-env.sh"
source "$ROOT/scripts/bench-env.sh"  # peak_kb
wine_start
C="$WINEPREFIX/drive_c"
WIN="$BUILD_ROOT/win"
UNINSTALL=("$QUILM_WINE" "$WIN/tools/uninstall_demo/uninstall_demo.exe")
now() { date +%s%N; }
load() { cut -d' ' -f1-3 /proc/loadavg; }

# The large record: two real files at its ends, the fillers between.
big_record() {
    INST='C:\BenchU\A\' MB="$RECORD_MB" LC_ALL=C awk 'BEGIN {
        inst = ENVIRON["INST"]; size = ENVIRON["MB"] * 1048576
        for (name = "n"; length(name) < 60000;) name = name name
        name = substr(name, 1, 60000)
        line = "File Copy: " inst "first.txt\r\n"
        for (i = 0; total < size; i++) {
            printf "%s", line; total += length(line)
            line = "File Copy: " inst "gone\\" name "_" sprintf("%07d", i) ".dwg\r\n"
        }
        printf "File Copy: %skept\\last.txt\r\nMade Dir: %skept\r\nFile Copy: %sUninstall.log\r\n",
               inst, inst, inst
    }'
}

rm -rf "$C/BenchUMedium" "$C/BenchU" "$C/BenchUInstalled"
if [ -n "$RECORD_MB" ]; then
    big_record > "$C/BenchURecord.log"
    echo "record of $(stat -c %s "$C/BenchURecord.log") bytes"
else
    # Installed once; each run starts from copies of that installation.
    "$BUILD_ROOT/native/tools/make_medium" "$C/BenchUMedium" "${OPTS[@]}" >/dev/null
    "$QUILM_WINE" "$WIN/tools/install_demo.exe" 'C:\BenchUMedium\' 'C:\BenchU\A\' >/dev/null
    mv "$C/BenchU/A" "$C/BenchUInstalled"
fi
cd "$C"
ratios=()
for run in $(seq "$RUNS"); do
    rm -rf "$C/BenchU"
    if [ -n "$RECORD_MB" ]; then
        mkdir -p "$C/BenchU/A/kept"
        echo first > "$C/BenchU/A/first.txt"
        echo last > "$C/BenchU/A/kept/last.txt"
        cp "$C/BenchURecord.log" "$C/BenchU/A/Uninstall.log"
        cp "$C/BenchURecord.log" "$C/BenchU/B.log"
        other='find'
    else
        mkdir -p "$C/BenchU"
        cp -a "$C/BenchUInstalled" "$C/BenchU/A"
        cp -a "$C/BenchUInstalled" "$C/BenchU/B"
        sync  # neither side pays for the copies' write-back
        other='rmdir /S /Q'
    fi
    t0=$(now)
    "${UNINSTALL[@]}" 'C:\BenchU\A\Uninstall.log' --quiet > /tmp/bench_u.txt &
    job_pid=$!
    peak_kb $job_pid > /tmp/bench_u_peak.txt &
    wait $job_pid || true
    t1=$(now)
    wait $!
    peak=$(cat /tmp/bench_u_peak.txt)
    if [ -n "$RECORD_MB" ]; then
        "$QUILM_WINE" find "File Copy: " 'C:\BenchU\B.log' >/dev/null
    else
        "$QUILM_WINE" cmd /c rmdir /S /Q 'C:\BenchU\B' >/dev/null
    fi
    t2=$(now)
    job=$(( (t1 - t0) / 1000000 )); sys=$(( (t2 - t1) / 1000000 ))
    left=$(find "$C/BenchU/A" -type f | wc -l)
    echo "run $run: uninstall job ${job} ms ($(grep -o '[0-9]* ms' /tmp/bench_u.txt) inside, peak $((peak / 1024)) MB), $other ${sys} ms, files left ${left}, load $(load)"
    ratios+=("$(echo "scale=3; $job / $sys" | bc)")
done
rm -rf "$C/BenchU" "$C/BenchUMedium" "$C/BenchUInstalled" "$C/BenchURecord.log"
printf '%s\n' "${ratios[@]}" | sort -n |
    awk -v other="${RECORD_MB:+find}" '{a[NR]=$1} END {print "median ratio uninstall/" (other ? other : "rmdir") ": " a[int((NR+1)/2)]}'
