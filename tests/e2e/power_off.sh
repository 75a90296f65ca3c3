#!/usr/bin/env bash
# Three users' clocks, each with a power-off a few seconds ahead: one counts down blinking,
# beeping, " 关机" in real glyphs, and asks PowerOff(false) on each watch tick of the set second
# only; one with no system bus runs on; one is cancelled by a double-click straddling a blink.
source "$(dirname "$0")/lib.sh"
start_x
start_system_bus
power_off_in 7
FIRST_MS=$POWER_OFF_MS
clock() {  # user, top of the window, seconds ahead: sets PID_<user>, WIN_<user>
  preset_clock "$E2E_TMP/$1" "$(date -d "@$((FIRST_MS / 1000 + $3))" +%H:%M:%S)" "$2"
  XDG_CONFIG_HOME=$E2E_TMP/$1 start_program horatta
  printf -v "PID_$1" %s "$APP_PID"
  printf -v "WIN_$1" %s "$WIN"
}
clock first 40 0
printf 'pcm.!default { type null }\n' >"$E2E_TMP/quiet.conf"
ALSA_CONFIG_PATH=$E2E_TMP/quiet.conf DBUS_SYSTEM_BUS_ADDRESS=$NO_BUS clock nobus 140 0
ALSA_CONFIG_PATH=$E2E_TMP/quiet.conf clock cancelled 240 1

# Some looks find the caption, some the bare skin. Glyph columns with three or more red pixels:
# an empty box has two, the Chinese words' strokes many (the seconds stand left of x=17).
WIN=$WIN_first
shown=0 hidden=0 looks=0 glyphs=0
while [ $(($(now_ms) + 600)) -lt "$FIRST_MS" ] && [ $looks -lt 12 ]; do
  capture "$E2E_TMP/face"
  red=$(count_pixels "$E2E_TMP/face" 1 1 65 18 "$RED")
  if [ "$red" -ge 5 ]; then shown=$((shown + 1)); elif [ "$red" -eq 0 ]; then hidden=$((hidden + 1)); fi
  c=$(awk "\$1>=17 && \$1<=66 && \$2>=1 && \$2<=18 { r=\$3; g=\$4; b=\$5; if ($RED) n[\$1]++ }
    END { c=0; for (x in n) if (n[x]>=3) c++; print c }" "$E2E_TMP/face")
  [ "$c" -le "$glyphs" ] || glyphs=$c
  looks=$((looks + 1))
  sleep 0.13
done
[ "$shown" -ge 1 ] && [ "$hidden" -ge 1 ] || fail "no blinking countdown: shown $shown, hidden $hidden of $looks looks"
[ "$glyphs" -ge 10 ] || fail "the countdown's Chinese word is not drawn: $glyphs columns with strokes"

# The countdown blinks on the half and whole seconds: presses 100 ms apart fall either side of
# one, one on the time, one on the face.
WIN=$WIN_cancelled
point_at $TIME_X $TIME_Y
until ms=$(($(now_ms) % 500)) && [ "$ms" -ge 430 ] && [ "$ms" -le 450 ]; do sleep 0.005; done
xdotool click 1 sleep 0.1 click 1

# Past the set second the clock without a bus runs, and a double-click gives the face back.
sleep_until_ms $((FIRST_MS + 1200))
WIN=$WIN_nobus
running "$PID_nobus" || fail "the clock without a system bus ended at the power-off time"
double_click_at $TIME_X $TIME_Y
eventually 3 shows "$RED" || fail "the time is not back on the face"
cp "$E2E_TMP/now" "$E2E_TMP/before"
_moved_on() { shows "$RED" && ! cmp -s "$E2E_TMP/before" "$E2E_TMP/now"; }
eventually 3 _moved_on || fail "the clock without a system bus does not run after the set second"

sleep_until_ms $((FIRST_MS + 2500))
mapfile -t calls < <(power_off_calls)
[ "${#calls[@]}" -eq 2 ] || fail "expected PowerOff on the two watch ticks of the first clock's second, got: ${calls[*]:-none}"
for call in "${calls[@]}"; do
  read -r interactive at <<<"$call"
  [ "$interactive" = false ] || fail "PowerOff($interactive)"
  # Within the second, allowing for the trip over the bus.
  [ "$at" -ge "$FIRST_MS" ] && [ "$at" -lt $((FIRST_MS + 1150)) ] || fail "PowerOff at $((at - FIRST_MS)) ms"
done
# The countdown beeps (1342 Hz for 300 ms): at least one tone's worth of samples reached ALSA.
bytes=$(stat -c %s "$SOUND_FILE" 2>/dev/null || echo 0)
[ "$bytes" -ge $((48000 * 2 * 29 / 100)) ] || fail "the countdown made no sound: $bytes bytes"
running "$PID_first" && running "$PID_cancelled" || fail "a clock ended"
pass "a blinking ($shown looks shown, $hidden hidden), beeping countdown with its word in $glyphs columns, then PowerOff(false) twice within the set second"
pass "without a system bus the clock runs on and answers; a double-click straddling a blink cancels the countdown"
