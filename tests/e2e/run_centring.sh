#!/usr/bin/env bash
# The real program under a real window manager (openbox on Xvfb): the main dialog's frame is
# centred on the work area, and the About box's frame over the main dialog's.
#   run_centring.sh <folder of the executables> <folder for screenshots>
set -euo pipefail

bin_dir=$1
shots_dir=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-centring-XXXXXX")
e2e_name=centring
source "$(dirname "$0")/lib.sh"
trap stop_all EXIT
require Xvfb openbox xdotool xwininfo xprop import dbus-daemon


# "x y width height" of a window's frame: its client area plus the frame extents the window
# manager announces for it.
frame_of() {
  local info extents
  info=$(xwininfo -id "$1")
  extents=$(xprop -id "$1" -notype _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
  [[ -n "$extents" ]] || return 1
  read -r left right top bottom <<<"$extents"
  awk -v l="$left" -v r="$right" -v t="$top" -v b="$bottom" '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF }
    END { print x - l, y - t, w + l + r, h + t + b }' <<<"$info"
}

# Fails unless the centre of rectangle $2 lies within two pixels of that of rectangle $3.
expect_centred() {
  read -r ax ay aw ah <<<"$2"
  read -r bx by bw bh <<<"$3"
  local dx=$(((2 * ax + aw) - (2 * bx + bw))) dy=$(((2 * ay + ah) - (2 * by + bh)))
  ((dx * dx <= 16 && dy * dy <= 16)) ||
    fail "$1: frame $2 is not centred on $3 (off by $((dx / 2)),$((dy / 2)))"
}

visible_window() {
  xdotool search --all --onlyvisible --pid "${pids[-1]}" --name "$1" | head -n1 | grep .
}

# Openbox with its system-wide settings, the program with no settings of its own: the home
# starts empty.
own_session
start_xvfb 1280x1024x24
pids+=("$xvfb_pid")
await_xvfb
export DISPLAY=$xvfb_display

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
work_area_set() {
  xprop -root -notype _NET_WORKAREA | grep -q =
}
wait_for 10 work_area_set || fail "openbox did not start"
work_area=$(xprop -root -notype _NET_WORKAREA | sed 's/.*= //' | tr -d , | cut -d' ' -f1-4)

"$bin_dir/tabulon" >"$work/tabulon.log" 2>&1 &
pids+=($!)
wait_for 20 visible_window '^Tabulon$' || fail "the main dialog did not appear"
dialog=$(visible_window '^Tabulon$')
wait_for 10 frame_of "$dialog" || fail "the main dialog got no frame"
sleep 0.5  # any second placement happens at once; give it time to show if it is wrong
main=$(frame_of "$dialog")
expect_centred "main dialog" "$main" "$work_area"

xdotool windowactivate --sync "$dialog" key alt+a
wait_for 10 visible_window '^About$' || fail "Alt+A opened no About box"
about_box=$(visible_window '^About$')
wait_for 10 frame_of "$about_box" || fail "the About box got no frame"
sleep 0.5
import -window root "$shots_dir/e2e-centred.png"
expect_centred "About box" "$(frame_of "$about_box")" "$main"

echo "centring: passed (main dialog's frame $main on work area $work_area)"
