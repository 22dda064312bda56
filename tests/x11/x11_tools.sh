# What the X11 test scripts share; each defines fail() and $out and $checker.

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

# Takes shots until one shows the aquarium (a loaded machine may need a few
# seconds for the first frames); the check's report is kept beside the shot.
shoot_aquarium() { # shoot_aquarium WINDOW NAME
  local shot=$out/$2.png
  for _ in $(seq 20); do
    import -window "$1" "$shot" 2>/dev/null && convert "$shot" -depth 8 "ppm:$out/shot.ppm" &&
      "$checker" "$out/shot.ppm" auto >"$out/$2.check" && break
    sleep 0.5
  done
  rm -f "$out/shot.ppm"
  if [ ! -s "$out/$2.check" ] || grep -q FAIL "$out/$2.check"; then
    cat "$out/$2.check" >&2 2>/dev/null
    fail "$2 does not show the aquarium"
  fi
}
