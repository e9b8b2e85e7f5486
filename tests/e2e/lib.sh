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

# Leaves the caller's desktop out: the script gets a home, a runtime folder, a font cache and a
# D-Bus session bus of its own in the scratch folder, and none of the desktop's display,
# session manager, input method or theme. So the program never talks to the desktop's bus, nor
# does libdbus, finding none, start one on the X display (dbus-x11) and write its address in
# the home; and fontconfig, finding a font folder changed since the system cached it, caches it
# in ours, not in the home (or, for root, the system's). The bus goes with the rest of $pids.
own_session() {
  local home=$work/home
  mkdir -p "$home"
  mkdir -m 0700 "$work/runtime"
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
    XDG_DATA_HOME=$home/.local/share XDG_STATE_HOME=$home/.local/state \
    XDG_RUNTIME_DIR=$work/runtime
  cat >"$work/fonts.conf" <<FONTS
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <cachedir>$work/fontconfig</cachedir>
  <include>/etc/fonts/fonts.conf</include>
</fontconfig>
FONTS
  export FONTCONFIG_FILE=$work/fonts.conf
  unset DISPLAY WAYLAND_DISPLAY XAUTHORITY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP \
    XDG_SESSION_DESKTOP DESKTOP_SESSION SESSION_MANAGER QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME \
    QT_STYLE_OVERRIDE QT_IM_MODULE XMODIFIERS QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_PID DBUS_SESSION_BUS_WINDOWID
  exec 3>"$work/bus"
  dbus-daemon --session --nofork --nopidfile --address="unix:dir=$XDG_RUNTIME_DIR" \
    --print-address=3 >"$work/dbus.log" 2>&1 &
  pids+=($!)
  exec 3>&-
  wait_for 10 test -s "$work/bus" ||
    fail "the session bus did not start: $(tail -n1 "$work/dbus.log")"
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
  export DBUS_SESSION_BUS_ADDRESS
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
