#!/bin/sh
# Cross-builds glyphmarinae.exe (and .scr) and the Wine test driver.
#   cross_build.sh SOURCE_DIR SCREENSAVER_BUILD_DIR DRIVER_BUILD_DIR
set -eu
. "$(dirname "$0")/wine_tools.sh"
glyph_require_mingw
source_dir=$1
saver_dir=$2
driver_dir=$3
generator=""
if command -v ninja >/dev/null 2>&1; then generator="-G Ninja"; fi

configure() {
    # The generator can only be chosen for a fresh directory.
    if [ -f "$2/CMakeCache.txt" ]; then
        cmake -S "$1" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
    else
        # shellcheck disable=SC2086
        cmake $generator -S "$1" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
    fi
}

configure "$source_dir" "$saver_dir"
cmake --build "$saver_dir" -j2
configure "$source_dir/tests/windows/driver" "$driver_dir"
cmake --build "$driver_dir" -j2

# Only system DLLs may be imported, or the .scr would not run on a bare Windows.
objdump=$(dirname "$GLYPH_MINGW_CXX")/x86_64-w64-mingw32-objdump
if [ -x "$objdump" ]; then
    imports=$("$objdump" -p "$saver_dir/glyphmarinae.exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
    echo "imports:" $imports
    for dll in $imports; do
        case $dll in
        kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | advapi32.dll) ;;
        *) echo "glyphmarinae.exe imports a non-system DLL: $dll"; exit 1 ;;
        esac
    done
fi
test -f "$saver_dir/glyphmarinae.scr"
