#!/bin/sh
# Converts the wizard test's BMP screenshots to PNG; fails when there are none.
dir="$1"
n=0
for bmp in "$dir"/*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" && n=$((n + 1))
done
ls "$dir"/*.png >/dev/null 2>&1 || { echo "no screenshots in $dir"; exit 1; }
echo "$n screenshots converted in $dir"
