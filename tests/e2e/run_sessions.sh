#!/usr/bin/env bash
# The real program in every kind of session: none (one line, status 1, nothing written), a
# Wayland compositor alone (weston's headless back end, which has no seat: the program must
# not crash drawing its focused, empty PCG field), and Wayland beside an X display as in a
# desktop with XWayland (the window opens on X unless QT_QPA_PLATFORM says otherwise).
#   run_sessions.sh <folder of the executables>
set -euo pipefail

tabulon="$1/tabulon"

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-sessions-XXXXXX")
e2e_name=sessions
source "$(dirname "$0")/lib.sh"
trap stop_all EXIT
require Xvfb weston xdotool dbus-daemon

# The caller's display and toolkit settings (ctest asks for the offscreen platform) stay out;
# each case names its runtime folder itself.
own_session
runtime=$XDG_RUNTIME_DIR
unset XDG_RUNTIME_DIR

# The command that runs the program as the case $1, with the variables that follow, in a home
# of its own that starts empty, so that anything it writes shows.
program() {
  local name=$1
  shift
  mkdir "$work/$name"
  command=(env HOME="$work/$name" XDG_CONFIG_HOME="$work/$name/.config"
    XDG_CACHE_HOME="$work/$name/.cache" XDG_DATA_HOME="$work/$name/.local/share"
    XDG_STATE_HOME="$work/$name/.local/state" "$@" "$tabulon")
}

nothing_written() {
  [[ -z $(ls -A "$work/$1") ]] || fail "$1: wrote $(cd "$work/$1" && find . -mindepth 1)"
}

# --- No display: one line naming what was tried and the command-line program, status 1, -----
# --- nothing written ----------------------------------------------------------------------

# expect_no_display <case> <what the line names> [variables...]
expect_no_display() {
  local name=$1 names=$2
  program "$name" "${@:3}"
  local status=0
  timeout 10 "${command[@]}" >"$work/$name.out" 2>"$work/$name.err" || status=$?
  ((status == 1)) || fail "$name: ended with status $status, not 1: $(cat "$work/$name.err")"
  if [[ $(grep -c . "$work/$name.err") -ne 1 ]] || ! grep -q 'tabulon-cli' "$work/$name.err" ||
    ! grep -qF -- "$names" "$work/$name.err"; then
    fail "$name: standard error is not one line naming $names and tabulon-cli:"$'\n'"$(cat "$work/$name.err")"
  fi
  [[ ! -s "$work/$name.out" ]] || fail "$name: wrote to standard output"
  nothing_written "$name"
}

# The servers start while the cases without a display run. The compositor's socket lies in a
# runtime folder of our own; its protocol log shows what each client did.
socket="tabulon-sessions"
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --no-config --idle-time=0 \
  --socket="$socket" --logger-scopes=proto --log="$work/weston.log" >/dev/null 2>&1 &
pids+=($!)
start_xvfb 1024x768x24
pids+=("$xvfb_pid")
servers=${#pids[@]} # the first of $pids, the bus among them, stay to the end

expect_no_display none "neither DISPLAY nor WAYLAND_DISPLAY is set"
if [[ -e /tmp/.X11-unix/X999 ]]; then
  echo "sessions: display :999 exists here; its case is left out"
else
  expect_no_display unreachable-x "on DISPLAY=:999;" DISPLAY=:999
fi
expect_no_display missing-wayland "on the Wayland socket $runtime/tabulon-missing;" \
  XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=tabulon-missing
expect_no_display wayland-without-runtime "tabulon-missing (XDG_RUNTIME_DIR not set)" \
  WAYLAND_DISPLAY=tabulon-missing

wait_for 10 test -S "$runtime/$socket" || fail "weston did not start: $(tail -n3 "$work/weston.log")"
await_xvfb
x_display=$xvfb_display

# --- Wayland alone, Wayland beside X, and Wayland chosen while X is there --------------------

declare -A pid_of
launch() {
  program "$@"
  "${command[@]}" >"$work/$1.out" 2>"$work/$1.err" &
  pid_of[$1]=$!
  pids+=($!)
}
launch wayland XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket"
launch both XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" DISPLAY="$x_display"
launch chosen XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" DISPLAY="$x_display" \
  QT_QPA_PLATFORM=wayland

running() {
  local state
  state=$(ps -o stat= -p "$1") && [[ $state != Z* ]]
}
all_running() {
  local name status
  for name in wayland both chosen; do
    running "${pid_of[$name]}" && continue
    status=0
    wait "${pid_of[$name]}" || status=$?
    fail "$name: ended by itself with status $status: $(cat "$work/$name.err")"
  done
}

# The process $1's visible windows captioned "Tabulon" on the X display.
x_windows() {
  DISPLAY="$x_display" xdotool search --all --onlyvisible --pid "$1" --name '^Tabulon$' 2>/dev/null
}
# How many Wayland clients have a top-level window captioned "Tabulon" and drew into it.
drawing_on_wayland() {
  local client count=0
  for client in $(sed -n 's/.* client \([^ ]*\) rq xdg_toplevel@[0-9]*\.set_title("Tabulon")$/\1/p' \
    "$work/weston.log"); do
    grep -q " client $client rq wl_surface@[0-9]*\.attach(wl_buffer" "$work/weston.log" &&
      count=$((count + 1))
  done
  echo "$count"
}
all_shown() {
  all_running
  local on_wayland
  on_wayland=$(drawing_on_wayland)
  ((on_wayland <= 2)) || fail "$on_wayland windows on Wayland, not 2: both went there too"
  x_windows "${pid_of[both]}" >/dev/null && ((on_wayland == 2))
}

deadline=$((SECONDS + 20))
until all_shown; do
  ((SECONDS < deadline)) ||
    fail "windows missing: on X $(x_windows "${pid_of[both]}" | grep -c .) of 1," \
      "on Wayland $(drawing_on_wayland) of 2"
  sleep 0.1
done
# A focused, empty line edit on a compositor without a seat used to crash within a second.
sleep 2
all_running
x_windows "${pid_of[chosen]}" >/dev/null &&
  fail "chosen: opened a window on X although QT_QPA_PLATFORM is wayland"
# The shell matches each window to the desktop entry it names.
apps=$(grep -c 'xdg_toplevel@[0-9]*\.set_app_id("io\.github\.tabulon\.tabulon")' "$work/weston.log" || true)
((apps >= 2)) || fail "$apps windows on Wayland name their desktop entry, not 2"

# Asked to end, each ends by that signal, not by one of its own, having written nothing.
for name in wayland both chosen; do
  kill -TERM "${pid_of[$name]}"
  status=0
  wait "${pid_of[$name]}" || status=$?
  ((status == 128 + 15)) || fail "$name: ended with status $status on SIGTERM"
  nothing_written "$name"
done
# Their ids may be reused by now.
pids=("${pids[@]:0:servers}")
echo "sessions: passed"
