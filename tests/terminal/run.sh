#!/usr/bin/env bash
# The terminal host as a person meets it, driven through tmux: start it, look
# at the screen, press a key, send signals, resize the window.
# Usage: run.sh PROGRAM CASE     (exit 77 when tmux is missing)
set -uo pipefail
program=$1
case_name=$2
command -v tmux >/dev/null || exit 77

socket="glyph-$case_name-$$"
work=$(mktemp -d)
tmux_() { tmux -L "$socket" "$@"; }
cleanup() { tmux_ kill-server 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL [$case_name]: $*" >&2; tmux_ capture-pane -p >&2 2>/dev/null; exit 1; }

start() { # start COLUMNS ROWS ARGS...
  local columns=$1 rows=$2; shift 2
  tmux_ new-session -d -x "$columns" -y "$rows" "bash --norc --noprofile" || fail "tmux did not start"
  tmux_ set-option -g status off >/dev/null
  sleep 0.2
  # The subshell records its own pid and then becomes the program, so the test
  # follows exactly this process, never another test's copy of the program.
  tmux_ send-keys "stty -g > $work/stty.before; (echo \$BASHPID > $work/pid; exec $program $*); echo \"exit=\$?\" > $work/status; stty -g > $work/stty.after; clear" Enter
  for _ in $(seq 100); do [ -s "$work/pid" ] && break; sleep 0.05; done
  [ -s "$work/pid" ] || fail "the program did not start"
  sleep "${settle:-1}"
}
pid() { kill -0 "$(cat "$work/pid")" 2>/dev/null && cat "$work/pid"; }
wait_exit() { # wait_exit MILLISECONDS
  local limit=$1 waited=0
  while pid >/dev/null; do
    sleep 0.01; waited=$((waited + 10))
    [ "$waited" -gt "$limit" ] && fail "still running ${limit} ms after it was told to stop"
  done
  for _ in $(seq 100); do [ -s "$work/stty.after" ] && break; sleep 0.02; done
  grep -q '^exit=0$' "$work/status" || fail "exit status $(cat "$work/status")"
  cmp -s "$work/stty.before" "$work/stty.after" || fail "terminal modes changed"
}
capture() { tmux_ capture-pane -p; }
row_of() { capture | sed -n "$(($1 + 1))p"; }
count_char() { tr -cd "$2" <<<"$1" | wc -c; }

case "$case_name" in
layout)
  seed=77
  start 100 30 --seed $seed
  water=$(row_of 5)
  [ "$(count_char "$water" '~')" -ge 60 ] || fail "no water line on row 5"
  # The screen is the dump of the same seed and size after as many ticks as
  # have passed: every cell of it, not only the scenery. A capture can catch
  # a frame half drawn, so a mismatch is looked at again.
  matched=
  for _ in 1 2 3; do
    screen=$(capture | sed 's/ *$//')
    for ((ticks = 0; ticks <= 60; ticks++)); do
      dump=$("$program" --dump --size 100x30 --seed $seed --ticks $ticks | sed 's/ *$//')
      [ "$dump" = "$screen" ] && { matched=$ticks; break 2; }
    done
    sleep 0.05
  done
  [ -n "$matched" ] || fail "the screen is not the dump of seed $seed at any tick up to 60"
  tmux_ send-keys q
  wait_exit 1000
  ;;
key)
  start 80 24 --seed 1
  tmux_ send-keys x
  wait_exit 200
  capture | grep -q 'exit=\|\$\|#' || true
  ;;
term | hup | int | quit)
  start 80 24 --seed 2
  signal=$(tr '[:lower:]' '[:upper:]' <<<"$case_name")
  kill -s "$signal" "$(pid)"
  wait_exit 500
  ;;
resize)
  start 100 30 --seed 3
  tmux_ resize-window -x 60 -y 20
  sleep 0.5
  pid >/dev/null || fail "ended by a resize"
  [ "$(capture | wc -l)" -eq 20 ] || fail "the pane is not 20 rows"
  water=$(row_of 5)
  [ "$(count_char "$water" '~')" -ge 40 ] || fail "the water does not fill the new width: '$water'"
  [ "$(count_char "$(row_of 5 | cut -c 61-)" '~')" -eq 0 ] || fail "drawn outside the screen"
  tmux_ send-keys q
  wait_exit 1000
  ;;
storm)
  settle=0.3 start 100 30 --seed 4
  for size in 90x28 70x20 50x15 30x10 20x8 10x5 5x3 5x3 8x4 12x6 20x9 30x12 40x16 55x20 70x24 80x26 90x28 100x30 10x5 100x30; do
    tmux_ resize-window -x "${size%x*}" -y "${size#*x}"
    sleep 0.1
  done
  sleep 0.3
  pid >/dev/null || fail "the resize storm ended it"
  tmux_ send-keys q
  wait_exit 1000
  ;;
tiny)
  settle=0.5 start 1 1 --seed 6
  pid >/dev/null || fail "a 1x1 terminal ended it"
  tmux_ send-keys q
  wait_exit 1000
  ;;
options)
  start 80 24 --seed 7 --fps 30 --terminal-background
  [ "$(count_char "$(row_of 5)" '~')" -ge 40 ] || fail "no water with --fps 30 --terminal-background"
  tmux_ send-keys q
  wait_exit 500
  ;;
not_a_tty)
  message=$("$program" --seed 1 2>&1 >/dev/null </dev/null)
  status=$?
  [ "$status" -eq 2 ] || fail "exit status $status, expected 2"
  grep -q -- '--dump' <<<"$message" || fail "the message does not point to --dump: $message"
  ;;
*) fail "unknown case" ;;
esac
echo "terminal $case_name: passed"
