# Shared by the journeys (sourced): a fresh configuration folder, sound into a file, a private
# system bus with the fake login manager. Nothing here reaches the machine's bus, speaker or power.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

: "${HORATTA_BIN:?HORATTA_BIN names the folder that holds the built programs}"
for tool in Xvfb xdotool xprop xwininfo import convert dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup test installs it)"; exit 77; }
done

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/horatta-e2e.XXXXXX")
export XDG_CONFIG_HOME=$E2E_TMP/config XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -p "$XDG_CONFIG_HOME/qom"
mkdir -m 700 "$XDG_RUNTIME_DIR"
INI=$XDG_CONFIG_HOME/qom/time.ini
NO_BUS="unix:path=$E2E_TMP/no-system-bus"
export DBUS_SYSTEM_BUS_ADDRESS=$NO_BUS
unset QT_QPA_PLATFORM  # the programs choose xcb themselves
# ALSA's configuration $1 sending every tone into the file $2: 16-bit mono samples at 48 kHz.
sound_into() { printf 'pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' "$2" >"$1"; }
SOUND_FILE=$E2E_TMP/sound.raw
export ALSA_CONFIG_PATH=$E2E_TMP/asound.conf
sound_into "$ALSA_CONFIG_PATH" "$SOUND_FILE"

trap cleanup EXIT

fail_details() {
  if [ -s "${APP_LOG:-/nonexistent}" ]; then echo "--- program output:"; cat "$APP_LOG"; fi
  if [ -f "$INI" ]; then echo "--- $INI:"; cat "$INI"; fi
}

# Starts build/linux/<program> in the background (XDG_CONFIG_HOME=$2 when given): sets APP_PID, APP_LOG.
launch() {
  APP_LOG=$(mktemp "$E2E_TMP/$1.XXXX")
  XDG_CONFIG_HOME=${2:-$XDG_CONFIG_HOME} "$HORATTA_BIN/$1" >"$APP_LOG" 2>&1 &
  APP_PID=$!
}
# Waits up to $2 seconds for the clock window of the program APP_PID runs ($1): sets WIN.
_find_window() { WIN=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^time$' 2>/dev/null | head -n1); [ -n "$WIN" ]; }
# The shell's last step of showing the strip; a gesture before it may find it busy.
_on_every_workspace() { xprop -id "$WIN" _NET_WM_STATE _NET_WM_DESKTOP 2>/dev/null | grep -q 'STICKY\|= 4294967295$'; }
await_window() {
  eventually "${2:-10}" _find_window || fail "$1 showed no window"
  eventually 5 _on_every_workspace || fail "$1 did not finish its start"
}
# Starts a program and waits for its clock window to paint its time: sets APP_PID, WIN, APP_LOG.
start_program() {
  launch "$1"
  await_window "$1"
  eventually 5 shows "$VIVID" || fail "$1 did not paint its time"
}
_app_ended() { ! running "$APP_PID"; }
wait_for_exit() { eventually 5 _app_ended || fail "the program did not end"; wait "$APP_PID" 2>/dev/null || true; }
# Waits for APP_PID to end, within a second of what ended it: sets TOOK (ms).
ends_within_a_second() {
  local from
  from=$(now_ms)
  eventually 3 _app_ended || fail "still running 3 s after $1"
  TOOK=$(($(now_ms) - from))
  [ "$TOOK" -le 1000 ] || fail "ended $TOOK ms after $1"
  wait "$APP_PID" 2>/dev/null || true
}
# A configuration folder whose clock powers off at $2 (hh:mm:ss), its strip at 907,$3.
preset_clock() {
  mkdir -p "$1/qom"
  printf '[General]\ntime=%s\nta=%d\ntb=%d\n' "$2" $(($3 * 15)) $((907 * 15)) >"$1/qom/time.ini"
}

window_geometry() { geometry_of "$WIN"; }
_geometry_is() { [ "$(window_geometry)" = "$1" ]; }
expect_geometry() { eventually 3 _geometry_is "$1" || fail "window at $(window_geometry), expected $1"; }

# A stored value as the program wrote it (quotes that QSettings adds removed).
stored() { [ -f "$INI" ] && sed -n "s/^$1=//p" "$INI" | sed 's/^"\(.*\)"$/\1/' || true; }
# What leaving stores: scroll mode, what the face shows, top and left in twips.
stored_place() { echo "$(stored t9) $(stored t) $(stored ta) $(stored tb)"; }
_stored_is() { [ "$(stored "$1")" = "$2" ]; }
expect_stored() { eventually 3 _stored_is "$1" "$2" || fail "time.ini: $1='$(stored "$1")', expected '$2'"; }

# Saves the window's pixels as text lines "x y r g b" into $1.
capture() {
  local x y w h
  read -r x y w h <<<"$(window_geometry)"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1.png"
  convert "$1.png" -depth 8 txt:- | awk -F'[ ,:()]+' 'NR>1{print $1, $2, $3, $4, $5}' >"$1"
}
# Pixels of a capture in the box x0 y0 x1 y1 that meet an awk condition on r g b.
count_pixels() {
  awk -v x0="$2" -v y0="$3" -v x1="$4" -v y1="$5" \
    "\$1>=x0 && \$1<=x1 && \$2>=y0 && \$2<=y1 { r=\$3; g=\$4; b=\$5; if ($6) n++ } END { print n+0 }" "$1"
}
# Whether the time shows in a colour: shows COLOUR.
shows() { capture "$E2E_TMP/now" && [ "$(count_pixels "$E2E_TMP/now" 10 1 60 16 "$1")" -ge 25 ]; }
# Where things are on the 67 x 20 strip, relative to the window.
TIME_X=25 TIME_Y=8 HANDLE_X=3 HANDLE_Y=6 FACE_X=45 FACE_Y=17
RED='r>190 && g<70 && b<70'
GREEN='g>190 && r<70 && b<70'
VIVID='r>g+150 || r>b+150 || g>r+150 || g>b+150 || b>r+150 || b>g+150'  # any time colour but the greys
point_at() {  # window-relative x y
  local x y
  read -r x y _ _ <<<"$(window_geometry)"
  xdotool mousemove "$((x + $1))" "$((y + $2))"
}
click_at() {  # window-relative x y, button; REPEAT=2 for a double-click
  local x y
  read -r x y _ _ <<<"$(window_geometry)"
  xdotool mousemove "$((x + $1))" "$((y + $2))" click --repeat "${REPEAT:-1}" --delay 40 "${3:-1}"
}
double_click_at() { REPEAT=2 click_at "$1" "$2"; }
# Presses button 1 at the screen's x y and moves by dx dy in five steps, keeping it pressed.
drag_from() {
  xdotool mousemove "$1" "$2" mousedown 1
  for step in 1 2 3 4 5; do xdotool mousemove $(($1 + step * $3 / 5)) $(($2 + step * $4 / 5)); done
}

# A time field blinks in 600 ms phases and has the keyboard only while shown. A refused key (a
# letter) typed for longer than a phase reaches it shown, stops the blink and leaves the field
# empty; hidden, the face ignores it. No look at the screen: it can take longer than a phase.
stop_blink() {
  local i
  sleep 1
  for i in 1 2 3 4 5 6; do xdotool key x sleep 0.12; done
}
# Types a time into a field that takes the keyboard: hhmmss and Enter.
type_time() { xdotool type --delay 30 "$1" && xdotool key Return; }
# The shutdown-time entry: a double-click on the time, then six digits and Enter.
enter_shutdown_time() {  # hhmmss
  double_click_at $TIME_X $TIME_Y
  stop_blink
  type_time "$1"
  expect_stored time "${1:0:2}:${1:2:2}:${1:4:2}"
}

# A private system bus (its process: BUS_PID) and, but with "bare", the fake login manager on it.
POWER_OFF_LOG=$E2E_TMP/power-off.log
start_system_bus() {
  dbus-daemon --config-file="$(dirname "${BASH_SOURCE[0]}")/system_bus.conf" --nofork --print-address=3 \
    3>"$E2E_TMP/bus-address" >/dev/null 2>"$E2E_TMP/bus.log" &
  BUS_PID=$!
  eventually 10 test -s "$E2E_TMP/bus-address" || fail "dbus-daemon did not start: $(cat "$E2E_TMP/bus.log")"
  DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$E2E_TMP/bus-address")
  [ "${1:-}" != bare ] || return 0
  : "${FAKE_LOGIN_MANAGER:?FAKE_LOGIN_MANAGER names the fake login manager program}"
  "$FAKE_LOGIN_MANAGER" "$DBUS_SYSTEM_BUS_ADDRESS" "$POWER_OFF_LOG" >"$E2E_TMP/manager.out" 2>&1 &
  eventually 10 grep -q '^ready$' "$E2E_TMP/manager.out" || fail "the fake login manager did not start"
}
# The PowerOff calls received so far, one line each: "<interactive> <epoch ms>".
power_off_calls() { [ ! -f "$POWER_OFF_LOG" ] || sed -n 's/^PowerOff //p' "$POWER_OFF_LOG"; }
power_off_count() { power_off_calls | wc -l; }
_at_least_calls() { [ "$(power_off_count)" -ge "$1" ]; }
expect_power_off_calls() { eventually 3 _at_least_calls "$1" || fail "$(power_off_count) PowerOff calls, expected $1"; }
# Nothing can be waited for when nothing is to happen: a short grace for a stray call.
expect_no_power_off() {  # after what; BASE: the calls asked for on purpose
  sleep 0.5
  [ "$(power_off_count)" -eq "${BASE:-0}" ] || fail "PowerOff after $1: $(power_off_calls)"
}

# A power-off time whole seconds ahead, the same day, not 00:00:00 ("none"): sets POWER_OFF
# (hhmmss) and POWER_OFF_MS.
power_off_in() {
  local now target
  while :; do
    now=$(date +%s)
    target=$((now + $1))
    POWER_OFF=$(date -d "@$target" +%H%M%S)
    [ "$(date -d "@$target" +%F)" != "$(date -d "@$now" +%F)" ] || [ "$POWER_OFF" = 000000 ] || break
    sleep 1
  done
  POWER_OFF_MS=$((target * 1000))
}
now_ms() { date +%s%3N; }
sleep_until_ms() {
  local left=$(($1 - $(now_ms)))
  [ "$left" -le 0 ] || sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
}
