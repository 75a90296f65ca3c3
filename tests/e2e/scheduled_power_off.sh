#!/usr/bin/env bash
# A power-off stored a few seconds ahead: the face counts down, blinking, and the login
# manager is asked to power off (without interaction) on each watch tick of the set
# second, and never before it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/system_bus.sh"
start_x
start_system_bus
start_login_manager

store_power_off_in 6
start_program horatta

# The last minute has begun at once: the caption blinks every 500 ms, so some looks find
# it and some find the bare skin. A running clock never hides its time.
shown=0 hidden=0 looks=0
while [ $(($(now_ms) + 600)) -lt "$POWER_OFF_MS" ] && [ $looks -lt 12 ]; do
  capture "$E2E_TMP/face"
  red=$(count_pixels "$E2E_TMP/face" 1 1 65 18 "$RED")
  if [ "$red" -ge 5 ]; then shown=$((shown + 1)); elif [ "$red" -eq 0 ]; then hidden=$((hidden + 1)); fi
  looks=$((looks + 1))
  sleep 0.13
done
[ "$shown" -ge 1 ] && [ "$hidden" -ge 1 ] || fail "no blinking countdown: shown $shown, hidden $hidden of $looks looks"
pass "the face blinks the countdown ($shown looks shown, $hidden hidden)"

early=$(power_off_count)
[ "$early" -eq 0 ] || fail "PowerOff before $POWER_OFF: $(power_off_calls)"

sleep_until_ms $((POWER_OFF_MS + 1500))
mapfile -t calls < <(power_off_calls)
[ "${#calls[@]}" -eq 2 ] || fail "expected PowerOff on the two watch ticks of $POWER_OFF, got: ${calls[*]:-none}"
for call in "${calls[@]}"; do
  read -r interactive at <<<"$call"
  [ "$interactive" = false ] || fail "PowerOff($interactive)"
  [ "$at" -ge "$POWER_OFF_MS" ] || fail "PowerOff $((POWER_OFF_MS - at)) ms before $POWER_OFF"
  # The call is made within the second; allow its trip over the bus.
  [ "$at" -lt $((POWER_OFF_MS + 1000 + 150)) ] || fail "PowerOff $((at - POWER_OFF_MS)) ms after $POWER_OFF began"
done
pass "PowerOff(false) twice within $POWER_OFF, at +$(( ${calls[0]#* } - POWER_OFF_MS )) and +$(( ${calls[1]#* } - POWER_OFF_MS )) ms"

# The countdown beeped on its way (1342 Hz for 300 ms, every seventh tick): at least one
# tone's worth of samples reached ALSA.
bytes=$(stat -c %s "$SOUND_FILE" 2>/dev/null || echo 0)
[ "$bytes" -ge $((48000 * 2 * 29 / 100)) ] || fail "the countdown made no sound: $bytes bytes"
pass "the countdown beeped through ALSA ($bytes bytes)"

kill -0 "$APP_PID" 2>/dev/null || fail "the program ended"
pass "the program runs on after the request"
