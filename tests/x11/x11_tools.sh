# What the X11 test scripts share; each defines fail() and $out and $checker
# and reads ../screenshot/program_tools.sh.

start_x() { # start_x WIDTHxHEIGHT [XVFB OPTION]...: a display of its own, in $DISPLAY
  local size=$1
  shift
  : >"$out/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" 3>"$out/display" 2>"$out/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 200); do [ -s "$out/display" ] && break; sleep 0.05; done
  [ -s "$out/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$out/display")"
}

# Takes a shot and one a second later until they show the aquarium moving on
# (a loaded machine may need a few seconds for the first frames); the check's
# report is kept beside the shots.
shoot_aquarium() { # shoot_aquarium WINDOW NAME
  local shot=$out/$2
  for _ in $(seq 10); do
    import -window "$1" "$shot.png" 2>/dev/null && sleep 1 && import -window "$1" "$shot-later.png" 2>/dev/null &&
      check_shots "$shot" && break
  done
  shots_verdict "$shot" "$2"
}
