#!/bin/sh
# Takes the documentation's screenshot: a seeded full-screen run on a
# 1920x1080 display, once fish and a visitor have swum in.
#   make_docs_screenshot.sh LINUX_BUILD_DIR OUTPUT_PNG [SEED] [DELAY_MS]
# LINUX_BUILD_DIR is a build in which the Wine tests have run once, so that
# it holds the cross build, the driver and a Wine prefix.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
output=$2
export GLYPH_SHOT_SEED=${3:-42}
export GLYPH_SHOT_DELAY_MS=${4:-12000}
export GLYPH_WINE_SCREEN=1920x1080
checker=$(find "$build" -name glyph_screenshot_check -type f | head -n 1)
"$here/run_scenario.sh" full_screen_screenshot "$build/mingw/glyphmarinae.exe" \
    "$build/mingw-driver/glyph_wine_driver.exe" "$build/wine-prefix" "$build/docs-shot" "$checker"
cp "$build/docs-shot/full_screen_screenshot/shot.png" "$output"
echo "saved $output"
