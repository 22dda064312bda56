#!/usr/bin/env bash
# The module under Debian's real xscreensaver daemon on Xvfb: activating the
# screensaver shows the aquarium; deactivating it ends the module within a
# few seconds, leaving no process behind and no word from the sanitizers in
# the daemon's log, where the module's errors go. The daemon refuses to launch modules as
# root, so as root the test runs it as an ordinary user, made if missing.
# Usage: daemon.sh PROGRAM SCREENSHOT_CHECK OUT_DIR   (exit 77 without xscreensaver)
set -uo pipefail
program=$1
checker=$2
out=$3/daemon
for tool in Xvfb xscreensaver xscreensaver-command import convert; do command -v "$tool" >/dev/null || exit 77; done
rm -rf "$out"
mkdir -p "$out"
. "$(dirname "$0")/x11_tools.sh"
. "$(dirname "$0")/../screenshot/program_tools.sh"

fail() { echo "FAIL [daemon]: $*" >&2; [ -n "${work:-}" ] && tail -n 20 "$work/daemon.log" >&2; exit 1; }

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  command -v runuser >/dev/null || exit 77
  id glyphtest >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin glyphtest ||
    fail "cannot create the user glyphtest"
  as_user=(runuser -u glyphtest --)
fi

# A home and a copy of the module that the user can read, wherever the
# build folder lies.
work=$(mktemp -d /tmp/glyph-daemon.XXXXXX)
chmod 755 "$work"
cp "$program" "$work/glyphmarinae-x11"
chmod 755 "$work/glyphmarinae-x11"
module_running() { pgrep -f "^$work/glyphmarinae-x11" >/dev/null; }
cat >"$work/.xscreensaver" <<EOF
mode:		one
selected:	0
programs:	$work/glyphmarinae-x11 --root
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
timeout:	0:30:00
EOF
share_suppressions "$work"
[ ${#as_user[@]} -gt 0 ] && chown -R glyphtest "$work"

xvfb_pid=
daemon_pid=
cleanup() {
  if [ -n "$daemon_pid" ]; then
    command_ -exit >/dev/null 2>&1
    for _ in $(seq 20); do kill -0 "$daemon_pid" 2>/dev/null || break; sleep 0.1; done
    kill -TERM "$daemon_pid" 2>/dev/null
    wait "$daemon_pid" 2>/dev/null
  fi
  [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Without access control, so that the daemon's user may connect; the server
# listens on no network.
start_x 1280x720 -ac

command_() { "${as_user[@]}" env HOME="$work" DISPLAY="$DISPLAY" xscreensaver-command "$@"; }
# Beside other X clients starting and stopping (the Wine tests) Debian's
# xscreensaver 6.06 now and then exits with status 1 just after it starts,
# saying nothing; such a start is tried again, at most three times.
for attempt in 1 2 3; do
  "${as_user[@]}" env HOME="$work" DISPLAY="$DISPLAY" xscreensaver -no-splash -verbose >"$work/daemon.log" 2>&1 &
  daemon_pid=$!
  for _ in $(seq 600); do
    command_ -time >/dev/null 2>&1 && break 2
    kill -0 "$daemon_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$daemon_pid" 2>/dev/null && fail "the daemon runs but does not answer"
  wait "$daemon_pid" 2>/dev/null
  echo "the daemon ended as it started (attempt $attempt, status $?)"
  daemon_pid=
done
command_ -time >/dev/null 2>&1 || fail "the daemon did not start"

command_ -activate >/dev/null || fail "xscreensaver-command -activate failed"
for _ in $(seq 300); do module_running && break; sleep 0.1; done
module_running || fail "the daemon did not launch the module"
shoot_aquarium root active

command_ -deactivate >/dev/null || fail "xscreensaver-command -deactivate failed"
# The module ends in a few milliseconds; a sanitized one on a slow machine
# takes seconds to check its memory at the exit. A hang runs on for ever.
waited=0
while module_running; do
  sleep 0.05
  waited=$((waited + 50))
  [ "$waited" -gt 10000 ] && fail "the module still runs ten seconds after -deactivate"
done
grep -q 'Sanitizer' "$work/daemon.log" && fail "the sanitizers reported on the module"
echo "deactivated: the module ended within $waited ms"
exit 0
