#!/usr/bin/env bash
# The browser build: the core and the web host compiled by Emscripten, its
# dump compared byte for byte with the native build's, and the page, the
# single file and the npm package driven in Debian's headless Chromium by
# playwright-core from the lockfile in tests/web (no browser is downloaded).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${GLYPH_WEB_BUILD:-build-web}
native=$(realpath -m "${GLYPH_BUILD:-build-ci}")
. scripts/emscripten_env.sh
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1

# emcmake would run the tests under node with a switch Node 20 refuses.
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPH_WERROR=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" -DGLYPH_NATIVE_PROGRAM="$native/glyphmarinae" \
  -DGLYPH_SCREENSHOT_CHECK="$native/tests/glyph_screenshot_check" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
mkdir -p "$build/test-modules"
cp tests/web/package.json tests/web/package-lock.json "$build/test-modules/"
(cd "$build/test-modules" && npm ci --no-audit --no-fund --loglevel=error)
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
