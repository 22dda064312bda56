#!/bin/sh
# Makes a fresh Wine prefix for one run of the Wine tests.
#   prepare_prefix.sh PREFIX_DIR
set -eu
. "$(dirname "$0")/wine_tools.sh"
glyph_require_wine
export WINEPREFIX=$1
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
xvfb-run -a -s "-screen 0 1280x800x24" sh -c '
    "$1" wineboot --init
    # Xvfb runs no window manager, so Wine must not wait for one to withdraw
    # a full-screen window (it would give up only after two seconds).
    "$1" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f
' sh "$GLYPH_WINE" >/dev/null 2>&1 || true
glyph_stop_wine
test -f "$WINEPREFIX/system.reg"
echo "Wine prefix ready: $WINEPREFIX"
