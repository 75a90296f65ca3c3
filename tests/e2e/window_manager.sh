#!/usr/bin/env bash
# What a window manager can change, under the one E2E_WM names (none by default): the first
# place, above others and on every workspace, a drag, a memo, a restart at the same place, a
# screen shrinking under the strip. With no manager, where places are exact, a first day's gestures too.
source "$(dirname "$0")/lib.sh"
WM=${E2E_WM:-none}
E2E_NAME=$WM
: "${SCREEN_MODE:?SCREEN_MODE names the program that gives the X server a screen size}"
start_x
start_wm "$WM"

start_program horatta
read -r x y w h <<<"$(window_geometry)"
# A manager may set a window off the place it asked for (i3 puts a floating window where its
# title bar would end), but the same way at every start.
dx=$((x - 907)) dy=$((y - 40)) ox=$dx oy=$dy
[ "$w $h" = "67 20" ] && [ ${dx#-} -le 4 ] && [ ${dy#-} -le 20 ] || fail "first start at $x $y ${w}x$h, not near 907,40 67x20"
props=$(xprop -id "$WIN")
grep -q "^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_ABOVE" <<<"$props" || fail "not above others: $props"
# A manager may keep "every workspace" as the state or as the workspace number alone.
grep -q "^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_STICKY\|^_NET_WM_DESKTOP(CARDINAL) = 4294967295$" <<<"$props" ||
  fail "not on every workspace: $props"
_dark_green() { shows "$RED" && [ "$(count_pixels "$E2E_TMP/now" 1 2 62 18 'g>r && g>b && r+g+b<240')" -ge 600 ]; }
eventually 3 _dark_green || fail "the time is not red on dark green"
cp "$E2E_TMP/now" "$E2E_TMP/face"
_moved_on() { capture "$E2E_TMP/later" && ! cmp -s <(awk '$2<17' "$E2E_TMP/face") <(awk '$2<17' "$E2E_TMP/later"); }
eventually 3 _moved_on || fail "the time did not move on"
expect_stored time "00:00:00"
memo=$(stored text)
[ "${#memo}" -eq 125 ] && [ "${memo% }" = "$memo" ] || fail "the default memo is '$memo'"
for name in time2 time3 t t9 ta tb; do [ -z "$(stored "$name")" ] || fail "a first start stored $name"; done
pass "first start at $x,$y, 67x20, above and on every workspace; red time on dark green that runs; first values stored"

if [ "$WM" = none ]; then
  for state in SKIP_TASKBAR SKIP_PAGER; do grep -q "^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_$state" <<<"$props" || fail "no $state: $props"; done
  # Motif hints: flags say "decorations", and the decorations are none.
  grep -Eq '^_MOTIF_WM_HINTS\(_MOTIF_WM_HINTS\) = 0x2, 0x[0-9a-f]+, 0x0' <<<"$props" || fail "asks for a frame: $props"
  click_at $TIME_X $TIME_Y 1
  expect_stored time2 0
  eventually 3 shows "$GREEN" || fail "a left click did not turn the time green"
  not_a_double_click
  click_at $TIME_X $TIME_Y 3
  expect_stored time3 3
  _sky() { capture "$E2E_TMP/sky" && [ "$(count_pixels "$E2E_TMP/sky" 1 2 62 18 'b>r && r+g+b>400')" -ge 600 ]; }
  eventually 3 _sky || fail "the skin is not light sky blue"
  pass "out of the taskbar and frameless; left and right clicks step the colour and the skin"
fi

if [ "$WM" != none ]; then  # without a manager nothing keeps one window above another
  xlogo -geometry 400x300+$((x - 100))+0 >/dev/null 2>&1 &
  _covered() { xdotool search --onlyvisible --class xlogo >/dev/null 2>&1; }
  eventually 5 _covered || fail "no other window came up"
  sleep 0.3
  eventually 3 shows "$VIVID" || fail "a window opened over the strip hides it"
  if [ "$WM" = i3 ]; then i3-msg -q workspace 2; else xdotool set_desktop 1; fi
  _left_workspace() { xprop -root _NET_CURRENT_DESKTOP | grep -q ' = 1$'; }
  eventually 5 _left_workspace || fail "the workspace did not change"
  # A compositing manager draws the new workspace at its own pace.
  eventually 10 shows "$VIVID" || fail "the strip is not on the other workspace"
  if [ "$WM" = i3 ]; then i3-msg -q workspace 1; else xdotool set_desktop 0; fi
  pass "above a window opened over it, and on another workspace too"
fi

# A drag of the handle moves the window by as much as the pointer, to the place asked for
# (ox, oy: how far the manager has set it off that place); the memo takes typing.
drag_handle_by() {  # dx dy
  local x y
  read -r x y _ _ <<<"$(window_geometry)"
  drag_from $((x + HANDLE_X)) $((y + HANDLE_Y)) "$1" "$2"
  xdotool mouseup 1
  expect_geometry "$((x - ox + $1)) $((y - oy + $2)) 67 20"
  ox=0 oy=0
}
if [ "$WM" = none ]; then
  # Pressing the time drags the window too; the colour steps only once the button is released.
  not_a_double_click
  drag_from $((907 + TIME_X)) $((40 + TIME_Y)) 100 150
  expect_geometry "1007 190 67 20"
  shows "$GREEN" && [ "$(stored time2)" = 0 ] || fail "the colour changed while the button was held"
  xdotool mouseup 1
  expect_stored time2 1
  # Escape during a drag of the handle puts the window back where the drag began.
  xdotool mousemove $((1007 + HANDLE_X)) $((190 + HANDLE_Y)) mousedown 1 mousemove $((1107 + HANDLE_X)) $((290 + HANDLE_Y))
  expect_geometry "1107 290 67 20"
  xdotool key Escape
  expect_geometry "1007 190 67 20"
  xdotool mouseup 1
  pass "a drag of the time steps the colour after the release; Escape cancels a drag"
else
  drag_handle_by 100 150
fi
read -r x y _ _ <<<"$(window_geometry)"
not_a_double_click
click_at $FACE_X $FACE_Y 1
expect_geometry "$x $y 67 39"
xdotool type --delay 20 abc  # the memo's whole text is selected: typing replaces it
xdotool key Return
expect_stored text abc
expect_geometry "$x $y 67 20"
pass "a drag moves the strip by as much; a memo typed into it is stored"

# Stored is the place asked for plus the drag, whatever the manager made of it.
not_a_double_click
double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit
[[ "$(stored_place)" =~ ^0\ [12]\ 2850\ 15105$ ]] || fail "t9, t, ta, tb stored wrong"
start_program horatta
expect_geometry "$((1007 + dx)) $((190 + dy)) 67 20"
pass "a double-click on the handle stores 1007,190 and ends; the restart comes back to the same place"

# The screen shrinks under a strip near its right edge; nothing is stored until the user leaves.
ox=$dx oy=$dy
drag_handle_by $((1800 - 1007)) $((40 - 190))
before=$(cat "$INI")
mode=$("$SCREEN_MODE" 1024 768) || fail "no 1024x768 mode"
xrandr --output screen --mode "$mode" --fb 1024x768 || fail "the screen did not shrink"
_on_screen() { read -r x y w h <<<"$(window_geometry)"; [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1024 ] && [ $((y + h)) -le 768 ]; }
eventually 5 _on_screen || fail "the strip at $(window_geometry) on a 1024x768 screen"
[ "$(cat "$INI")" = "$before" ] || fail "the screen change stored something"
not_a_double_click
double_click_at $HANDLE_X $HANDLE_Y
wait_for_exit
expect_stored tb $((1024 * 15 - 1000))  # the strip is 1000 twips wide
pass "a screen shrunk to 1024x768 brings the strip onto it, within reach of a double-click"

# The manager's own close (Alt+F4 under openbox) stores the place as the handle does.
if [ "$WM" = openbox ]; then
  start_program horatta
  click_at $FACE_X $FACE_Y 1  # the memo takes the keyboard: the strip is the active window
  sleep 0.3
  xdotool key alt+F4
  wait_for_exit
  expect_stored tb $((1024 * 15 - 1000))
  pass "the window manager's close stores the place and ends the clock"
fi

if [ "$WM" = none ]; then
  start_program horatta
  read -r x y _ _ <<<"$(window_geometry)"
  # A power-off six hours away, so that no countdown starts while the test runs.
  enter_shutdown_time "$(date -d '+6 hours' +%H%M%S)"
  expect_stored time2 1  # the entry keeps the colour
  not_a_double_click
  double_click_at $FACE_X $FACE_Y
  expect_geometry "$x $y 67 40"
  # The date tip shows when the pointer rests on the time of a window that is not active.
  xdotool windowfocus "$(xwininfo -root | awk '/Window id:/{print $4}')" 2>/dev/null || true
  before=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)
  xdotool mousemove "$((x + TIME_X))" "$((y + TIME_Y))" sleep 0.1 mousemove "$((x + TIME_X + 1))" "$((y + TIME_Y))"
  _tip_shown() { [ "$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)" -gt "$before" ]; }
  eventually 5 _tip_shown || fail "no tool-tip on hover"
  pass "the shutdown-time entry stores the time; a double-click on the face opens the reminder panel; the date tip shows"
fi
