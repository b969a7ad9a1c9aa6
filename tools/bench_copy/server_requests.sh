#!/bin/bash
# Counts the Wine server requests per copied file (not a test): the
# install engine's copy phase (bench_copy engine) against xcopy /E /I /Q /Y,
# each alone under a wineserver that traces every request.  Two media of
# the 5,000-file medium's shape (25 files a folder) are copied, and the
# difference between them divided by the difference in files is the
# figure, so that starting a process costs nothing in it.
#
# usage: tools/bench_copy/server_requests.sh [TOP]   (TOP kinds listed, default 12)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
TOP="${1:-12}"
source "$ROOT/scripts/bench-env.sh"
bench_build bench_copy

C="$WINEPREFIX/drive_c"
TRACES="$BUILD_ROOT/server-requests"
rm -rf "$TRACES" && mkdir -p "$TRACES"
cp "$WIN/tools/bench_copy/bench_copy.exe" "$C/"
SMALL=250 LARGE=1250
for n in $SMALL $LARGE; do
    rm -rf "$C/ReqMedium$n" "$C/ReqWork$n"
    "$BUILD_ROOT/native/tools/make_medium" "$C/ReqMedium$n" --files "$n" --folders $((n / 25)) \
        --bytes $((n * 10000)) >/dev/null
done

# The persistent server is replaced by one that traces to FILE while CMD
# runs; the next one is started by the next call.
traced() {
    local file="$1"
    shift
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    wineserver -f -p -d1 2>"$file" &
    local server=$!
    sleep 1
    "$@" >/dev/null 2>&1 || true
    wineserver -k >/dev/null 2>&1 || true
    wait "$server" || true
}
# Request lines only (replies carry " = ").
requests() { grep -E '^[0-9a-f]+: [a-z_]+\(' "$1" | grep -v ') = ' | sed -E 's/^[0-9a-f]+: ([a-z_]+)\(.*/\1/'; }

cd "$C"
for n in $SMALL $LARGE; do
    traced "$TRACES/engine-$n.txt" "$QUILM_WINE" 'C:\bench_copy.exe' "C:\\ReqMedium$n\\" \
        "C:\\ReqWork$n\\" engine
    traced "$TRACES/xcopy-$n.txt" "$QUILM_WINE" cmd /c xcopy /E /I /Q /Y "C:\\ReqMedium$n" \
        "C:\\ReqWork$n\\xcopy"
done

echo "=== Wine server requests per file ($QUILM_ARCH; $((LARGE - SMALL)) files and $(((LARGE - SMALL) / 25)) folders more in the larger medium) ==="
for who in engine xcopy; do
    requests "$TRACES/$who-$SMALL.txt" | sort | uniq -c | awk '{print $2, $1}' | sort >"$TRACES/$who-$SMALL.kinds"
    requests "$TRACES/$who-$LARGE.txt" | sort | uniq -c | awk '{print $2, $1}' | sort >"$TRACES/$who-$LARGE.kinds"
    total=$(join -a1 -a2 -e0 -o 0,1.2,2.2 "$TRACES/$who-$SMALL.kinds" "$TRACES/$who-$LARGE.kinds" |
        awk -v d=$((LARGE - SMALL)) '{t += $3 - $2} END {printf "%.1f", t / d}')
    echo "$who: $total requests per file; the most frequent kinds:"
    join -a1 -a2 -e0 -o 0,1.2,2.2 "$TRACES/$who-$SMALL.kinds" "$TRACES/$who-$LARGE.kinds" |
        awk -v d=$((LARGE - SMALL)) '{printf "  %-28s %6.2f\n", $1, ($3 - $2) / d}' |
        sort -k2 -g -r | head -n "$TOP"
done
for n in $SMALL $LARGE; do rm -rf "$C/ReqMedium$n" "$C/ReqWork$n"; done
rm -f "$C/bench_copy.exe"
