#!/usr/bin/env bash
# The program's command line as a user meets it: exit statuses, the one-line
# error message, and the exact shape of a dump.
set -uo pipefail
program=$1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

expect_status() {
  local want=$1; shift
  "$program" "$@" >/tmp/glyph_cli_out.$$ 2>/tmp/glyph_cli_err.$$ </dev/null
  local got=$?
  [ "$got" -eq "$want" ] || fail "'$*' exited $got, expected $want"
}

expect_status 0 --help
grep -q -- '--terminal-background' /tmp/glyph_cli_out.$$ || fail "--help does not list --terminal-background"
expect_status 0 --version
grep -q 'glyphmarinae' /tmp/glyph_cli_out.$$ || fail "--version does not name the program"

for bad in "--size 80" "--size 0x24" "--size 99999x99999" "--ticks x" "--seed -1" "--fps 0" "--nonsense" "--dump --size" "--fps --dump" "--size 80x24" "--dump --fps=5" \
  "--record x.txt" "--record /tmp/x.gif --fps 51" "--record /tmp/x.gif --timestamp 5" "--record=/tmp/x.cast --timestamp -5" \
  "--record /tmp/x.cast --scale 2" "--record /tmp/x.png --scale 5" "--dump --scale 2" \
  "--record /tmp/x.png --fps 10" "--dump --dump" "--seed 1 --seed 2" "--dump foo"; do
  # shellcheck disable=SC2086
  expect_status 2 $bad
  [ "$(wc -l < /tmp/glyph_cli_err.$$)" -eq 1 ] || fail "'$bad' did not print exactly one line on standard error"
  [ -s /tmp/glyph_cli_out.$$ ] && fail "'$bad' printed on standard output"
done

for size in 1x1 10x5 80x24 1000x1000; do
  columns=${size%x*}
  rows=${size#*x}
  "$program" --dump --size "$size" --seed 3 --ticks 5 > /tmp/glyph_cli_out.$$ || fail "dump $size failed"
  [ "$(wc -l < /tmp/glyph_cli_out.$$)" -eq "$rows" ] || fail "dump $size has the wrong number of lines"
  awk -v w="$columns" 'length($0) != w { bad = 1 } END { exit bad }' /tmp/glyph_cli_out.$$ ||
    fail "dump $size has a line that is not $columns characters"
done

"$program" --dump --seed 9 --ticks 30 > /tmp/glyph_cli_a.$$
"$program" --dump --seed 9 --ticks 30 > /tmp/glyph_cli_b.$$
cmp -s /tmp/glyph_cli_a.$$ /tmp/glyph_cli_b.$$ || fail "the same seed printed two different grids"
# Whole outputs go to files first: a reader that stops early would break the pipe.
"$program" --dump --seed 9 --ticks 30 --colour > /tmp/glyph_cli_out.$$
grep -q $'\x1b\[36m' /tmp/glyph_cli_out.$$ || fail "--colour has no dark cyan water"
"$program" --entities --seed 9 --ticks 30 > /tmp/glyph_cli_out.$$
head -1 /tmp/glyph_cli_out.$$ | grep -q '^{"name":"water"' || fail "--entities does not start with the water"
"$program" --gallery > /tmp/glyph_cli_out.$$
grep -q '^== whale extra 6' /tmp/glyph_cli_out.$$ || fail "--gallery misses the whale's last spout"
for picture in fishhook fishline splat bubble seaweed water; do
  grep -q "^== $picture frame 0 " /tmp/glyph_cli_out.$$ || fail "--gallery misses the $picture"
done
grep -q $'\x1b\[' /tmp/glyph_cli_out.$$ && fail "--gallery into a file is coloured without --colour"
for mode in --gallery --dump --help; do
  "$program" $mode >/dev/full 2>/tmp/glyph_cli_err.$$ && fail "$mode into a full device exited 0"
  [ "$(cat /tmp/glyph_cli_err.$$)" = "glyphmarinae: cannot write the output: No space left on device" ] ||
    fail "$mode into a full device said: $(cat /tmp/glyph_cli_err.$$)"
done
"$program" --gallery --colour > /tmp/glyph_cli_out.$$
grep -q $'\x1b\[' /tmp/glyph_cli_out.$$ || fail "--gallery --colour is not coloured"

# Two runs started together, as two panes are, get two aquariums.
"$program" --record /tmp/glyph_cli_a.$$.cast --ticks 0 & "$program" --record /tmp/glyph_cli_b.$$.cast --ticks 0
wait
[ "$(head -c 200 /tmp/glyph_cli_a.$$.cast | grep -o 'seed [0-9]*')" != "$(head -c 200 /tmp/glyph_cli_b.$$.cast | grep -o 'seed [0-9]*')" ] ||
  fail "two runs started in the same second have the same seed"

rm -f /tmp/glyph_cli_*.$$ /tmp/glyph_cli_*.$$.cast
[ "$failures" -eq 0 ] && echo "cli: all checks passed"
exit $((failures > 0))
