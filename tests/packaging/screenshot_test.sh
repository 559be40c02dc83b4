#!/usr/bin/env bash
# Saves the main window on the virtual device at scale 1 and at scale 2
# (build/screenshots/main-window@1x.png and main-window@2x.png, to be looked
# at) and checks that the 2x one has twice the pixels each way, i.e. that it
# was drawn at the higher density and not grabbed at 1x. A copy of the
# program runs for the same user all along: screenshot runs stand outside the
# one-copy rule. A run that cannot save its picture fails, saying why.
#   screenshot_test.sh <sonoria program> <screenshot folder>
set -euo pipefail

program=$1
folder=$2
mkdir -p "$folder"
tmp=$(mktemp -d)
running=""
trap '[ -n "$running" ] && kill "$running" 2>/dev/null; wait; rm -rf "$tmp"' EXIT
source "$(dirname "$0")/own_folders.sh"
own_folders "$tmp"

QT_QPA_PLATFORM=offscreen "$program" --virtual >"$tmp/running.log" 2>&1 &
running=$!
# The running copy has taken the user's mark once its lock file is there.
for _ in $(seq 600); do
    [ -e "$XDG_RUNTIME_DIR/Sonoria-Mixer-II.lock" ] && break
    kill -0 "$running" 2>/dev/null || { cat "$tmp/running.log" >&2; echo "FAIL: the first copy ended" >&2; exit 1; }
    sleep 0.1
done
[ -e "$XDG_RUNTIME_DIR/Sonoria-Mixer-II.lock" ] || { echo "FAIL: the first copy took no mark" >&2; exit 1; }

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

if QT_QPA_PLATFORM=offscreen "$program" --virtual --screenshot=/proc/no-such-folder/shot.png --quit-after=0 \
    2>"$tmp/failed.log"; then
    echo "FAIL: a screenshot that could not be saved ended with success" >&2
    exit 1
fi
grep -q "could not save the screenshot" "$tmp/failed.log" || { cat "$tmp/failed.log" >&2; echo "FAIL: no reason given" >&2; exit 1; }
kill -0 "$running" || { echo "FAIL: the first copy did not keep running" >&2; exit 1; }
