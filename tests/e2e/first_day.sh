#!/usr/bin/env bash
# A first day with horatta: the first start, the colour and the skin, the memo, a drag,
# leaving and starting again, the shutdown-time entry, the reminder panel and the date tip.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta
expect_geometry "907 40 67 20"
props=$(xprop -id "$WIN")
for state in ABOVE SKIP_TASKBAR SKIP_PAGER STICKY; do
  grep -q "^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_$state" <<<"$props" || fail "no $state: $props"
done
# Motif hints: flags say "decorations", and the decorations are none; every desktop.
grep -Eq '^_MOTIF_WM_HINTS\(_MOTIF_WM_HINTS\) = 0x2, 0x[0-9a-f]+, 0x0' <<<"$props" || fail "asks for a frame: $props"
grep -q '^_NET_WM_DESKTOP(CARDINAL) = 4294967295$' <<<"$props" || fail "not on every desktop: $props"
_dark_green() { shows "$RED" && [ "$(count_pixels "$E2E_TMP/now" 1 2 62 18 'g>r && g>b && r+g+b<240')" -ge 600 ]; }
eventually 3 _dark_green || fail "the time is not red on dark green"
cp "$E2E_TMP/now" "$E2E_TMP/face"
expect_stored time "00:00:00"
memo=$(stored text)
[ "${#memo}" -eq 125 ] && [ "${memo% }" = "$memo" ] || fail "the default memo is '$memo'"
for name in time2 time3 t t9 ta tb; do [ -z "$(stored "$name")" ] || fail "a first start stored $name"; done
_moved_on() { capture "$E2E_TMP/later" && ! cmp -s <(awk '$2<17' "$E2E_TMP/face") <(awk '$2<17' "$E2E_TMP/later"); }
eventually 3 _moved_on || fail "the time did not move on"
pass "first start: a frameless strip at 907,40 above others on every desktop, red time on dark green that runs, first values stored"

click_at $TIME_X $TIME_Y 1
expect_stored time2 0
eventually 3 shows "$GREEN" || fail "a left click did not turn the time green"
sleep 0.4  # not a double-click
click_at $TIME_X $TIME_Y 3
expect_stored time3 3
_sky() { capture "$E2E_TMP/sky" && [ "$(count_pixels "$E2E_TMP/sky" 1 2 62 18 'b>r && r+g+b>400')" -ge 600 ]; }
eventually 3 _sky || fail "the skin is not light sky blue"
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
shows "$GREEN" && [ "$(stored time2)" = 0 ] || fail "the colour changed while the button was held"
xdotool mouseup 1
expect_stored time2 1
expect_geometry "1007 190 67 20"
# Escape during a drag of the handle puts the window back where the drag began.
xdotool mousemove $((1007 + HANDLE_X)) $((190 + HANDLE_Y)) mousedown 1 mousemove $((1107 + HANDLE_X)) $((290 + HANDLE_Y))
expect_geometry "1107 290 67 20"
xdotool key Escape
expect_geometry "1007 190 67 20"
xdotool mouseup 1
[ -z "$(stored ta)" ] || fail "a drag alone stored the place"
pass "the window follows a drag, the colour steps after the release, and Escape cancels a drag"

sleep 0.4
double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit
[[ "$(stored_place)" =~ ^0\ [12]\ 2850\ 15105$ ]] || fail "t9, t, ta, tb stored wrong"
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

# The date tip shows when the pointer rests on the time of a window that is not active.
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/{print $4}')" 2>/dev/null || true
before=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)
read -r x y _ _ <<<"$(window_geometry)"
xdotool mousemove "$((x + TIME_X))" "$((y + TIME_Y))" sleep 0.1 mousemove "$((x + TIME_X + 1))" "$((y + TIME_Y))"
_tip_shown() { [ "$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)" -gt "$before" ]; }
eventually 5 _tip_shown || fail "no tool-tip on hover"
pass "the date tool-tip shows on hover"
