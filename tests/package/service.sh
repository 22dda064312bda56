#!/usr/bin/env bash
# The server's systemd unit as systemd loads it, offline, since a build or a
# chroot has no systemd running: no setting it does not know, its program
# there, enough descriptors for the viewers it is told to serve, and a sandbox
# that systemd's own measure rates at most 2.0 ("OK"); beside it the sockets
# that start it, which must name it.
# Usage: service.sh UNIT SERVER [SOCKET]...     (exit 77 without systemd-analyze)
set -uo pipefail
unit=$1 server=$2
shift 2
command -v systemd-analyze >/dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL [service]: $*" >&2; exit 1; }
# The same unit, naming the server just built.
copy=$work/$(basename "$unit")
sed "s#^ExecStart=/usr/bin/glyphmarinae-server #ExecStart=$server #" "$unit" >"$copy"
grep -q "^ExecStart=$server " "$copy" || fail "the unit does not start /usr/bin/glyphmarinae-server"
cp "$@" "$work/"
out=$(systemd-analyze verify --man=no "$copy" "${@/#*\//$work/}" 2>&1) && [ -z "$out" ] || fail "systemd-analyze verify: $out"

viewers=$(sed -n 's/^Environment="GLYPH_OPTIONS=.*--max-viewers \([0-9]*\).*/\1/p' "$unit")
descriptors=$(sed -n 's/^LimitNOFILE=//p' "$unit")
[ -n "$viewers" ] && [ "$descriptors" -ge $((viewers + 64)) ] ||
  fail "LimitNOFILE=$descriptors does not hold --max-viewers ${viewers:-?} and the server's 64"

report=$(systemd-analyze security --offline=yes "$unit" 2>&1)
exposure=$(sed -n 's/.*Overall exposure level for .*: \([0-9.]*\) .*/\1/p' <<<"$report")
awk -v e="${exposure:-99}" 'BEGIN { exit !(e <= 2.0) }' || fail "exposure ${exposure:-unknown}, above 2.0: $(grep '✗' <<<"$report")"
echo "service: verified, exposure $exposure"
