# What every end-to-end script uses (sourced): its verdicts, polling, a window's place.
# E2E_NAME, when set, begins every verdict; fail_details, when defined, adds what it knows.
fail() {
  echo "${E2E_NAME:+$E2E_NAME: }FAIL: $*" >&2
  if declare -F fail_details >/dev/null; then fail_details >&2; fi
  exit 1
}
pass() { echo "${E2E_NAME:+$E2E_NAME: }ok: $*"; }

# Polls a command for up to $1 seconds (longer when the command itself takes a while).
eventually() {
  local tries=$(($1 * 20))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.05
  done
}

# "x y width height" of a window on the screen.
geometry_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print x, y, w, h}'
}
