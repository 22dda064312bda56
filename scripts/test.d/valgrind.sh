#!/usr/bin/env bash
# Memcheck over a 2,000-tick dump of a 4K-sized aquarium: any invalid access,
# use of an uninitialised value or leak fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${GLYPH_BUILD:-build-ci}
valgrind --quiet --leak-check=full --error-exitcode=1 \
  "$build/glyphmarinae" --dump --size 349x98 --ticks 2000 --seed 1 >/dev/null
echo "valgrind: no errors and no leaks over a 2,000-tick dump at 349x98"
# The recorders hold giflib and libpng state, pictures and a temporary file on every path.
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for format in cast gif png; do
  valgrind --quiet --leak-check=full --error-exitcode=1 \
    "$build/glyphmarinae" --record "$out/aquarium.$format" --ticks 20 --seed 1
done
echo "valgrind: no errors and no leaks recording 21 frames as .cast, .gif and .png"
