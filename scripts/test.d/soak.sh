#!/usr/bin/env bash
# A shortened soak under AddressSanitizer and UndefinedBehaviorSanitizer:
# every rule of the scene checked after every tick, 50,000 ticks at each
# screen size, the sizes side by side. The core is built once more at -O1:
# the unoptimised sanitizer build would take minutes for the same ticks.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${GLYPH_SOAK_BUILD:-build-soak-asan}
ticks=${GLYPH_SOAK_TICKS:-50000}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DGLYPH_WERROR=ON -DGLYPH_SANITIZE=ON -DGLYPH_BENCH=ON -DGLYPH_WINE_TESTS=OFF >/dev/null
cmake --build "$build" --target glyphmarinae_soak -j"$(nproc)" >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
pids=()
for size in 80x24 240x80 349x98; do
  # Composing every tenth tick still composes every kind of scene the ticks make.
  "$build/glyphmarinae_soak" --ticks "$ticks" --compose-every 10 --seed 1 --size "$size" >"$build/soak-$size.log" 2>&1 &
  pids+=("$!")
done
failed=0
for i in "${!pids[@]}"; do wait "${pids[$i]}" || failed=1; done
cat "$build"/soak-*.log
exit "$failed"
