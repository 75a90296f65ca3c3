#!/usr/bin/env bash
# A double-click on the handle saves the place and the display state and ends the
# program; the next start comes back at the stored place.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta

# Move the strip by its handle first, so that the stored place is not the default.
xdotool mousemove $((907 + HANDLE_X)) $((40 + HANDLE_Y)) mousedown 1
xdotool mousemove $((707 + HANDLE_X)) $((340 + HANDLE_Y))
expect_geometry "707 340 67 20"
xdotool mouseup 1
sleep 0.4
[ -z "$(stored ta)" ] || fail "a drag alone stored the place"

double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit 5
pass "a double-click on the handle ends the program"
expect_stored t9 0
t=$(stored t)
[ "$t" = 1 ] || [ "$t" = 2 ] || fail "t='$t'"
expect_stored ta 5100
expect_stored tb 10605
pass "t9, t, ta and tb are stored (t=$t, ta=5100, tb=10605)"

start_program horatta
expect_geometry "707 340 67 20"
pass "the restart comes back at the stored place"
