#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: once as
# shipped (warnings are errors) and once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)

scripts/packages.sh g++ cmake make libncurses-dev ncurses-term libgtest-dev libgmock-dev libbenchmark-dev tmux screen procps \
  g++-mingw-w64-x86-64 mingw-w64 wine wine64 xvfb xauth xdotool imagemagick valgrind clang libclang-rt-14-dev
# The X11 module and its tests: Xlib and Xft, the font, xwininfo, the daemon, pgrep.
scripts/packages.sh pkg-config libx11-dev libxft-dev fonts-dejavu-core x11-utils xscreensaver procps
# The Wayland program and its tests: the libraries, headless sway with a virtual
# seat, screenshots and keys, swayidle, sway's wallpaper and locker, weston for
# the fallback and a window that inhibits idling, KWin and its session bus
# for KDE's idle protocol and fractional scale, libdecor and its plugin for
# the title bars weston and GNOME leave to the client, and the library and the
# descriptions that the protocol tests compare the project's layer-shell and
# KDE idle ones with.
scripts/packages.sh sway swayidle swaybg swaylock grim wtype wayvnc weston wayland-utils libwayland-dev wayland-protocols libfcft-dev \
  libpixman-1-dev libdecor-0-dev libdecor-0-plugin-1-cairo libgtk-layer-shell0 plasma-wayland-protocols imagemagick kwin-wayland dbus
# Its idle source on GNOME, sd-bus, and the test of it: a bare Mutter on a
# session bus of its own.
scripts/packages.sh libsystemd-dev mutter dbus-daemon
# The streaming server and its tests: libevent, libtelnet, libsystemd for the sockets
# systemd hands over, the clients a viewer uses (ssh and sftp too), HAProxy in front,
# systemd-socket-activate and systemd-analyze for the units, ss to read the listen queue, and Debian's sshd, which
# the tests start themselves: a machine that had no ssh server is not given one
# listening on port 22 by installing it (Debian's service starts only without this file).
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W -f='${Status}' openssh-server 2>/dev/null | grep -q 'install ok installed'; then
  mkdir -p /etc/ssh && touch /etc/ssh/sshd_not_to_be_run
fi
scripts/packages.sh pkg-config libevent-dev libtelnet-dev libsystemd-dev curl telnet tmux haproxy systemd \
  openssh-server openssh-client iproute2
# The Debian package: cpack's dependency list, lintian, the copyright file's format, the manual
# page, the settings description, the menu entry.
scripts/packages.sh dpkg-dev file lintian python3-debian man-db libxml2-utils desktop-file-utils
# The Windows build's icon maker, and the check of the resources in the built files.
scripts/packages.sh libpng-dev python3-pefile
# Recordings and the tools that read them back.
scripts/packages.sh libgif-dev libpng-dev asciinema gifsicle python3
# The browser build and its tests: Emscripten, Chromium, TypeScript for the
# package's declarations, and node with npm (Debian's, unless a node of
# another origin is there already).
scripts/packages.sh emscripten chromium node-typescript
command -v node >/dev/null || scripts/packages.sh nodejs
command -v npm >/dev/null || scripts/packages.sh npm

echo "== build and test"
cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPH_WERROR=ON >/dev/null
cmake --build build-ci -j"$jobs"
ctest --test-dir build-ci --output-on-failure -j"$jobs"

echo "== build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DGLYPH_WERROR=ON -DGLYPH_SANITIZE=ON \
  -DGLYPH_WINE_TESTS=OFF -DGLYPH_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

for stage in scripts/test.d/*.sh; do
  [ -e "$stage" ] || continue
  echo "== $(basename "$stage" .sh)"
  bash "$stage"
done
echo "all tests passed"
