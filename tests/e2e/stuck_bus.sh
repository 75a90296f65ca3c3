#!/usr/bin/env bash
# A system bus that takes connections and never answers (a stuck bus daemon) holds the
# power-off of the set second for good; the handle's double-click afterwards still ends
# both programs within a second, and a new start of each runs.
source "$(dirname "$0")/lib.sh"
start_x
# A stopped bus daemon: the system still accepts connections for it, and nothing answers.
start_system_bus bare
kill -STOP "$BUS_PID"
# A stopped process does not hear the end: let it go on first.
trap 'kill -CONT "$BUS_PID" 2>/dev/null || true; cleanup' EXIT

power_off_in 8
at=$(date -d "@$((POWER_OFF_MS / 1000))" +%H:%M:%S)
# Both start at once, one above the other: a busy machine may take seconds to show each.
preset_clock "$E2E_TMP/horatta" "$at" 40
preset_clock "$E2E_TMP/horatta-t" "$at" 140
declare -A PID WIN_OF
for program in horatta horatta-t; do launch $program "$E2E_TMP/$program" && PID[$program]=$APP_PID; done
for program in horatta horatta-t; do
  APP_PID=${PID[$program]}
  await_window $program 20
  WIN_OF[$program]=$WIN
done
# The set second stores the place and asks; two seconds on, the face is the clock's again.
_asked() { [ -n "$(INI=$E2E_TMP/$1/qom/time.ini stored t)" ]; }
for program in horatta horatta-t; do
  eventually 15 _asked "$program" || fail "$program did not power off at the set second"
done
asked=$(now_ms)
sleep_until_ms $((asked > POWER_OFF_MS + 400 ? asked + 2600 : POWER_OFF_MS + 3000))
for program in horatta horatta-t; do
  APP_PID=${PID[$program]} WIN=${WIN_OF[$program]}
  running "$APP_PID" || fail "$program ended before the double-click"
  double_click_at $HANDLE_X $HANDLE_Y
  ends_within_a_second "the double-click on the handle ($program)"
  # The one-clock lock went with the process: a new start shows its window.
  launch $program "$E2E_TMP/$program"
  eventually 20 _find_window || fail "a new start of $program did not run"
  pass "$program ends $TOOK ms after the double-click although the bus never answered, and starts again"
done
