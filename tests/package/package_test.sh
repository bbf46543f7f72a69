#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# package_test.sh CPACK_CONFIG VERSION: builds the Debian package with cpack, checks what it
# holds, installs it with dpkg, runs what it installed, looks for the menu entry, the icon and
# the man pages where the menu and man look for them, and removes the package again, leaving
# nothing behind.
#
# Every program it runs has a time limit, so that the package is removed even when one hangs.
# Exits 77 (skipped) without cpack or dpkg, when not root (after checking the package without
# installing it), or when a package "vantu" is installed already, which it will not disturb.
set -euo pipefail
config=$1
version=$2
skip=77

for tool in cpack dpkg dpkg-deb desktop-file-validate appstreamcli man; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/install-deps.sh installs it)"
        exit $skip
    fi
done

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

work=$(mktemp -d)
installed=no
cleanup() {
    if [ "$installed" = yes ]; then
        dpkg_wait -r vantu >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# dpkg, waiting up to a minute for another dpkg or apt-get to let go of its lock.
dpkg_wait() {
    local output
    for _ in $(seq 30); do
        if output=$(dpkg "$@" 2>&1); then
            echo "$output"
            return 0
        fi
        if ! grep -q "lock" <<<"$output"; then
            echo "$output"
            return 1
        fi
        sleep 2
    done
    echo "$output"
    return 1
}

# The width and height of a PNG file, from its IHDR chunk.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" \
                                          $5*16777216 + $6*65536 + $7*256 + $8 }'
}

icon_sizes=(16 32 48 64 128 256)
files=(
    /usr/bin/vantu
    /usr/bin/vantu-render
    /usr/share/applications/vantu.desktop
    /usr/share/metainfo/io.github.vantu.Vantu.metainfo.xml
    /usr/share/man/man1/vantu.1.gz
    /usr/share/man/man1/vantu-render.1.gz
    /usr/share/doc/vantu/copyright
)
for size in "${icon_sizes[@]}"; do
    files+=("/usr/share/icons/hicolor/${size}x${size}/apps/vantu.png")
done

# The validators and the icon sizes, on a tree whose usr/ is the package's.
check_tree() {
    local root=$1
    desktop-file-validate --no-hints "$root/usr/share/applications/vantu.desktop" ||
        fail "desktop-file-validate rejects vantu.desktop"
    appstreamcli validate --no-net --strict \
        "$root/usr/share/metainfo/io.github.vantu.Vantu.metainfo.xml" >/dev/null ||
        fail "appstreamcli rejects the metainfo"
    for size in "${icon_sizes[@]}"; do
        local icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/vantu.png"
        if [ -f "$icon" ] && [ "$(png_size "$icon")" != "${size}x${size}" ]; then
            fail "$icon is $(png_size "$icon"), not ${size}x${size}"
        fi
    done
}

# The copyright file in Debian's machine-readable format: its header, then a Files paragraph
# whose licence, MIT, has its text in a paragraph of its own.
check_copyright() {
    local file=$1
    [ -f "$file" ] || return 0
    [ "$(head -n 1 "$file")" = \
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
        fail "the copyright file does not begin with the machine-readable Format line"
    awk -v RS= '/^Files: \*\n/ && /\nCopyright: 2026 The Vantu developers\n/ &&
                /\nLicense: MIT$/ { files = 1 }
                /^License: MIT\n Permission is hereby granted/ { text = 1 }
                END { exit !(files && text) }' "$file" ||
        fail "the copyright file lacks its Files paragraph or the MIT licence's text"
}

# 1. Build the package.
start=$SECONDS
if ! timeout 180 cpack --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack"
    exit 1
fi
deb="$work/out/vantu_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
    cat "$work/cpack.log"
    echo "FAIL: no $(basename "$deb") in:" $(ls "$work/out")
    exit 1
fi
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes, in $((SECONDS - start)) s"

# 2. What it says and what it holds.
[ "$(dpkg-deb -f "$deb" Package)" = vantu ] || fail "Package is not vantu"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
[ -n "$(dpkg-deb -f "$deb" Section)" ] || fail "no Section"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 3 ] || fail "no long Description"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The names dpkg-shlibdeps found, one a line, without their versions.
depends_names=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -qxF "$library" <<<"$depends_names" || fail "Depends lacks $library"
done
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$work/contents"
for file in "${files[@]}"; do
    grep -qxF "$file" "$work/contents" || fail "the package lacks $file"
done
dpkg-deb -x "$deb" "$work/root"
check_tree "$work/root"
check_copyright "$work/root/usr/share/doc/vantu/copyright"
appstreamcli validate-tree --no-net "$work/root" >"$work/tree.log" 2>&1 || {
    cat "$work/tree.log"
    fail "appstreamcli validate-tree rejects the installed tree"
}
if [ "$failures" -ne 0 ]; then
    exit 1
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the package is sound but not root: not installing it"
    exit $skip
fi
# One installing run at a time, when several build folders test at once.
exec 9>/tmp/vantu-package-test.lock
if ! flock -w 120 9; then
    echo "FAIL: another run of this test held its lock for two minutes"
    exit 1
fi
if dpkg-query -W -f='${db:Status-Abbrev}' vantu 2>/dev/null | grep -q '^.i'; then
    echo "SKIP: a vantu package is installed already; remove it (dpkg -r vantu) to run this test"
    exit $skip
fi

# 3. Install it.
dpkg_wait -i "$deb" >"$work/install.log" || {
    cat "$work/install.log"
    echo "FAIL: dpkg -i"
    exit 1
}
installed=yes

# 4. Run what it installed, from PATH.
cd "$work"
[ "$(command -v vantu-render)" = /usr/bin/vantu-render ] ||
    fail "vantu-render on PATH is '$(command -v vantu-render)', not /usr/bin/vantu-render"
render_version=$(timeout 20 vantu-render --version 2>&1) || true
[ "$render_version" = "vantu-render $version" ] ||
    fail "vantu-render --version says '$render_version'"
if timeout 20 vantu-render --code "311 3/2:3/2:3/2" --projection ortho -o picture.png; then
    [ "$(png_size picture.png)" = 640x481 ] || fail "the picture is $(png_size picture.png)"
else
    fail "vantu-render could not draw"
fi
window_version=$(QT_QPA_PLATFORM=offscreen timeout 20 vantu --version 2>/dev/null) || true
[ "$window_version" = "Vantu $version" ] || fail "vantu --version says '$window_version'"

# 5. Where the menu and man look: the entry in /usr/share/applications starts a program on
# PATH and names an icon of the hicolor theme; man finds both pages.
# Every Exec line, the entry's own and its actions', starts a program on PATH; the "Explore"
# action opens the Explorer.
icon_name=$(sed -n 's/^Icon=//p' /usr/share/applications/vantu.desktop)
while read -r exec_line; do
    command -v "${exec_line%% *}" >/dev/null || fail "the menu entry runs '$exec_line', not on PATH"
done < <(sed -n 's/^Exec=//p' /usr/share/applications/vantu.desktop)
grep -qx 'Exec=vantu --explore' /usr/share/applications/vantu.desktop ||
    fail "the menu entry has no action that runs 'vantu --explore'"
for size in "${icon_sizes[@]}"; do
    [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/$icon_name.png" ] ||
        fail "no ${size}x${size} icon '$icon_name' in hicolor"
done
check_tree ""
for page in vantu vantu-render; do
    where=$(man -w "$page" 2>&1) || true
    [ "$where" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page says '$where'"
done
shown=$(MANWIDTH=80 man -P cat vantu-render 2>/dev/null) || true
grep -q -- "--projection" <<<"$shown" || fail "man vantu-render does not show --projection"

# 6. Remove it, leaving nothing behind.
installed=no
dpkg_wait -r vantu >"$work/remove.log" || {
    cat "$work/remove.log"
    fail "dpkg -r vantu"
}
status=$(dpkg-query -W -f='${db:Status-Abbrev}' vantu 2>/dev/null || true)
case "$status" in
"" | un*) ;;
*) fail "after dpkg -r, vantu's status is '$status'" ;;
esac
for file in "${files[@]}"; do
    [ ! -e "$file" ] || fail "$file is still there after dpkg -r"
done

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "installed, ran and removed $(basename "$deb") in $((SECONDS - start)) s"
