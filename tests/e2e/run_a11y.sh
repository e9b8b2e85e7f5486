#!/usr/bin/env bash
# The real program as a screen reader meets it: on a D-Bus session of its own with the AT-SPI
# bus, in an X server under openbox, at scale 1 and at scale 2 on a 1280x900 screen, read and
# driven by a11y_check.py. Exits 77 (skipped) when the display or the AT-SPI bus cannot be had.
#   run_a11y.sh <folder of the executables> <folder for screenshots>
set -euo pipefail

skip() {
  echo "a11y: skipped: $*" >&2
  exit 77
}

bin_dir=$1
shots_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb openbox xdotool xwininfo xprop import dbus-daemon dbus-send; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [[ -x $candidate ]] && launcher=$candidate && break
done
[[ -n $launcher ]] || skip "no at-spi-bus-launcher (package at-spi2-core)"
python=
for candidate in /usr/bin/python3 python3; do
  "$candidate" -c 'import pyatspi' 2>/dev/null && python=$candidate && break
done
[[ -n $python ]] || skip "no Python with pyatspi (package python3-pyatspi)"

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-a11y-XXXXXX")
e2e_name=a11y
source "$here/lib.sh"
trap stop_all EXIT

# Nothing of the caller's desktop takes part: the session bus is ours.
own_session
start_xvfb 1280x900x24
pids+=("$xvfb_pid")
wait_for 10 test -s "$work/display" || skip "the X server did not start: $(tail -n1 "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
work_area_set() {
  xprop -root -notype _NET_WORKAREA | grep -q =
}
wait_for 10 work_area_set || skip "openbox did not start: $(tail -n1 "$work/openbox.log")"

"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
pids+=($!)
bus_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
wait_for 10 bus_up || skip "the AT-SPI bus did not start: $(tail -n1 "$work/launcher.log")"

pcg="$work/triton.pcg"
"$bin_dir/write_instrument_pcg" "$pcg"

for scale in 1 2; do
  report="$work/report-$scale.htm"
  XDG_CONFIG_HOME="$work/config-$scale" XDG_DATA_HOME="$work/data-$scale" \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_SCALE_FACTOR=$scale \
    "$bin_dir/tabulon" >"$work/tabulon-$scale.log" 2>&1 &
  app_pid=$!
  pids+=("$app_pid")
  "$python" "$here/a11y_check.py" "$app_pid" "$bin_dir/tabulon.HLP" "$pcg" "$report" \
    "$shots_dir" "scale-$scale" || fail "at scale $scale (the program said: $(tail -n3 "$work/tabulon-$scale.log"))"
  [[ -s $report ]] || fail "at scale $scale, Generate driven over AT-SPI wrote no report"
  # Exit, pressed over AT-SPI, ends the program.
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  status=0
  wait "$app_pid" || status=$?
  ((status == 0)) || fail "at scale $scale the program ended with status $status after Exit"
  unset 'pids[-1]'
done
echo "a11y: passed"
