#!/usr/bin/env bash
# horatta-t: starts like horatta, takes the shutdown time in its plain field, shares the
# settings with horatta, and only one clock runs per user.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta-t
expect_geometry "907 40 67 20"
props=$(xprop -id "$WIN")
grep -q '_NET_WM_STATE_ABOVE' <<<"$props" && grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$props" ||
  fail "horatta-t does not ask to stay above and out of the taskbar: $props"
shows "$RED" || fail "the time is not red"
expect_stored time "00:00:00"
[ "$(stored text | wc -c)" -gt 100 ] || fail "no default memo stored"
enter_shutdown_time "$(date -d '+6 hours' +%H%M%S)"
eventually 3 shows "$RED" || fail "the red time did not come back after the entry"
pass "horatta-t maps at 907,40 above others, stores the first values, and its plain field takes a time"
sleep 0.4
click_at $TIME_X $TIME_Y 1
eventually 3 shows "$GREEN" || fail "a left click did not turn the time green"
sleep 0.4
double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit
expect_stored ta 600
expect_stored tb 13605
start_program horatta
expect_geometry "907 40 67 20"
eventually 3 shows "$GREEN" || fail "horatta did not take the colour horatta-t stored"
pass "horatta-t steps the colour and saves on exit; horatta starts with what it stored"
# A second start of either program, while horatta runs, ends at once with one line of
# explanation, and the first keeps its window and its settings.
before=$(cat "$INI")
for program in horatta-t horatta; do
  timeout 5 "$HORATTA_BIN/$program" >"$E2E_TMP/second.out" 2>"$E2E_TMP/second.err" || fail "the second $program: $?"
  [ "$(wc -l <"$E2E_TMP/second.err")" -eq 1 ] && [ ! -s "$E2E_TMP/second.out" ] ||
    fail "the second $program said: $(cat "$E2E_TMP/second.out" "$E2E_TMP/second.err")"
done
[ "$(xdotool search --all --onlyvisible --name '^time$' | wc -l)" -eq 1 ] || fail "a second clock window"
[ "$(cat "$INI")" = "$before" ] && running "$APP_PID" || fail "the second start disturbed the first"
pass "a second start ends at once: $(cat "$E2E_TMP/second.err")"
