#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# Runs a window test program on Wayland: in a headless Weston compositor of its own, with its
# own runtime folder, with QT_QPA_PLATFORM=wayland.
#
#   scripts/weston-window-test.sh PROGRAM [ARGUMENT]...
#
# Exits with PROGRAM's status, or 77 (a skip for CTest) with a message saying why when Weston
# cannot start here. Every wait is bounded; the compositor is stopped whatever happens.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 PROGRAM [ARGUMENT]..." >&2
    exit 2
fi
skip() {
    echo "SKIPPED: the window tests on Wayland: $*"
    exit 77
}
command -v weston >/dev/null || skip "weston is not installed (scripts/install-deps.sh installs it)"

runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime
socket=wayland-vantu
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    --log="$runtime/weston.log" &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
    tail -n 5 "$runtime/weston.log" 2>/dev/null || true
    skip "headless Weston did not start"
fi

unset DISPLAY
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
# The headless compositor has no seat, and Qt's Wayland input method looks for the text input of
# the seat's keyboard when a text field is clicked; no input method, as on a desktop without one.
export QT_IM_MODULE=none
status=0
"$@" || status=$?
exit $status
