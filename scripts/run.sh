#!/usr/bin/env bash
# Builds the aquarium if needed and starts it in this terminal. The program
# alone needs only a compiler, CMake and ncurses: tests stay out of this build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build

"$top/scripts/packages.sh" g++ cmake make pkg-config libncurses-dev libgif-dev libpng-dev
if [ ! -x "$build/glyphmarinae" ] || [ -n "$(find "$top/src" "$top/cmake" "$top/packaging" "$top/CMakeLists.txt" -newer "$build/glyphmarinae" -print -quit)" ]; then
  echo "building glyphmarinae in $build ..."
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$build" --target glyphmarinae -j"$(nproc)"
fi
exec "$build/glyphmarinae" "$@"
