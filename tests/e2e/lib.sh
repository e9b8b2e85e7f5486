# Shared by the scripts that drive the real program; sourced after setting $e2e_name (which
# names the script in its messages) and $work (a scratch folder of its own).

# Processes started in the background, in $pids, are stopped last first when the script ends,
# and the scratch folder goes.
pids=()
stop_all() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}

fail() {
  echo "$e2e_name: $*" >&2
  exit 1
}

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# Starts an X server with a screen of $1 ("1024x768x24") on a display of its own, chosen by the
# server itself so parallel runs never collide; its process id goes to $xvfb_pid.
start_xvfb() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
}

# Waits for that server and puts its display in $xvfb_display.
await_xvfb() {
  wait_for 10 test -s "$work/display" || fail "the X server did not start"
  xvfb_display=":$(head -n1 "$work/display")"
}

# Ends the script as skipped (ctest's code 77) unless every command named is installed: a
# machine that builds packages has no X server, compositor or browser, and that is no failure.
require() {
  local tool
  for tool; do
    command -v "$tool" >/dev/null ||
      { echo "$e2e_name: skipped: $tool is not installed" >&2; exit 77; }
  done
}
