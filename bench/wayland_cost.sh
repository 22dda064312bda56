#!/usr/bin/env bash
# The Wayland program's whole-process cost beside the X11 module's, with the
# display server of each: glyphmarinae-wayland on a 1920x1080 headless sway
# and glyphmarinae-x11 --root on a 1920x1080 Xvfb, same seed, for the same
# seconds at the same time. CPU (user + system) is read from /proc once the
# start-up is over (SETTLE seconds in) and again at the end, since a wallpaper
# left on all day costs what its steady state costs; the whole process from
# its start is printed beside it. Peak resident memory is read at the end.
# Fails when the Wayland program
# uses more than 1 % of a core, when it and sway use more than twice what
# the module and Xvfb use, or when it passes 16 MB of memory. sway refuses
# to run as root, so as root sway and its client run as nobody.
#   bash bench/wayland_cost.sh [SECONDS [SETTLE]]     (defaults 20 and 5)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GLYPH_BENCH_BUILD:-$top/build-bench}
seconds=${1:-20}
settle=${2:-5}

"$top/scripts/packages.sh" g++ cmake make pkg-config libncurses-dev libgtest-dev libgmock-dev libbenchmark-dev libx11-dev \
  libxft-dev fonts-dejavu-core xvfb libwayland-dev wayland-protocols libfcft-dev libpixman-1-dev libsystemd-dev sway
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPH_BENCH=ON -DGLYPH_WINE_TESTS=OFF >/dev/null
cmake --build "$build" --target glyphmarinae-wayland glyphmarinae-x11 -j"$(nproc)" >/dev/null

work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

as_user=()
mkdir -m 700 "$work/runtime"
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all)
  chown nobody:nogroup "$work/runtime"
fi
in_background() { env -u DISPLAY XDG_RUNTIME_DIR="$work/runtime" HOME="$work/runtime" "$@" & }
printf 'xwayland disable\noutput HEADLESS-1 mode 1920x1080\n' >"$work/sway.conf"
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  in_background "${as_user[@]}" sway -c "$work/sway.conf" >/dev/null 2>&1
compositor=$!
pids+=("$compositor")
for _ in $(seq 100); do [ -S "$work/runtime/wayland-1" ] && break; sleep 0.1; done
WAYLAND_DISPLAY=wayland-1 in_background "${as_user[@]}" "$build/glyphmarinae-wayland" --seed 1
program=$!
pids+=("$program")

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/x.display" 2>/dev/null &
server=$!
pids+=("$server")
for _ in $(seq 200); do [ -s "$work/x.display" ] && break; sleep 0.05; done
DISPLAY=":$(cat "$work/x.display")" "$build/glyphmarinae-x11" --root --seed 1 &
module=$!
pids+=("$module")
ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
peak_kib() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
declare -A ticks peak settled whole
sleep "$settle"
for name in program compositor module server; do settled[$name]=$(cpu_ticks "${!name}"); done
sleep "$seconds"
for name in program compositor module server; do
  whole[$name]=$(cpu_ticks "${!name}")
  ticks[$name]=$((whole[$name] - settled[$name]))
  peak[$name]=$(peak_kib "${!name}")
done

share() { awk -v t="$1" -v hz="$ticks_per_second" -v s="$2" 'BEGIN { printf "%.2f %%", 100 * t / hz / s }'; }
row() {
  printf "  %-32s CPU %8s of a core (%s from its start), peak RSS %7s KiB\n" "$1" "$(share "${ticks[$2]}" "$seconds")" \
    "$(share "${whole[$2]}" $((seconds + settle)))" "${peak[$2]}"
}
echo "over $seconds s at 1920x1080 after $settle s of start-up, side by side:"
row "glyphmarinae-wayland" program
row "sway (headless, pixman)" compositor
row "glyphmarinae-x11 --root" module
row "Xvfb" server
wayland_total=$((ticks[program] + ticks[compositor]))
x11_total=$((ticks[module] + ticks[server]))
awk -v w="$wayland_total" -v x="$x11_total" \
  'BEGIN { printf "  program and server: Wayland %.2f of X11\n", x ? w / x : 0 }'

status=0
# 1 % of a core over the run, in clock ticks: seconds * CLK_TCK / 100.
[ $((ticks[program] * 100)) -le $((seconds * ticks_per_second)) ] || { echo "FAIL: more than 1 % of a core"; status=1; }
[ "$wayland_total" -le $((2 * x11_total)) ] || { echo "FAIL: with sway more than twice the X11 module with Xvfb"; status=1; }
[ "${peak[program]}" -le 16384 ] || { echo "FAIL: peak resident memory above 16 MB"; status=1; }
exit $status
