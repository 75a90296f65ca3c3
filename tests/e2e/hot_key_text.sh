#!/usr/bin/env bash
# A chord that types a character on the keyboard layout in use is text, never the hot key:
# AltGr+Z on a Polish keyboard, and Ctrl+Alt+Z on a keyboard whose third level Control+Alt
# chooses (as Windows does), type "ż" into the memo and power nothing off. Back on an
# English keyboard, a real Ctrl+Alt+Z and a key still power off.
source "$(dirname "$0")/lib.sh"
for tool in setxkbmap xkbcomp; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup test installs it)"; exit 77; }
done
start_x
start_system_bus
xkbcomp -w 0 "$(dirname "$0")/control_alt_third_level.xkb" "$DISPLAY"
start_program horatta
click_at $FACE_X $FACE_Y 1
expect_geometry "907 40 67 39"
xdotool key ISO_Level3_Shift+z ctrl+alt+z a
expect_no_power_off "AltGr+Z on a Polish keyboard, or Ctrl+Alt+Z where Control+Alt chooses the third level"
xdotool key Return
expect_stored text "żża"
pass "AltGr+Z, and Ctrl+Alt+Z where it types, put \"ż\" into the memo and power nothing off"

# The clock takes the hot key afresh for the new layout, with no sign of when it has.
setxkbmap -layout us
_hot_key_powers_off() { xdotool key ctrl+alt+z && sleep 0.2 && [ "$(power_off_count)" -ge 1 ]; }
eventually 5 _hot_key_powers_off || fail "Ctrl+Alt+Z did not power off once the layout was English"
pass "on an English keyboard Ctrl+Alt+Z, released, powers off"
