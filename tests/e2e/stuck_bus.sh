#!/usr/bin/env bash
# A system bus that takes connections and never answers (a stuck bus daemon) holds the
# power-off of the set second for good; the handle's double-click afterwards still ends
# both programs within a second, and a new start of each runs.
source "$(dirname "$0")/lib.sh"
start_x
# A private bus daemon, stopped: the system still accepts connections for it, and nothing
# answers them.
dbus-daemon --config-file="$(dirname "$0")/system_bus.conf" --nofork --print-address=3 \
  3>"$E2E_TMP/bus-address" >/dev/null 2>"$E2E_TMP/bus.log" &
BUS_PID=$!
eventually 10 test -s "$E2E_TMP/bus-address" || fail "dbus-daemon did not start: $(cat "$E2E_TMP/bus.log")"
kill -STOP "$BUS_PID"
# A stopped process does not hear the end: let it go on first.
trap 'kill -CONT "$BUS_PID" 2>/dev/null || true; cleanup' EXIT
DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$E2E_TMP/bus-address")

power_off_in 8
at=$(date -d "@$((POWER_OFF_MS / 1000))" +%H:%M:%S)
# Both start at once, one above the other: a busy machine may take seconds to show each.
top=40
for program in horatta horatta-t; do
  mkdir -p "$E2E_TMP/$program/qom"
  printf '[General]\ntime=%s\nta=%d\ntb=%d\n' "$at" $((top * 15)) $((907 * 15)) >"$E2E_TMP/$program/qom/time.ini"
  top=$((top + 100))
  XDG_CONFIG_HOME=$E2E_TMP/$program "$HORATTA_BIN/$program" >"$E2E_TMP/$program.log" 2>&1 &
  printf -v "PID_${program//-/_}" %s $!
done
for program in horatta horatta-t; do
  pid_var=PID_${program//-/_}
  APP_PID=${!pid_var} APP_LOG=$E2E_TMP/$program.log
  eventually 20 _find_window || fail "$program showed no window"
  eventually 5 _on_every_workspace || fail "$program did not finish its start"
  printf -v "WIN_${program//-/_}" %s "$WIN"
done
# The set second stores the place and asks the stuck bus; two seconds on, the face is the
# clock's again (a double-click before then would only cancel the countdown).
_asked() { [ -n "$(INI=$E2E_TMP/$1/qom/time.ini stored t)" ]; }
for program in horatta horatta-t; do
  eventually 15 _asked "$program" || fail "$program did not power off at the set second"
done
asked=$(now_ms)
sleep_until_ms $((asked > POWER_OFF_MS + 400 ? asked + 2600 : POWER_OFF_MS + 3000))
for program in horatta horatta-t; do
  pid_var=PID_${program//-/_} win_var=WIN_${program//-/_}
  APP_PID=${!pid_var} WIN=${!win_var}
  running "$APP_PID" || fail "$program ended before the double-click"
  double_click_at $HANDLE_X $HANDLE_Y
  from=$(now_ms)
  eventually 3 _app_ended || fail "$program still runs 3 s after the double-click on the handle"
  took=$(($(now_ms) - from))
  [ "$took" -le 1000 ] || fail "$program ended $took ms after the double-click"
  wait "$APP_PID" 2>/dev/null || true
  # The one-clock lock went with the process: a new start shows its window.
  XDG_CONFIG_HOME=$E2E_TMP/$program "$HORATTA_BIN/$program" >"$E2E_TMP/$program.log" 2>&1 &
  APP_PID=$!
  eventually 20 _find_window || fail "a new start of $program did not run"
  pass "$program ends $took ms after the double-click although the bus never answered, and starts again"
done
