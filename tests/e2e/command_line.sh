#!/usr/bin/env bash
# The command line of both programs, with no display to go by: the help names this user's own
# settings file, a wrong option is refused with status 2, Qt's own options reach Qt, and the
# autostart entry starts the very file that wrote it, wherever that lies, or says it could not.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
command -v desktop-file-validate >/dev/null || { echo "SKIP: desktop-file-validate is missing (scripts/setup test installs it)"; exit 77; }

# GLib reads an entry as a session does: TryExec, then Exec's escapes and quoting.
command -v gio >/dev/null || { echo "SKIP: gio is missing (scripts/setup test installs it)"; exit 77; }
for program in horatta horatta-t; do
  out=$("$HORATTA_BIN/$program" --version) || fail "$program --version failed"
  [[ $out =~ ^$program\ [0-9]+\.[0-9]+ ]] || fail "$program --version printed '$out'"
  help=$("$HORATTA_BIN/$program" --help) || fail "$program --help failed"
  # The wording is the core's; what only the running program knows is the path and its name.
  for part in "Settings: $XDG_CONFIG_HOME/qom/time.ini" "More: man $program" "-platform NAME"; do
    grep -qF -- "$part" <<<"$help" || fail "$program --help lacks '$part':"$'\n'"$help"
  done
  # Without XDG_CONFIG_HOME the settings are in the home folder's .config.
  help=$(env -u XDG_CONFIG_HOME HOME="$E2E_TMP/home" "$HORATTA_BIN/$program" -h)
  grep -qxF "Settings: $E2E_TMP/home/.config/qom/time.ini" <<<"$help" || fail "$program -h without XDG_CONFIG_HOME:"$'\n'"$help"

  for wrong in --frobnicate "-platform" "stray"; do
    status=0
    "$HORATTA_BIN/$program" $wrong >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
    [ "$status" -eq 2 ] && [ ! -s "$E2E_TMP/out" ] && grep -q "^Usage:" "$E2E_TMP/err" ||
      fail "$program $wrong gave $status: $(cat "$E2E_TMP/out" "$E2E_TMP/err")"
  done
  [ "$("$HORATTA_BIN/$program" -platform offscreen --version)" = "$out" ] || fail "$program -platform offscreen --version"
done
pass "--help names $XDG_CONFIG_HOME/qom/time.ini, the manual and the hot key; wrong options give status 2"

# Qt takes -platform: the clock runs, with no X server, on Qt's offscreen platform.
XDG_CONFIG_HOME=$E2E_TMP/offscreen "$HORATTA_BIN/horatta" -platform offscreen >"$E2E_TMP/offscreen.log" 2>&1 &
clock=$!
started() { grep -q '^text=' "$E2E_TMP/offscreen/qom/time.ini" 2>/dev/null; }
eventually 10 started || fail "horatta -platform offscreen did not start: $(cat "$E2E_TMP/offscreen.log")"
running "$clock" || fail "horatta -platform offscreen ended: $(cat "$E2E_TMP/offscreen.log")"
stop "$clock"
pass "horatta -platform offscreen runs the clock without a display"

# And -display: the clock shows on the X server it names, with no DISPLAY to go by.
start_x
display=$DISPLAY
unset DISPLAY
XDG_CONFIG_HOME=$E2E_TMP/elsewhere "$HORATTA_BIN/horatta-t" -display "$display" >"$E2E_TMP/display.log" 2>&1 &
APP_PID=$!
DISPLAY=$display await_window "horatta-t -display $display" 20
stop "$APP_PID"
pass "horatta-t -display $display shows the clock there"

# Awkward folders for the program: each entry is valid, starts that file and only while it is there.
folders=("my clock \"quoted\" 'too'" "\$HOME 100% \`date\`" "back\\slash; ünïcode & (more)" "tab	and#hash")
for folder in "${folders[@]}"; do
  mkdir -p "$E2E_TMP/$folder"
  copy=$E2E_TMP/$folder/horatta
  cp "$HORATTA_BIN/horatta" "$copy"
  entry=$XDG_CONFIG_HOME/autostart/horatta.desktop
  "$copy" --autostart on || fail "--autostart on from '$copy'"
  desktop-file-validate "$entry" || fail "an entry not valid, for '$copy':"$'\n'"$(cat "$entry")"
  # In the program's stead, a script that says which file it is. GLib looks for the program
  # before it reads "%%" as "%", so a path with a "%" is left to the writer's own unit test.
  if [[ $copy != *%* ]]; then
    cp "$copy" "$copy.real"
    printf '#!/bin/sh\nprintf %%s "$0" >"%s"\n' "$E2E_TMP/started" >"$copy"
    rm -f "$E2E_TMP/started"
    gio launch "$entry" 2>/dev/null && eventually 5 test -s "$E2E_TMP/started" && [ "$(cat "$E2E_TMP/started")" = "$copy" ] ||
      fail "the entry for '$copy' does not start it:"$'\n'"$(cat "$entry")"
    rm "$copy"
    ! gio launch "$entry" 2>/dev/null || fail "the entry for '$copy' starts something with the program gone"
    mv "$copy.real" "$copy"
  fi
  "$copy" --autostart off && [ ! -e "$entry" ] || fail "--autostart off from '$copy'"
  rm -f "$copy"
done
"$HORATTA_BIN/horatta-t" --autostart off || fail "--autostart off with no entry"
pass "autostart entries valid and starting the very file for ${#folders[@]} awkward folders; off removes them"

# A folder that cannot be made: the command says so and fails.
rm -rf "$XDG_CONFIG_HOME/autostart" && touch "$XDG_CONFIG_HOME/autostart"
status=0
"$HORATTA_BIN/horatta" --autostart on 2>"$E2E_TMP/err" || status=$?
[ "$status" -eq 1 ] && grep -q "could not be made" "$E2E_TMP/err" || fail "a failed --autostart on gave $status: $(cat "$E2E_TMP/err")"
pass "an autostart entry that cannot be written: $(cat "$E2E_TMP/err")"
