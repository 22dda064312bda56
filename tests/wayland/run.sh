#!/usr/bin/env bash
# The Wayland program as a person meets it, each case in a headless sway (or
# weston) of its own: look at it on one and two outputs, type, click, move
# the mouse, resize and scale the output, idle into it, signal it, pull the
# compositor away, and run it under Valgrind. sway refuses to run as root,
# so as root the compositor and every client run as nobody.
# Usage: run.sh PROGRAM SCREENSHOT_CHECK OUT_DIR CASE GNOME_STANDIN   (exit 77 without sway)
set -uo pipefail
checker=$2
results=$3/$4
case_name=$4
here=$(cd "$(dirname "$0")" && pwd)
for tool in sway wayvnc grim wtype swaymsg convert; do command -v "$tool" >/dev/null || exit 77; done
rm -rf "$results"
mkdir -p "$results"
# The case works in a folder of its own under /tmp, with a copy of the
# program, wherever the build lies (under /root, nobody could reach it);
# what it leaves there is kept in the results folder.
out=$(mktemp -d /tmp/glyph-wayland.XXXXXX)
chmod 755 "$out"
program=$out/glyphmarinae-wayland
cp "$1" "$program"
mkdir -p "$out/runtime" "$out/home"
chmod 700 "$out/runtime"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all)
  chown -R nobody:nogroup "$out"
fi
export XDG_RUNTIME_DIR=$out/runtime HOME=$out/home
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK DBUS_SESSION_BUS_ADDRESS
server_pid=
vnc_pid=
desktop_pid= daemon_pid=
pid=
kwin_pid=
bus_pid=
cleanup() {
  for p in $pid $kwin_pid $vnc_pid $server_pid $desktop_pid $daemon_pid; do kill -TERM "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  # KWin is not this shell's child; its session ends the bus once it is gone.
  [ -z "$bus_pid" ] || wait "$bus_pid"
  find "$out" -maxdepth 1 -type f ! -name glyphmarinae-wayland -exec cp {} "$results" \;
  rm -rf "$out"
}
trap cleanup EXIT
fail() { echo "FAIL [$case_name]: $*" >&2; [ -s "$out/stderr" ] && cat "$out/stderr" >&2; exit 1; }
user() { "${as_user[@]}" "$@"; }
# exec, so that $! is the program itself and not a shell around it.
in_background() { "${as_user[@]}" sh -c 'exec "$@"' - "$@" & }

start_sway() { # sway with one 1280x800 output and a virtual seat
  printf 'xwayland disable\noutput HEADLESS-1 mode 1280x800\n%s\n' "${1:-}" >"$out/sway.conf"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 in_background sway -c "$out/sway.conf" \
    >"$out/sway.log" 2>&1
  server_pid=$!
  for _ in $(seq 100); do ls "$XDG_RUNTIME_DIR"/sway-ipc.* >/dev/null 2>&1 && break; sleep 0.1; done
  export SWAYSOCK WAYLAND_DISPLAY
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.* 2>/dev/null) || fail "sway did not start"
  WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-? | head -n 1)")
  # wayvnc gives the seat the pointer and keyboard that swaymsg and wtype
  # drive; one killed with its sway leaves its socket behind.
  rm -f "$XDG_RUNTIME_DIR/vnc.sock"
  in_background wayvnc -C /dev/null -u "$XDG_RUNTIME_DIR/vnc.sock" >"$out/wayvnc.log" 2>&1
  vnc_pid=$!
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/vnc.sock" ] && break; sleep 0.1; done
}
# The colour of the output's pixel at X,Y, as #RRGGBB.
pixel() { user grim -g "$1 1x1" - | convert - -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
sway_do() { user swaymsg -- "$@" >/dev/null || fail "swaymsg $* was refused"; }
launch() { in_background "$program" "$@" >"$out/stdout" 2>"$out/stderr"; pid=$!; }
. "$here/../screenshot/program_tools.sh"
share_suppressions "$out"
# Two shots a second apart until they show the aquarium moving on; the
# check's report is kept beside them. grim's arguments choose an output or
# a rectangle.
shoot() { # shoot NAME [GRIM_ARGS...]
  local shot=$out/$1
  for _ in $(seq 10); do
    user grim "${@:2}" "$shot.png" && sleep 1 && user grim "${@:2}" "$shot-later.png" && check_shots "$shot" && break
  done
  shots_verdict "$shot" "$1"
}
# The desktop: one colour but for the cursor.
plain() { convert "$out/$1.png" -format %c histogram:info: | sort -rn | awk 'NR == 1 { exit !($1 > 1000000) }'; }
# KWin as a window of sway's, so that grim sees it and wtype and sway's
# cursor reach it. The packaged binary's file capability cannot be run here,
# and KWin loads its own Qt platform only under its own name: a copy, so
# named. KWin outlives a session bus that is killed, so KWin is ended
# instead. Its clients connect to kwin-test.
start_kwin() { # start_kwin [KWIN_ARGS...]
  mkdir -p "$out/bin" && cp "$(command -v kwin_wayland)" "$out/bin/kwin_wayland" && chmod 755 "$out/bin"
  KWIN_COMPOSE=Q in_background dbus-run-session -- "$out/bin/kwin_wayland" --wayland-display "$WAYLAND_DISPLAY" \
    --width 1280 --height 800 --socket kwin-test --no-lockscreen "$@" >"$out/kwin.log" 2>&1
  bus_pid=$!
  for _ in $(seq 300); do [ -S "$XDG_RUNTIME_DIR/kwin-test" ] && break; sleep 0.1; done
  kwin_pid=$(pgrep -P "$bus_pid" -x kwin_wayland) || { kill -TERM "$bus_pid"; fail "KWin did not start"; }
}
case "$case_name" in
overlay)
  # The pointer waits in the sky over the water, where the aquarium leaves the
  # screen black and a pointer drawn there shows.
  start_sway
  sway_do seat - cursor set 640 5
  launch --seed 21
  shoot overlay
  sway_do create_output
  sleep 1
  shoot second-output -o HEADLESS-2
  user grim -g '630,0 30x30' "$out/pointer.png"
  [ "$(convert "$out/pointer.png" -colorspace gray -threshold 10% -format '%[fx:round(mean*w*h)]' info:)" -lt 10 ] ||
    fail "the pointer came back over the overlay when an output was plugged in"
  cmp -s "$out/overlay.png" "$out/second-output.png" && fail "both outputs show the same picture"
  user wtype -s 300 q
  expect_exit 0 30 "a key"
  ;;
outputs)
  # Only the outputs named, one of them plugged in while it runs.
  start_sway
  sway_do create_output
  user "$program" --output HEADLESS-9 2>"$out/refusal"
  [ $? -eq 1 ] && [ "$(wc -l <"$out/refusal")" -eq 1 ] || fail "no output of the name is not one line and status 1"
  launch --output HEADLESS-2 --output HEADLESS-3 --seed 32
  shoot named -o HEADLESS-2
  user grim -o HEADLESS-1 "$out/unnamed.png"
  [ "$(pixel 640,400)" = '#3F3F3F' ] || fail "an output --output does not name is covered"
  sway_do create_output
  sleep 1
  shoot plugged -o HEADLESS-3
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM"
  ;;
input)
  start_sway
  launch --seed 22
  sleep 1
  sway_do seat - cursor move 40 40
  sway_do seat - cursor move 40 40
  still_running "a movement within the grace period"
  sway_do seat - cursor press button2
  sway_do seat - cursor release button2
  still_running "a middle click"
  sleep 2
  sway_do seat - cursor move 40 40
  expect_exit 0 30 "a movement after the grace period"
  for button in button1 button3; do
    launch --seed 22
    sleep 1
    sway_do seat - cursor move 10 10
    sway_do seat - cursor press "$button"
    expect_exit 0 30 "a press of $button"
  done
  launch --seed 22
  sleep 1
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM"
  ;;
resize)
  # Larger and then scaled: an aquarium still laid out for the old size
  # would have its castle away from the new bottom right corner.
  start_sway
  launch --seed 23
  sleep 1
  sway_do output HEADLESS-1 mode 1600x1000
  sleep 1
  shoot larger
  sway_do output HEADLESS-1 scale 2
  sleep 1
  shoot scaled
  # The font is sized in buffer pixels: drawn at scale 2, the cell keeps its
  # pixel size; drawn at scale 1 and enlarged, it would double.
  [ "$(head -n 1 "$out/scaled.check")" = "$(head -n 1 "$out/larger.check")" ] || fail "scale 2 is not drawn sharp"
  kill -INT "$pid"
  expect_exit 0 30 "SIGINT"
  ;;
background)
  # A wallpaper over sway's own (swaybg's, in magenta), which is there first:
  # keys and clicks go to the window over it, not to it.
  command -v swaybg >/dev/null || exit 77
  start_sway 'for_window [app_id="glyphmarinae"] floating enable, resize set 640 400, move position 320 200
output * bg #ff00ff solid_color'
  for _ in $(seq 50); do [ "$(pixel 0,0)" = '#FF00FF' ] && break; sleep 0.1; done
  launch --background --seed 24
  shoot background
  user sh -c 'exec "$@"' - "$program" --window --seed 25 2>"$out/window.stderr" &
  window_pid=$!
  sleep 1
  user grim "$out/under-window.png"
  user wtype -s 300 q
  wait "$window_pid" || fail "the window did not end with status 0 on a key"
  still_running "a key while a window has the keyboard"
  sway_do seat - cursor move -600 -390
  sway_do seat - cursor press button1
  sway_do seat - cursor release button1
  still_running "a click on the wallpaper"
  kill -HUP "$pid"
  expect_exit 0 30 "SIGHUP"
  ;;
window)
  # Borderless, so that the window's picture is the output's.
  start_sway 'default_border none'
  # sway draws decorations when asked, so the window asks for them.
  WAYLAND_DEBUG=1 launch --window --seed 26
  for _ in $(seq 50); do grep -q 'zxdg_toplevel_decoration_v1@[0-9]*\.set_mode(2)' "$out/stderr" && break; sleep 0.1; done
  grep -q 'zxdg_toplevel_decoration_v1@[0-9]*\.set_mode(2)' "$out/stderr" || fail "no server-side decorations asked of sway"
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM to the window"
  launch --window --seed 26
  for _ in $(seq 50); do user swaymsg -t get_tree | grep -q '"name": "Glyphmarinae"' && break; sleep 0.1; done
  user swaymsg -t get_tree | grep -q '"name": "Glyphmarinae"' || fail "no window titled Glyphmarinae"
  shoot window
  # The window takes the scale of the output it is on when that changes,
  # though the compositor has no new output to tell it it entered.
  sway_do output HEADLESS-1 scale 2
  sleep 1
  shoot window-scaled
  [ "$(head -n 1 "$out/window-scaled.check")" = "$(head -n 1 "$out/window.check")" ] ||
    fail "the window at scale 2 is not drawn sharp"
  sway_do '[app_id="glyphmarinae"]' kill
  expect_exit 0 30 "the compositor's close request"
  ;;
locker)
  # A locker over the aquarium, in a colour of its own: the aquarium leaves
  # the screen to it at once, though nobody touched a key or the mouse.
  command -v swaylock >/dev/null || exit 77
  start_sway
  launch --seed 31
  shoot before-lock
  in_background swaylock -c 336699 >"$out/swaylock.log" 2>&1
  locker_pid=$!
  expect_exit 0 30 "a locker took the keyboard"
  sleep 0.5
  user grim "$out/locked.png"
  [ "$(pixel 640,400)" = '#336699' ] || fail "the locker's colour is not on the screen"
  kill -TERM "$locker_pid"
  # The idle watcher hides instead, lives on, and stays off the lock after
  # the next idle time.
  launch --idle 1 --seed 32
  shoot before-lock-watcher
  in_background swaylock -c 336699 >"$out/swaylock.log" 2>&1
  locker_pid=$!
  still_running "a locker took the keyboard from the watcher"
  sway_do seat - cursor move 40 40
  sleep 2.5
  user grim "$out/locked.png"
  [ "$(pixel 640,400)" = '#336699' ] || fail "the watcher's aquarium came back over the lock"
  kill -TERM "$locker_pid" "$pid"
  expect_exit 0 30 "SIGTERM"
  ;;
idle)
  command -v swayidle >/dev/null || exit 77
  start_sway
  printf '#!/bin/sh\necho $$ >"%s"\nexec "%s" --seed 27\n' "$out/saver.pid" "$program" >"$out/saver.sh"
  chmod 755 "$out/saver.sh"
  in_background swayidle timeout 1 "$out/saver.sh" >"$out/swayidle.log" 2>&1
  idle_pid=$!
  for _ in $(seq 50); do [ -s "$out/saver.pid" ] && break; sleep 0.1; done
  [ -s "$out/saver.pid" ] || fail "swayidle did not start it after a second of idleness"
  shoot idle
  saver=$(cat "$out/saver.pid")
  user wtype -s 300 q
  for _ in $(seq 30); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$saver" 2>/dev/null && fail "a key did not end the saver swayidle started"
  kill -TERM "$idle_pid"
  ;;
watcher)
  # Its own idle watcher, with sway 1.7's KDE idle protocol: nothing before
  # the idle time, the aquarium after, hidden by a key and a new one after
  # the next idle time, kept away by a window that inhibits idling.
  command -v weston-terminal >/dev/null && command -v swayidle >/dev/null || exit 77
  start_sway 'for_window [app_id="org.freedesktop.weston.wayland-terminal"] inhibit_idle open'
  # Another idle client, whose time the aquarium's drawing must not put off.
  in_background swayidle timeout 3 "touch $out/still-idle" >"$out/swayidle.log" 2>&1
  idle_pid=$!
  launch --idle 2 --seed 31
  sleep 0.5
  user grim "$out/before-idle.png"
  plain before-idle || fail "something shows before the idle time"
  shoot watcher
  user "$program" --idle 5 2>"$out/second.stderr"
  [ $? -eq 1 ] && [ "$(wc -l <"$out/second.stderr")" -eq 1 ] || fail "a second watcher is not one line and status 1"
  for _ in $(seq 30); do [ -e "$out/still-idle" ] && break; sleep 0.1; done
  [ -e "$out/still-idle" ] || fail "the seat was not idle for three seconds while the aquarium showed"
  kill -TERM "$idle_pid"
  user wtype -s 300 q
  still_running "a key"
  user grim "$out/hidden.png"
  plain hidden || fail "a key did not hide it"
  shoot watcher-again
  cmp -s "$out/watcher.png" "$out/watcher-again.png" && fail "the second showing is the first aquarium again"
  user wtype -s 300 q
  in_background env SHELL=/bin/sh weston-terminal >"$out/terminal.log" 2>&1
  terminal_pid=$!
  sleep 4
  user grim "$out/inhibited.png" && sleep 1 && user grim "$out/inhibited-later.png" && check_shots "$out/inhibited"
  grep -q '(water)' "$out/inhibited.check" && fail "it showed over a window that inhibits idling"
  kill -TERM "$terminal_pid"
  # As across a suspend: the compositor and the watcher frozen a while, then
  # thawed; it goes on waiting and shows after the next idle time.
  kill -STOP "$server_pid" "$pid" && sleep 3 && kill -CONT "$server_pid" "$pid"
  still_running "a suspend and resume"
  shoot watcher-resumed
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM"
  ;;
kwin)
  # KWin 5.27's idle protocol: nothing before the idle time, the aquarium
  # after, hidden by a key and then by the mouse, and it lives on.
  command -v kwin_wayland >/dev/null && command -v dbus-run-session >/dev/null || exit 77
  start_sway 'default_border none'
  start_kwin
  WAYLAND_DISPLAY=kwin-test launch --idle 2 --seed 33
  sleep 0.5
  user grim "$out/kwin-before.png"
  plain kwin-before || fail "something shows under KWin before the idle time"
  shoot kwin-idle
  user wtype -s 300 q
  still_running "a key under KWin"
  user grim "$out/kwin-hidden.png"
  plain kwin-hidden || fail "a key did not hide it under KWin"
  shoot kwin-again
  sleep 1 # the mouse's grace period, counted from this showing
  sway_do seat - cursor move 40 40
  still_running "a mouse movement under KWin"
  user grim "$out/kwin-moved.png"
  plain kwin-moved || fail "a mouse movement did not hide it under KWin"
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM under KWin"
  ;;
kwin_scale)
  # At 125 %, where KWin's wl_output says 2, only the fractional scale gives
  # the output's real pixels: a buffer of 1600x1000, shown one to one. On a
  # sway output at scale 2, KWin's window is that many pixels as well.
  command -v kwin_wayland >/dev/null && command -v dbus-run-session >/dev/null || exit 77
  start_sway 'output HEADLESS-1 mode 2560x1600 scale 2
default_border none'
  start_kwin --scale 1.25
  WAYLAND_DEBUG=1 WAYLAND_DISPLAY=kwin-test launch --seed 34
  shoot kwin-scaled -g '240,150 800x500'
  grep -o 'create_buffer([^)]*' "$out/stderr" | tail -n 1 | grep -q ', 0, 1600, 1000, ' ||
    fail "the buffer at 125 % is not 1600x1000"
  grep -q 'set_destination(1280, 800)' "$out/stderr" || fail "the viewport does not show it at 1280x800"
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM under KWin"
  ;;
replugged)
  # Unplugged and plugged in again while the aquarium shows, the watcher's
  # too: headless outputs cannot be disabled, so a nested sway's output is
  # a window of the outer one, closed to unplug it.
  start_sway 'default_border none'
  outer=$WAYLAND_DISPLAY outer_ipc=$SWAYSOCK
  printf 'xwayland disable\n' >"$out/inner.conf"
  WLR_BACKENDS=wayland WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 in_background sway -c "$out/inner.conf" \
    >"$out/inner.log" 2>&1
  server_pid="$! $server_pid" # the inner one ends first
  for _ in $(seq 100); do [ "$(ls "$XDG_RUNTIME_DIR"/sway-ipc.* | wc -l)" -eq 2 ] && break; sleep 0.1; done
  inner_ipc=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.* | grep -vxF "$outer_ipc") || fail "the nested sway did not start"
  inner=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-? | grep -v "/$outer\$" | head -n 1)")
  for args in '--seed 33' '--idle 2 --seed 34'; do
    WAYLAND_DISPLAY=$inner launch $args
    shoot "before${args// /}"
    sway_do '[app_id="wlroots"] kill'
    sleep 1
    still_running "its only output went ($args)"
    SWAYSOCK=$inner_ipc sway_do create_output
    shoot "again${args// /}"
    kill -TERM "$pid"
    expect_exit 0 30 "SIGTERM ($args)"
  done
  ;;
gone)
  # Showing, and as an idle watcher waiting without a timeout.
  for args in '--seed 28' '--idle 60'; do
    start_sway
    launch $args
    sleep 1
    kill -TERM "$vnc_pid" "$server_pid"
    wait "$server_pid"
    vnc_pid= server_pid=
    # Status 1 and not a signal: no crash, no core, and nothing said.
    expect_exit 1 30 "the compositor went away from $args"
    [ -s "$out/stderr" ] && fail "it wrote on stderr when the compositor went away from $args"
  done
  WAYLAND_DISPLAY=wayland-none "$program" 2>"$out/stderr"
  [ $? -eq 1 ] && [ "$(wc -l <"$out/stderr")" -eq 1 ] || fail "no compositor is not one line and status 1"
  ;;
weston)
  # weston has no layer shell: fullscreen windows instead, with a notice.
  command -v weston >/dev/null && command -v weston-screenshooter >/dev/null || exit 77
  in_background weston --backend=headless-backend.so --use-pixman --debug --socket=wayland-w >"$out/weston.log" 2>&1
  server_pid=$!
  export WAYLAND_DISPLAY=wayland-w
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-w" ] && break; sleep 0.1; done
  user "$program" --background 2>"$out/stderr"
  [ $? -eq 1 ] && [ "$(wc -l <"$out/stderr")" -eq 1 ] || fail "--background without a layer shell is not one line and status 1"
  user "$program" --idle 5 2>"$out/stderr"
  [ $? -eq 1 ] && grep -q 'kwin_idle.*Mutter.IdleMonitor' "$out/stderr" || fail "--idle without an idle source is not status 1"
  launch --seed 29
  sleep 2
  grep -q 'no layer shell' "$out/stderr" || fail "no notice of the fallback"
  for _ in $(seq 10); do
    rm -f "$out"/wayland-screenshot*.png
    (cd "$out" && user weston-screenshooter) && mv "$out"/wayland-screenshot*.png "$out/fallback.png" && sleep 1 &&
      (cd "$out" && user weston-screenshooter) && mv "$out"/wayland-screenshot*.png "$out/fallback-later.png" &&
      check_shots "$out/fallback" && break
  done
  shots_verdict "$out/fallback" fallback
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM"
  # weston decorates no window: libdecor draws a title bar, in its plugin's
  # grey for a window without the keyboard, a few rows of it under weston's panel.
  title_grey() { convert "$out/decorated.png" -fill black +opaque '#303030' -fill white -opaque '#303030' \
    -format '%[fx:round(mean*w*h)]' info:; }
  launch --window --seed 35
  for _ in $(seq 20); do
    sleep 0.5
    rm -f "$out"/wayland-screenshot*.png
    (cd "$out" && user weston-screenshooter) && mv "$out"/wayland-screenshot*.png "$out/decorated.png" &&
      [ "$(title_grey)" -gt 3000 ] && break
  done
  [ "$(title_grey)" -gt 3000 ] || fail "the window under weston has no title bar"
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM to the decorated window"
  ;;
gnome)
  # A bare Mutter, as GNOME runs it, on a bus of the case's own with a
  # stand-in of the rest of GNOME. No screenshot can be had without
  # PipeWire, so libwayland's log of the program's traffic tells what shows.
  command -v mutter >/dev/null && command -v dbus-daemon >/dev/null || exit 77
  cp "$5" "$out/gnome_standin"
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus WAYLAND_DISPLAY=glyph-gnome
  # Each showing: a fullscreen window, then a frame that Mutter showed.
  shown() { awk '/set_fullscreen/ { a = 1 } a && /callback@[0-9]+\.done/ { n++; a = 0 } END { print n + 0 }' "$out/stderr"; }
  wait_for() { for _ in $(seq 150); do eval "$1" && return; sleep 0.1; done; fail "$2"; }
  start_gnome() { # start_gnome INHIBITED_ACTIONS SHIELD IDLE_SECONDS
    for p in $pid $server_pid $desktop_pid $daemon_pid; do kill -TERM "$p" && wait "$p"; done 2>/dev/null
    rm -f "$XDG_RUNTIME_DIR/bus" "$out/desktop.ready"
    in_background dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$out/bus.log" 2>&1
    daemon_pid=$!
    wait_for '[ -S "$XDG_RUNTIME_DIR/bus" ]' "no session bus"
    # Mutter reads the session manager's inhibitions when it starts.
    in_background "$out/gnome_standin" "$1" "$2" >"$out/desktop.ready"
    desktop_pid=$!
    wait_for '[ -s "$out/desktop.ready" ]' "the stand-in did not take its names"
    in_background mutter --headless --wayland --no-x11 --virtual-monitor 1280x800 --wayland-display "$WAYLAND_DISPLAY" \
      >>"$out/mutter.log" 2>&1
    server_pid=$!
    # Mutter's idle time runs from its start until the first input.
    wait_for 'user "$out/gnome_standin" move' "Mutter's RemoteDesktop did not move the mouse"
    WAYLAND_DEBUG=client launch --idle "$3"
  }
  start_gnome 0 0 2
  sleep 1 && [ "$(shown)" -eq 0 ] || fail "it showed before the idle time"
  wait_for '[ "$(shown)" -eq 1 ]' "nothing showed after the idle time"
  sleep 1 && ! grep -q 'xdg_toplevel@[0-9]*\.destroy' "$out/stderr" || fail "its own drawing counted as input"
  user "$out/gnome_standin" move
  wait_for 'grep -q "xdg_toplevel@[0-9]*\.destroy" "$out/stderr"' "the user's return did not take the window away"
  wait_for '[ "$(shown)" -eq 2 ]' "it did not show again after the next idle time"
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM"
  for desktop in '8 0' '0 1'; do
    start_gnome $desktop 1
    sleep 3 && [ "$(shown)" -eq 0 ] || fail "it showed with InhibitedActions and the shield at $desktop"
  done
  ;;
refusals)
  "$program" --fps 0 2>"$out/stderr"
  [ $? -eq 2 ] && [ "$(wc -l <"$out/stderr")" -eq 1 ] || fail "a bad option is not one line and status 2"
  "$program" --background --window 2>"$out/stderr"
  [ $? -eq 2 ] || fail "two places at once are not refused"
  "$program" --window --output DP-1 2>"$out/stderr"
  [ $? -eq 2 ] || fail "--output with --window is not refused"
  for idle in 0 86401 '5 --background' '5 --window'; do
    "$program" --idle $idle 2>"$out/stderr"
    [ $? -eq 2 ] && [ "$(wc -l <"$out/stderr")" -eq 1 ] || fail "--idle $idle is not one line and status 2"
  done
  ;;
valgrind)
  command -v valgrind >/dev/null || exit 77
  start_sway
  cp "$here/../x11/fontconfig.supp" "$out/fontconfig.supp" # where the user nobody can read it
  in_background valgrind --quiet --leak-check=full --errors-for-leak-kinds=definite,indirect --error-exitcode=3 \
    --suppressions="$out/fontconfig.supp" --log-file="$out/valgrind.log" "$program" --seed 30
  pid=$!
  sleep 4
  valgrind_verdict
  ;;
*) fail "no such case" ;;
esac
exit 0
