#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# The real Vantu window on a virtual X server, driven as a user drives it, with no window
# manager: find the window by its title and check its client area; click "Go!" and compare the
# picture on the screen with vantu-render's, pixel for pixel, and the picture Ctrl+C and the
# context menu's "Copy Picture" put on the clipboard with it too; type a bad code, see the message
# titled "Vantu", dismiss it and draw again; open an Explorer with Ctrl+E and close it; close the
# window while it draws and check that the program ends. Then `vantu --explore`: drag the
# sphere, copy the command line of the picture shown with Ctrl+Shift+C, run it, and find its
# picture on the screen, pixel for pixel; close the Explorer while it spins and check that the
# program ends.
#
#   scripts/xvfb-window-test.sh BUILD/bin/vantu BUILD/bin/vantu-render BUILD/bin/vantu-xclose \
#       BUILD/bin/vantu-find-picture [SCALE]
#
# With SCALE (a whole number, 1 by default) the window runs with QT_SCALE_FACTOR=SCALE, as on a
# desktop scaled that much: everything on the screen is SCALE times larger, and the picture must
# be vantu-render's --zoom SCALE, sampled at the screen's own pixels.
#
# With VANTU_NO_PICTURE_CLIPBOARD=REASON set, the picture on the clipboard is not checked, for that
# reason. With VANTU_SCREENSHOT=FILE.png set, the window is saved there once the first picture is drawn;
# with VANTU_EXPLORER_SCREENSHOT=FILE.png, the Explorer after the drag; with
# VANTU_EXPLORER_MARKED_SCREENSHOT=FILE.png, the Explorer after the drag with the mirrors, the
# triangle and the snub points marked.
#
# Needs Xvfb, xdotool, xclip and ImageMagick (scripts/install-deps.sh installs them). Every wait is
# bounded; the X server and the program are stopped whatever happens.
set -euo pipefail

if [ $# -lt 4 ] || [ $# -gt 5 ]; then
    echo "usage: $0 VANTU VANTU_RENDER VANTU_XCLOSE VANTU_FIND_PICTURE [SCALE]" >&2
    exit 2
fi
vantu=$1
render=$2
xclose=$3
find_picture=$4
scale=${5:-1}
case "$scale" in
[1-4]) ;;
*)
    echo "SCALE must be 1 to 4, not $scale" >&2
    exit 2
    ;;
esac
for tool in Xvfb xdotool xwininfo import compare xclip; do
    if ! command -v "$tool" >/dev/null; then
        echo "missing $tool: run scripts/install-deps.sh" >&2
        exit 1
    fi
done

work=$(mktemp -d)
xvfb_pid=
vantu_pid=
clicker_pid=
last_difference=
cleanup() {
    for pid in $clicker_pid $vantu_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$last_difference" ]; then
        echo "  the last comparison with vantu-render's picture: $last_difference pixels differed" >&2
    fi
    if [ -s "$work/vantu.log" ]; then
        sed 's/^/  vantu: /' "$work/vantu.log" >&2
    fi
    exit 1
}
step() {
    echo "-- $*"
}

# wait_for SECONDS WHAT COMMAND...: runs COMMAND every tenth of a second until it succeeds.
# Runs the command after LIMIT until it succeeds, for at most LIMIT seconds; false if it never did.
wait_for_quietly() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}
wait_for() {
    local limit=$1 what=$2
    shift 2
    wait_for_quietly "$limit" "$@" || fail "waited ${limit} s for $what"
}

# Where the controls are, in the window's pixels from the top-left of the client area; the
# screen's pixels are SCALE times these.
go_x=104 go_y=44             # the middle of "Go!"
code_x=80 code_y=18          # the text field of the code list
stereo_x=468 stereo_y=36     # "stereo"
ortho_x=596 ortho_y=36       # "ortho"
# The raster's top-left: the picture box at (0, 64), inside its 2-pixel frame.
raster=$((640 * scale))x$((481 * scale))+$((2 * scale))+$((66 * scale))

step "reference pictures from vantu-render, zoom $scale"
"$render" --zoom "$scale" -o "$work/stereo.png"
"$render" --zoom "$scale" --projection ortho -o "$work/ortho.png"

step "a virtual X server"
# -noreset: the server stays as it is when its last client goes, between one vantu and the next,
# so that the next one never connects while it resets.
Xvfb -displayfd 3 -screen 0 $((1024 * scale))x$((768 * scale))x24 -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 20 "the X server to start" test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"
# The Explorer keeps its size and docks in a folder of the test's, never the user's.
export XDG_CONFIG_HOME="$work/config"
unset WAYLAND_DISPLAY

step "start vantu on $DISPLAY at scale factor $scale"
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$vantu" >"$work/vantu.log" 2>&1 &
vantu_pid=$!

# The visible windows titled "Vantu", one id a line.
vantu_windows() {
    xdotool search --onlyvisible --name '^Vantu$' 2>/dev/null || true
}
find_window() {
    kill -0 "$vantu_pid" 2>/dev/null || fail "vantu ended at start-up"
    window=$(vantu_windows | head -n 1)
    [ -n "$window" ]
}
wait_for 30 "a window titled Vantu" find_window

read -r width height < <(xwininfo -id "$window" |
    awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }')
[ "$width x $height" = "$((649 * scale)) x $((553 * scale))" ] ||
    fail "the client area is $width x $height, not $((649 * scale)) x $((553 * scale))"
echo "window $window, client area $width x $height"

click_at() {
    xdotool mousemove --window "$window" $(($1 * scale)) $(($2 * scale)) click 1
}
# The number of pixels of the raster on the screen that differ from the picture $1.
differing_pixels() {
    import -window "$window" -crop "$raster" +repage "$work/screen.png" 2>/dev/null || return 1
    compare -metric AE "$work/screen.png" "$1" null: 2>&1 >/dev/null || true
}
shows() {
    last_difference=$(differing_pixels "$1") || last_difference="no grab"
    [ "$last_difference" = "0" ]
}
type_code() {
    xdotool windowfocus --sync "$window"
    click_at "$code_x" "$code_y"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 15 "$1"
}

step "Go! paints the start-up picture"
click_at "$go_x" "$go_y"
wait_for 60 "the picture to match vantu-render's" shows "$work/stereo.png"
if [ -n "${VANTU_SCREENSHOT:-}" ]; then
    # The whole window, with the pointer off it so that no control shows it hovering.
    xdotool mousemove $((width + 10)) $((height + 10))
    sleep 0.5
    import -window "$window" "$VANTU_SCREENSHOT" || fail "no screenshot"
    echo "screenshot in $VANTU_SCREENSHOT"
fi

if [ -n "${VANTU_NO_PICTURE_CLIPBOARD:-}" ]; then
    step "the picture on the clipboard is left out: $VANTU_NO_PICTURE_CLIPBOARD"
else
    step "Ctrl+C puts the picture on the clipboard"
    xdotool windowfocus --sync "$window"
    # The PNG the clipboard gives for the picture equals vantu-render's, pixel for pixel.
    clipboard_shows() {
        last_difference="no PNG on the clipboard"
        xclip -selection clipboard -t image/png -o >"$work/clipboard.png" 2>/dev/null || return 1
        last_difference=$(compare -metric AE "$work/clipboard.png" "$1" null: 2>&1 >/dev/null) || true
        [ "$last_difference" = "0" ]
    }
    # Pressed again on every try: a busy X server may let the window become active only after the
    # first press.
    copy_shows() {
        xdotool key --clearmodifiers ctrl+c
        sleep 0.2
        clipboard_shows "$1"
    }
    wait_for 20 "the clipboard to hold vantu-render's picture" copy_shows "$work/stereo.png"

    step "the Menu key opens the picture's menu, whose first entry copies the picture"
    echo "not a picture" | xclip -selection clipboard -i
    click_at 320 300
    xdotool key Menu
    menu_open() {
        [ "$(xdotool search --onlyvisible --pid "$vantu_pid" 2>/dev/null | grep -cvx "$window")" -ge 1 ]
    }
    wait_for 20 "the context menu to open" menu_open
    xdotool key Down Return
    wait_for 20 "the clipboard to hold the picture again" clipboard_shows "$work/stereo.png"
fi

step "a bad code gives a message titled Vantu"
type_code "300 x/1:3/1:3/1"
click_at "$go_x" "$go_y"
find_dialog() {
    dialog=$(vantu_windows | grep -vx "$window" | head -n 1 || true)
    [ -n "$dialog" ]
}
wait_for 30 "a second window titled Vantu: the error message" find_dialog
xdotool windowfocus --sync "$dialog"
xdotool key Return
dialog_gone() {
    ! vantu_windows | grep -qx "$dialog"
}
wait_for 20 "Return to dismiss the message" dialog_gone
kill -0 "$vantu_pid" 2>/dev/null || fail "vantu ended after the error"
wait_for 20 "the picture to be whole again after the message" shows "$work/stereo.png"

step "the next drawing works"
type_code "300 2/1:3/1:3/1"
click_at "$ortho_x" "$ortho_y"
click_at "$go_x" "$go_y"
wait_for 60 "the orthographic picture to match vantu-render's" shows "$work/ortho.png"

step "Ctrl+E in the code's field opens an Explorer; closing it leaves the main window"
xdotool windowfocus --sync "$window"
click_at "$code_x" "$code_y"
explorer_window=
find_explorer_of_form() {
    explorer_window=$(xdotool search --onlyvisible --name '^Vantu Explorer$' 2>/dev/null |
        head -n 1 || true)
    [ -n "$explorer_window" ]
}
xdotool key --clearmodifiers ctrl+e
wait_for 20 "Ctrl+E to open a window titled Vantu Explorer" find_explorer_of_form
"$xclose" "$explorer_window"
explorer_gone() {
    ! xdotool search --onlyvisible --name '^Vantu Explorer$' >/dev/null 2>&1
}
wait_for 20 "the Explorer to close" explorer_gone
kill -0 "$vantu_pid" 2>/dev/null || fail "vantu ended when its Explorer was closed"

step "closing the window while it draws ends the program"
# A triangle of straight angles: every pixel takes the exact path, so each drawing lasts long
# enough to be closed in, however fast the usual pictures are.
type_code "000 1/1:1/1:1/1"
click_at "$stereo_x" "$stereo_y"
xdotool mousemove --window "$window" $((go_x * scale)) $((go_y * scale))
xdotool click --repeat 60 --delay 25 1 &
clicker_pid=$!
# Clicks come faster than drawings end, so each one nests a drawing in the one before. Make sure
# the program is busy drawing, by the processor time it takes, before the close comes.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$vantu_pid/stat"
}
sleep 0.2
before=$(cpu_ticks)
sleep 0.3
busy=$(($(cpu_ticks) - before))
"$xclose" "$window"
[ "$busy" -ge 3 ] || fail "vantu was not drawing when its window was closed ($busy ticks in 0.3 s)"
echo "vantu used $busy ticks of processor time in the 0.3 s before the close"
has_ended() {
    ! kill -0 "$vantu_pid" 2>/dev/null
}
wait_for 10 "vantu to end after its window was closed" has_ended
status=0
wait "$vantu_pid" || status=$?
vantu_pid=
[ "$status" -eq 0 ] || fail "vantu ended with status $status"

# The clicks meant for the closed window stop, so that none ends the drag below.
kill "$clicker_pid" 2>/dev/null || true
wait "$clicker_pid" 2>/dev/null || true
clicker_pid=

step "vantu --explore opens the Explorer alone"
# vantu-render as the copied command names it, for the shell to find.
mkdir "$work/bin"
ln -s "$(realpath "$render")" "$work/bin/vantu-render"
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$vantu" --explore --code "300 2/1:3/1:3/1" \
    --rotation 1 --reverse --scale=100 >"$work/vantu.log" 2>&1 &
vantu_pid=$!
find_explorer() {
    kill -0 "$vantu_pid" 2>/dev/null || fail "vantu --explore ended at start-up"
    window=$(xdotool search --onlyvisible --name '^Vantu Explorer$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ]
}
wait_for 30 "a window titled Vantu Explorer" find_explorer
read -r width height < <(xwininfo -id "$window" |
    awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }')
# The vantu-render command line of the frame shown, as Ctrl+Shift+C puts it on the clipboard;
# nothing before the first frame.
command=
copy_command() {
    echo "no command yet" | xclip -selection clipboard -i
    xdotool key --clearmodifiers ctrl+shift+c
    sleep 0.2
    command=$(xclip -selection clipboard -o 2>/dev/null) || command=
    [[ "$command" == "vantu-render "* ]]
}
xdotool windowfocus --sync "$window"
wait_for 30 "Ctrl+Shift+C to copy the command line of the Explorer's first frame" copy_command
echo "first frame: $command"
[[ "$command" == *" --rotation 1 --reverse --scale 100 "* ]] ||
    fail "the Explorer did not open with the options it was given"

step "a drag turns the sphere"
# Right and down from the middle of the window, which the picture fills, in the screen's pixels,
# in small steps as a hand moves; the press and the release are where the drag begins and ends.
from_x=$((width / 2))
from_y=$((height / 2))
xdotool mousemove --window "$window" "$from_x" "$from_y"
sleep 0.2
xdotool mousedown 1
for step_x in 20 40 60 80 100 120; do
    xdotool mousemove --window "$window" $((from_x + step_x * scale)) $((from_y + step_x * scale / 3))
    sleep 0.05
done
xdotool mouseup 1
# The frame of the drag's end: the command copied for the frame shown turns LON by 120 window
# pixels over a picture H window pixels high, 120 x 180 / H, and LAT by about a third of it. A
# slow build (the sanitizers) may show frames of the drag's middle for a while first.
view_of() { sed -n 's/.* --view \([^ ]*\) .*/\1/p' <<<"$1"; }
size_of() { sed -n 's/.* --size \([^ ]*\) .*/\1/p' <<<"$1"; }
turned_by_the_drag() {
    copy_command || return 1
    local view size
    view=$(view_of "$command")
    size=$(size_of "$command")
    awk -v view="$view" -v h="${size#*x}" 'BEGIN {
        split(view, angle, ","); want = 120 * 180 / h
        exit !(angle[1] > want - 0.01 && angle[1] < want + 0.01 && angle[2] > want / 3 - 0.5) }'
}
if ! wait_for_quietly 60 turned_by_the_drag; then
    size=$(size_of "$command")
    fail "the drag turned the view to $(view_of "$command"), not about LON $((120 * 180 / ${size#*x})), LAT a third of it"
fi
echo "after the drag: $command"
step "the copied command draws the picture shown: $command"
(cd "$work" && PATH="$work/bin:$PATH" sh -c "$command") || fail "the copied command failed"
explored="$work/${command##* -o }"
[ -f "$explored" ] || fail "the copied command wrote no $explored"
# Away from the picture, so that no tooltip covers it.
xdotool mousemove --window "$window" 2 2
on_screen() {
    import -window "$window" "$work/screen.png" 2>/dev/null || return 1
    at=$("$find_picture" "$work/screen.png" "$explored" 2>/dev/null)
}
wait_for 30 "the copied command's picture on the Explorer's screen, pixel for pixel" on_screen
echo "vantu-render's picture lies at $at on the screen"
frame_x=${at%,*}
frame_y=${at#*,}
frame_width=$(identify -format '%w' "$explored")
frame_height=$(identify -format '%h' "$explored")
if [ -n "${VANTU_EXPLORER_SCREENSHOT:-}" ]; then
    # The pointer over the picture, so that the status bar reads its point; the shot is taken
    # before the picture's tooltip comes.
    xdotool mousemove --window "$window" $((frame_x + frame_width * 2 / 5)) \
        $((frame_y + frame_height * 2 / 5))
    sleep 0.3
    import -window "$window" "$VANTU_EXPLORER_SCREENSHOT" || fail "no screenshot"
    echo "screenshot in $VANTU_EXPLORER_SCREENSHOT"
fi
if [ -n "${VANTU_EXPLORER_MARKED_SCREENSHOT:-}" ]; then
    # The mirrors, the triangle and the snub points marked and labelled: M, T and S on the
    # picture, whose frame then differs from vantu-render's plain one.
    xdotool mousemove --window "$window" "$from_x" "$from_y" click 1
    xdotool key m t s
    xdotool mousemove --window "$window" 2 2
    marked() {
        import -window "$window" "$work/screen.png" 2>/dev/null || return 1
        ! "$find_picture" "$work/screen.png" "$explored" >/dev/null 2>&1
    }
    wait_for 30 "the marks over the picture" marked
    sleep 0.5
    import -window "$window" "$VANTU_EXPLORER_MARKED_SCREENSHOT" || fail "no screenshot"
    echo "screenshot in $VANTU_EXPLORER_MARKED_SCREENSHOT"
fi

step "closing the Explorer while it spins ends the program"
# A click gives the picture the focus; Space spins the sphere, a frame after another.
xdotool mousemove --window "$window" "$from_x" "$from_y" click 1
xdotool key space
spinning() {
    copy_command || return 1
    local before=$command
    sleep 0.2
    copy_command && [ "$command" != "$before" ]
}
wait_for 20 "Space to spin the sphere" spinning
"$xclose" "$window"
wait_for 10 "vantu --explore to end after its window was closed" has_ended
status=0
wait "$vantu_pid" || status=$?
vantu_pid=
[ "$status" -eq 0 ] || fail "vantu --explore ended with status $status"

echo "PASS"
