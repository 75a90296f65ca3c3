# What every end-to-end script uses (sourced): its verdicts, polling, its own processes, a
# private X server and a window's place. E2E_TMP names the script's scratch folder; E2E_NAME,
# when set, begins every verdict; fail_details, when defined, adds what it knows.
fail() {
  echo "${E2E_NAME:+$E2E_NAME: }FAIL: $*" >&2
  if declare -F fail_details >/dev/null; then fail_details >&2; fi
  exit 1
}
pass() { echo "${E2E_NAME:+$E2E_NAME: }ok: $*"; }

# The clock's double-click time: the build passes it in; a journey run by hand reads it where
# the clock keeps it. Two presses within it pair; not_a_double_click waits it out, with room
# for a busy X server, so that the next press is a gesture of its own.
DOUBLE_CLICK_MS=${DOUBLE_CLICK_MS:-$(sed -n 's/.*doubleClickTimeMs = \([0-9]*\);.*/\1/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../../window/pointer_input.h")}
[ -n "$DOUBLE_CLICK_MS" ] || { echo "FAIL: no doubleClickTimeMs in window/pointer_input.h" >&2; exit 1; }
not_a_double_click() {
  local ms=$((DOUBLE_CLICK_MS + 140))
  sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
}

# Polls a command for up to $1 seconds (longer when the command itself takes a while).
eventually() {
  local tries=$(($1 * 20))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.05
  done
}

# "x y width height" of a window on the screen.
geometry_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print x, y, w, h}'
}

# Process ids come round again quickly on a busy machine, so only processes that are
# still running children of this shell are signalled: those ids cannot have been reused.
running() { jobs -pr | grep -qx "$1"; }
stop() { if running "$1"; then kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; fi; }
# At the end: every process this script started, then its scratch folder.
cleanup() {
  local pid
  for pid in $(jobs -pr); do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}

# A private X server with one 1920x1080 screen on a display it picks itself (its process: X_PID). It must not
# reset when its last client leaves: a program connecting during the reset is turned away.
# A key held down does not repeat: however long a loaded machine holds it, it stays one press.
start_x() {
  local attempt pid
  for attempt in 1 2 3; do
    : >"$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset -ardelay 60000 3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
    pid=$!
    if eventually 10 grep -qx '[0-9][0-9]*' "$E2E_TMP/display"; then
      export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
      X_PID=$pid
      eventually 5 xwininfo -root >/dev/null 2>&1 && return 0
    fi
    stop "$pid"
  done
  fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
}

# A window manager on the private X server, by name: openbox, xfwm4, i3, mutter, or none
# (the default: E2E_WM, else none). Each keeps its settings and its session bus in the scratch
# folder, so nothing of the user's own desktop is read or reached. Returns once the manager
# has claimed the screen and shows windows.
start_wm() {
  local name=${1:-${E2E_WM:-none}}
  [ "$name" != none ] || return 0
  command -v "$name" >/dev/null || fail "$name is missing (scripts/setup test installs it)"
  local log=$E2E_TMP/$name.log
  case $name in
    openbox) openbox --sm-disable >"$log" 2>&1 & ;;
    xfwm4) _wm_session_bus; xfwm4 --compositor=off --sm-client-disable >"$log" 2>&1 & ;;
    i3)
      # A configuration of its own: the machine's would start the first-start wizard, which
      # takes the keyboard, and a bar. Floating windows keep i3's own title bar, which sets
      # them off the place they asked for, but are not grown to a least size. The first line
      # keeps i3 from reading it as an old format and dropping what it cannot convert.
      printf '%s\n' '# i3 config file (v4)' 'focus_follows_mouse no' 'floating_minimum_size -1 x -1' \
        'for_window [window_type="utility"] floating enable' >"$E2E_TMP/i3.config"
      i3 -c "$E2E_TMP/i3.config" >"$log" 2>&1 & ;;
    mutter) _wm_session_bus; mutter --x11 --replace --sm-disable >"$log" 2>&1 & ;;
    *) fail "no such window manager: $name" ;;
  esac
  # Workspaces counted is the last sign each gives of being ready; it manages windows soon after.
  _wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK _NET_NUMBER_OF_DESKTOPS 2>/dev/null | grep -q '^_NET_NUMBER_OF_DESKTOPS(CARDINAL) = '; }
  eventually 15 _wm_ready || fail "$name did not start: $(cat "$log")"
  sleep 0.3
}
# A private session bus for a window manager that wants one.
_wm_session_bus() {
  dbus-daemon --session --nofork --print-address=3 3>"$E2E_TMP/session-bus" >/dev/null 2>&1 &
  eventually 10 test -s "$E2E_TMP/session-bus" || fail "no session bus"
  export DBUS_SESSION_BUS_ADDRESS
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_TMP/session-bus")
}
