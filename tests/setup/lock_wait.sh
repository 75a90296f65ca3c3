#!/usr/bin/env bash
# scripts/setup waits while another package manager holds a package lock, then installs; it
# gives up only after its time limit, and with nothing missing it touches no lock at all.
# apt-get and dpkg-query are stand-ins and the locks are in a scratch folder (APT_CONFIG), so
# nothing is installed and the machine's own package database is never locked.
set -euo pipefail
cd "$(dirname "$0")/../.."
tmp=$(mktemp -d /tmp/horatta-setup.XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tmp/bin" "$tmp/dpkg" "$tmp/lists" "$tmp/archives"
touch "$tmp/dpkg/lock-frontend" "$tmp/dpkg/lock" "$tmp/lists/lock" "$tmp/archives/lock"
cat >"$tmp/apt.conf" <<CONF
Dir::State::status "$tmp/dpkg/status";
Dir::State::lists "$tmp/lists/";
Dir::Cache::archives "$tmp/archives/";
CONF
# Records when it was called and how; dpkg-query knows every package as installed, or none.
cat >"$tmp/bin/apt-get" <<'FAKE'
#!/bin/sh
echo "$(date +%s.%N) $DEBIAN_FRONTEND $*" >>"$FAKE_LOG"
FAKE
cat >"$tmp/bin/dpkg-query" <<'FAKE'
#!/bin/bash
[ "${FAKE_INSTALLED:-0}" = 1 ] || exit 1
for p in "${@:3}"; do echo "installed $p"; done
FAKE
printf '#!/bin/sh\nexec "$@"\n' >"$tmp/bin/sudo"
chmod +x "$tmp"/bin/*
export PATH=$tmp/bin:$PATH APT_CONFIG=$tmp/apt.conf FAKE_LOG=$tmp/apt.log
[ "$(command -v apt-get)" = "$tmp/bin/apt-get" ] || fail "the stand-in apt-get is not the one found"

# Holds FILE for SECONDS the way KIND does, notes the time it lets go, and returns once held.
hold() {
  local kind=$1 file=$2 seconds=$3
  case "$kind" in
    posix) python3 -c 'import fcntl, sys, time
f = open(sys.argv[1], "w"); fcntl.lockf(f, fcntl.LOCK_EX); time.sleep(float(sys.argv[2]))
print("%.9f" % time.time(), file=open(sys.argv[3], "w"), flush=True)' "$file" "$seconds" "$tmp/released" & ;;
    flock) flock "$file" sh -c 'sleep "$1"; date +%s.%N >"$2"' sh "$seconds" "$tmp/released" & ;;
  esac
  local ino
  ino=$(stat -c %i "$file")
  for _ in $(seq 100); do grep -q ":$ino " /proc/locks && return; sleep 0.05; done
  fail "$kind lock on $file never taken"
}

# kind, lock, how long it is held, setup's time limit, what setup does
while read -r kind lock seconds limit expect; do
  rm -f "$tmp/apt.log" "$tmp/released"
  hold "$kind" "$tmp/$lock" "$seconds"
  set +e
  out=$(HORATTA_SETUP_LOCK_TIMEOUT=$limit scripts/setup test 2>&1)
  status=$?
  set -e
  wait
  case "$expect" in
    waits)
      [ "$status" -eq 0 ] || fail "$kind lock on $lock: setup failed: $out"
      grep -q "Waiting for another package manager to finish: .* on $tmp/$lock" <<<"$out" ||
        fail "$kind lock on $lock: setup did not say what it waits for: $out"
      [ "$(awk '{print $5}' "$tmp/apt.log" | tr '\n' ' ')" = "update install " ] ||
        fail "$kind lock on $lock: apt-get was called as: $(cat "$tmp/apt.log")"
      grep -q "noninteractive -o DPkg::Lock::Timeout=$limit install -y .* debhelper" "$tmp/apt.log" ||
        fail "$kind lock on $lock: the install does not wait for dpkg's lock: $(cat "$tmp/apt.log")"
      awk -v released="$(cat "$tmp/released")" '$1 < released { exit 1 }' "$tmp/apt.log" ||
        fail "$kind lock on $lock: apt-get ran while the lock was held"
      ;;
    gives-up)
      [ "$status" -ne 0 ] || fail "$kind lock on $lock: setup succeeded past its time limit"
      grep -q "gave up after ${limit}s" <<<"$out" || fail "$kind lock on $lock: no word of giving up: $out"
      [ ! -e "$tmp/apt.log" ] || fail "$kind lock on $lock: apt-get ran while the lock was held"
      ;;
  esac
  echo "ok: a $kind lock on $lock held ${seconds}s, limit ${limit}s: setup $expect"
done <<'TABLE'
posix dpkg/lock-frontend 3 60 waits
posix dpkg/lock 2 60 waits
flock lists/lock 2 60 waits
posix archives/lock 4 1 gives-up
TABLE

# Nothing missing: not a word, no apt-get, even while a lock is held.
rm -f "$tmp/apt.log"
hold posix "$tmp/dpkg/lock-frontend" 2
out=$(FAKE_INSTALLED=1 HORATTA_SETUP_LOCK_TIMEOUT=1 scripts/setup all 2>&1) || fail "setup with nothing missing failed: $out"
[ -z "$out" ] && [ ! -e "$tmp/apt.log" ] || fail "setup with nothing missing did something: $out"
wait
echo "ok: with nothing missing setup does nothing"
