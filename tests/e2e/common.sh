# What every end-to-end script uses (sourced): its verdicts, polling, its own processes, a
# private X server and a window's place. E2E_TMP names the script's scratch folder; E2E_NAME,
# when set, begins every verdict; fail_details, when defined, adds what it knows.
fail() {
  echo "${E2E_NAME:+$E2E_NAME: }FAIL: $*" >&2
  if declare -F fail_details >/dev/null; then fail_details >&2; fi
  exit 1
}
pass() { echo "${E2E_NAME:+$E2E_NAME: }ok: $*"; }

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
