#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, running and testing Vantu need, and only those
# that are missing. Safe to run any number of times. With --windows: those that cross-build Vantu
# for Windows and test it under wine instead, and the source lines that `apt-get source` needs.
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
    # the Explorer's 3D view of the polyhedron (Qt's OpenGL widget)
    libqt6opengl6-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # node, which runs the Khronos glTF validator that checks the .glb models (npm installs it
    # into tests/tools below; Debian's npm unless node came with its own)
    nodejs
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

if [ "${1:-}" = --windows ]; then
    packages=(
        # the cross-compilers, their zlib, and the tools that build Debian's sources
        g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
        build-essential cmake ninja-build pkg-config dpkg-dev m4 autoconf automake libtool qt6-base-dev qt6-base-dev-tools
        # running and testing the programs, and the installer
        wine wine64 xvfb imagemagick nsis zip
    )
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

if [ "${1:-}" != --windows ] && ! command -v npm >/dev/null; then
    packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

# Debian's sources, for the libraries the Windows build makes from them.
sources=/etc/apt/sources.list.d/vantu-debian-src.sources
updated=no
if [ "${1:-}" = --windows ] && ! grep -rqs "^Types:.*deb-src\|^deb-src" /etc/apt/sources.list /etc/apt/sources.list.d; then
    echo "install-deps: adding Debian's source packages to apt's sources ($sources)"
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
        "Suites: bookworm bookworm-updates" "Components: main" \
        "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
        "${sudo[@]}" tee "$sources" >/dev/null
    "${sudo[@]}" apt-get update -q
    updated=yes
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if [ $updated = no ]; then
        "${sudo[@]}" apt-get update -q
    fi
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests' tools from npm, at the versions tests/tools/package-lock.json holds, into
# tests/tools/node_modules (which git ignores), so that building and testing need no network.
tools="$(cd "$(dirname "$0")/../tests/tools" && pwd)"
if [ "${1:-}" != --windows ] && [ ! -f "$tools/node_modules/gltf-validator/package.json" ]; then
    echo "install-deps: installing the tests' tools into $tools/node_modules"
    npm ci --prefix "$tools" --no-audit --no-fund
fi
