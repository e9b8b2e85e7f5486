#!/usr/bin/env bash
# The real window under a window manager (openbox on Xvfb), driven from the keyboard: each
# shipped layout chosen with Alt+Y and the arrow keys gives the very report tabulon-cli
# --layout gives; the choice survives a restart; "~/x.htm" and a relative PCG path are written
# and read where a shell would take them and remembered whole.
#   run_layouts.sh <folder of the executables> <folder for screenshots>
set -euo pipefail

bin_dir=$1
shots_dir=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-layouts-XXXXXX")
e2e_name=layouts
source "$(dirname "$0")/lib.sh"
trap stop_all EXIT
require Xvfb openbox xdotool xprop import dbus-daemon

own_session
start_xvfb 1024x768x24
pids+=("$xvfb_pid")
await_xvfb
export DISPLAY=$xvfb_display
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root -notype _NET_WORKAREA | grep -q ='  || fail "openbox did not start"

# The program starts in a folder of its own; the PCG file is named relative to it.
mkdir "$work/folder"
cd "$work/folder"
"$bin_dir/write_instrument_pcg" later later.pcg

visible_window() {
  xdotool search --all --onlyvisible --pid "$app_pid" --name "$1" | head -n1 | grep .
}
start() {
  "$bin_dir/tabulon" >"$work/tabulon.log" 2>&1 &
  app_pid=$!
  pids+=("$app_pid")
  wait_for 20 visible_window '^Tabulon$' || fail "the main dialog did not appear"
  dialog=$(visible_window '^Tabulon$')
  xdotool windowactivate --sync "$dialog"
  sleep 0.3
}
# The message box: the program's window captioned Tabulon that is not the dialog.
message_box() {
  xdotool search --all --onlyvisible --pid "$app_pid" --name '^Tabulon$' | grep -v "^$dialog\$" |
    head -n1 | grep .
}
# Generate with the keyboard, and the message box closed with Enter; $1 names a screenshot of it.
generate() {
  xdotool key --window "$dialog" Return
  wait_for 15 message_box || fail "no message box after Generate"
  sleep 0.3
  if [[ -n ${1:-} ]]; then import -window root "$shots_dir/$1"; fi
  xdotool windowactivate --sync "$(message_box)" key Return
  wait_for 10 sh -c "! xdotool search --all --onlyvisible --pid $app_pid --name '^Tabulon\$' | grep -qv '^$dialog\$'" ||
    fail "the message box did not close"
}

start
xdotool type --delay 2 "later.pcg"
xdotool key Tab
xdotool type --delay 2 "~/x.htm"
layouts=(patch-list all-banks by-category combinations)
for i in "${!layouts[@]}"; do
  # Alt+Y reaches the list, Home the patch list, Down the layouts after it.
  xdotool key alt+y Home
  for ((k = 0; k < i; ++k)); do xdotool key Down; done
  sleep 0.2
  ((i == 2)) && import -window root "$shots_dir/e2e-layout-choice.png"
  generate "$( ((i == 0)) && echo e2e-layout-message.png || true)"
  "$bin_dir/tabulon-cli" --layout "${layouts[i]}" later.pcg "$work/cli.htm"
  cmp "$HOME/x.htm" "$work/cli.htm" || fail "the window's ${layouts[i]} report differs from tabulon-cli's"
done
printf '[MRU]\r\nreport=%s\r\npcg=%s\r\nlayout=combinations\r\n' "$HOME/x.htm" "$work/folder/later.pcg" |
  cmp - "$XDG_CONFIG_HOME/tabulon.INI" || fail "the settings: $(cat -A "$XDG_CONFIG_HOME/tabulon.INI")"
xdotool key Escape
wait_for 10 sh -c "! kill -0 $app_pid 2>/dev/null" || fail "Esc did not end the program"

# From another folder the next start names the same files, in the same layout.
cd "$work"
rm "$HOME/x.htm"
start
generate
"$bin_dir/tabulon-cli" --layout combinations folder/later.pcg "$work/cli.htm"
cmp "$HOME/x.htm" "$work/cli.htm" || fail "after a restart elsewhere, the report differs"
xdotool key Escape
echo "layouts: passed"
