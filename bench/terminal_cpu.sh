#!/usr/bin/env bash
# The terminal aquarium and cmatrix side by side, each in its own 200x60 tmux
# window for the same 30 s, each at its default rate: prints the CPU time
# (user + system) each process used, as a share of one core, and their ratio.
# Usage: bash bench/terminal_cpu.sh [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The program as the run command builds it (scripts/run.sh).
build=${GLYPH_CPU_BUILD:-$top/build}
seconds=${1:-30}

"$top/scripts/packages.sh" g++ cmake make pkg-config libncurses-dev libgif-dev libpng-dev tmux cmatrix
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target glyphmarinae -j"$(nproc)" >/dev/null

socket="glyph-cpu-$$"
tmux_() { tmux -L "$socket" "$@"; }
trap 'tmux_ kill-server 2>/dev/null || true' EXIT

# exec makes each pane's first process the program itself, so pane_pid is its pid.
start() { tmux_ new-session -d -P -F '#{pane_pid}' -x 200 -y 60 -s "$1" "exec env TERM=xterm-256color $2"; }
ours=$(start ours "$build/glyphmarinae --seed 1")
theirs=$(start theirs cmatrix)
tmux_ set-option -g status off >/dev/null

# Fields 14 and 15 of /proc/PID/stat (counted after the closing parenthesis
# of the command name, which may hold blanks) are user and system time.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
sleep "$seconds"
# Whole-process figures: start-up is part of what a user pays.
ours_used=$(cpu_ticks "$ours")
theirs_used=$(cpu_ticks "$theirs")

hz=$(getconf CLK_TCK)
awk -v a="$ours_used" -v b="$theirs_used" -v hz="$hz" -v s="$seconds" 'BEGIN {
  printf "glyphmarinae: %.2f s CPU in %d s, %.2f %% of one core\n", a / hz, s, 100 * a / hz / s
  printf "cmatrix:      %.2f s CPU in %d s, %.2f %% of one core\n", b / hz, s, 100 * b / hz / s
  if (b > 0) printf "ratio:        %.3f (the aim: at most a third)\n", a / b
  exit (b > 0 && 3 * a > b) ? 1 : 0
}'
