#!/usr/bin/env bash
# The real program in a real X server, driven by keystrokes: type both paths, generate, close
# the message box, check the report and the settings file, then leave with Esc.
#   run_e2e.sh <folder of the executables> <folder of the expected files> <folder for screenshots>
set -euo pipefail

bin_dir=$1
expected_dir=$2
shots_dir=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-e2e-XXXXXX")
e2e_name=e2e
source "$(dirname "$0")/lib.sh"
trap stop_all EXIT
require Xvfb xdotool import dbus-daemon


# The ids of the program's visible windows captioned "Tabulon" (the dialog, message boxes).
tabulon_windows() {
  xdotool search --all --onlyvisible --pid "$app_pid" --name '^Tabulon$' 2>/dev/null || true
}
window_count_is() {
  [[ $(tabulon_windows | grep -c .) -eq $1 ]]
}

own_session
start_xvfb 1024x768x24
pids+=("$xvfb_pid")
await_xvfb
export DISPLAY=$xvfb_display

export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
pcg="$work/triton.pcg"
report="$work/report.htm"
"$bin_dir/write_instrument_pcg" "$pcg"

"$bin_dir/tabulon" >"$work/tabulon.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
wait_for 20 window_count_is 1 || fail "the main dialog did not appear"
dialog=$(tabulon_windows)
# Without a window manager the keyboard follows the pointer.
xdotool mousemove --window "$dialog" 20 20
sleep 0.3

xdotool type --delay 2 "$pcg"
xdotool key Tab
xdotool type --delay 2 "$report"
sleep 0.2
import -window root "$shots_dir/e2e-main-dialog.png"

xdotool key Return
wait_for 15 window_count_is 2 || fail "no message box after Generate"
sleep 0.3
import -window root "$shots_dir/e2e-message-box.png"
box=$(tabulon_windows | grep -v "^$dialog\$")
xdotool mousemove --window "$box" 10 10
xdotool key Return
wait_for 10 window_count_is 1 || fail "the message box did not close"

cmp "$report" "$expected_dir/instrument_report.htm" || fail "the report differs from the expected one"
printf '[MRU]\r\nreport=%s\r\npcg=%s\r\nlayout=patch-list\r\n' "$report" "$pcg" >"$work/expected.INI"
cmp "$XDG_CONFIG_HOME/tabulon.INI" "$work/expected.INI" || fail "the settings file is not as expected"

# Ends the program with Esc and checks that it ended cleanly.
leave() {
  xdotool mousemove --window "$dialog" 20 20
  xdotool key Escape
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "Esc did not end the program"
  local status=0
  wait "$app_pid" || status=$?
  unset 'pids[-1]'
  ((status == 0)) || fail "the program ended with status $status"
}
leave

# Under a file-size limit far below the report's size, Generate must fail with a message box
# and leave the report as it was, not kill the program (SIGXFSZ).
(ulimit -f 1 && exec "$bin_dir/tabulon") >"$work/limited.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
wait_for 20 window_count_is 1 || fail "the main dialog did not appear under a file-size limit"
dialog=$(tabulon_windows)
xdotool mousemove --window "$dialog" 20 20
sleep 0.3
xdotool key Return
wait_for 15 window_count_is 2 || fail "no message box after Generate under a file-size limit"
kill -0 "$app_pid" 2>/dev/null || fail "the program died under a file-size limit"
cmp "$report" "$expected_dir/instrument_report.htm" || fail "a failed Generate changed the report"
box=$(tabulon_windows | grep -v "^$dialog\$")
xdotool mousemove --window "$box" 10 10
xdotool key Return
wait_for 10 window_count_is 1 || fail "the message box did not close"
leave
echo "e2e: passed"
