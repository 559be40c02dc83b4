#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on its built-in
# virtual device. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target sonoria
exec build/sonoria --virtual "$@"
