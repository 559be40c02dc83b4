#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on its built-in
# virtual device. Extra arguments go to the program. Without a display it
# says so and runs a short headless demonstration that saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target sonoria sonoria-cli
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: running a headless demonstration on the virtual device instead."
    QT_QPA_PLATFORM=offscreen exec build/sonoria --virtual --screenshot=build/screenshots/main-window.png \
        --quit-after=4000 "$@"
fi
exec build/sonoria --virtual "$@"
