#!/bin/bash
# Installs what building and testing need on Debian 12 (run as root).
# Safe to run again: it installs only what is missing.
set -euo pipefail

PACKAGES=(wine wine32:i386 wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix xvfb fonts-wqy-zenhei locales
          cmake ninja-build g++ make googletest imagemagick x11-utils clang libclang-rt-14-dev)

SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    NEED_UPDATE=1
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${NEED_UPDATE:-}" ]; then
    echo "deps: installing ${missing[*]}"
    # A mirror caught mid-sync fails one index now and then ("File has
    # unexpected size"): try again, then install from the lists there are.
    for try in 1 2 3; do
        $SUDO apt-get update -q && break
        echo "deps: apt-get update failed (try $try of 3)" >&2
        sleep 10
    done
    if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"; then
        # Without the mirror's i386 lists Wine's 32-bit half cannot be had:
        # the tests then run the x86_64 flavour (scripts/wine-env.sh).
        echo "deps: installing without the i386 packages" >&2
        native=()
        for p in "${missing[@]}"; do [[ $p == *:i386 ]] || native+=("$p"); done
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${native[@]}"
    fi
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen
fi
