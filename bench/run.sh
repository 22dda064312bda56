#!/usr/bin/env bash
# Builds the benchmarks and the soak with full optimisation and runs the
# benchmarks; any Google Benchmark option may follow, e.g.
#   bash bench/run.sh --benchmark_filter=BM_Frame
# The soak is then at $build/glyphmarinae_soak (a simulated day by default).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GLYPH_BENCH_BUILD:-$top/build-bench}

"$top/scripts/packages.sh" g++ cmake make libncurses-dev libgtest-dev libgmock-dev libbenchmark-dev libgif-dev libpng-dev
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPH_BENCH=ON -DGLYPH_WINE_TESTS=OFF >/dev/null
cmake --build "$build" --target glyphmarinae_bench glyphmarinae_soak glyphmarinae -j"$(nproc)" >/dev/null
exec "$build/glyphmarinae_bench" "$@"
