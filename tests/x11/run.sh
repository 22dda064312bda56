#!/usr/bin/env bash
# The X11 module as a person meets it, each case on an Xvfb display of its
# own: look at its window and at the root, type, click, resize, signal it,
# pull the server away, and run it under Valgrind.
# Usage: run.sh PROGRAM SCREENSHOT_CHECK OUT_DIR CASE   (exit 77 without Xvfb)
set -uo pipefail
program=$1
checker=$2
out=$3/$4
case_name=$4
for tool in Xvfb xdotool import convert; do command -v "$tool" >/dev/null || exit 77; done
rm -rf "$out"
mkdir -p "$out"
. "$(dirname "$0")/x11_tools.sh"
. "$(dirname "$0")/../screenshot/program_tools.sh"

xvfb_pid=
pid=
cleanup() {
  [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL [$case_name]: $*" >&2; [ -s "$out/stderr" ] && cat "$out/stderr" >&2; exit 1; }

stop_x() { kill -TERM "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=; }

launch() { # launch ARGS...: the module in the background, its pid in $pid
  "$program" "$@" >"$out/stdout" 2>"$out/stderr" &
  pid=$!
}
own_window() { # the id of the module's own window, once it is shown
  local id
  id=$(timeout 10 xdotool search --sync --onlyvisible --name '^Glyphmarinae$' 2>/dev/null | head -n 1)
  [ -n "$id" ] || fail "its window never appeared"
  echo "$id"
}

case "$case_name" in
screens)
  for size in 1920x1080 800x600; do
    start_x "$size"
    launch --seed 11
    window=$(own_window)
    shoot_aquarium "$window" "own-$size"
    xdotool key --window "$window" q
    expect_exit 0 30 "a key"

    launch --root --seed 12
    shoot_aquarium root "root-$size"
    kill -TERM "$pid"
    expect_exit 0 30 "SIGTERM"
    stop_x
  done
  ;;
click)
  start_x 800x600
  launch --seed 13
  window=$(own_window)
  xdotool mousemove --window "$window" 40 40 click 2 click 4 click 5
  still_running "a middle click and the wheel"
  xdotool click 1
  expect_exit 0 30 "a left click"
  launch --seed 13
  window=$(own_window)
  xdotool mousemove --window "$window" 40 40 click 3
  expect_exit 0 30 "a right click"
  launch --seed 13
  window=$(own_window)
  python3 "$(dirname "$0")/close_window.py" "$window" || fail "could not ask the window to close"
  expect_exit 0 30 "the window manager's close request"
  ;;
resize)
  # Larger both ways, so an aquarium still laid out for the old size would
  # have its castle far from the new bottom right corner.
  start_x 1280x1024
  launch --seed 14
  window=$(own_window)
  xdotool windowsize "$window" 640 480
  sleep 1
  shoot_aquarium "$window" small
  xdotool windowsize "$window" 1200 980
  sleep 1
  shoot_aquarium "$window" large
  geometry=$(identify -format '%wx%h' "$out/large.png")
  [ "$geometry" = 1200x980 ] || fail "the window is $geometry after the resize"
  kill -INT "$pid"
  expect_exit 0 30 "SIGINT"
  ;;
foreign)
  # A window it was given is drawn into and nothing else: input there belongs
  # to the window's owner, and the window keeps its place and size.
  start_x 800x600
  root_id=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  XSCREENSAVER_WINDOW=$root_id launch --seed 15
  shoot_aquarium root daemon-window
  xdotool key q mousemove 30 30 click 1 click 3
  still_running "a key and clicks in a window it does not own"
  kill -HUP "$pid"
  expect_exit 0 30 "SIGHUP"
  launch -window-id "$root_id" --fps 30
  still_running "starting in the window given by -window-id"
  kill -TERM "$pid"
  expect_exit 0 30 "SIGTERM"
  # The settings dialog's preview: its window, appended to a command with -root.
  python3 "$(dirname "$0")/lend_window.py" >"$out/lent" &
  lender=$!
  for _ in $(seq 50); do [ -s "$out/lent" ] && break; sleep 0.1; done
  launch -root --seed 17 -window-id "$(cat "$out/lent")"
  shoot_aquarium "$(cat "$out/lent")" preview-window
  kill -TERM "$pid" "$lender"
  expect_exit 0 30 "SIGTERM"
  ;;
refusals)
  # One line on stderr and status 2 for what names no window or no display;
  # bad option values are the option reader's unit tests.
  refused() { # refused WHAT: the last command's status and stderr
    [ "$1" -eq 2 ] && [ "$(wc -l <"$out/stderr")" -eq 1 ] || fail "$2 is not refused with one line and status 2"
  }
  start_x 800x600
  "$program" --window-id 0x1fffff0 2>"$out/stderr"
  refused $? "a window id that names no window"
  grep -q 'window 0x1fffff0 does not exist' "$out/stderr" || fail "the missing window is not named"
  XSCREENSAVER_WINDOW=nonsense "$program" 2>"$out/stderr"
  refused $? "a bad \$XSCREENSAVER_WINDOW"
  stop_x
  DISPLAY=:4095 "$program" 2>"$out/stderr"
  refused $? "a display that cannot be opened"
  env -u DISPLAY "$program" 2>"$out/stderr"
  refused $? "no DISPLAY"
  grep -q 'DISPLAY is not set' "$out/stderr" || fail "no DISPLAY is not named: $(cat "$out/stderr")"
  ;;
server_gone)
  start_x 800x600
  launch --seed 16
  own_window >/dev/null
  stop_x
  # Status 1 and not a signal: no crash, no core.
  expect_exit 1 30 "the X server went away"
  [ "$(cat "$out/stderr")" = "glyphmarinae-x11: the X server went away" ] ||
    fail "the server's going is not one line: $(cat "$out/stderr")"
  ;;
valgrind)
  command -v valgrind >/dev/null || exit 77
  start_x 800x600
  here=$(cd "$(dirname "$0")" && pwd)
  launch_valgrind() {
    valgrind --quiet --leak-check=full --errors-for-leak-kinds=definite,indirect --error-exitcode=3 \
      --suppressions="$here/fontconfig.supp" --log-file="$out/valgrind.log" "$program" --seed 17 &
    pid=$!
  }
  launch_valgrind
  own_window >/dev/null
  sleep 2
  valgrind_verdict
  ;;
*) fail "no such case" ;;
esac
exit 0
