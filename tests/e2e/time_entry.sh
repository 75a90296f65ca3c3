#!/usr/bin/env bash
# The time fields take their keys through the core: a double-click on the time opens the
# shutdown-time entry, and six digits with Enter store the power-off time; a double-click
# on the face opens the reminder-time panel below the strip.
source "$(dirname "$0")/lib.sh"
start_x

# A power-off time six hours away, so that no countdown can start while the test runs.
at=$(date -d '+6 hours' +%H%M%S)
at_text="${at:0:2}:${at:2:2}:${at:4:2}"

PINK='r>200 && g>150 && g<230 && b>150 && b<230'
_entry_pixels() { capture "$E2E_TMP/blink" && count_pixels "$E2E_TMP/blink" 0 0 60 19 "$PINK"; }
_entry_hidden() { [ "$(_entry_pixels)" -eq 0 ]; }
_entry_shown() { [ "$(_entry_pixels)" -ge 10 ]; }

for program in horatta horatta-t; do
  rm -rf "$XDG_CONFIG_HOME/qom"
  start_program $program
  double_click_at $TIME_X $TIME_Y
  sleep 0.3
  capture "$E2E_TMP/entry"
  red=$(count_pixels "$E2E_TMP/entry" 0 0 66 19 "$RED")
  [ "$red" -eq 0 ] || fail "$program: the time still shows over the entry"
  # The blink hides the field after 600 ms and hands it the keyboard when it shows again;
  # typing must start while it is back, however busy the machine is. Typing stops the
  # blink and clears the field; Enter at the end applies it.
  eventually 10 _entry_hidden || fail "$program: the entry field does not blink"
  eventually 10 _entry_shown || fail "$program: the entry field does not come back"
  xdotool type --delay 30 "$at"
  xdotool key Return
  expect_stored time "$at_text"
  expect_stored time2 11
  capture "$E2E_TMP/applied"
  red=$(count_pixels "$E2E_TMP/applied" 10 1 60 16 "$RED")
  [ "$red" -ge 25 ] || fail "$program: the red time did not come back: $red red pixels"
  pass "$program: the shutdown-time entry takes $at_text and stores it"

  sleep 0.4
  double_click_at $FACE_X $FACE_Y
  expect_geometry "907 40 67 40"
  pass "$program: a double-click on the face opens the reminder-time panel"
  stop "$APP_PID"
done
