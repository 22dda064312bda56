#!/usr/bin/env bash
# The X11 module's whole-process cost beside xscreensaver's own xmatrix
# module: each draws the root window of its own 1920x1080 Xvfb for the same
# seconds at the same time; CPU (user + system) and peak resident memory are
# read from /proc just before both are ended. Fails when the module uses more
# than a fifth of xmatrix's CPU or more than 16 MB of memory.
#   bash bench/x11_cost.sh [SECONDS]     (default 20)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GLYPH_BENCH_BUILD:-$top/build-bench}
seconds=${1:-20}
xmatrix=/usr/libexec/xscreensaver/xmatrix

"$top/scripts/packages.sh" g++ cmake make pkg-config libncurses-dev libgtest-dev libgmock-dev libbenchmark-dev libx11-dev \
  libxft-dev fonts-dejavu-core xvfb xscreensaver-data-extra
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPH_BENCH=ON -DGLYPH_WINE_TESTS=OFF >/dev/null
cmake --build "$build" --target glyphmarinae-x11 -j"$(nproc)" >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_x() { # start_x NAME: a 1920x1080 server, its display in $display
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/$1.display" 2>/dev/null &
  pids+=("$!")
  for _ in $(seq 200); do [ -s "$work/$1.display" ] && break; sleep 0.05; done
  display=":$(cat "$work/$1.display")"
}
start_x module
DISPLAY=$display "$build/glyphmarinae-x11" --root --seed 1 &
module=$!
pids+=("$module")
start_x xmatrix
DISPLAY=$display "$xmatrix" --root &
reference=$!
pids+=("$reference")
sleep "$seconds"

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
peak_kib() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
module_ticks=$(cpu_ticks "$module")
reference_ticks=$(cpu_ticks "$reference")
module_peak=$(peak_kib "$module")
reference_peak=$(peak_kib "$reference")

share() { awk -v t="$1" -v hz="$ticks_per_second" -v s="$seconds" 'BEGIN { printf "%.2f %%", 100 * t / hz / s }'; }
echo "over $seconds s at 1920x1080 in Xvfb, side by side:"
printf "  %-32s CPU %8s of a core, peak RSS %6s KiB\n" "glyphmarinae-x11 --root" "$(share "$module_ticks")" "$module_peak"
printf "  %-32s CPU %8s of a core, peak RSS %6s KiB\n" "xmatrix --root" "$(share "$reference_ticks")" "$reference_peak"
awk -v m="$module_ticks" -v r="$reference_ticks" 'BEGIN { printf "  the module uses %.1f %% of xmatrix'"'"'s CPU\n", r ? 100 * m / r : 0 }'

status=0
[ $((module_ticks * 5)) -le "$reference_ticks" ] || { echo "FAIL: more than a fifth of xmatrix's CPU"; status=1; }
[ "$module_peak" -le 16384 ] || { echo "FAIL: peak resident memory above 16 MB"; status=1; }
exit $status
