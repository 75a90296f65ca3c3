#!/usr/bin/env bash
# A second start, under the window manager E2E_WM names (none by default), brings the running
# clock in front and flashes it, or back onscreen, and ends with 0; a stuck clock holds it 0.5 s at most.
source "$(dirname "$0")/lib.sh"
: "${FLASH_WATCH:?FLASH_WATCH names the program that watches the strip for a flash}"
WM=${E2E_WM:-none}
E2E_NAME="second start ($WM)"
start_x
start_wm "$WM"

start_program horatta
CLOCK=$APP_PID CLOCK_WIN=$WIN
read -r x y _ _ <<<"$(window_geometry)"

# Another user's clock, green, over it: only the stacking order tells which is in front.
preset_clock "$E2E_TMP/other" 00:00:00 40
echo time2=0 >>"$E2E_TMP/other/qom/time.ini"
launch horatta "$E2E_TMP/other"
OTHER=$APP_PID
await_window "the other clock"
WIN=$CLOCK_WIN
eventually 5 shows "$GREEN" || fail "the other clock did not cover the first"

# The top of the manager's stacking order, or of the X server's own without one.
_in_front() {
  if [ "$WM" = none ]; then
    [ "$(xwininfo -root -children | awk '/^ +0x/ { print $1 }' | head -n 1)" = "$(printf '0x%x' "$CLOCK_WIN")" ]
  else
    [ "$(xprop -root _NET_CLIENT_LIST_STACKING | awk -F', |# ' '{ print $NF }')" = "$(printf '0x%x' "$CLOCK_WIN")" ]
  fi
}
second_start() {  # sets STATUS, TOOK (ms), SAID
  local from
  from=$(now_ms)
  set +e
  timeout 5 "$HORATTA_BIN/horatta" >"$E2E_TMP/second.out" 2>&1
  STATUS=$?
  set -e
  TOOK=$(($(now_ms) - from))
  SAID=$(cat "$E2E_TMP/second.out")
}
# The dark face drawn inverted turns light: seen on some of the looks of the next seconds.
"$FLASH_WATCH" "$CLOCK_WIN" 4000 >"$E2E_TMP/flashes" &
WATCH=$!
second_start
wait "$WATCH"
read -r flashes looks <"$E2E_TMP/flashes"
[ "$STATUS" = 0 ] && [ "$SAID" = "horatta: a clock is already running for this user" ] ||
  fail "the second start: status $STATUS, said '$SAID'"
[ "$flashes" -ge 1 ] && [ "$flashes" -lt "$looks" ] || fail "the clock was inverted on $flashes of $looks looks"
eventually 3 shows "$RED" || fail "the clock is still covered"
eventually 3 _in_front || fail "the clock is not in front: $(xprop -root _NET_CLIENT_LIST_STACKING)"
running "$CLOCK" && [ "$(xdotool search --all --onlyvisible --name '^time$' | wc -l)" = 2 ] ||
  fail "not one clock of these settings: $(xdotool search --all --onlyvisible --name '^time$' | wc -l) windows"
pass "the second start brought the clock in front of a window over it, flashed it (inverted on $flashes of $looks looks) and ended with 0 in $TOOK ms"

stop "$OTHER"
xdotool windowmove "$CLOCK_WIN" 2500 1500
# A manager may keep a corner of it on the screen.
_moved_off() { [ "$(window_geometry | cut -d' ' -f1)" -ge 1900 ]; }
eventually 3 _moved_off || fail "the clock could not be moved away: $(window_geometry)"
second_start
[ "$STATUS" = 0 ] || fail "the second start ended with $STATUS"
expect_geometry "$x $y 67 20"
eventually 3 shows "$RED" || fail "the clock does not show"
pass "a clock moved off every screen comes back to its place at a second start"

# A clock that does not answer (stopped here) holds the second start half a second at most.
kill -STOP "$CLOCK"
second_start
kill -CONT "$CLOCK"
[ "$STATUS" = 0 ] && [ "$TOOK" -le 1500 ] && [[ $SAID == *"already running"* ]] ||
  fail "with a clock that does not answer: status $STATUS after $TOOK ms, said '$SAID'"
pass "a clock that does not answer: the second start still ends with 0, in $TOOK ms"
