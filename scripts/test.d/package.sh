#!/usr/bin/env bash
# The Debian package as a user meets it: made by cpack from a build without the
# tests, checked by lintian, installed with dpkg -i, run, its manual page read,
# and removed with dpkg -r leaving nothing behind. Installing needs root; the
# system is left as it was found, so a glyphmarinae already there stops it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${GLYPH_PACKAGE_BUILD:-build-package}
fail() { echo "package: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${db:Status-Abbrev}' glyphmarinae 2>/dev/null | grep -q '^.[^n]'; }

[ "$(id -u)" -eq 0 ] || fail "installing the package with dpkg needs root"
installed && fail "a glyphmarinae package is installed already; this test would replace it"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPH_WERROR=ON -DBUILD_TESTING=OFF -DGLYPH_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >cpack.txt 2>&1) || { cat "$build/cpack.txt"; fail "cpack failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/glyphmarinae_${version}_$(dpkg --print-architecture).deb
[ -s "$deb" ] || fail "cpack made no $deb"

listing=$(dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); print substr($1, 1, 1) " " $6 }')
mapfile -t entries <<<"$listing"
wanted=(/usr/bin/glyphmarinae /usr/share/man/man6/glyphmarinae.6.gz /usr/share/doc/glyphmarinae/copyright)
depends=(libc6 libncurses libtinfo libgif7 libpng16-16)
if [ -d src/host/x11 ]; then
  wanted+=(/usr/bin/glyphmarinae-x11 /usr/libexec/xscreensaver/glyphmarinae
           /usr/share/xscreensaver/config/glyphmarinae.xml /usr/share/man/man6/glyphmarinae-x11.6.gz)
  depends+=(libx11-6 libxft2)
fi
if [ -d src/host/wayland ]; then
  wanted+=(/usr/bin/glyphmarinae-wayland /usr/share/man/man6/glyphmarinae-wayland.6.gz
           /usr/share/applications/glyphmarinae.desktop /usr/share/icons/hicolor/scalable/apps/glyphmarinae.svg
           /usr/share/glyphmarinae/autostart/glyphmarinae-wayland-idle.desktop)
  depends+=(libwayland-client0 libfcft4 libpixman-1-0 libdecor-0-0 libsystemd0)
fi
if [ -d src/host/server ]; then
  wanted+=(/usr/bin/glyphmarinae-server /usr/share/man/man6/glyphmarinae-server.6.gz
           /lib/systemd/system/glyphmarinae-server.service /usr/libexec/glyphmarinae/ssh-viewer
           /usr/share/doc/glyphmarinae/examples/glyphmarinae-ssh.conf)
  depends+=(libevent-2.1 libtelnet2)
fi
readme=$(sed -n '/^## Linux desktop/,/^## /p' README.md)
for path in "${wanted[@]}"; do
  grep -qE "^[-l] $path$" <<<"$listing" || fail "the package lacks $path"
  name=${path#/usr/share/man/man6/}
  case $path in
  /usr/share/doc/*) ;;
  /usr/share/man/*) grep -qF "\`man ${name%.6.gz}\`" <<<"$readme" || fail "the README's Linux desktop omits man ${name%.6.gz}" ;;
  *) grep -qF "\`$path\`" <<<"$readme" || fail "the README's Linux desktop omits $path" ;;
  esac
done
depends_field=$(dpkg-deb -f "$deb" Depends)
for library in "${depends[@]}"; do
  grep -q "\b$library" <<<"$depends_field" || fail "Depends names no $library: $depends_field"
done
grep -q '\blibgd' <<<"$depends_field" && fail "Depends names libgd, which nothing uses: $depends_field"
# Informational tags too: they name missing hardening and unstripped sections.
lintian -I --fail-on error,warning,info "$deb" >"$build/lintian.txt" 2>&1 ||
  { cat "$build/lintian.txt"; fail "lintian -I reports tags"; }

# What the package would add must not be there already; folders it brings
# that were missing must go again with it.
new_dirs=()
for entry in "${entries[@]}"; do
  path=${entry#? }; path=${path%/}
  if [ "${entry%% *}" = d ]; then
    [ -d "$path" ] || new_dirs+=("$path")
  elif [ -e "$path" ] || [ -L "$path" ]; then
    fail "$path exists already; installing the package would replace it"
  fi
done

trap 'installed && dpkg -r glyphmarinae >/dev/null' EXIT
dpkg -i "$deb" >/dev/null
[ "$(/usr/bin/glyphmarinae --version)" = "glyphmarinae $version" ] ||
  fail "/usr/bin/glyphmarinae --version says '$(/usr/bin/glyphmarinae --version)', the package $version"
page=$(man -l /usr/share/man/man6/glyphmarinae.6.gz 2>&1)
for text in "GLYPHMARINAE(6)" "glyphmarinae $version" "EXIT STATUS" "xscreensaver"; do
  grep -qF "$text" <<<"$page" || fail "the installed manual page shows no '$text'"
done
# Machine-readable, and giving every file the licence of LICENSE.
/usr/bin/python3 - /usr/share/doc/glyphmarinae/copyright LICENSE <<'EOF' || fail "the copyright file does not give LICENSE's MIT licence"
import sys
from debian.copyright import Copyright
licence = Copyright(open(sys.argv[1]), strict=True).find_files_paragraph('any/file').license
sys.exit(licence.synopsis != 'MIT' or licence.text.strip() != open(sys.argv[2]).read().split('\n\n', 2)[2].strip())
EOF
for program in /usr/bin/glyphmarinae*; do
  ldd "$program" | grep 'not found' && fail "$program misses a library"
done
if [ -d src/host/x11 ]; then
  [ "$(readlink -f /usr/libexec/xscreensaver/glyphmarinae)" = /usr/bin/glyphmarinae-x11 ] ||
    fail "the xscreensaver module is not the X11 program"
  [ "$(/usr/libexec/xscreensaver/glyphmarinae --version)" = "glyphmarinae-x11 $version" ] ||
    fail "the xscreensaver module's --version says '$(/usr/libexec/xscreensaver/glyphmarinae --version)'"
  [ "$(man -w glyphmarinae-x11)" -ef /usr/share/man/man6/glyphmarinae.6.gz ] || fail "man glyphmarinae-x11 finds no page"
fi
if [ -d src/host/wayland ]; then
  [ "$(/usr/bin/glyphmarinae-wayland --version)" = "glyphmarinae-wayland $version" ] ||
    fail "/usr/bin/glyphmarinae-wayland --version says '$(/usr/bin/glyphmarinae-wayland --version)'"
  [ "$(man -w glyphmarinae-wayland)" -ef /usr/share/man/man6/glyphmarinae.6.gz ] ||
    fail "man glyphmarinae-wayland finds no page"
  # The menu entry as a desktop reads it: valid, its icon and its program there.
  # The autostart entry too, which nobody's session starts until it is copied.
  for launcher in /usr/share/applications/glyphmarinae.desktop \
    /usr/share/glyphmarinae/autostart/glyphmarinae-wayland-idle.desktop; do
    desktop-file-validate "$launcher" || fail "desktop-file-validate refuses $launcher"
    [ -e "/usr/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$launcher").svg" ] ||
      fail "$launcher names an icon that is not installed"
    command -v "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$launcher")" >/dev/null || fail "$launcher starts no installed program"
  done
  grep -qx 'Exec=glyphmarinae-wayland --idle 240' /usr/share/glyphmarinae/autostart/glyphmarinae-wayland-idle.desktop ||
    fail "the autostart entry does not start the idle watcher before GNOME's five-minute blanking"
  [ -e /etc/xdg/autostart/glyphmarinae-wayland-idle.desktop ] && fail "the autostart entry is enabled for every user"
fi
if [ -d src/host/server ]; then
  [ "$(/usr/bin/glyphmarinae-server --version)" = "glyphmarinae-server $version" ] ||
    fail "/usr/bin/glyphmarinae-server --version says '$(/usr/bin/glyphmarinae-server --version)'"
  man -l /usr/share/man/man6/glyphmarinae-server.6.gz 2>&1 | grep -qF "glyphmarinae $version" ||
    fail "man glyphmarinae-server shows no 'glyphmarinae $version'"
fi

dpkg -r glyphmarinae >/dev/null
installed && fail "dpkg -r left the package installed"
for entry in "${entries[@]}"; do
  path=${entry#? }; path=${path%/}
  [ "${entry%% *}" = d ] && continue
  if [ -e "$path" ] || [ -L "$path" ]; then fail "dpkg -r left $path behind"; fi
done
for dir in "${new_dirs[@]}"; do
  [ -d "$dir" ] && fail "dpkg -r left the folder $dir behind"
done
echo "package: $(basename "$deb") passes lintian, installs, runs, shows its manual page and removes cleanly"
