# Shared by the power-off tests (sourced after lib.sh): a private dbus-daemon that plays
# the system bus, the fake login manager on it, and ALSA pointed at a file instead of a
# sound card. Nothing here can reach the machine's own bus or power anything off.
: "${FAKE_LOGIN_MANAGER:?FAKE_LOGIN_MANAGER names the fake login manager program}"
command -v dbus-daemon >/dev/null || { echo "SKIP: dbus-daemon is missing (scripts/setup installs it)"; exit 77; }

_e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
POWER_OFF_LOG=$E2E_TMP/power-off.log
SOUND_FILE=$E2E_TMP/sound.raw

# Until a private bus is started, the system bus is nowhere.
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$E2E_TMP/no-system-bus"

# Every tone goes into one file instead of a speaker: 16-bit mono samples at 48 kHz.
cat >"$E2E_TMP/asound.conf" <<CONF
pcm.!default {
  type file
  slave.pcm { type null }
  file "$SOUND_FILE"
  format "raw"
}
CONF
export ALSA_CONFIG_PATH=$E2E_TMP/asound.conf

start_system_bus() {
  dbus-daemon --config-file="$_e2e_dir/system_bus.conf" --nofork --print-address=3 \
    3>"$E2E_TMP/bus-address" >/dev/null 2>"$E2E_TMP/bus.log" &
  _pids+=($!)
  eventually 10 test -s "$E2E_TMP/bus-address" || fail "dbus-daemon did not start: $(cat "$E2E_TMP/bus.log")"
  DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$E2E_TMP/bus-address")
  export DBUS_SYSTEM_BUS_ADDRESS
}

start_login_manager() {
  "$FAKE_LOGIN_MANAGER" "$DBUS_SYSTEM_BUS_ADDRESS" "$POWER_OFF_LOG" >"$E2E_TMP/manager.out" 2>&1 &
  _pids+=($!)
  eventually 10 grep -q '^ready$' "$E2E_TMP/manager.out" || fail "the fake login manager did not start: $(cat "$E2E_TMP/manager.out")"
}

# The PowerOff calls received so far, one line each: "<interactive> <epoch ms>".
power_off_calls() {
  [ -f "$POWER_OFF_LOG" ] || return 0
  sed -n 's/^PowerOff //p' "$POWER_OFF_LOG"
}

power_off_count() { power_off_calls | wc -l; }

_at_least_calls() { [ "$(power_off_count)" -ge "$1" ]; }
expect_power_off_calls() {  # at least n, within seconds
  eventually "${2:-3}" _at_least_calls "$1" || fail "$(power_off_count) PowerOff calls, expected at least $1"
}

# Stores a power-off time the given number of whole seconds ahead, before the program
# starts: sets POWER_OFF ("hh:mm:ss") and POWER_OFF_MS (the start of that second, in
# milliseconds since the epoch). A time that would fall on the next day, or on 00:00:00
# (which means "none"), is put off until after midnight.
store_power_off_in() {
  local ahead=$1 now target
  while :; do
    now=$(date +%s)
    target=$((now + ahead))
    POWER_OFF=$(date -d "@$target" +%H:%M:%S)
    if [ "$(date -d "@$target" +%F)" = "$(date -d "@$now" +%F)" ] && [ "$POWER_OFF" != 00:00:00 ]; then break; fi
    sleep 1
  done
  POWER_OFF_MS=$((target * 1000))
  mkdir -p "$(dirname "$INI")"
  printf '[General]\ntime=%s\n' "$POWER_OFF" >"$INI"
}

now_ms() { date +%s%3N; }

# Sleeps until the given time in milliseconds since the epoch.
sleep_until_ms() {
  local left=$(($1 - $(now_ms)))
  [ "$left" -le 0 ] || sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
}
