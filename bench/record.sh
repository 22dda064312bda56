#!/usr/bin/env bash
# Time and size of a 300-frame recording in each format at 80x24 and 240x80,
# the best of three runs each, as a Markdown table. Release build.
#   bash bench/record.sh        (GLYPH_BENCH_BUILD chooses the build directory)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GLYPH_BENCH_BUILD:-$top/build-bench}
"$top/scripts/packages.sh" g++ cmake make libncurses-dev libgtest-dev libgmock-dev libbenchmark-dev libgif-dev libpng-dev
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPH_WINE_TESTS=OFF >/dev/null
cmake --build "$build" --target glyphmarinae -j"$(nproc)" >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "| grid | format | time | size | per frame |"
echo "|---|---|---:|---:|---:|"
for size in 80x24 240x80; do
  for format in cast gif png; do
    best=
    for _ in 1 2 3; do
      start=$(date +%s%N)
      "$build/glyphmarinae" --record "$out/a.$format" --size "$size" --seed 1 --ticks 299
      took=$((($(date +%s%N) - start) / 1000000))
      [ -z "$best" ] || [ "$took" -lt "$best" ] && best=$took
    done
    bytes=$(stat -c %s "$out/a.$format")
    per_frame=$([ "$format" = png ] && echo "-" || echo "$((bytes / 300)) B")
    echo "| $size | .$format | $best ms | $bytes B | $per_frame |"
  done
done
