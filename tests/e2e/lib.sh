# Shared by the end-to-end tests (sourced): a private X server, a fresh configuration
# folder, the programs under test, and helpers to look at what they show.
set -euo pipefail

: "${HORATTA_BIN:?HORATTA_BIN names the folder that holds the built programs}"
for tool in Xvfb xdotool xprop xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup installs it)"; exit 77; }
done

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/horatta-e2e.XXXXXX")
export XDG_CONFIG_HOME=$E2E_TMP/config
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -p "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
INI=$XDG_CONFIG_HOME/qom/time.ini
# No test reaches the machine's system bus: the power-off tests start a private one.
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$E2E_TMP/no-system-bus"
unset QT_QPA_PLATFORM  # the programs choose xcb themselves

# Process ids come round again quickly on a busy machine, so only processes that are
# still running children of this shell are signalled: those ids cannot have been reused.
running() { jobs -pr | grep -qx "$1"; }
stop() { if running "$1"; then kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; fi; }
cleanup() {
  local pid
  for pid in $(jobs -pr); do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${APP_LOG:-}" ] && [ -s "$APP_LOG" ]; then echo "--- program output:" >&2; cat "$APP_LOG" >&2; fi
  if [ -f "$INI" ]; then echo "--- $INI:" >&2; cat "$INI" >&2; fi
  if [ -s "$E2E_TMP/xvfb.log" ]; then echo "--- the X server ($DISPLAY):" >&2; cat "$E2E_TMP/xvfb.log" >&2; fi
  exit 1
}

pass() { echo "ok: $*"; }

# Polls a command for up to $1 seconds.
eventually() {
  local seconds=$1
  shift
  local tries=$((seconds * 20))
  while [ $tries -gt 0 ]; do
    if "$@"; then return 0; fi
    sleep 0.05
    tries=$((tries - 1))
  done
  return 1
}

# A private X server with one fixed 1920x1080 screen; Xvfb picks a free display itself.
# It must not reset when its last client leaves (a program ending, a probe with xwininfo):
# a program connecting during the reset would be turned away.
_display_ready() { grep -q '^[0-9][0-9]*$' "$E2E_TMP/display" 2>/dev/null; }
start_x() {
  local attempt pid
  for attempt in 1 2 3; do
    : >"$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
    pid=$!
    if eventually 10 _display_ready; then
      export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
      if eventually 5 xwininfo -root >/dev/null 2>&1; then return 0; fi
    fi
    stop "$pid"
  done
  fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
}

# Starts build/linux/<program> and waits until its clock window is on screen: sets
# APP_PID, WIN (the window's id) and APP_LOG.
start_program() {
  local program=$1
  APP_LOG=$E2E_TMP/$program.log
  "$HORATTA_BIN/$program" >"$APP_LOG" 2>&1 &
  APP_PID=$!
  WIN=
  find_window() { WIN=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^time$' 2>/dev/null | head -n1); [ -n "$WIN" ]; }
  eventually 10 find_window || fail "$program showed no window"
  sleep 0.3  # the first paint
}

# Waits for the program to end by itself.
_app_ended() { ! running "$APP_PID"; }
wait_for_exit() {
  eventually "${1:-5}" _app_ended || fail "the program did not end"
  wait "$APP_PID" 2>/dev/null || true
}

# "x y width height" of the window on the screen.
window_geometry() {
  xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print x, y, w, h}'
}

_geometry_is() { [ "$(window_geometry)" = "$1" ]; }
expect_geometry() {
  eventually 3 _geometry_is "$1" || fail "window at $(window_geometry), expected $1"
}

# A stored value as the program wrote it (quotes that QSettings adds removed).
stored() {
  [ -f "$INI" ] || return 0
  sed -n "s/^$1=//p" "$INI" | sed 's/^"\(.*\)"$/\1/'
}

_stored_is() { [ "$(stored "$1")" = "$2" ]; }
expect_stored() {
  eventually 3 _stored_is "$1" "$2" || fail "time.ini: $1='$(stored "$1")', expected '$2'"
}

# Saves the window's pixels as text lines "x y r g b" into $1.
capture() {
  local out=$1 x y w h
  read -r x y w h <<<"$(window_geometry)"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out.png"
  convert "$out.png" -depth 8 txt:- | awk -F'[ ,:()]+' 'NR>1{print $1, $2, $3, $4, $5}' >"$out"
}

# Counts the pixels of a capture inside the box x0 y0 x1 y1 that meet an awk condition on r g b.
count_pixels() {
  local file=$1 x0=$2 y0=$3 x1=$4 y1=$5 condition=$6
  awk -v x0="$x0" -v y0="$y0" -v x1="$x1" -v y1="$y1" \
    "\$1>=x0 && \$1<=x1 && \$2>=y0 && \$2<=y1 { r=\$3; g=\$4; b=\$5; if ($condition) n++ } END { print n+0 }" "$file"
}

# The mean "r g b" of the pixels in a box that are not the text's colour (the skin).
mean_colour() {
  local file=$1 x0=$2 y0=$3 x1=$4 y1=$5 exclude=$6
  awk -v x0="$x0" -v y0="$y0" -v x1="$x1" -v y1="$y1" \
    "\$1>=x0 && \$1<=x1 && \$2>=y0 && \$2<=y1 { r=\$3; g=\$4; b=\$5; if (!($exclude)) { R+=r; G+=g; B+=b; n++ } }
     END { if (n) printf \"%d %d %d\n\", R/n, G/n, B/n; else print \"0 0 0\" }" "$file"
}

# Where things are on the 67 x 20 strip, relative to the window.
TIME_X=25 TIME_Y=8     # on the time text
HANDLE_X=3 HANDLE_Y=6  # on the invisible handle at the left end
FACE_X=45 FACE_Y=17    # on the face, below the time

click_at() {  # window-relative x y, button
  read -r x y _ _ <<<"$(window_geometry)"
  xdotool mousemove "$((x + $1))" "$((y + $2))" click "${3:-1}"
}

double_click_at() {
  read -r x y _ _ <<<"$(window_geometry)"
  xdotool mousemove "$((x + $1))" "$((y + $2))" click --repeat 2 --delay 40 1
}

RED='r>190 && g<70 && b<70'
GREEN='g>190 && r<70 && b<70'
