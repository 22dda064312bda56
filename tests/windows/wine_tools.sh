# Sourced by the Wine test scripts: finds the tools and sets a quiet Wine.
# Debian 12 ships 64-bit Wine as "wine" (with wine64 under /usr/lib/wine);
# other systems name it "wine64".

glyph_find() {
    for candidate in "$@"; do
        if command -v "$candidate" >/dev/null 2>&1; then
            command -v "$candidate"
            return 0
        fi
    done
    return 1
}

GLYPH_WINE=${GLYPH_WINE:-$(glyph_find wine wine64 /usr/lib/wine/wine64 || true)}
GLYPH_WINESERVER=${GLYPH_WINESERVER:-$(glyph_find wineserver wineserver64 /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver || true)}
GLYPH_MINGW_CXX=${GLYPH_MINGW_CXX:-$(glyph_find x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++ || true)}

export WINEDEBUG=-all
# No prompts to fetch Mono or Gecko: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Exit code that CTest reports as a skip.
GLYPH_SKIP=77

glyph_require_wine() {
    if [ -z "$GLYPH_WINE" ] || [ -z "$GLYPH_WINESERVER" ]; then
        echo "skipped: Wine is not installed"
        exit $GLYPH_SKIP
    fi
}

glyph_require_mingw() {
    if [ -z "$GLYPH_MINGW_CXX" ]; then
        echo "skipped: the MinGW-w64 cross compiler is not installed"
        exit $GLYPH_SKIP
    fi
}

# Ends every Wine process of the prefix, so the next test starts its own
# wineserver on its own display.
glyph_stop_wine() {
    "$GLYPH_WINESERVER" -k >/dev/null 2>&1 || true
    "$GLYPH_WINESERVER" -w >/dev/null 2>&1 || true
}
