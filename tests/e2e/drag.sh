#!/usr/bin/env bash
# Pressing the time drags the window; the colour step of the left button comes only once
# the button is released.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta

xdotool mousemove $((907 + TIME_X)) $((40 + TIME_Y)) mousedown 1
for step in 1 2 3 4 5; do
  xdotool mousemove $((907 + TIME_X + step * 20)) $((40 + TIME_Y + step * 30))
  sleep 0.05
done
expect_geometry "1007 190 67 20"
sleep 0.3
capture "$E2E_TMP/held"
red=$(count_pixels "$E2E_TMP/held" 10 1 60 16 "$RED")
[ "$red" -ge 25 ] || fail "the colour changed while the button was held: $red red pixels"
[ -z "$(stored time2)" ] || fail "time2 was stored while the button was held"
pass "the window follows the mouse, and the time stays red while the button is held"

xdotool mouseup 1
expect_stored time2 0
expect_geometry "1007 190 67 20"
capture "$E2E_TMP/released"
green=$(count_pixels "$E2E_TMP/released" 10 1 60 16 "$GREEN")
[ "$green" -ge 25 ] || fail "no colour step after the release: $green green pixels"
pass "the colour steps to green after the release, and the window stays where it was put"

# Escape during a drag puts the window back where the drag began.
xdotool mousemove $((1007 + HANDLE_X)) $((190 + HANDLE_Y)) mousedown 1
xdotool mousemove $((1007 + HANDLE_X + 100)) $((190 + HANDLE_Y + 100))
expect_geometry "1107 290 67 20"
xdotool key Escape
expect_geometry "1007 190 67 20"
xdotool mouseup 1
pass "Escape cancels a drag of the handle"
