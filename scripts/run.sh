#!/usr/bin/env bash
# Builds the aquarium if needed and starts it in this terminal.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

"$top/scripts/packages.sh" g++ cmake make libncurses-dev libgtest-dev libbenchmark-dev
if [ ! -x "$top/build/glyphmarinae" ] || [ -n "$(find "$top/src" "$top/CMakeLists.txt" -newer "$top/build/glyphmarinae" -print -quit)" ]; then
  cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$top/build" --target glyphmarinae -j"$(nproc)" >/dev/null
fi
exec "$top/build/glyphmarinae" "$@"
