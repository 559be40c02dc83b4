#!/usr/bin/env bash
# Saves the main window on the virtual device at scale 1 and at scale 2
# (build/screenshots/main-window@1x.png and main-window@2x.png, to be looked
# at) and checks that the 2x one has twice the pixels each way, i.e. that it
# was drawn at the higher density and not grabbed at 1x.
#   screenshot_test.sh <sonoria program> <screenshot folder>
set -euo pipefail

program=$1
folder=$2
mkdir -p "$folder"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/own_folders.sh"
own_folders "$tmp"

png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%d %d\n", $3 * 256 + $4, $7 * 256 + $8 }'
}

for scale in 1 2; do
    file="$folder/main-window@${scale}x.png"
    rm -f "$file"
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale "$program" --virtual --screenshot="$file" --quit-after=2500
    [ -s "$file" ] || { echo "FAIL: no $file" >&2; exit 1; }
done

read -r w1 h1 < <(png_size "$folder/main-window@1x.png")
read -r w2 h2 < <(png_size "$folder/main-window@2x.png")
echo "1x: ${w1}x${h1}  2x: ${w2}x${h2}"
[ "$w1" -gt 100 ] && [ "$h1" -gt 100 ] || { echo "FAIL: the 1x window is ${w1}x${h1}" >&2; exit 1; }
[ "$w2" -eq $((2 * w1)) ] && [ "$h2" -eq $((2 * h1)) ] || { echo "FAIL: the 2x screenshot is not twice the 1x one" >&2; exit 1; }
