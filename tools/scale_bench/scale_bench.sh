#!/bin/bash
# Scale benchmark (not a test): the real setup wizard's copy phase and the
# real uninstaller on a large generated medium, against xcopy and rmdir of
# the same tree in the same Wine prefix, with the peak memory of each
# program (VmHWM of its Wine process on the host).
#
# usage: tools/scale_bench/scale_bench.sh [--files N] [--folders N] [--bytes N]
#   defaults: 100000 files in 5000 folders, 100 MB.  The medium is kept
#   between runs (one per size, marked complete by a stamp file).
# Phase times come from the host clock around the UI driver's steps; each
# driver call starts a Wine process, so a figure carries up to about half a
# second of polling delay.  The responsiveness figures are timed inside the
# driver.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
FILES=100000 FOLDERS=5000 BYTES=100000000
while [ $# -gt 0 ]; do
    case "$1" in
        --files) FILES="$2"; shift 2 ;;
        --folders) FOLDERS="$2"; shift 2 ;;
        --bytes) BYTES="$2"; shift 2 ;;
        *) echo "usage: $0 [--files N] [--folders N] [--bytes N]" >&2; exit 2 ;;
    esac
done

"$ROOT/scripts/deps.sh"
source "$ROOT/scripts/wine-env.sh"
cmake -S "$ROOT" -B "$BUILD_ROOT/native" -G Ninja >/dev/null
cmake --build "$BUILD_ROOT/native" -j2 --target make_medium
WIN="$BUILD_ROOT/bench-$QUILM_ARCH"
cmake -S "$ROOT" -B "$WIN" -G Ninja -DQUILM_TESTS=OFF -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$QUILM_ARCH.cmake" >/dev/null
cmake --build "$WIN" -j2 --target Setup Uninstall uidriver quilm_test_control
wine_start

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
cp "$WIN/setup/Setup.exe" "$MEDIUM/Setup.exe"
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

# Leftovers of an earlier run in this prefix.
rm -rf "$C/ScaleXcopy"

# --- The wizard's copy phase -------------------------------------------
MEM_SETUP=$(mktemp)
watch_memory "$NAME.Setup.exe" "$MEM_SETUP" &
WATCH=$!
"$QUILM_WINE" "C:\\$NAME\\Setup.exe" &
SETUP_PID=$!
page() { drive wait 'Quilm V8.5 安装向导' '#32770' "$1" "${2:-30000}"; }
W=$(page 1004 8000 || true)
if [ -z "$W" ]; then drive msgbox 6 10000 >/dev/null; W=$(page 1004); fi
drive click "$W" 1001
L=$(page 1005); drive click "$L" 1007; sleep 0.3; drive click "$L" 1001
P=$(page 1011)
T0=$(now)
drive click "$P" 1001
# Responsiveness on the copy page, timed inside the driver: the backdrop
# invalidated once a second and timed until it has repainted, and the
# cancel question's opening time, answered No so the copy goes on.
CANCEL_OPEN=n/a REPAINT=n/a
REPAINT_OUT=$(mktemp)
CP=$(page 1014 10000 || true)
if [ -n "$CP" ]; then
    drive repaint "$CP" 60 1000 >"$REPAINT_OUT" 2>/dev/null &
    REPAINT_PID=$!
    sleep 2
    CANCEL_OPEN=$(drive cancel "$CP" 7 | sed -n 's/^cancel question: //p')
fi
F=$(page 1017 3600000)
T1=$(now)
drive click "$F" 1017 || true
drive click "$F" 1001
wait "$SETUP_PID" || true
wait "$WATCH" || true
[ -n "${REPAINT_PID:-}" ] && { wait "$REPAINT_PID" || true; }
REPAINT=$(sed -n 's/^repaint: //p' "$REPAINT_OUT")
rm -f "$REPAINT_OUT"
SETUP_COPY=$(span "$T0" "$T1")
SETUP_PEAK=$(cat "$MEM_SETUP")
[ -f "$DEST/Uninstall.log" ] || { echo "the installation did not complete" >&2; exit 1; }
INSTALLED=$(find "$DEST" -type f | wc -l)

# --- xcopy of the same tree ---------------------------------------------
T0=$(now)
"$QUILM_WINE" cmd /c xcopy /E /I /Q /Y "C:\\$NAME" 'C:\ScaleXcopy' >/dev/null
XCOPY=$(span "$T0" "$(now)")
XCOPIED=$(find "$C/ScaleXcopy" -type f | wc -l)

# --- The uninstaller ----------------------------------------------------
MEM_UNINST=$(mktemp)
watch_memory 'Quilm.Uninstall.exe' "$MEM_UNINST" &
WATCH=$!
"$QUILM_WINE" 'C:\Program Files\Corvantix\Quilm\Uninstall.exe' &
UNINST_PID=$!
Q=$(drive msgbox 6 30000 || true)
T0=$(now)
D=$(drive wait 'Quilm V9.0 卸载' '#32770' 1000 30000)
while :; do
    state=$(drive state "$D" 1)
    case "$state" in enabled=1*) break ;; esac
    sleep 0.1
done
T1=$(now)
DONE_TEXT=$(drive text "$D" 1003 | iconv -f GBK -t UTF-8 || true)
drive click "$D" 1
wait "$UNINST_PID" || true
wait "$WATCH" || true
UNINSTALL=$(span "$T0" "$T1")
UNINST_PEAK=$(cat "$MEM_UNINST")
sleep 2
LEFT=$( [ -d "$DEST" ] && find "$DEST" -type f | wc -l || echo 0)

# --- rmdir of the xcopy tree --------------------------------------------
T0=$(now)
"$QUILM_WINE" cmd /c rmdir /S /Q 'C:\ScaleXcopy' >/dev/null
RMDIR=$(span "$T0" "$(now)")
rm -f "$C/uidriver.exe" "$MEM_SETUP" "$MEM_UNINST"

echo
echo "=== scale benchmark: $N_FILES files, $N_DIRS folders, $MB MB ($QUILM_ARCH) ==="
echo "wizard copy phase (下一步 to finish page): $SETUP_COPY s   ($INSTALLED files installed)"
echo "xcopy /E /I /Q /Y:                          $XCOPY s   ($XCOPIED files copied)"
echo "ratio wizard / xcopy:                       $(ratio "$SETUP_COPY" "$XCOPY")"
echo "cancel question opened in:                  ${CANCEL_OPEN:-n/a}"
echo "backdrop repaint during the copy:           ${REPAINT:-n/a}"
echo "uninstall (Yes to \"$DONE_TEXT\"):             $UNINSTALL s   (question: $(echo "$Q" | iconv -f GBK -t UTF-8 2>/dev/null || true))"
echo "rmdir /S /Q:                                $RMDIR s"
echo "ratio uninstall / rmdir:                    $(ratio "$UNINSTALL" "$RMDIR")"
echo "peak memory Setup.exe (VmHWM):              $((SETUP_PEAK / 1024)) MB"
echo "peak memory Uninstall.exe (VmHWM):          $((UNINST_PEAK / 1024)) MB"
echo "files left in the install folder:           $LEFT"
