#!/usr/bin/env bash
# What one ssh viewer costs: VIEWERS `ssh -tt` sessions at 80x24 in tmux windows
# to Debian's sshd with the shipped settings (the sshd of tests/server/ssh.sh),
# then the proportional set size and the processor time, over SECONDS, of every
# process below the listening sshd, and the aquarium's share of that time.
# Usage, as root: bash bench/ssh_cost.sh TERMINAL_PROGRAM [VIEWERS] [SECONDS] [PORT]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=$1 viewers=${2:-20} seconds=${3:-30} port=${4:-18340}
socket="glyph-ssh-cost-$$"
tmux_() { tmux -L "$socket" "$@"; }

coproc harness { "$top/tests/server/ssh.sh" "$program" "$top/packaging/glyphmarinae-ssh.conf" \
  "$top/packaging/glyphmarinae-ssh-viewer" "$port" hold; }
read -r config listener account <&"${harness[0]}"
trap 'tmux_ kill-server 2>/dev/null; exec {harness[1]}>&-; wait' EXIT
aquariums() { pgrep -u "$account" -x glyphmarinae || true; }

# One after the other: more than four logging in at once from one address are refused.
tmux_ new-session -d -x 80 -y 24
for ((i = 1; i <= viewers; i++)); do
  tmux_ new-window -d "ssh -F $config -tt 127.0.0.1"
  for _ in $(seq 100); do [ "$(aquariums | wc -l)" -ge "$i" ] && break; sleep 0.1; done
done
[ "$(aquariums | wc -l)" -eq "$viewers" ] || { echo "only $(aquariums | wc -l) of $viewers viewers got in" >&2; exit 1; }
sleep 5

below() { local p; for p in $(pgrep -P "$1"); do echo "$p"; below "$p"; done; }
served=$(below "$listener")
drawing=$(aquariums)
ticks() { for p in "$@"; do cut -d' ' -f14,15 "/proc/$p/stat"; done | awk '{ t += $1 + $2 } END { print t }'; }
before=$(ticks $served) drawn=$(ticks $drawing)
sleep "$seconds"
after=$(ticks $served) drawn=$(($(ticks $drawing) - drawn))
pss=$(for p in $served; do awk '/^Pss:/ { print $2 }' "/proc/$p/smaps_rollup"; done | awk '{ k += $1 } END { print k }')
awk -v n="$viewers" -v procs="$(wc -w <<<"$served")" -v kib="$pss" -v t=$((after - before)) -v d="$drawn" \
  -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN {
    printf "%d viewers, %d processes: %.1f MiB each (proportional set size), %.2f %% of a core each, %d %% of it the aquarium\x27s\n",
      n, procs, kib / 1024 / n, t * 100 / hz / s / n, t ? d * 100 / t : 0 }'
