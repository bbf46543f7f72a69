#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# The README's pictures of the planes, made again by vantu-render: (2 3 7) in the Poincaré disk
# and (2 3 6) in the Euclidean plane, each with every mirror of its group and its triangle
# marked.
#
#   scripts/readme-planes.sh [BIN] [DOCS]     (build/bin and docs by default)
#
# Each picture is written beside its target first and then moved over it.
set -euo pipefail

bin=${1:-build/bin}
docs=${2:-docs}
marks=(--projection stereo --antialias 3 --mark-group --mark-triangle)

work=$(mktemp -d "$docs/.readme-planes.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$bin/vantu-render" --triangle "2 3 7" "${marks[@]}" --scale 80 --size 320x320 \
    -o "$work/hyperbolic-2-3-7.png"
"$bin/vantu-render" --triangle "2 3 6" "${marks[@]}" --scale 45 --size 400x260 \
    -o "$work/euclidean-2-3-6.png"
for file in "$work"/*.png; do
    mv -f "$file" "$docs/$(basename "$file")"
    echo "$docs/$(basename "$file")"
done
