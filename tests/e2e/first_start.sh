#!/usr/bin/env bash
# A first start with no settings: where and how the strip appears, what it shows, and
# what it stores.
source "$(dirname "$0")/lib.sh"
start_x
start_program horatta

expect_geometry "907 40 67 20"
pass "maps at 907,40, 67 x 20 pixels"

props=$(xprop -id "$WIN")
grep -q '^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_ABOVE' <<<"$props" || fail "does not ask to stay above: $props"
grep -q '^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_SKIP_TASKBAR' <<<"$props" || fail "does not ask to skip the taskbar"
grep -q '^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_SKIP_PAGER' <<<"$props" || fail "does not ask to skip the pager"
# Motif hints: flags say "decorations", and the decorations are none.
grep -Eq '^_MOTIF_WM_HINTS\(_MOTIF_WM_HINTS\) = 0x2, 0x[0-9a-f]+, 0x0' <<<"$props" || fail "asks for a frame: $props"
pass "frameless, above others, out of the taskbar and the pager"

form2=$(xdotool search --name '^Form2$' | head -n1)
[ -n "$form2" ] || fail "no Form2 window"
[ -z "$(xdotool search --onlyvisible --name '^Form2$')" ] || fail "Form2 is on the screen"
pass "the hot-key window exists, and shows nowhere"

capture "$E2E_TMP/face"
red=$(count_pixels "$E2E_TMP/face" 10 1 60 16 "$RED")
[ "$red" -ge 25 ] || fail "the time is not red: $red red pixels"
read -r r g b <<<"$(mean_colour "$E2E_TMP/face" 1 2 62 18 "$RED")"
[ "$g" -gt "$r" ] && [ "$g" -gt "$b" ] && [ $((r + g + b)) -lt 240 ] || fail "the skin is not dark green: $r $g $b"
pass "red time ($red pixels) on the dark green skin ($r $g $b)"

expect_stored time "00:00:00"
memo=$(stored text)
[ "${#memo}" -eq 125 ] || fail "the default memo has ${#memo} characters: '$memo'"
[ "${memo% }" = "$memo" ] || fail "the default memo was stored with padding"
for name in time2 time3 t t9 ta tb; do
  [ -z "$(stored "$name")" ] || fail "a first start stored $name"
done
pass "time.ini holds time=00:00:00 and the default memo, and nothing else"

# The face is renewed every second.
sleep 1.2
capture "$E2E_TMP/later"
cmp -s <(awk '$2<17' "$E2E_TMP/face") <(awk '$2<17' "$E2E_TMP/later") && fail "the time did not move on"
pass "the time runs"

! grep -qi 'power-off' "$APP_LOG" || fail "power-off was asked for: $(cat "$APP_LOG")"
