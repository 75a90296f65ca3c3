#!/usr/bin/env bash
# Measures horatta over a minute in a private X server (figures, not a test):
#   HORATTA_BIN=build/linux tests/e2e/measure.sh [seconds]
# - resident memory and CPU time of horatta next to xclock -digital -update 1 (x11-apps);
# - the delay from each wall-clock second to the face showing it, seen from outside the
#   program by build/tests/e2e/face_probe.
source "$(dirname "$0")/lib.sh"
seconds=${1:-60}
probe=${FACE_PROBE:-$HORATTA_BIN/../tests/e2e/face_probe}
command -v xclock >/dev/null || { echo "xclock is missing: apt-get install x11-apps" >&2; exit 1; }
start_x
start_program horatta
xclock -digital -update 1 >/dev/null 2>&1 &
xclock_pid=$!
sleep 1

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS:/{print $2}' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)

h0=$(cpu_ticks "$APP_PID") x0=$(cpu_ticks "$xclock_pid")
"$probe" "$WIN" "$seconds" >"$E2E_TMP/changes"
h1=$(cpu_ticks "$APP_PID") x1=$(cpu_ticks "$xclock_pid")

echo "over $seconds s:"
awk -v r="$(rss_kib "$APP_PID")" -v t=$((h1 - h0)) -v hz="$hz" 'BEGIN{printf "  horatta: RSS %d KiB, CPU %.2f s\n", r, t / hz}'
awk -v r="$(rss_kib "$xclock_pid")" -v t=$((x1 - x0)) -v hz="$hz" 'BEGIN{printf "  xclock:  RSS %d KiB, CPU %.2f s\n", r, t / hz}'

# Each change of the face is a new second shown; its delay is how far into that second it came.
gaps=$(awk -F. 'NR > 1 && $1 != last + 1 { g++ } { last = $1 } END { print g + 0 }' "$E2E_TMP/changes")
cut -d. -f2 "$E2E_TMP/changes" | sed 's/^0*\([0-9]\)/\1/' | sort -n >"$E2E_TMP/delays"
n=$(wc -l <"$E2E_TMP/delays")
echo "  face: $n changes, $gaps gaps between seconds, delay median $(sed -n "$(((n + 1) / 2))p" "$E2E_TMP/delays") ms," \
  "worst $(tail -n1 "$E2E_TMP/delays") ms"
