#!/usr/bin/env bash
# Takes the README's pictures of the running clock into docs/ (not a test):
#   HORATTA_BIN=build/linux tests/e2e/screenshots.sh
# Each is the window itself, scaled up four times pixel for pixel.
source "$(dirname "$0")/lib.sh"
docs=$(cd "$(dirname "$0")/../.." && pwd)/docs
mkdir -p "$docs"
start_x

shoot() {
  read -r x y w h <<<"$(window_geometry)"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$E2E_TMP/shot.png"
  convert "$E2E_TMP/shot.png" -scale 400% "$docs/$1"
  echo "$docs/$1"
}

start_program horatta
shoot compact.png

click_at $FACE_X $FACE_Y 1
expect_geometry "907 40 67 39"
sleep 0.3
shoot memo-open.png
xdotool key Escape Return
expect_geometry "907 40 67 20"

sleep 0.4
double_click_at $TIME_X $TIME_Y
sleep 1.2  # the blink hands the field the keyboard
xdotool type --delay 30 2130
sleep 0.2
shoot shutdown-entry-open.png

kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true

# The countdown, with its Chinese word; no system bus is reachable, so nothing powers off.
rm -f "$INI"
mkdir -p "$(dirname "$INI")"
printf '[General]\ntime=%s\n' "$(date -d '+40 seconds' +%H:%M:%S)" >"$INI"
start_program horatta
_countdown_shown() { capture "$E2E_TMP/look"; [ "$(count_pixels "$E2E_TMP/look" 27 1 66 18 "$RED")" -ge 20 ]; }
eventually 3 _countdown_shown
shoot countdown.png
