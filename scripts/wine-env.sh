# Sourced by the run and test commands: a private Wine prefix inside the
# build folder, its own Xvfb display and a persistent wineserver.
# Call wine_start after sourcing; wine_stop runs on exit.

: "${BUILD_ROOT:?BUILD_ROOT must be set}"
export WINEPREFIX="$BUILD_ROOT/wineprefix"
export WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export WINEARCH=win64
QUILM_XVFB_PID=

# 32-bit Linux executables (and so Wine's 32-bit loader) do not run on
# every machine: some kernels refuse them with "Exec format error".  There
# the programs are built for x86_64 and run with the 64-bit loader.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export QUILM_WINE=wine QUILM_ARCH=i686
else
    export QUILM_WINE=/usr/lib/wine/wine64 QUILM_ARCH=x86_64
    export WINELOADER=/usr/lib/wine/wine64
fi

wine_free_display() {
    local n
    for n in $(seq 91 199); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo "$n"; return; fi
    done
    echo "no free X display" >&2
    return 1
}

wine_start_xvfb() {
    local n
    n=$(wine_free_display)
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    QUILM_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

wine_prepare_prefix() {
    [ -f "$WINEPREFIX/.quilm-ready" ] && return 0
    echo "wine: preparing prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$QUILM_WINE" wineboot -i >/dev/null 2>&1
    wineserver -w
    "$QUILM_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    local u="$WINEPREFIX/drive_c/users/$USER" d
    [ -d "$u" ] || u="$WINEPREFIX/drive_c/users/$(id -un)"
    for d in Desktop Documents Downloads Music Pictures Videos; do
        if [ -L "$u/$d" ]; then rm "$u/$d" && mkdir "$u/$d"; fi
    done
    wineserver -w
    touch "$WINEPREFIX/.quilm-ready"
}

wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$QUILM_XVFB_PID" ]; then
        kill "$QUILM_XVFB_PID" 2>/dev/null || true
        wait "$QUILM_XVFB_PID" 2>/dev/null || true
        QUILM_XVFB_PID=
    fi
}

# Starts a private display (unless keep_display is given and DISPLAY is
# set), prepares the prefix and starts a persistent wineserver.
wine_start() {
    export USER="${USER:-$(id -un)}"
    if [ "${1:-}" = keep_display ] && [ -n "${DISPLAY:-}" ]; then
        :
    else
        wine_start_xvfb
    fi
    trap wine_stop EXIT
    wine_prepare_prefix
    # A network share for the tests of network destinations: Wine serves
    # \\localhost\c\... from this link to drive C: (it has no SMB server;
    # \\localhost\C$ is not found).
    mkdir -p "$WINEPREFIX/dosdevices/unc/localhost"
    ln -sfn ../../../drive_c "$WINEPREFIX/dosdevices/unc/localhost/c"
    # A second drive Q:, empty at each start, for the tests of an
    # installation on a data drive (whose root any user may write to).
    rm -rf "$WINEPREFIX/drive_q" && mkdir -p "$WINEPREFIX/drive_q"
    ln -sfn ../drive_q "$WINEPREFIX/dosdevices/q:"
    wineserver -p
}
