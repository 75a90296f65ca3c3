#!/usr/bin/env bash
# With no login manager on the system bus, or no system bus at all, the set second comes
# and goes and the clock keeps running and answering the user.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/system_bus.sh"
start_x

check_runs_on() {
  sleep_until_ms $((POWER_OFF_MS + 1200))
  kill -0 "$APP_PID" 2>/dev/null || fail "the program ended ($1)"
  # A double-click on the time gives the face back to the clock, which then runs.
  double_click_at $TIME_X $TIME_Y
  sleep 0.3
  capture "$E2E_TMP/before"
  sleep 1.2
  capture "$E2E_TMP/after"
  cmp -s "$E2E_TMP/before" "$E2E_TMP/after" && fail "the clock does not run after the set second ($1)"
  [ "$(count_pixels "$E2E_TMP/after" 10 1 60 16 "$RED")" -ge 25 ] || fail "the time is not back on the face ($1)"
  pass "the program runs on and answers: $1"
}

start_system_bus
store_power_off_in 4
start_program horatta
check_runs_on "a bus without a login manager"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true

export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$E2E_TMP/no-system-bus"
store_power_off_in 4
start_program horatta
check_runs_on "no system bus at all"
