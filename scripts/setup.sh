#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when
# they are all present.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libgl-dev
    libhidapi-dev libudev-dev
    # The EQ fit chooses band values with a bounded local optimiser.
    libnlopt-dev
    # sonoria-cli --json writes its documents with nlohmann/json (headers only).
    nlohmann-json3-dev
    fonts-wqy-microhei fonts-wine
    desktop-file-utils appstream help2man
    # CPack's DEB generator runs file(1) on every binary it packages.
    file
    # bench/idle_cpu.sh runs the program under a private X server.
    xvfb xauth
    ccache
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
fi
