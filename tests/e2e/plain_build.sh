#!/usr/bin/env bash
# horatta-t starts the same way, and both programs share one settings file.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta-t

expect_geometry "907 40 67 20"
props=$(xprop -id "$WIN")
grep -q '_NET_WM_STATE_ABOVE' <<<"$props" && grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$props" ||
  fail "horatta-t does not ask to stay above and out of the taskbar: $props"
capture "$E2E_TMP/face"
red=$(count_pixels "$E2E_TMP/face" 10 1 60 16 "$RED")
[ "$red" -ge 25 ] || fail "the time is not red: $red red pixels"
expect_stored time "00:00:00"
[ "$(stored text | wc -c)" -gt 100 ] || fail "no default memo stored"
pass "horatta-t maps at 907,40, 67 x 20, above others, red time, first-start values stored"

click_at $TIME_X $TIME_Y 1
expect_stored time2 0
sleep 0.4
double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit 5
expect_stored ta 600
expect_stored tb 13605
pass "horatta-t steps the colour and saves on exit"

# horatta finds what horatta-t stored: the place, and the colour it stepped to.
start_program horatta
expect_geometry "907 40 67 20"
capture "$E2E_TMP/shared"
green=$(count_pixels "$E2E_TMP/shared" 10 1 60 16 "$GREEN")
[ "$green" -ge 25 ] || fail "horatta did not take horatta-t's colour: $green green pixels"
pass "horatta starts with the colour horatta-t stored"

# One clock per user: a second start of either program, while horatta runs, ends at once
# with one line of explanation, and the first keeps its window and its settings.
before=$(cat "$INI")
for program in horatta-t horatta; do
  second=0
  timeout 5 "$HORATTA_BIN/$program" >"$E2E_TMP/second.out" 2>"$E2E_TMP/second.err" || second=$?
  [ "$second" -eq 0 ] || fail "the second $program ended with status $second"
  [ "$(wc -l <"$E2E_TMP/second.err")" -eq 1 ] && [ ! -s "$E2E_TMP/second.out" ] ||
    fail "the second $program said: $(cat "$E2E_TMP/second.out" "$E2E_TMP/second.err")"
done
[ "$(xdotool search --all --onlyvisible --name '^time$' | wc -l)" -eq 1 ] || fail "a second clock window"
[ "$(cat "$INI")" = "$before" ] || fail "the second start changed the settings"
running "$APP_PID" || fail "the first clock ended"
pass "a second start ends at once: $(cat "$E2E_TMP/second.err")"
