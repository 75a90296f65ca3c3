#!/usr/bin/env bash
# Double-clicks made while a tone holds the clock, on a speaker that plays in real time
# (tone_sink.py behind ALSA's file plugin), so the presses wait for the tone as on a desktop. On
# the time, the handle or the face, shown or not, each cancels the countdown or stops the alert.
source "$(dirname "$0")/lib.sh"
command -v python3 >/dev/null || { echo "SKIP: python3 is missing (scripts/setup test installs it)"; exit 77; }
SINK="$(dirname "$0")/tone_sink.py"
TRIES=${TONE_TRIES:-10}  # of each kind, in each program

tone_count() { grep -c '^start' "$TONES" || true; }
_tone_after() { [ "$(tone_count)" -gt "$1" ]; }
# Waits for tone number $1 + 1 to begin: sets TONE_MS, when it began.
next_tone() {
  eventually "${2:-8}" _tone_after "$1" || return 1
  TONE_MS=$(grep '^start' "$TONES" | sed -n "$(($1 + 1))p" | cut -d' ' -f2)
}

# A double-click made the given milliseconds into the tone that began at TONE_MS.
double_click_into_tone() {  # time, handle or face; ms into the tone
  local at_x=${1^^}_X at_y=${1^^}_Y
  point_at "${!at_x}" "${!at_y}"
  sleep_until_ms $((TONE_MS + $2))
  xdotool click --repeat 2 --delay 40 1
}

# The power-off time, the given seconds after the typing (to the next whole second): sets POWER_OFF_MS.
arm_power_off() {
  double_click_at $TIME_X $TIME_Y
  stop_blink
  POWER_OFF_MS=$((($(now_ms) + $1 * 1000 + 999) / 1000 * 1000))
  type_time "$(date -d "@$((POWER_OFF_MS / 1000))" +%H%M%S)"
}

# The reminder time 2.5 s ahead: first through the panel a double-click on the face opens, then its field.
arm_reminder() {  # first or again
  if [ "$1" = first ]; then double_click_at $FACE_X $FACE_Y && stop_blink; else click_at 35 28 && sleep 0.2; fi
  type_time "$(date -d "@$((($(now_ms) + 2500) / 1000 + 1))" +%H%M%S)"
}

TARGETS=(time handle face)
journey() {  # program: prints "<program> <cancelled> <stopped> <whole/half phases of the beeps>"
  local program=$1 try target seen calls cancelled=0 stopped=0 phases=""
  E2E_NAME=$program E2E_TMP=$E2E_TMP/$program
  INI=$E2E_TMP/config/qom/time.ini POWER_OFF_LOG=$E2E_TMP/power-off.log
  export XDG_CONFIG_HOME=$E2E_TMP/config
  trap cleanup EXIT
  mkdir -p "$XDG_CONFIG_HOME/qom"
  start_x
  start_system_bus
  TONES=$E2E_TMP/tones.log
  python3 "$SINK" "$E2E_TMP/speaker" "$TONES" &
  eventually 5 grep -qs '^ready$' "$TONES" || fail "the speaker did not start"
  sound_into "$E2E_TMP/asound.conf" "$E2E_TMP/speaker"
  ALSA_CONFIG_PATH=$E2E_TMP/asound.conf start_program "$program"

  # The countdown's first beep sounds while its caption shows, the second while it is away.
  for try in $(seq 0 $((TRIES - 1))); do
    target=${TARGETS[$((try % 3))]}
    seen=$(tone_count)
    calls=$(power_off_count)
    arm_power_off $((try % 2 ? 8 : 5))
    next_tone "$seen" || fail "no countdown beep"
    if [ $((try % 2)) -eq 1 ]; then next_tone $((seen + 1)) || fail "no second countdown beep"; fi
    phases+="$((TONE_MS % 1000 / 500))"
    double_click_into_tone "$target" $((20 + 30 * (try % 5)))
    [ "$(now_ms)" -lt "$POWER_OFF_MS" ] || fail "the beep came too late to be double-clicked before the set second"
    sleep_until_ms $((POWER_OFF_MS + 1300))
    if [ "$(power_off_count)" -eq "$calls" ]; then cancelled=$((cancelled + 1))
    else echo "$program: a double-click on the $target during a countdown beep did not cancel" >&2
      sleep 2  # the face comes back by itself
    fi
  done

  # The second beep pair of each reminder: by then the watch, looking twice a second after a
  # countdown, has started it twice over.
  for try in $(seq 0 $((TRIES - 1))); do
    target=${TARGETS[$((try % 3))]}
    seen=$(tone_count)
    arm_reminder "$([ "$try" -eq 0 ] && echo first || echo again)"
    next_tone $((seen + 1)) || fail "no second reminder beep"
    double_click_into_tone "$target" $((20 + 60 * (try % 5)))
    sleep_until_ms $((TONE_MS + 1500))
    if [ "$(tone_count)" -eq $((seen + 2)) ]; then stopped=$((stopped + 1))
    else echo "$program: a double-click on the $target during a reminder's beep pair did not stop it" >&2
      sleep 0.6
      double_click_at $FACE_X $FACE_Y  # stops it between pairs, for the next try
      sleep 0.6
    fi
  done
  running "$APP_PID" || fail "the program ended"
  echo "$program $cancelled $stopped $phases"
}

# Each program on a display, a bus and a speaker of its own.
results=()
for program in ${TONE_PROGRAMS:-horatta horatta-t}; do
  journey "$program" >"$E2E_TMP/$program.out" &
  results+=("$!")
done
for pid in "${results[@]}"; do wait "$pid" || fail "a journey failed"; done
for program in ${TONE_PROGRAMS:-horatta horatta-t}; do
  read -r _ cancelled stopped phases < <(tail -n1 "$E2E_TMP/$program.out")
  [ "$cancelled" -eq "$TRIES" ] && [ "$stopped" -eq "$TRIES" ] ||
    fail "$program: $cancelled of $TRIES countdowns cancelled, $stopped of $TRIES alerts stopped"
  [[ $phases == *0* && $phases == *1* ]] || fail "$program: the beeps fell on one half of the second only ($phases)"
  pass "$program: double-clicks during tones cancelled $cancelled of $TRIES countdowns and stopped $stopped of $TRIES alerts"
done
