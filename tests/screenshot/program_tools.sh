# What the window hosts' test scripts share: waiting for the program in $pid
# to end, and reading a pair of screenshots with the checker. Each script
# defines fail() and $out and $checker.

# Ends within LIMIT tenths of a second with STATUS, or fails; the limits allow
# for a sanitized build on a loaded machine.
expect_exit() { # expect_exit STATUS LIMIT WHAT
  local status
  for _ in $(seq "$2"); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running after $3"
  wait "$pid"
  status=$?
  pid=
  [ "$status" -eq "$1" ] || fail "exit status $status after $3, not $1"
}
# Ends the program in $pid, run under Valgrind with its log in
# $out/valgrind.log, by SIGTERM; fails on any error or leak it logged.
valgrind_verdict() {
  kill -TERM "$pid"
  expect_exit 0 100 "SIGTERM under Valgrind"
  [ -s "$out/valgrind.log" ] && { cat "$out/valgrind.log" >&2; fail "Valgrind reported errors"; }
  echo "valgrind: no errors and no leak of the program's own"
}
# A program run as another user reads the leak checker's suppressions from a
# copy in DIR: the tree may lie where that user cannot read (under /root),
# and a suppressions file that cannot be read ends the program at its start.
share_suppressions() { # share_suppressions DIR
  local file
  case "${LSAN_OPTIONS:-}" in *suppressions=*) ;; *) return 0 ;; esac
  file=${LSAN_OPTIONS#*suppressions=}
  file=${file%%:*}
  cp "$file" "$1/lsan.supp" && chmod 644 "$1/lsan.supp" || fail "cannot copy $file"
  export LSAN_OPTIONS=${LSAN_OPTIONS/"suppressions=$file"/"suppressions=$1/lsan.supp"}
}
still_running() { sleep 0.5; kill -0 "$pid" 2>/dev/null || fail "ended after $1"; }

# SHOT.png and SHOT-later.png through the checker into SHOT.check.
check_shots() { # check_shots SHOT
  convert "$1.png" -depth 8 "ppm:$1.ppm" && convert "$1-later.png" -depth 8 "ppm:$1-later.ppm" &&
    "$checker" "$1.ppm" auto auto "$1-later.ppm" >"$1.check" 2>&1
}
# Fails unless the last check saw the aquarium; one line of figures if it did.
shots_verdict() { # shots_verdict SHOT NAME
  rm -f "$1.ppm" "$1-later.ppm"
  # The last line is a check's own verdict, unless the checker could not read the shots at all.
  if [ ! -s "$1.check" ] || grep -q FAIL "$1.check" || ! grep -q '^cell' "$1.check" ||
    ! tail -n 1 "$1.check" | grep -q '^ok'; then
    cat "$1.check" >&2 2>/dev/null
    fail "$2 does not show the aquarium"
  fi
  echo "$2: $(identify -format '%wx%h' "$1.png"), $(head -n 1 "$1.check"), $(tail -n 1 "$1.check" | sed 's/^ok *//')"
}
