#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# vantu-render.exe under wine against vantu-render on Linux: the runs of every catalogue code
# (three projections, a rotation and the reverse), the gallery of every code in every
# projection, rotation and reverse, byte for byte; a file replaced whole or not at all; and the
# same exit statuses; Ctrl+C ends it as SIGINT ends vantu-render on Linux.
#   scripts/test-windows.sh [WINDOWS_BIN [LINUX_BIN]]
# The folders of the programs: by default build-windows/bin (scripts/build-windows.sh) and
# build/bin. Where WINDOWS_BIN holds vantu.exe too, the window is tested next
# (scripts/test-windows-window.sh), and the installer beside the folder.
set -uo pipefail
cd "$(dirname "$0")/.."
windowsBin=${1:-build-windows/bin}
linuxBin=${2:-build/bin}
exe=$windowsBin/vantu-render.exe
linux=$linuxBin/vantu-render
for program in "$exe" "$linux"; do
    if [ ! -f "$program" ]; then
        echo "test-windows: $program is missing" >&2
        exit 2
    fi
done
export WINEDEBUG=-all
wine=$(command -v wine64 || command -v wine)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
compared=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
win() { "$wine" "$exe" "$@"; }

# The catalogue, as the program has it.
mapfile -t codes < <(sed -n '/catalogue = {/,/};/p' setup/triangle_code.h | grep -o '"[^"]*"' |
    tr -d '"')
[ ${#codes[@]} -eq 44 ] || fail "found ${#codes[@]} catalogue codes, not 44"

# The runs, as text; wine's console ends its lines as Windows does.
for code in "${codes[@]}"; do
    for args in "--projection stereo" "--projection gnome" "--projection ortho" \
        "--rotation 1" "--reverse"; do
        # shellcheck disable=SC2086
        "$linux" --code "$code" $args --runs >"$work/linux.runs" 2>&1
        # shellcheck disable=SC2086
        win --code "$code" $args --runs 2>&1 | tr -d '\r' >"$work/windows.runs"
        compared=$((compared + 1))
        cmp -s "$work/linux.runs" "$work/windows.runs" || fail "--runs differ for $code $args"
    done
done
runs=$compared

# Every catalogue picture, the uniform polyhedra's pictures and models and the plane triangles'
# pictures, in one gallery each, and its pages: every file the same.
"$linux" --gallery "$work/linux" --permutations >/dev/null 2>&1 || fail "the Linux gallery failed"
win --gallery "$work/windows" --permutations >/dev/null 2>&1 || fail "the Windows gallery failed"
pictures=0
files=0
for file in "$work"/linux/*; do
    name=$(basename "$file")
    files=$((files + 1))
    case $name in *.png) pictures=$((pictures + 1)) ;; esac
    if ! cmp -s "$file" "$work/windows/$name"; then
        fail "$name differs"
    fi
done
# 44 codes in 3 projections and 6 rotations and reverses, 79 uniform polyhedra, 13 plane triangles.
expected=$((44 * 3 * 6 + 79 + 13))
[ "$pictures" -eq "$expected" ] || fail "the gallery has $pictures pictures, not $expected"
compared=$((compared + files))

# A picture to the standard output, byte for byte as to a file.
"$linux" -o - >"$work/linux.png"
win -o - >"$work/windows.png"
cmp -s "$work/linux.png" "$work/windows.png" || fail "the picture on the standard output differs"

# A file replaced whole, or kept when the new one cannot be written.
echo old >"$work/kept.png"
win -o "$work/kept.png" || fail "cannot replace a file"
cmp -s "$work/kept.png" "$work/linux.png" || fail "the replaced file is not the picture"
echo old >"$work/kept.png"
chmod a-w "$work/kept.png"
win -o "$work/kept.png" 2>"$work/error.txt"
status=$?
[ $status -eq 1 ] || fail "writing over a read-only file ended with $status, not 1"
[ "$(cat "$work/kept.png")" = old ] || fail "the read-only file was changed"
grep -q "^vantu-render: cannot write '.*kept.png': " "$work/error.txt" ||
    fail "unexpected message: $(cat "$work/error.txt")"
win -o "$work/missing/x.png" 2>"$work/error.txt"
status=$?
[ $status -eq 1 ] || fail "writing into a missing folder ended with $status, not 1"
grep -q "^vantu-render: cannot write '.*x.png': " "$work/error.txt" ||
    fail "unexpected message: $(cat "$work/error.txt")"
[ -z "$(find "$work" -maxdepth 1 -name '.*vantu-*')" ] || fail "a temporary file was left"

# A name beyond the code page (Greek and Japanese), in a message and as a file.
win -o "$work/Ωμέγα-日本.png" || fail "cannot write a file with a Greek and Japanese name"
cmp -s "$work/Ωμέγα-日本.png" "$work/linux.png" || fail "the Greek and Japanese name was not kept"
win -o "$work/Ω/x.png" 2>"$work/error.txt"
grep -q "^vantu-render: cannot write '.*/Ω/x.png': " "$work/error.txt" ||
    fail "the Greek name was not kept in the message: $(cat "$work/error.txt")"

# Ctrl+C (wine passes SIGINT on as one) while a large picture is drawn: status 130 as for SIGINT
# on Linux, the old file kept and no temporary file left.
echo old >"$work/interrupted.png"
# Started directly, not through win(): $! is then the program itself.
"$wine" "$exe" --zoom 16 --antialias 8 --jobs 1 -o "$work/interrupted.png" 2>"$work/error.txt" &
program=$!
for _ in $(seq 100); do
    [ -n "$(find "$work" -maxdepth 1 -name '.interrupted.png.vantu-*')" ] && break
    sleep 0.1
done
kill -INT $program
wait $program
status=$?
[ $status -eq 130 ] || fail "Ctrl+C ended with $status, not 130"
[ "$(cat "$work/interrupted.png")" = old ] || fail "Ctrl+C changed the old file"
[ -z "$(find "$work" -maxdepth 1 -name '.*vantu-*')" ] || fail "Ctrl+C left a temporary file"
grep -q "^vantu-render: interrupted by SIGINT; nothing more was written" "$work/error.txt" ||
    fail "unexpected message after Ctrl+C: $(cat "$work/error.txt")"

# The same statuses: 2 for a usage error, 1 for a fault, 0 for success.
while read -r expected args; do
    # shellcheck disable=SC2086
    "$linux" $args >/dev/null 2>&1
    linuxStatus=$?
    # shellcheck disable=SC2086
    win $args >/dev/null 2>&1
    windowsStatus=$?
    [ $linuxStatus -eq "$expected" ] || fail "Linux: '$args' ended with $linuxStatus"
    [ $windowsStatus -eq "$expected" ] || fail "Windows: '$args' ended with $windowsStatus"
done <<'EOF'
2 --no-such-option
2 --zoom 100 -o x.png
2 --code 300 --runs --info
1 --code 999 --runs
1 --info --code 300
0 --info
EOF

echo "test-windows: compared $runs runs and the gallery's $files files, $pictures of them pictures ($compared in all); $failures failures"
[ $failures -eq 0 ] || exit 1
if [ -f "$windowsBin/vantu.exe" ]; then
    bash scripts/test-windows-window.sh "$windowsBin" "$linuxBin"
fi
