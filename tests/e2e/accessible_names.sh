#!/usr/bin/env bash
# What a screen reader reads of the strip, on a private session and accessibility bus: the
# time as the window's name, changing with the second, the date as its description, and the
# memo field by its name once a click opens it.
source "$(dirname "$0")/lib.sh"
launcher=/usr/libexec/at-spi-bus-launcher
# pyatspi comes with the system's own Python, whatever else comes first on the path.
[ -x "$launcher" ] && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  { echo "SKIP: at-spi2-core or python3-pyatspi is missing (scripts/setup test installs them)"; exit 77; }
dbus-daemon --session --nofork --address="unix:path=$E2E_TMP/session-bus" --print-address=3 3>"$E2E_TMP/session" \
  >/dev/null 2>&1 &
eventually 10 test -s "$E2E_TMP/session" || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_TMP/session") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_x
"$launcher" --launch-immediately >"$E2E_TMP/launcher.log" 2>&1 &
start_program horatta

# Prints "<name>|<description>" of the clock's window, or with an argument the names of the
# window's descendants in that role.
read_strip() {
  /usr/bin/python3 - "$@" <<'PY' 2>>"$E2E_TMP/pyatspi.log"
import sys, pyatspi
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "horatta":
        window = app[0]
        if len(sys.argv) < 2:
            print(f"{window.name}|{window.description}")
        else:
            found = pyatspi.findAllDescendants(window, lambda a: a.getRoleName() == sys.argv[1])
            print("|".join(a.name for a in found if a.getState().contains(pyatspi.STATE_SHOWING)))
PY
}
_names_time() { STRIP=$(read_strip) && [[ "$STRIP" =~ ^[0-9]{2}:[0-9]{2}:[0-9]{2}\| ]]; }
eventually 10 _names_time || fail "the window's name is no time: '$STRIP' $(cat "$E2E_TMP/pyatspi.log")"
first=${STRIP%%|*}
[[ "${STRIP#*|}" == *"$(date +%Y)"* ]] || fail "the description holds no date: '$STRIP'"
_time_moved() { _names_time && [ "${STRIP%%|*}" != "$first" ]; }
eventually 4 _time_moved || fail "the name stayed '$first'"
pass "the strip reads as the time it shows ($first, then ${STRIP%%|*}), described by the date '${STRIP#*|}'"

click_at $FACE_X $FACE_Y
_memo_named() { [ "$(read_strip text)" = Memo ]; }
eventually 5 _memo_named || fail "no text field named Memo shows: '$(read_strip text)'"
pass "the open memo's field is named Memo"
