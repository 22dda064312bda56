#!/usr/bin/env bash
# Runs every benchmark once, briefly, on scenes that are warmed up only
# shortly: this checks that they run, never how fast.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${GLYPH_BUILD:-build-ci}
"$build/glyphmarinae_bench" --short-warm-up --benchmark_min_time=0.001 >"$build/bench-brief.txt" 2>&1
echo "benchmarks: $(grep -c '^BM_' "$build/bench-brief.txt") ran (output in $build/bench-brief.txt)"
