#!/usr/bin/env bash
# The stored power-off against a fake login manager on a private system bus: with nobody to
# take it the clock runs on; with the login manager the face counts down, blinking and
# beeping, and PowerOff(false) is asked on each watch tick of the set second and never
# before; a double-click on the countdown cancels it even when its two presses fall either
# side of a blink.
source "$(dirname "$0")/lib.sh"
start_x
start_system_bus
store_power_off_in 4
start_program horatta
expect_runs_on "a bus without a login manager"
stop "$APP_PID"

start_login_manager
store_power_off_in 6
start_program horatta
# The caption blinks every 500 ms, so some looks find it and some find the bare skin.
shown=0 hidden=0 looks=0
while [ $(($(now_ms) + 600)) -lt "$POWER_OFF_MS" ] && [ $looks -lt 12 ]; do
  red=$(capture "$E2E_TMP/face" && count_pixels "$E2E_TMP/face" 1 1 65 18 "$RED")
  if [ "$red" -ge 5 ]; then shown=$((shown + 1)); elif [ "$red" -eq 0 ]; then hidden=$((hidden + 1)); fi
  looks=$((looks + 1))
  sleep 0.13
done
[ "$shown" -ge 1 ] && [ "$hidden" -ge 1 ] || fail "no blinking countdown: shown $shown, hidden $hidden of $looks looks"
[ "$(power_off_count)" -eq 0 ] || fail "PowerOff before $POWER_OFF: $(power_off_calls)"
sleep_until_ms $((POWER_OFF_MS + 1500))
mapfile -t calls < <(power_off_calls)
[ "${#calls[@]}" -eq 2 ] || fail "expected PowerOff on the two watch ticks of $POWER_OFF, got: ${calls[*]:-none}"
for call in "${calls[@]}"; do
  read -r interactive at <<<"$call"
  [ "$interactive" = false ] || fail "PowerOff($interactive)"
  # Within the second, allowing for the trip over the bus.
  [ "$at" -ge "$POWER_OFF_MS" ] && [ "$at" -lt $((POWER_OFF_MS + 1150)) ] || fail "PowerOff at $((at - POWER_OFF_MS)) ms"
done
# The countdown beeps (1342 Hz for 300 ms): at least one tone's worth of samples reached ALSA.
bytes=$(stat -c %s "$SOUND_FILE" 2>/dev/null || echo 0)
[ "$bytes" -ge $((48000 * 2 * 29 / 100)) ] || fail "the countdown made no sound: $bytes bytes"
running "$APP_PID" || fail "the program ended"
pass "a blinking, beeping countdown ($shown looks shown, $hidden hidden), then PowerOff(false) twice within the set second"
stop "$APP_PID"

# The straddled double-click: the countdown blinks on the half and whole seconds; the two
# presses, 150 ms apart, fall either side of one, so one lands on the time, one on the face.
BASE=$(power_off_count)
store_power_off_in 8
start_program horatta
read -r x y _ _ <<<"$(window_geometry)"
xdotool mousemove "$((x + TIME_X))" "$((y + TIME_Y))"
until ms=$(($(now_ms) % 500)) && [ "$ms" -ge 410 ] && [ "$ms" -le 430 ]; do sleep 0.005; done
xdotool click 1 sleep 0.15 click 1
sleep_until_ms $((POWER_OFF_MS + 2000))
expect_no_power_off "a double-click on the countdown"
pass "a double-click straddling a blink cancels the countdown"
