#!/usr/bin/env bash
# Presses on the time step the colour (left) and the skin (right) and store them; a click
# on the face opens the memo, which Enter closes and stores.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta

click_at $TIME_X $TIME_Y 1
expect_stored time2 0
capture "$E2E_TMP/green"
green=$(count_pixels "$E2E_TMP/green" 10 1 60 16 "$GREEN")
red=$(count_pixels "$E2E_TMP/green" 10 1 60 16 "$RED")
[ "$green" -ge 25 ] && [ "$red" -eq 0 ] || fail "after a left click: $green green and $red red pixels"
pass "a left click on the time stores time2=0 and turns it green"

sleep 0.4
click_at $TIME_X $TIME_Y 3
expect_stored time3 3
capture "$E2E_TMP/sky"
read -r r g b <<<"$(mean_colour "$E2E_TMP/sky" 1 2 62 18 "$GREEN")"
[ "$b" -gt "$r" ] && [ $((r + g + b)) -gt 400 ] || fail "the skin is not light sky blue: $r $g $b"
pass "a right click stores time3=3 and shows the sky-blue skin ($r $g $b)"

sleep 0.4
click_at $FACE_X $FACE_Y 1
expect_geometry "907 40 67 39"
pass "a click on the face slides the memo open"
# The memo has the keyboard with its whole text selected: typing replaces it.
xdotool type --delay 20 abc
xdotool key Return
expect_stored text abc
expect_geometry "907 40 67 20"
pass "abc and Enter store text=abc and close the memo"
