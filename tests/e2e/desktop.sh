#!/usr/bin/env bash
# What a desktop expects of the programs: the command line and the autostart entry, a strip
# on every workspace, a countdown whose " 关机" is drawn in real glyphs, a clock that runs on
# when no system bus takes the power-off, and the date tool-tip on a window that is not active.
source "$(dirname "$0")/lib.sh"
for program in horatta horatta-t; do
  out=$("$HORATTA_BIN/$program" --version) || fail "$program --version failed"
  [[ $out =~ ^$program\ [0-9]+\.[0-9]+ ]] || fail "$program --version printed '$out'"
  "$HORATTA_BIN/$program" --help | grep -q -- "--autostart on|off" || fail "$program --help"
  status=0
  "$HORATTA_BIN/$program" --frobnicate >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
  [ "$status" -eq 2 ] && [ ! -s "$E2E_TMP/out" ] && grep -q "^Usage:" "$E2E_TMP/err" || fail "$program: an unknown option gave $status"
  entry=$XDG_CONFIG_HOME/autostart/$program.desktop
  "$HORATTA_BIN/$program" --autostart on && grep -q "^Exec=.*/$program\"$" "$entry" || fail "$program --autostart on"
  if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail "$entry"; fi
  "$HORATTA_BIN/$program" --autostart off && [ ! -e "$entry" ] || fail "$program --autostart off"
done
pass "--help, --version, a wrong option (status 2) and --autostart on|off, for both programs"

start_x
store_power_off_in 6  # the countdown shows at once; the system bus is nowhere
start_program horatta
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_STICKY || fail "not sticky"
xprop -id "$WIN" _NET_WM_DESKTOP | grep -q "= 4294967295$" || fail "not on every desktop"
# Columns of the glyph area holding three or more red pixels: an empty box has only its two
# sides, the two Chinese words' strokes give many (the seconds, under ten, stand left of x=17).
glyph_columns() {
  awk "\$1>=17 && \$1<=66 && \$2>=1 && \$2<=18 { r=\$3; g=\$4; b=\$5; if ($RED) n[\$1]++ }
    END { c=0; for (x in n) if (n[x]>=3) c++; print c }" "$1"
}
best=0
for look in 1 2 3 4 5 6; do
  capture "$E2E_TMP/countdown"
  c=$(glyph_columns "$E2E_TMP/countdown")
  [ "$c" -le "$best" ] || best=$c
  sleep 0.27
done
[ "$best" -ge 10 ] || fail "the countdown's Chinese word is not drawn: $best columns with strokes"
pass "sticky on every desktop; the countdown's Chinese word is drawn ($best columns with strokes)"

expect_runs_on "no system bus"

# The tool-tip: a second window takes the focus, then the pointer rests on the time.
xdotool windowfocus "$(xdotool search --onlyvisible --name '' | grep -vx "$WIN" | head -n1)" 2>/dev/null || true
before=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)
read -r x y _ _ <<<"$(window_geometry)"
xdotool mousemove "$((x + TIME_X))" "$((y + TIME_Y))" sleep 0.1 mousemove "$((x + TIME_X + 1))" "$((y + TIME_Y))"
_tip_shown() { [ "$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)" -gt "$before" ]; }
eventually 5 _tip_shown || fail "no tool-tip on hover"
pass "the date tool-tip shows on hover"
