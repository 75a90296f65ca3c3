#!/usr/bin/env bash
# On a denser screen, by the X resources' Xft.dpi or by QT_SCALE_FACTOR: the strip is its
# 67 x 20 pixels times the scale in the screen's own pixels (as Qt rounds them: 100.5 is 101),
# at its stored place, its skin drawn at the screen's density, and a press where the time
# is drawn steps the colour, so presses are taken where the drawing puts things.
source "$(dirname "$0")/lib.sh"
start_x
at() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s }'; }
# Below the time, the dark green grain of the 2x picture differs between the two device
# pixels of each logical one; the 1x picture stretched shows them alike.
fine_skin() {
  capture "$E2E_TMP/face"
  local pairs
  pairs=$(awk -v y0="$(at 16)" -v y1="$(at 18)" -v x1="$(at 60)" '$2 >= y0 && $2 < y1 && $1 < x1 && $1 % 2 == 0 { p[$1, $2] = $3 " " $4 " " $5 }
    $2 >= y0 && $2 < y1 && $1 < x1 && $1 % 2 == 1 { n++; if (p[$1 - 1, $2] != $3 " " $4 " " $5) d++ } END { printf "%d", 100 * d / n }' "$E2E_TMP/face")
  [ "$pairs" -ge 50 ] || fail "the skin is the 1x picture enlarged: $pairs % of pixel pairs differ"
}
while read -r how scale geometry; do
  E2E_NAME="$how $scale"
  if [ "$how" = Xft.dpi ]; then awk -v s="$scale" 'BEGIN { print "Xft.dpi:", s * 96 }' | xrdb -merge; else export QT_SCALE_FACTOR=$scale; fi
  printf '[General]\nta=600\ntb=4500\n' >"$INI"  # 300,40
  start_program horatta
  expect_geometry "$geometry"
  [ "$scale" != 2 ] || fine_skin
  # The time's right end: taken as logical pixels, these device ones lie off the strip.
  read -r x y _ _ <<<"$(window_geometry)"
  xdotool mousemove $((x + $(at 48))) $((y + $(at 12))) click 1
  _green() { capture "$E2E_TMP/now" && [ "$(count_pixels "$E2E_TMP/now" "$(at 10)" "$(at 2)" "$(at 52)" "$(at 15)" "$GREEN")" -ge 40 ]; }
  eventually 3 _green || fail "a press on the time did not turn it green"
  pass "at $geometry, the skin at the screen's density; a press on the time steps its colour"
  stop "$APP_PID"
  xrdb -remove
  unset QT_SCALE_FACTOR
done <<'EOF'
Xft.dpi 1.5 450 60 101 30
QT_SCALE_FACTOR 2 600 80 134 40
EOF

# Dragged from a screen at 1 onto one at 2, the strip takes that screen's pixels and pictures.
E2E_NAME="a drag onto a screen at 2"
xrandr --setmonitor LEFT 960/254x1080/286+0+0 screen >/dev/null && xrandr --setmonitor RIGHT 960/254x1080/286+960+0 none
export QT_SCREEN_SCALE_FACTORS="LEFT=1;RIGHT=2" scale=2
printf '[General]\nta=600\ntb=4500\n' >"$INI"
start_program horatta
drag_from 303 46 700 0
xdotool mouseup 1
_doubled() { [ "$(window_geometry | cut -d' ' -f3,4)" = "134 40" ]; }
eventually 3 _doubled || fail "the strip at $(window_geometry) on the screen at 2"
fine_skin
pass "at $(window_geometry), with the skin at that screen's density"
