#!/bin/sh
# Runs one scenario of the Wine test driver on a display of its own.
#   run_scenario.sh SCENARIO SCREENSAVER_EXE DRIVER_EXE PREFIX_DIR OUT_DIR SCREENSHOT_CHECK
# GLYPH_WINE_SCREEN sets the display size (default 1280x800).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_tools.sh"
glyph_require_wine

if [ -z "${GLYPH_IN_XVFB:-}" ]; then
    export GLYPH_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 ${GLYPH_WINE_SCREEN:-1280x800}x24" "$here/run_scenario.sh" "$@"
fi

scenario=$1
saver=$2
driver=$3
export WINEPREFIX=$4
out_dir=$5/$scenario
checker=$6
rm -rf "$out_dir"
mkdir -p "$out_dir"
trap glyph_stop_wine EXIT

if [ "$scenario" != full_screen_screenshot ]; then
    "$GLYPH_WINE" "$driver" "$scenario" "$saver" "$out_dir"
    exit $?
fi

# The screenshot is taken from the X server, outside Wine, while the driver
# keeps the screensaver running.
"$GLYPH_WINE" "$driver" "$scenario" "$saver" "$out_dir" &
driver_pid=$!
waited=0
while [ ! -f "$out_dir/ready" ] && [ $waited -lt 600 ] && kill -0 $driver_pid 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
done
shot_status=1
if [ -f "$out_dir/ready" ]; then
    read -r cell_width cell_height screen_width screen_height <"$out_dir/ready"
    echo "cell ${cell_width}x${cell_height} on a ${screen_width}x${screen_height} screen"
    import -window root "$out_dir/shot.png"
    sleep 1
    import -window root "$out_dir/later.png"
    convert "$out_dir/shot.png" -depth 8 "$out_dir/shot.ppm"
    convert "$out_dir/later.png" -depth 8 "$out_dir/later.ppm"
    if "$checker" "$out_dir/shot.ppm" "$cell_width" "$cell_height" "$out_dir/later.ppm"; then shot_status=0; fi
    rm -f "$out_dir/shot.ppm" "$out_dir/later.ppm"
    echo "screenshots: $out_dir/shot.png $out_dir/later.png"
else
    echo "FAIL the driver never reported the screensaver ready"
fi
touch "$out_dir/shot-done"
driver_status=0
wait $driver_pid || driver_status=$?
[ $shot_status -eq 0 ] && [ $driver_status -eq 0 ]
