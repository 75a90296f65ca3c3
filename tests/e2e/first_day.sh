#!/usr/bin/env bash
# A first day with horatta: the first start, the colour and the skin, the memo, a drag,
# the shutdown-time entry and the reminder panel, leaving and starting again.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta
expect_geometry "907 40 67 20"
props=$(xprop -id "$WIN")
for state in ABOVE SKIP_TASKBAR SKIP_PAGER; do
  grep -q "^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_$state" <<<"$props" || fail "no $state: $props"
done
# Motif hints: flags say "decorations", and the decorations are none.
grep -Eq '^_MOTIF_WM_HINTS\(_MOTIF_WM_HINTS\) = 0x2, 0x[0-9a-f]+, 0x0' <<<"$props" || fail "asks for a frame: $props"
[ -n "$(xdotool search --name '^Form2$')" ] && [ -z "$(xdotool search --onlyvisible --name '^Form2$')" ] ||
  fail "the hot-key window is missing or on the screen"
capture "$E2E_TMP/face"
[ "$(count_pixels "$E2E_TMP/face" 10 1 60 16 "$RED")" -ge 25 ] || fail "the time is not red"
[ "$(count_pixels "$E2E_TMP/face" 1 2 62 18 'g>r && g>b && r+g+b<240')" -ge 600 ] || fail "the skin is not dark green"
expect_stored time "00:00:00"
memo=$(stored text)
[ "${#memo}" -eq 125 ] && [ "${memo% }" = "$memo" ] || fail "the default memo is '$memo'"
for name in time2 time3 t t9 ta tb; do [ -z "$(stored "$name")" ] || fail "a first start stored $name"; done
sleep 1.2
capture "$E2E_TMP/later"
cmp -s <(awk '$2<17' "$E2E_TMP/face") <(awk '$2<17' "$E2E_TMP/later") && fail "the time did not move on"
pass "first start: a frameless strip at 907,40 above others, red time on dark green that runs, first values stored"

click_at $TIME_X $TIME_Y 1
expect_stored time2 0
eventually 3 shows "$GREEN" || fail "a left click did not turn the time green"
sleep 0.4
click_at $TIME_X $TIME_Y 3
expect_stored time3 3
capture "$E2E_TMP/sky"
[ "$(count_pixels "$E2E_TMP/sky" 1 2 62 18 'b>r && r+g+b>400')" -ge 600 ] || fail "the skin is not light sky blue"
sleep 0.4
click_at $FACE_X $FACE_Y 1
expect_geometry "907 40 67 39"
xdotool type --delay 20 abc  # the memo's whole text is selected: typing replaces it
xdotool key Return
expect_stored text abc
expect_geometry "907 40 67 20"
pass "left and right clicks step the colour and the skin; the memo opens, takes abc and Enter, and closes"

# Pressing the time drags the window; the colour steps only once the button is released.
xdotool mousemove $((907 + TIME_X)) $((40 + TIME_Y)) mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((907 + TIME_X + step * 20)) $((40 + TIME_Y + step * 30)); done
expect_geometry "1007 190 67 20"
sleep 0.3
shows "$GREEN" && [ "$(stored time2)" = 0 ] || fail "the colour changed while the button was held"
xdotool mouseup 1
expect_stored time2 1
expect_geometry "1007 190 67 20"
# Escape during a drag of the handle puts the window back where the drag began.
xdotool mousemove $((1007 + HANDLE_X)) $((190 + HANDLE_Y)) mousedown 1
xdotool mousemove $((1107 + HANDLE_X)) $((290 + HANDLE_Y))
expect_geometry "1107 290 67 20"
xdotool key Escape
expect_geometry "1007 190 67 20"
xdotool mouseup 1
[ -z "$(stored ta)" ] || fail "a drag alone stored the place"
pass "the window follows a drag, the colour steps after the release, and Escape cancels a drag"

sleep 0.4
double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit
t=$(stored t)
[ "$t" = 1 ] || [ "$t" = 2 ] || fail "t='$t'"
expect_stored t9 0
expect_stored ta 2850
expect_stored tb 15105
start_program horatta
expect_geometry "1007 190 67 20"
pass "a double-click on the handle stores t9, t, ta, tb and ends; the restart comes back there"

# A power-off six hours away, so that no countdown starts while the test runs.
enter_shutdown_time "$(date -d '+6 hours' +%H%M%S)"
expect_stored time2 1  # the entry keeps the colour
sleep 0.4
double_click_at $FACE_X $FACE_Y
expect_geometry "1007 190 67 40"
pass "the shutdown-time entry stores the time; a double-click on the face opens the reminder panel"
