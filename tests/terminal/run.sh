#!/usr/bin/env bash
# The terminal host as a person meets it, driven through tmux: start it, look
# at the screen, press a key, send signals, suspend it, resize the window.
# Usage: run.sh PROGRAM CASE     (exit 77 when tmux is missing)
set -uo pipefail
program=$1
case_name=$2
command -v tmux >/dev/null || exit 77

socket="glyph-$case_name-$$"
work=$(mktemp -d)
tmux_() { tmux -L "$socket" "$@"; }
cleanup() { tmux_ kill-server 2>/dev/null; rm -rf "$work"; }
# The next session on a server of its own: a server told to end may still be
# going when the next session is asked for, and would take that down too.
next_server() { tmux_ kill-server; socket="glyph-$case_name-$$-$((++servers))"; }
servers=0
trap cleanup EXIT
fail() { echo "FAIL [$case_name]: $*" >&2; tmux_ capture-pane -p >&2 2>/dev/null; exit 1; }

start() { # start COLUMNS ROWS ARGS...   (TERM from $term_type when set)
  local columns=$1 rows=$2; shift 2
  rm -f "$work/pid" "$work/status" "$work/stty.before" "$work/stty.after"
  tmux_ new-session -d -x "$columns" -y "$rows" "bash --norc --noprofile" || fail "tmux did not start"
  tmux_ set-option -g status off >/dev/null
  # sh, not bash, runs the steps around the program: like the program it stops
  # on Ctrl-Z, so the shell in the pane sees a stopped job. The inner sh
  # records its own pid and then becomes the program, so the test follows
  # exactly this process, never another test's copy of the program.
  cat >"$work/launch.sh" <<EOF
ulimit -c 0
${before_run:-}
stty -g > $work/stty.before
sh -c 'echo \$\$ > $work/pid; exec env ${term_type:+TERM=$term_type} "\$@"' launch $program $*
echo "exit=\$?" > $work/status
stty -g > $work/stty.after
EOF
  sleep 0.2
  tmux_ send-keys "sh $work/launch.sh" Enter
  for _ in $(seq 100); do [ -s "$work/pid" ] && break; sleep 0.05; done
  [ -s "$work/pid" ] || fail "the program did not start"
  sleep "${settle:-1}"
}
pid() { kill -0 "$(cat "$work/pid")" 2>/dev/null && cat "$work/pid"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The pane's alternate screen, cursor, any mouse reporting, motion reporting
# and keypad mode as tmux sees them: "01000" is a terminal as a shell has it,
# "10111" as the aquarium sets it.
modes() { tmux_ display -p '#{alternate_on}#{cursor_flag}#{mouse_any_flag}#{mouse_all_flag}#{keypad_cursor_flag}'; }
wait_exit() { # wait_exit MILLISECONDS [STATUS], timed from the call
  local limit=$1 status=${2:-0} from
  from=$(now_ms)
  while pid >/dev/null; do
    sleep 0.005
    [ $(($(now_ms) - from)) -gt "$limit" ] && fail "still running ${limit} ms after it was told to stop"
  done
  for _ in $(seq 100); do [ -s "$work/stty.after" ] && break; sleep 0.02; done
  grep -q "^exit=$status\$" "$work/status" || fail "exit status $(cat "$work/status"), expected $status"
  cmp -s "$work/stty.before" "$work/stty.after" || fail "terminal modes changed"
  [ "$(modes)" = 01000 ] || fail "terminal left with modes $(modes) (alternate screen, cursor, mouse, motion, keypad)"
  ! capture | grep -q '~~~~' || fail "the aquarium is still on the screen after the end"
}
capture() { tmux_ capture-pane -p; }
row_of() { capture | sed -n "$(($1 + 1))p"; }
count_char() { tr -cd "$2" <<<"$1" | wc -c; }
# tick_of SEED SIZE: the tick whose dump of SEED at SIZE is the screen, every
# cell of it. A capture can catch a frame half drawn, so a mismatch is looked
# at again.
tick_of() {
  local seed=$1 size=$2 screen dump ticks
  for _ in 1 2 3; do
    screen=$(capture | sed 's/ *$//')
    for ((ticks = 0; ticks <= 60; ticks++)); do
      dump=$("$program" --dump --size "$size" --seed "$seed" --ticks $ticks | sed 's/ *$//')
      [ "$dump" = "$screen" ] && { echo "$ticks"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

has_water() { [ "$(count_char "$(row_of 5)" '~')" -ge 40 ]; }
# wait_for TENTHS COMMAND...: until the command succeeds, at most TENTHS tenths of a second.
wait_for() { local tries=$1; shift; for ((; tries > 0; tries--)); do "$@" && return 0; sleep 0.1; done; return 1; }
# A multiplexer COMMAND with a shell in the outer pane: START sets off its idle time, which must
# bring the aquarium; after STOP a key must bring back exactly what the shell showed.
idle_run() { # idle_run COMMAND START STOP
  tmux_ new-session -d -x 80 -y 24 "env -u TMUX $1" || fail "tmux did not start"
  tmux_ set-option -g status off >/dev/null
  wait_for 50 eval 'capture | grep -q "[#\$]\$"' || fail "no shell in the multiplexer"
  tmux_ send-keys 'echo before the aquarium' Enter
  wait_for 20 eval 'capture | grep -q "^before the aquarium"' || fail "the shell did not answer"
  shell=$(capture)
  eval "$2"
  wait_for 100 has_water || fail "no aquarium after the idle time"
  eval "$3"
  pane=$(tmux_ display-message -p '#{pane_pid}')
  running=$(pgrep -x -P "$pane,$(pgrep -d, -P "$pane")" "$(basename "$program")") || fail "the aquarium is not the program"
  tmux_ send-keys x
  wait_for 20 eval '! kill -0 "$running" 2>/dev/null' || fail "the aquarium still runs after a key"
  wait_for 30 eval '[ "$(capture)" = "$shell" ]' || fail "the screen is not as it was: $(capture)"
}

case "$case_name" in
layout)
  seed=77
  start 100 30 --seed $seed
  [ "$(modes)" = 10111 ] || fail "running with modes $(modes), expected 10111"
  water=$(row_of 5)
  [ "$(count_char "$water" '~')" -ge 60 ] || fail "no water line on row 5"
  before=$(tick_of $seed 100x30) || fail "the screen is not the dump of seed $seed at any tick up to 60"
  # A resize signal that changes no size leaves the aquarium running on.
  kill -WINCH "$(pid)"
  sleep 0.3
  after=$(tick_of $seed 100x30) || fail "after SIGWINCH the screen is not the dump of seed $seed"
  [ "$after" -gt "$before" ] || fail "a SIGWINCH without a new size restarted it (tick $before, then $after)"
  tmux_ send-keys q
  wait_exit 1000
  ;;
key)
  # Esc as fast as any other key: no waiting for the rest of an escape
  # sequence that will never come.
  # Ctrl-S and Ctrl-Q are keys, not flow control; keys typed on go with it.
  for key in x Escape C-s C-q abcdef; do
    start 80 24 --seed 1
    tmux_ send-keys $key
    wait_exit 400
    ! wait_for 3 eval 'capture | grep -q bcdef' || fail "the keys typed after the first reached the shell"
    next_server
  done
  ;;
term | hup | int | quit)
  start 80 24 --seed 2
  signal=$(tr '[:lower:]' '[:upper:]' <<<"$case_name")
  kill -s "$signal" "$(pid)"
  # Ended by the signal itself once the terminal is restored, as a shell sees it.
  wait_exit 500 $((128 + $(kill -l "$signal")))
  ;;
suspend)
  start 100 30 --seed 8
  tmux_ send-keys C-z
  # It stops itself once it has handed the terminal back.
  state() { sed 's/.*) //' "/proc/$(pid)/stat" | cut -d' ' -f1; }
  for _ in $(seq 100); do [ "$(state)" = T ] && break; sleep 0.02; done
  [ "$(state)" = T ] || fail "Ctrl-Z did not stop it"
  [ "$(modes)" = 01000 ] || fail "stopped with modes $(modes), expected the shell's 01000"
  # A resize while stopped reaches the program only as the size it finds on return.
  tmux_ resize-window -x 90 -y 25
  tmux_ send-keys fg Enter
  sleep 0.5
  [ "$(modes)" = 10111 ] || fail "resumed with modes $(modes), expected 10111"
  tick_of 8 90x25 >/dev/null || fail "after fg the screen is not the aquarium at its new size 90x25"
  tmux_ send-keys C-s
  wait_exit 1000
  ;;
resize)
  start 100 30 --seed 3
  tmux_ resize-window -x 60 -y 20
  sleep 0.5
  pid >/dev/null || fail "ended by a resize"
  [ "$(capture | wc -l)" -eq 20 ] || fail "the pane is not 20 rows"
  # The same seed at the new size, its ticks counted from the resize.
  tick_of 3 60x20 >/dev/null || fail "after the resize the screen is not the dump of seed 3 at 60x20"
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
  tick_of 4 100x30 >/dev/null || fail "after the storm the screen is not the aquarium at 100x30"
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
  # NO_COLOR set and not empty takes the colour away, except where --colour asks for it.
  next_server
  before_run="export NO_COLOR=1" start 80 24 --seed 7
  has_water && ! tmux_ capture-pane -p -e | grep -q $'\e\\[' || fail "no aquarium without colour with NO_COLOR=1"
  tmux_ send-keys q
  wait_exit 500
  colours() { script -qec "env NO_COLOR=$1 $program $2" /dev/null | grep -c $'\e\\['; }
  [ "$(colours 1 --gallery)" = 0 ] && [ "$(colours '' --gallery)" != 0 ] && [ "$(colours 1 '--gallery --colour')" != 0 ] &&
    [ "$(colours 1 '--dump --colour')" != 0 ] || fail "on a terminal NO_COLOR does not take the colour from --gallery alone"
  # The aquarium's own colours where the terminal has them, in 24 bits where it says so (the water
  # 0,170,170), its sixteen when asked; any other 256-colour or 24-bit colour is a fault.
  cube='38;5;(1[6-9]|[2-9][0-9]|1[0-9][0-9]|2[0-2][0-9]|23[01])m' water='38;2;0;170;170m'
  for want in "- xterm-256color $cube" "truecolor xterm-256color $water" "24bit tmux-256color $water" \
    "- xterm-direct $water" "truecolor screen 3[0-7]m" "truecolor linux 3[0-7]m" \
    "- xterm-256color --terminal-colours 9[0-7]m" "truecolor xterm-256color --terminal-colours 9[0-7]m"; do
    set -- $want
    next_server
    [ $# = 4 ] && option=$3 || option=
    # A pane is no Linux console: gpm, which ncurses tries under TERM=linux, stays out.
    before_run="export COLORTERM=${1#-} NCURSES_GPM_TERMS=" term_type=$2 start 80 24 --seed 7 $option
    wait_for 50 has_water || fail "COLORTERM=$1 TERM=$2 $option: no water"
    sgr=$(tmux_ capture-pane -p -e | grep -oE $'\e\\[[0-9;]*m')
    grep -qE "${!#}" <<<"$sgr" || fail "COLORTERM=$1 TERM=$2 $option: no colour ${!#}"
    kind=${!#:0:5}
    [[ $kind = "38;"* ]] || kind=none
    ! grep -E '38;[25];' <<<"$sgr" | grep -qvF "$kind" || fail "COLORTERM=$1 TERM=$2 $option: colours of another kind"
    tmux_ send-keys q
    wait_exit 500
  done
  ;;
no_alternate)
  # Without an alternate screen to leave, what was drawn stays unless it is cleared.
  term_type=vt100 start 80 24 --seed 9
  [ "$(count_char "$(row_of 5)" '~')" -ge 40 ] || fail "no water on a vt100"
  tmux_ send-keys q
  wait_exit 1000
  ;;
unusable)
  tmux_ new-session -d -x 80 -y 24 "bash --norc --noprofile" || fail "tmux did not start"
  sleep 0.2
  for term in dumb no-such-terminal ''; do
    rm -f "$work/status"
    setting="TERM=$term"
    [ -n "$term" ] || setting="-u TERM"
    tmux_ send-keys "clear; env $setting $program --seed 1 2>$work/err; echo exit=\$? >$work/status" Enter
    for _ in $(seq 100); do [ -s "$work/status" ] && break; sleep 0.05; done
    grep -q '^exit=2$' "$work/status" || fail "TERM='$term': $(cat "$work/status" 2>/dev/null), expected exit=2"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "TERM='$term': not one line on stderr: $(cat "$work/err")"
    ! capture | grep -q '~' || fail "TERM='$term': something was drawn before the refusal"
  done
  ;;
ambient)
  start 80 24 --ambient --seed 8
  [ "$(modes)" = 10001 ] || fail "running with modes $(modes), expected 10001: the mouse left to the terminal"
  tmux_ send-keys x Enter Right M-q
  sleep 0.3
  pid >/dev/null || fail "a key ended the ambient aquarium"
  tmux_ send-keys Space
  still() { paused=$(capture); sleep 0.5; [ "$(capture)" = "$paused" ]; }
  wait_for 3 still || fail "space did not pause"
  row_of 23 | grep -Eq '^ paused: seed 8( |$)' || fail "the last row does not say it is paused, with the seed"
  tmux_ send-keys Space
  wait_for 20 eval '[ "$(capture)" != "$paused" ]' || fail "space did not resume"
  tmux_ send-keys n
  wait_for 10 eval 'row_of 23 | grep -q "new aquarium: seed [0-9]"' || fail "no new seed on the last row"
  wait_for 40 eval '! row_of 23 | grep -q seed' || fail "the seed stays on the last row"
  tmux_ resize-window -x 60 -y 20
  wait_for 10 has_water || fail "no aquarium after a resize"
  # In a narrow pane the notice keeps the seed whole; n keeps a paused aquarium paused.
  tmux_ resize-window -x 24 -y 10
  sleep 0.3
  tmux_ send-keys Space n
  wait_for 10 eval 'row_of 9 | grep -q "seed [0-9]"' || fail "no new seed on the last row of a narrow pane"
  seed=$(row_of 9 | grep -Eo 'seed [0-9]+')
  sleep 2
  wait_for 3 still && row_of 9 | grep -Eq "$seed( |\$)" || fail "n resumed the paused aquarium, or its $seed is not shown"
  tmux_ send-keys Escape
  wait_exit 1000
  ;;
ambient_q | ambient_Q | ambient_ctrl_c)
  # Ctrl-C interrupts the whole job: the launching shell lives on to see the
  # program ended by SIGINT itself once the terminal is restored.
  [ "$case_name" = ambient_ctrl_c ] && before_run="trap : INT"
  start 80 24 --ambient --seed 9
  key=${case_name#ambient_}
  if [ "$key" = ctrl_c ]; then tmux_ send-keys C-c; else tmux_ send-keys "$key"; fi
  wait_exit 1000 "$([ "$key" = ctrl_c ] && echo 130 || echo 0)"
  ;;
tmux_lock)
  inner="glyph-inner-$$"
  trap 'tmux -L "$inner" kill-server 2>/dev/null; cleanup' EXIT
  # F12, bound to nothing visible, starts the idle time; once a key has unlocked the client it is
  # not locked again.
  printf 'set -g status off\nset -g lock-command "%s --seed 10"\nbind -n F12 refresh-client\n' "$program" >"$work/inner.conf"
  idle_run "tmux -L $inner -f $work/inner.conf new-session 'bash --norc --noprofile'" \
    'tmux -L "$inner" set-option -g lock-after-time 1; tmux_ send-keys F12' \
    'tmux -L "$inner" set-option -g lock-after-time 0'
  ;;
screen_blanker)
  command -v screen >/dev/null || exit 77
  export SCREENDIR="$work/screens"
  mkdir -m 700 "$SCREENDIR"
  session="glyph-$$"
  # Without autodetach the screen session ends with the outer tmux.
  printf 'startup_message off\nautodetach off\nblankerprg %s --seed 11\n' "$program" >"$work/screenrc"
  idle_run "screen -c $work/screenrc -S $session bash --norc --noprofile" \
    'screen -S "$session" -X idle 1 blanker' 'screen -S "$session" -X idle 0'
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
