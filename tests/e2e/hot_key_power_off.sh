#!/usr/bin/env bash
# Ctrl+Alt+Z activates the hot-key window; the next key released powers off, with no
# power-off time set. Held down, the keys do nothing yet; with the program stopped,
# nothing at all.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/system_bus.sh"
start_x
start_system_bus
start_login_manager
start_program horatta
# Form2 takes the keyboard but is nowhere on the screen.
form2=$(xdotool search --name '^Form2$' | head -n1)
[ -n "$form2" ] || fail "no Form2 window"
[ -z "$(xdotool search --onlyvisible --name '^Form2$')" ] || fail "Form2 is on the screen before the hot key"

xdotool keydown ctrl+alt+z
sleep 0.6
[ "$(power_off_count)" -eq 0 ] || fail "PowerOff while the keys are still held: $(power_off_calls)"
[ "$(xdotool getwindowfocus)" = "$form2" ] || fail "Form2 is not active after Ctrl+Alt+Z (focus on $(xdotool getwindowfocus))"
read -r fx fy _ <<<"$(xwininfo -id "$form2" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')"
[ "$fx" -lt 0 ] && [ "$fy" -lt 0 ] || fail "Form2 lies at $fx,$fy, within reach of the pointer"
pass "Ctrl+Alt+Z held down activates Form2, off every screen, and powers nothing off yet"

xdotool keyup z
expect_power_off_calls 1
[ "$(power_off_calls | awk '$1 != "false"' | wc -l)" -eq 0 ] || fail "not PowerOff(false): $(power_off_calls)"
pass "releasing Z asks PowerOff(false)"

# Form2 keeps the keyboard: every later key released in it asks again.
xdotool keyup ctrl+alt
sleep 0.5
before=$(power_off_count)
xdotool key a
expect_power_off_calls $((before + 1))
sleep 0.5
[ "$(power_off_count)" -eq $((before + 1)) ] || fail "one key released, $(($(power_off_count) - before)) PowerOff calls"
pass "a later key released in Form2 asks again ($(power_off_count) calls in all)"

kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
before=$(power_off_count)
xdotool key ctrl+alt+z
xdotool key a
sleep 1
[ "$(power_off_count)" -eq "$before" ] || fail "PowerOff with the program stopped: $(power_off_calls)"
pass "with the program stopped, Ctrl+Alt+Z asks nothing"

# Another user's clock on the same display finds the hot key taken by the first: it goes
# without and runs on, without an X error.
start_program horatta
first=$APP_PID
XDG_CONFIG_HOME=$E2E_TMP/another-user start_program horatta
sleep 0.5
kill -0 "$APP_PID" 2>/dev/null || fail "the second clock ended"
grep -qi 'xcb error\|BadAccess' "$APP_LOG" && fail "the refused grab was reported: $(cat "$APP_LOG")"
kill "$first"
pass "a hot key held by another program is gone without, quietly"
