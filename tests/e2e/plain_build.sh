#!/usr/bin/env bash
# horatta-t: a start like horatta's, the plain field, the settings shared with horatta, one
# clock per user, and a new entry typed at once after one was applied holding the old
# power-off time back.
source "$(dirname "$0")/lib.sh"
start_x
start_system_bus
start_program horatta-t
expect_geometry "907 40 67 20"
eventually 3 shows "$RED" || fail "the time is not red"
click_at $TIME_X $TIME_Y 1
eventually 3 shows "$GREEN" || fail "a left click did not turn the time green"
not_a_double_click
double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit
[ "$(stored ta) $(stored tb)" = "600 13605" ] || fail "horatta-t stored ta, tb = $(stored ta), $(stored tb)"
start_program horatta
expect_geometry "907 40 67 20"
eventually 3 shows "$GREEN" || fail "horatta did not take the colour horatta-t stored"
pass "horatta-t maps at 907,40, steps the colour and saves on exit; horatta starts with what it stored"
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
stop "$APP_PID"

# The plain field takes a time a few seconds ahead; typing a second entry at once keeps it
# from powering off (the login manager records any request).
start_program horatta-t
power_off_in 7
enter_shutdown_time "$POWER_OFF"
eventually 3 shows "$GREEN" || fail "the time did not come back after the entry"
double_click_at $TIME_X $TIME_Y
while [ "$(now_ms)" -lt $((POWER_OFF_MS + 1500)) ]; do xdotool key 1; sleep 0.3; done
expect_no_power_off "a second entry typed at once"
pass "horatta-t's plain field takes a time; typing a second entry holds the first power-off back"
