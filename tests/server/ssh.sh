#!/usr/bin/env bash
# Viewing over ssh as a viewer meets it: Debian's sshd on loopback with the
# shipped settings and login shell, an account of the test's own, a host key
# made here, and the real ssh and sftp clients, in a tmux pane where it counts.
# Usage: ssh.sh TERMINAL_PROGRAM SETTINGS LOGIN_SHELL PORT CASE
# (exit 77 when not root or sshd, ssh, sftp or tmux is missing)
set -uo pipefail
program=$1 settings=$2 login_shell=$3 port=$4 case_name=$5
[ "$(id -u)" -eq 0 ] || exit 77
for tool in /usr/sbin/sshd ssh sftp ssh-keygen ssh-agent tmux useradd; do command -v "$tool" >/dev/null || exit 77; done

account="glyphssh$$"
socket="glyph-ssh-$case_name-$$"
work=$(mktemp -d)
chmod 755 "$work"
tmux_() { tmux -L "$socket" "$@"; }
cleanup() {
  tmux_ kill-server 2>/dev/null
  [ -s "$work/sshd.pid" ] && kill "$(cat "$work/sshd.pid")" 2>/dev/null
  # Processes of the test's own account only; userdel refuses while one lives.
  for _ in $(seq 50); do pids=$(pgrep -u "$account") && kill -KILL $pids && sleep 0.1 || break; done
  userdel "$account" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL [$case_name]: $*" >&2; tmux_ capture-pane -p >&2 2>/dev/null; cat "$work/sshd.log" >&2; exit 1; }
wait_for() { local tries=$1; shift; for ((; tries > 0; tries--)); do "$@" && return 0; sleep 0.1; done; return 1; }

# The shipped files as installed, but pointing at this build and this account.
cp "$program" "$work/glyphmarinae"
sed "s#/usr/bin/glyphmarinae#$work/glyphmarinae#" "$login_shell" >"$work/ssh-viewer"
chmod 755 "$work/ssh-viewer"
sed -e "s#/usr/libexec/glyphmarinae/ssh-viewer#$work/ssh-viewer#" -e "s#^Match User aquarium\$#Match User $account#" \
  "$settings" >"$work/settings.conf"
grep -q "^Match User $account\$" "$work/settings.conf" || fail "the settings have no Match User aquarium"
useradd --system --home-dir / --no-create-home --shell "$work/ssh-viewer" "$account" && passwd -d "$account" >/dev/null ||
  fail "cannot make the account"
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key" || fail "ssh-keygen"
printf '%s\n' "Include $work/settings.conf" "Port $port" "ListenAddress 127.0.0.1" "ListenAddress 127.0.0.2" \
  "HostKey $work/host_key" "PidFile $work/sshd.pid" "UsePAM yes" "Subsystem sftp /usr/lib/openssh/sftp-server" >"$work/sshd_config"
for address in 127.0.0.1 127.0.0.2; do echo "[$address]:$port $(cat "$work/host_key.pub")"; done >"$work/known_hosts"
printf 'Port %s\nUser %s\nUserKnownHostsFile %s\nStrictHostKeyChecking yes\nBatchMode yes\nConnectTimeout 20\n' \
  "$port" "$account" "$work/known_hosts" >"$work/ssh_config"
client() { ssh -F "$work/ssh_config" "$@"; }
mkdir -p /run/sshd
/usr/sbin/sshd -f "$work/sshd_config" -E "$work/sshd.log" || fail "sshd refuses the settings"
wait_for 100 test -s "$work/sshd.pid" || fail "sshd wrote no pid"
aquarium() { pgrep -u "$account" -x glyphmarinae; }

case "$case_name" in
session)
  # Agent, X11 and variables asked for: none may reach the aquarium but LANG and COLORTERM.
  eval "$(ssh-agent -s)" >/dev/null
  trap 'ssh-agent -k >/dev/null; cleanup' EXIT
  tmux_ new-session -d -x 100 -y 30 "bash --norc --noprofile" || fail "tmux did not start"
  tmux_ set-option -g status off >/dev/null
  tmux_ send-keys "clear; echo before the aquarium" Enter
  wait_for 50 eval 'tmux_ capture-pane -p | grep -q "^before the aquarium"' || fail "no shell in the pane"
  tmux_ send-keys "DISPLAY=:97 ssh -F $work/ssh_config -tt -A -X -o 'SetEnv=LANG=C.UTF-8 COLORTERM=truecolor GLYPH_SMUGGLED=1' 127.0.0.1" Enter
  rows() { tmux_ capture-pane -p | sed 's/ *$//'; }
  # The castle stands on the bottom row at a column set by the width, as in a dump of that size.
  castle=$("$program" --dump --size 100x30 | tail -1 | sed 's/ *$//' | wc -L)
  fills() { [ "$(rows | sed -n 6p | tr -cd "~" | wc -c)" -ge 40 ] && [ "$(rows | sed -n 30p | wc -L)" -eq "$castle" ]; }
  wait_for 200 fills || fail "the aquarium does not fill the 100x30 pane"
  environment=$(tr '\0' '\n' <"/proc/$(aquarium)/environ") || fail "no aquarium runs for the account"
  for wanted in LANG=C.UTF-8 COLORTERM=truecolor TERM=; do
    grep -q "^$wanted" <<<"$environment" || fail "$wanted did not reach the aquarium: $environment"
  done
  ! grep -E '^(GLYPH_SMUGGLED|SSH_AUTH_SOCK|DISPLAY)=' <<<"$environment" || fail "a variable, the agent or X11 came through"
  tmux_ send-keys x
  wait_for 100 eval '! aquarium >/dev/null' || fail "the aquarium still runs after a key"
  wait_for 100 eval 'tmux_ capture-pane -p | grep -q "^Connection to 127.0.0.1 closed"' || fail "ssh did not end"
  [ "$(tmux_ display -p '#{alternate_on}#{cursor_flag}')" = 01 ] || fail "the pane is left in the aquarium's modes"
  tmux_ capture-pane -p | grep -q "^before the aquarium" || fail "the pane is not restored"
  ! tmux_ capture-pane -p | grep -q '~~~~' || fail "the aquarium is still on the screen"
  ;;
refused)
  out=$(client 127.0.0.1 'echo ran-$((6*7)); ls /' 2>&1)
  ! grep -qx -e ran-42 -e usr <<<"$out" || fail "a command of the viewer's ran: $out"
  grep -q "needs a terminal" <<<"$out" || fail "not the aquarium's refusal: $out"
  out=$(printf 'ls /\n' | timeout 30 sftp -F "$work/ssh_config" -b - 127.0.0.1 2>&1) && fail "sftp worked: $out"
  ! grep -qx -e usr -e '/usr' <<<"$out" || fail "sftp listed files: $out"
  out=$(timeout 30 ssh -F "$work/ssh_config" -N -o ExitOnForwardFailure=yes -R "$((port + 1)):127.0.0.1:$port" 127.0.0.1 2>&1)
  grep -q "forwarding failed" <<<"$out" || fail "a remote forwarding was not refused: $out"
  # A local forwarding to sshd itself: sshd's greeting must not come back through it.
  client -N -L "$((port + 2)):127.0.0.1:$port" 127.0.0.1 2>"$work/forward.err" &
  wait_for 100 eval "exec 3<>/dev/tcp/127.0.0.1/$((port + 2))" 2>/dev/null || fail "ssh did not listen for the forwarding"
  greeting=$(timeout 10 head -c 7 <&3)
  exec 3<&-
  kill $!
  [ "$greeting" != SSH-2.0 ] || fail "a local forwarding reached sshd"
  wait_for 100 grep -q "administratively prohibited" "$work/forward.err" || fail "no refusal of the forwarding: $(cat "$work/forward.err")"
  ;;
bound)
  # Fifty connections from one address that never log in: sshd greets four, and
  # still lets in a viewer from another address but none from this one.
  held=()
  for _ in $(seq 50); do exec {fd}<>"/dev/tcp/127.0.0.1/$port" && held+=("$fd"); done
  greeted=0
  for fd in "${held[@]}"; do IFS= read -r -t 20 line <&"$fd" && [[ $line == SSH-2.0-* ]] && greeted=$((greeted + 1)); done
  [ "$greeted" -eq 4 ] || fail "$greeted of 50 connections from one address were greeted, not 4"
  out=$(client -b 127.0.0.2 127.0.0.2 true 2>&1)
  grep -q "needs a terminal" <<<"$out" || fail "a viewer from another address did not get in: $out"
  out=$(client 127.0.0.1 true 2>&1) && fail "a fifth connection from the same address got in: $out"
  grep -q -E "closed by remote host|reset by peer" <<<"$out" || fail "not refused by sshd: $out"
  ;;
hold)
  # For bench/ssh_cost.sh: the client's settings, the listening sshd and the account, then sshd
  # on until standard input ends.
  echo "$work/ssh_config $(cat "$work/sshd.pid") $account"
  cat >/dev/null
  ;;
*) fail "unknown case" ;;
esac
echo "ssh $case_name: passed"
