#!/usr/bin/env bash
# The end of a session (SIGTERM, SIGHUP, the X server gone) stores what the handle's
# double-click stores, within a second, and the next start comes back there in scroll mode.
#   session_end.sh PROGRAM      (horatta or horatta-t)
source "$(dirname "$0")/lib.sh"
PROGRAM=${1:?name the program: horatta or horatta-t}
E2E_NAME=$PROGRAM

# Scroll mode on, showing the memo (t=2), at top 4500 and left 3000 twips.
expect_saved() {  # after what
  [ "$(stored_place)" = "1 2 4500 3000" ] || fail "after $1: t9, t, ta, tb = $(stored_place)"
}

start_x
start_program "$PROGRAM"
# The handle drags the strip to 200,300; a right press on it turns scroll mode on.
drag_from $((907 + HANDLE_X)) $((40 + HANDLE_Y)) -707 260
xdotool mouseup 1
expect_geometry "200 300 67 20"
not_a_double_click
click_at $HANDLE_X $HANDLE_Y 3
sleep 0.5  # the press's own drag has ended and the toggle has run
# Twice, as an impatient session does: the second signal must not cut the saving short.
kill -TERM "$APP_PID"
kill -TERM "$APP_PID" 2>/dev/null || true
ends_within_a_second SIGTERM
expect_saved SIGTERM
pass "SIGTERM, even twice, stores t9, t, ta, tb as the handle does, and the program ends within a second"

# Each later end stores the four values again into a file that has lost them.
for end in HUP X; do
  start_program "$PROGRAM"
  expect_geometry "200 300 67 20"
  sed -i "/^\(t\|t9\|ta\|tb\)=/d" "$INI"
  if [ "$end" = X ]; then what="the X server's end"; kill "$X_PID"; else what=SIG$end; kill -"$end" "$APP_PID"; fi
  ends_within_a_second "$what"
  expect_saved "$what"
done
pass "SIGHUP and the X server's end store the same; each next start comes back at 200,300 in scroll mode"
