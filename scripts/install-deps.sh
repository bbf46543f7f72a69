#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, running and testing Vantu need, and only those
# that are missing. Safe to run any number of times.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev
    # why an X display cannot be opened, told in one line
    libxcb1-dev
    # the correctly rounded arctangent, sine and cosine; the triangle's numbers exactly
    libmpfr-dev libgmp-dev
    # vantu-render's command line, and its PNG and WebP files
    libcli11-dev libspng-dev libwebp-dev libtbb-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # the gallery's contact sheet in a real browser
    chromium
    # fuzzing the core
    clang libclang-rt-14-dev
    # the real window under a virtual X server, as a user would drive it
    xvfb xdotool x11-apps imagemagick libx11-dev xclip
    # the window tests again on Wayland, in a headless compositor
    qt6-wayland weston
    # the window on a plain X server
    libxcb-cursor0 fonts-dejavu-core
    # the Debian package: dpkg-shlibdeps, the menu entry and metainfo validators, man pages
    dpkg-dev desktop-file-utils appstream man-db groff-base
    # every file's licence checked with the REUSE tool
    reuse
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
