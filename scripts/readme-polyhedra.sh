#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# The README's pictures of the polyhedra, made again from the programs: for the snub dodecahedron
# "| 2 3 5" and the great icosahedron "5/2 | 2 3", the sphere of the symbol's triangle,
# orthographic, with the polyhedron's edges marked (vantu-render --mark-polyhedron, the snub
# points ringed for the snub), and beside it the Explorer's 3D view of the polyhedron turned by
# the same view (vantu-polyhedron-picture), on a virtual X server with Mesa's software renderer.
#
#   scripts/readme-polyhedra.sh [BIN] [DOCS]     (build/bin and docs by default)
#
# Needs Xvfb (xvfb-run). Each picture is written beside its target first and then moved over it.
set -euo pipefail

bin=${1:-build/bin}
docs=${2:-docs}
view=20,-25,0
sphere=(--projection ortho --scale 75 --size 320x320 --view "$view" --antialias 3
        --mark-polyhedron)

work=$(mktemp -d "$docs/.readme-polyhedra.XXXXXX")
trap 'rm -rf "$work"' EXIT

pictures() {
    local symbol=$1 name=$2
    shift 2
    "$bin/vantu-render" --polyhedron "$symbol" "${sphere[@]}" "$@" -o "$work/$name-sphere.png"
    xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" \
        env QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 QT_SCALE_FACTOR=1 WAYLAND_DISPLAY= \
        "$bin/vantu-polyhedron-picture" "$symbol" 320 "$view" "$work/$name.png"
}

pictures "| 2 3 5" snub-dodecahedron --mark-snub
pictures "5/2 | 2 3" great-icosahedron
for file in "$work"/*.png; do
    mv -f "$file" "$docs/$(basename "$file")"
    echo "$docs/$(basename "$file")"
done
