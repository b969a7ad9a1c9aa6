#!/bin/bash
# Scale benchmark (not a test): the real setup wizard's copy phase and the
# real uninstaller on a large generated medium, against xcopy and rmdir of
# the same tree in the same Wine prefix, with the peak memory of each
# program (VmHWM of its Wine process on the host).
#
# usage: tools/scale_bench/scale_bench.sh [--files N] [--folders N] [--bytes N] [--pairs N]
#                                         [--setup FILE]
#   defaults: 100000 files in 5000 folders, 100 MB, 5 pairs.  The medium is
#   kept between runs (one per size, marked complete by a stamp file).
#   --setup times FILE (another build of Setup.exe) instead of this build's.
# Each pair runs the wizard and xcopy (in alternating order) into fresh
# folders, then the uninstaller and rmdir on what they made; the ratios are
# taken per pair and their median reported, with the load average beside
# each pair, since other work on the machine moves single figures a lot.
# Phase times come from the host clock around the UI driver's steps; each
# driver call starts a Wine process, so a figure carries up to about half a
# second of polling delay.  The wizard's phases (until the copy page is up,
# which includes counting the files; the copy; the configuring steps) and
# the responsiveness figures are timed inside the driver.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
FILES=100000 FOLDERS=5000 BYTES=100000000 PAIRS=5 SETUP_EXE=
while [ $# -gt 0 ]; do
    case "$1" in
        --files) FILES="$2"; shift 2 ;;
        --folders) FOLDERS="$2"; shift 2 ;;
        --bytes) BYTES="$2"; shift 2 ;;
        --pairs) PAIRS="$2"; shift 2 ;;
        --setup) SETUP_EXE="$(realpath "$2")"; shift 2 ;;
        *) echo "usage: $0 [--files N] [--folders N] [--bytes N] [--pairs N] [--setup FILE]" >&2; exit 2 ;;
    esac
done

source "$ROOT/scripts/bench-env.sh"
bench_build Setup Uninstall uidriver quilm_test_control

C="$WINEPREFIX/drive_c"
NAME="ScaleMedium-$FILES-$FOLDERS-$BYTES"
MEDIUM="$C/$NAME"
if [ ! -f "$MEDIUM/.complete" ]; then
    rm -rf "$MEDIUM"
    t=$(date +%s.%N)
    "$BUILD_ROOT/native/tools/make_medium" "$MEDIUM" --files "$FILES" --folders "$FOLDERS" --bytes "$BYTES"
    echo "medium generated in $(echo "$(date +%s.%N) - $t" | bc) s"
    touch "$MEDIUM/.complete"
fi
# The programs of this build, as scripts/run.sh lays out its medium, but
# without the slideshow pictures.
cp "$WIN/uninstall/Uninstall.exe" "$MEDIUM/Uninstall.exe"
for ocx in QuilmMap.ocx QuilmGrid.ocx; do
    cp "$WIN/tools/controls_fixture/quilm_test_control.dll" "$MEDIUM/Control/$ocx"
done
cp "${SETUP_EXE:-$WIN/setup/Setup.exe}" "$MEDIUM/Setup.exe"
rm -rf "$MEDIUM/安装界面"
cp "$WIN/tools/uidriver/uidriver.exe" "$C/uidriver.exe"
N_FILES=$(find "$MEDIUM" -type f ! -name .complete | wc -l)
N_DIRS=$(find "$MEDIUM" -mindepth 1 -type d | wc -l)
MB=$(du -sm "$MEDIUM" | cut -f1)
echo "medium: C:\\$NAME  $N_FILES files, $N_DIRS folders, $MB MB"

DEST="$C/Program Files/Corvantix/Quilm"
cd "$C"
now() { date +%s.%N; }
span() { echo "scale=2; ($2 - $1) / 1" | bc; }
ratio() { echo "scale=2; $1 / $2" | bc; }
drive() { "$QUILM_WINE" 'C:\uidriver.exe' "$@" | tr -d '\r'; }

# Peak resident memory (VmHWM, kB) of the host process whose command line
# names PROGRAM; polled every 0.2 s into FILE while it runs.
watch_memory() {
    local program="$1" file="$2" pid="" hwm best=0
    echo 0 >"$file"
    while :; do
        if [ -z "$pid" ]; then
            pid=$(pgrep -f -n "$program" || true)
            [ -z "$pid" ] && { sleep 0.1; continue; }
        fi
        hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
        [ -z "$hwm" ] && break
        [ "$hwm" -gt "$best" ] && best=$hwm && echo "$best" >"$file"
        sleep 0.2
    done
}

loadavg() { cut -d' ' -f1-3 /proc/loadavg; }
# The median of the arguments (numbers).
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

# Leftovers of an earlier run in this prefix.
rm -rf "$C/ScaleXcopy"

# --- The wizard's copy phase -------------------------------------------
# Sets SETUP_COPY, SETUP_PEAK (kB), CANCEL_OPEN, REPAINT, PHASES and INSTALLED.
run_wizard() {
    local mem watch setup_pid w l p f cp t0 t1 repaint_out repaint_pid="" phases_out phases_pid
    mem=$(mktemp)
    watch_memory "$NAME.Setup.exe" "$mem" &
    watch=$!
    "$QUILM_WINE" "C:\\$NAME\\Setup.exe" &
    setup_pid=$!
    page() { drive wait 'Quilm V8.5 安装向导' '#32770' "$1" "${2:-30000}"; }
    w=$(page 1004 8000 || true)
    if [ -z "$w" ]; then drive msgbox 6 10000 >/dev/null; w=$(page 1004); fi
    drive click "$w" 1001
    l=$(page 1005); drive click "$l" 1007; sleep 0.3; drive click "$l" 1001
    p=$(page 1011)
    t0=$(now)
    # "下一步" is clicked by the driver that times the phases after it.
    phases_out=$(mktemp)
    drive phases "$p" 1001 1014 1018 1017 >"$phases_out" &
    phases_pid=$!
    # Responsiveness on the copy page, timed inside the driver: the
    # backdrop invalidated once a second and timed until it has repainted,
    # and the cancel question's opening time, answered No so the copy goes
    # on.
    CANCEL_OPEN=n/a REPAINT=n/a
    repaint_out=$(mktemp)
    cp=$(page 1014 10000 || true)
    if [ -n "$cp" ]; then
        drive repaint "$cp" 60 1000 >"$repaint_out" 2>/dev/null &
        repaint_pid=$!
        sleep 2
        CANCEL_OPEN=$(drive cancel "$cp" 7 | sed -n 's/^cancel question: //p')
    fi
    f=$(page 1017 3600000)
    t1=$(now)
    drive click "$f" 1017 || true
    drive click "$f" 1001
    wait "$setup_pid" || true
    wait "$watch" || true
    [ -n "$repaint_pid" ] && { wait "$repaint_pid" || true; }
    wait "$phases_pid" || true
    PHASES=$(sed -n 's/^phases: //p' "$phases_out")
    rm -f "$phases_out"
    REPAINT=$(sed -n 's/^repaint: //p' "$repaint_out")
    rm -f "$repaint_out"
    SETUP_COPY=$(span "$t0" "$t1")
    SETUP_PEAK=$(cat "$mem")
    rm -f "$mem"
    [ -f "$DEST/Uninstall.log" ] || { echo "the installation did not complete" >&2; exit 1; }
    INSTALLED=$(find "$DEST" -type f | wc -l)
}

# --- xcopy of the same tree ---------------------------------------------
run_xcopy() {
    local t0
    t0=$(now)
    "$QUILM_WINE" cmd /c xcopy /E /I /Q /Y "C:\\$NAME" 'C:\ScaleXcopy' >/dev/null
    XCOPY=$(span "$t0" "$(now)")
    XCOPIED=$(find "$C/ScaleXcopy" -type f | wc -l)
}

# --- The uninstaller ----------------------------------------------------
run_uninstall() {
    local mem watch uninst_pid d state t0 t1
    mem=$(mktemp)
    watch_memory 'Quilm.Uninstall.exe' "$mem" &
    watch=$!
    "$QUILM_WINE" 'C:\Program Files\Corvantix\Quilm\Uninstall.exe' &
    uninst_pid=$!
    Q=$(drive msgbox 6 30000 || true)
    t0=$(now)
    d=$(drive wait 'Quilm V9.0 卸载' '#32770' 1000 30000)
    while :; do
        state=$(drive state "$d" 1)
        case "$state" in enabled=1*) break ;; esac
        sleep 0.1
    done
    t1=$(now)
    DONE_TEXT=$(drive text "$d" 1003 | iconv -f GBK -t UTF-8 || true)
    drive click "$d" 1
    wait "$uninst_pid" || true
    wait "$watch" || true
    UNINSTALL=$(span "$t0" "$t1")
    UNINST_PEAK=$(cat "$mem")
    rm -f "$mem"
    sleep 2
    LEFT=$( [ -d "$DEST" ] && find "$DEST" -type f | wc -l || echo 0)
    # A fresh destination for the next pair.
    rm -rf "$DEST"
}

# --- rmdir of the xcopy tree --------------------------------------------
run_rmdir() {
    local t0
    t0=$(now)
    "$QUILM_WINE" cmd /c rmdir /S /Q 'C:\ScaleXcopy' >/dev/null
    RMDIR=$(span "$t0" "$(now)")
}

rm -rf "$DEST"
echo "load average before: $(loadavg)"
COPY_RATIOS=() DEL_RATIOS=() PEAK_SETUP=0 PEAK_UNINST=0 CANCELS=() REPAINTS=()
for i in $(seq "$PAIRS"); do
    load=$(loadavg)
    if [ $((i % 2)) -eq 1 ]; then run_wizard; run_xcopy; else run_xcopy; run_wizard; fi
    if [ $((i % 2)) -eq 1 ]; then run_uninstall; run_rmdir; else run_rmdir; run_uninstall; fi
    COPY_RATIOS+=("$(ratio "$SETUP_COPY" "$XCOPY")")
    DEL_RATIOS+=("$(ratio "$UNINSTALL" "$RMDIR")")
    [ "$SETUP_PEAK" -gt "$PEAK_SETUP" ] && PEAK_SETUP=$SETUP_PEAK
    [ "$UNINST_PEAK" -gt "$PEAK_UNINST" ] && PEAK_UNINST=$UNINST_PEAK
    CANCELS+=("${CANCEL_OPEN:-n/a}") REPAINTS+=("${REPAINT:-n/a}")
    printf 'pair %d (load %s): wizard %s s (%s files), xcopy %s s (%s files), ratio %s | uninstall %s s (%s left), rmdir %s s, ratio %s | cancel question %s, repaint %s\n' \
        "$i" "$load" "$SETUP_COPY" "$INSTALLED" "$XCOPY" "$XCOPIED" "${COPY_RATIOS[-1]}" \
        "$UNINSTALL" "$LEFT" "$RMDIR" "${DEL_RATIOS[-1]}" "${CANCEL_OPEN:-n/a}" "${REPAINT:-n/a}"
    echo "        wizard phases: ${PHASES:-n/a}"
done
rm -f "$C/uidriver.exe"

echo
echo "=== scale benchmark: $N_FILES files, $N_DIRS folders, $MB MB ($QUILM_ARCH), $PAIRS pairs ==="
echo "Setup.exe:                                  ${SETUP_EXE:-the one built here}"
echo "load average after:                         $(loadavg)"
echo "median ratio wizard / xcopy:                $(median "${COPY_RATIOS[@]}")   (pairs: ${COPY_RATIOS[*]})"
echo "median ratio uninstall / rmdir:             $(median "${DEL_RATIOS[@]}")   (pairs: ${DEL_RATIOS[*]})"
echo "cancel question opened in:                  ${CANCELS[*]}"
echo "backdrop repaint during the copy:           $(printf '%s; ' "${REPAINTS[@]}")"
echo "uninstall question: $(echo "$Q" | iconv -f GBK -t UTF-8 2>/dev/null || true); done text: $DONE_TEXT"
echo "peak memory Setup.exe (VmHWM, max):         $((PEAK_SETUP / 1024)) MB"
echo "peak memory Uninstall.exe (VmHWM, max):     $((PEAK_UNINST / 1024)) MB"
