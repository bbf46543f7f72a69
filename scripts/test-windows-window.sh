#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# vantu.exe under wine, on a virtual X server, driven as on Linux: the same real-window test as
# the Linux build's (scripts/xvfb-window-test.sh), with vantu.exe for vantu and vantu-render.exe
# for vantu-render, so that Form1's picture after "Go!" must equal vantu-render's pixel for
# pixel, and the Explorer's frame the picture that vantu-render.exe draws for its copied command.
# Then the installer: installed silently, the programs started from where it put them, the
# Start-menu entries and the uninstaller there, and everything gone after uninstalling.
#   scripts/test-windows-window.sh WINDOWS_BIN LINUX_BIN
# WINDOWS_BIN holds vantu.exe and vantu-render.exe, with vantu-setup.exe in the folder above it;
# LINUX_BIN the Linux build's vantu-xclose and vantu-find-picture.
set -euo pipefail
cd "$(dirname "$0")/.."
windowsBin=$(realpath "$1")
linuxBin=$(realpath "$2")
export WINEDEBUG=-all
# No menu entries of the installer's in the desktop's own menus.
export WINEDLLOVERRIDES=winemenubuilder.exe=d
wine=$(command -v wine)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

say() { echo "test-windows-window: $*"; }

# The programs under wine, named as the Linux test starts them.
mkdir -p "$work/bin"
for program in vantu vantu-render; do
    printf '#!/bin/sh\nexec %s %s "$@"\n' "$wine" "$windowsBin/$program.exe" >"$work/bin/$program"
    chmod +x "$work/bin/$program"
done

# A prefix of the test's own, so that nothing of it stays in the user's. Wine comes without
# Tahoma, which Windows's dialog font "MS Shell Dlg" stands for, and would take any font for it
# (a mathematical one, too tall for a line edit, whose text then shows nothing): DejaVu Sans
# stands in, as Tahoma does on Windows.
export WINEPREFIX=$work/prefix
"$wine" wineboot --init >/dev/null 2>&1
for font in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Segoe UI"; do
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ \
        /d "DejaVu Sans" /f >/dev/null 2>&1
done
wineserver -w

say "the real window, under wine"
VANTU_NO_PICTURE_CLIPBOARD="wine hands X no PNG of a picture on the Windows clipboard" \
    VANTU_SCREENSHOT=${VANTU_WINDOWS_SCREENSHOT:-} \
    VANTU_EXPLORER_SCREENSHOT=${VANTU_WINDOWS_EXPLORER_SCREENSHOT:-} \
    bash scripts/xvfb-window-test.sh "$work/bin/vantu" "$work/bin/vantu-render" \
    "$linuxBin/vantu-xclose" "$linuxBin/vantu-find-picture"

say "the installer"
setup=$(dirname "$windowsBin")/vantu-setup.exe
[ -f "$setup" ] || {
    echo "FAIL: $setup is missing" >&2
    exit 1
}
folder='C:\Program Files\Vantu'
unixFolder=$WINEPREFIX/drive_c/Program\ Files/Vantu
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Vantu
timeout 120 "$wine" "$setup" /S || {
    echo "FAIL: the installer ended with $?" >&2
    exit 1
}
for file in vantu.exe vantu-render.exe uninstall.exe LICENSE.txt README.txt; do
    [ -f "$unixFolder/$file" ] || {
        echo "FAIL: the installer put no $file in $folder" >&2
        exit 1
    }
done
for entry in "Vantu.lnk" "Vantu Explorer.lnk"; do
    [ -f "$menu/$entry" ] || {
        echo "FAIL: no Start-menu entry $entry" >&2
        exit 1
    }
done
cmp -s "$unixFolder/vantu-render.exe" "$windowsBin/vantu-render.exe" || {
    echo "FAIL: the installed vantu-render.exe is not the one built" >&2
    exit 1
}
"$wine" "$unixFolder/vantu-render.exe" -o "$work/installed.png"
"$linuxBin/vantu-render" -o "$work/linux.png"
cmp -s "$work/installed.png" "$work/linux.png" || {
    echo "FAIL: the installed vantu-render.exe draws another picture" >&2
    exit 1
}
cmp -s "$unixFolder/vantu.exe" "$windowsBin/vantu.exe" || {
    echo "FAIL: the installed vantu.exe is not the one built" >&2
    exit 1
}
"$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantu' /v DisplayName \
    2>/dev/null | grep -q Vantu || {
    echo "FAIL: Windows does not list Vantu among the installed programs" >&2
    exit 1
}
# _?= runs the uninstaller in place, so that wine waits for it.
timeout 120 "$wine" "$folder\\uninstall.exe" /S "_?=$folder"
# It may hand its work to a process of its own: wait for every program of the prefix to end.
timeout 120 wineserver -w
for file in vantu.exe vantu-render.exe LICENSE.txt README.txt uninstall.exe; do
    [ ! -e "$unixFolder/$file" ] || {
        echo "FAIL: $file was left after uninstalling" >&2
        exit 1
    }
done
[ ! -e "$menu" ] || {
    echo "FAIL: the Start-menu entries were left after uninstalling" >&2
    exit 1
}
if "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantu' >/dev/null 2>&1; then
    echo "FAIL: Windows still lists Vantu after uninstalling" >&2
    exit 1
fi
say "PASS: the window under wine, and the installer installs, runs and uninstalls"
