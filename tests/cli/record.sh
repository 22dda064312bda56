#!/usr/bin/env bash
# --record as people use it: the cast played by asciinema into a terminal of
# its size, the GIF and PNG read by gifsicle and ImageMagick, and no file
# left behind by an error or an interruption.
# Usage: record.sh PROGRAM     (exit 77 when a reading tool is missing)
set -uo pipefail
program=$1
for tool in tmux asciinema gifsicle convert python3; do command -v "$tool" >/dev/null || exit 77; done
work=$(mktemp -d)
socket="glyph-record-$$"
cleanup() { tmux -L "$socket" kill-server 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
record() { "$program" --record "$@" 2>"$work/err" </dev/null; }

# asciinema writes its configuration under HOME.
export HOME=$work/home
mkdir -p "$HOME"
printf 'set -g status off\n' >"$work/tmux.conf"
for run in "80x24 5" "120x40 24 --ticks 50"; do
  read -r size seed extra <<<"$run"
  record "$work/a.cast" --size "$size" --seed "$seed" $extra || fail "cast $size: $(cat "$work/err")"
  ticks=${extra#--ticks } rows=${size#*x}
  "$program" --dump --size "$size" --seed "$seed" --ticks "${ticks:-300}" >"$work/picture"
  # A prompt belongs on the line below the picture, not inside it; in a
  # terminal of the cast's own height, as in a player, nothing may scroll, so
  # the prompt can only land on the last row.
  for height in $((rows + 1)) "$rows"; do
    # A server of its own for each play: a server told to end may still be
    # going when the next session is asked for, and would take it down too.
    play="$socket-$size-$height"
    rm -f "$work/screen"
    tmux -L "$play" -f "$work/tmux.conf" new-session -d -x "${size%x*}" -y "$height" \
      "asciinema cat $work/a.cast; printf 'prompt\$'; touch $work/played; sleep 60"
    if [ "$height" -gt "$rows" ]; then { cat "$work/picture"; echo 'prompt$'; }
    else sed '$ s/^.\{7\}/prompt$/' "$work/picture"; fi | sed 's/ *$//' >"$work/dump"
    # tmux may still be reading the last output when asciinema has ended.
    for _ in $(seq 100); do
      [ -e "$work/played" ] && tmux -L "$play" capture-pane -p | sed 's/ *$//' >"$work/screen" &&
        cmp -s "$work/screen" "$work/dump" && break
      sleep 0.1
    done
    tmux -L "$play" kill-server
    rm -f "$work/played"
    cmp -s "$work/screen" "$work/dump" ||
      { fail "asciinema's screen of the $size cast in $height rows is not the dump"; diff "$work/screen" "$work/dump" >&2; }
  done
done

# Byte for byte the same, and silent, when standard error is not a terminal.
for format in cast gif png; do
  fixed=$([ "$format" = cast ] && echo "--timestamp 1700000000")
  record "$work/a.$format" --seed 5 --ticks 40 $fixed
  record "$work/b.$format" --seed 5 --ticks 40 $fixed
  cmp -s "$work/a.$format" "$work/b.$format" || fail "two .$format recordings of one seed differ"
  [ -s "$work/err" ] && fail ".$format wrote on standard error: $(cat "$work/err")"
done
head -1 "$work/a.cast" | grep -q '"timestamp": 1700000000,.*"title": "[^"]*seed 5"' || fail "cast header: $(head -1 "$work/a.cast")"
[ "$(wc -l <"$work/a.cast")" -eq 42 ] || fail "the cast does not hold a header and 41 frames"
tail -1 "$work/a.cast" | grep -q '^\[4\.000000, "o", ".*\\u001b\[0m\\u001b\[?25h\\u001b\[25;1H"\]$' ||
  fail "the last frame does not give the terminal back with the cursor below the picture"

# The recordings bring their two encoders and no other image codec.
ldd "$program" | grep -E 'lib(gd|avif|heif|x265|aom|dav1d|tiff|jpeg|webp)' &&
  fail "the program loads image codecs it does not write"
gifsicle --info "$work/a.gif" >"$work/info"
grep -q '^\* .* 41 images$' "$work/info" || fail "the GIF does not hold 41 frames"
grep -q 'logical screen 720x360' "$work/info" || fail "the GIF is not 80x24 cells of 9x15 pixels"
grep -q 'loop forever' "$work/info" || fail "the GIF does not loop"
[ "$(grep -c 'delay 0.10s' "$work/info")" -eq 41 ] || fail "not every frame lasts 0.10 s at 10 fps"
record "$work/slow.gif" --seed 5 --ticks 5 --fps 3
[ "$(gifsicle --info "$work/slow.gif" | awk '$3 == "delay" { sub("s", "", $4); t += $4 * 100 } END { print t }')" = 200 ] ||
  fail "six frames at 3 fps do not last two seconds"

# Every cell of the GIF's last frame, of a frame between (each frame holds
# only the pixels that changed) and of the PNG shows its character's colour
# from the colour dump and black only, and the water rows are water.
for ticks in 20 40; do "$program" --dump --colour --seed 5 --ticks "$ticks" >"$work/colours-$ticks"; done
convert "$work/a.gif" -coalesce -delete 0--2 "$work/gif.ppm"
convert "$work/a.gif" -coalesce -delete 21--1 -delete 0--2 "$work/gif-20.ppm"
convert "$work/a.png" "$work/png.ppm"
for run in "gif 40" "gif-20 20" "png 40"; do
  read -r picture ticks <<<"$run"
  python3 - "$work/colours-$ticks" "$work/$picture.ppm" <<'EOF' || fail "the $picture's pixels are not the dump's colours"
import re, sys
rgb = {30: (0, 0, 0)}
for i, c in enumerate([(170, 0, 0), (0, 170, 0), (170, 170, 0), (0, 0, 170), (170, 0, 170), (0, 170, 170), (170, 170, 170)]):
    rgb[31 + i] = c
    rgb[91 + i] = tuple(255 if v else 0 for v in c)
rows = []
for line in open(sys.argv[1]).read().splitlines():
    cells, colour = [], None
    for code, text in re.findall(r'\x1b\[(\d+)m|(.)', line):
        if code: colour = int(code)
        else: cells.append((text, rgb.get(colour)))
    rows.append(cells)
data = open(sys.argv[2], 'rb').read()
_, size, _, pixels = data.split(b'\n', 3)
width = int(size.split()[0])
cw, ch = width // len(rows[0]), 15
bad, water = 0, 0
for r, cells in enumerate(rows):
    for c, (text, colour) in enumerate(cells):
        seen = {pixels[(i := 3 * ((r * ch + y) * width + c * cw + x)):i + 3] for y in range(ch) for x in range(cw)}
        want = {bytes((0, 0, 0))} | ({bytes(colour)} if text != ' ' else set())
        bad += seen != want
        water += 5 <= r <= 8 and text != ' ' and colour == (0, 170, 170) and seen == want
print(f"{bad} cells wrong, {water} water cells right")
sys.exit(bad != 0 or water < 150)
EOF
done

# --scale repeats each pixel: the same picture, larger; --scale 1 is no change.
record "$work/s1.png" --seed 5 --ticks 40 --scale 1 && cmp -s "$work/a.png" "$work/s1.png" || fail "--scale 1 changed the PNG"
for run in "gif 3" "png 2"; do
  read -r format scale <<<"$run"
  record "$work/s.$format" --seed 5 --ticks 40 --scale "$scale" || fail "--scale $scale: $(cat "$work/err")"
  convert "$work/s.$format" -coalesce -delete 0--2 "$work/s.ppm"
  convert "$work/$format.ppm" -sample "${scale}00%" "$work/want.ppm"
  cmp -s "$work/s.ppm" "$work/want.ppm" || fail "the .$format at --scale $scale is not the picture made $scale times larger"
done

# Nothing half-written: a full device, a file size limit, a stop signal.
mkdir "$work/out"
record "$work/none/x.cast" && fail "recording into a missing folder succeeded"
[ "$(cat "$work/err")" = "glyphmarinae: cannot create $work/none/x.cast: No such file or directory" ] ||
  fail "a missing folder said: $(cat "$work/err")"
ln -s /dev/full "$work/out/full.gif"
record "$work/out/full.gif" --seed 1 && fail "writing to /dev/full succeeded"
[ "$(grep -c . "$work/err")" -eq 1 ] || fail "a full device did not print one line"
(trap '' XFSZ; ulimit -f 40; record "$work/out/big.gif" --seed 1) && fail "writing past the size limit succeeded"
[ "$(grep -c . "$work/err")" -eq 1 ] || fail "a write error did not print one line"
for signal in INT TERM; do
  "$program" --record "$work/out/long.cast" --size 1000x300 --ticks 100000 2>"$work/err" &
  for _ in $(seq 200); do compgen -G "$work/out/.long.cast.*" >/dev/null && break; sleep 0.02; done
  sleep 0.2
  kill -s "$signal" $!
  wait $!
  status=$?
  [ "$status" -ne 0 ] || fail "SIG$signal ended the recording with status 0"
  [ "$(grep -c . "$work/err")" -eq 1 ] || fail "SIG$signal did not print one line"
done
[ "$(ls -A "$work/out")" = "full.gif" ] || fail "a failed recording left files: $(ls -A "$work/out")"

# A finished file replaces an older one and has the usual permissions.
echo old >"$work/out/new.png"
(umask 022; record "$work/out/new.png" --ticks 1) || fail "recording over an older file failed"
[ "$(stat -c %a "$work/out/new.png")" = 644 ] || fail "the PNG's permissions are $(stat -c %a "$work/out/new.png")"
head -c 4 "$work/out/new.png" | grep -q PNG || fail "the old file was not replaced"
# Through a link the file it points to is replaced, and the link stays a link.
ln -s new.png "$work/out/link.png"
record "$work/out/link.png" --ticks 2 && [ -L "$work/out/link.png" ] || fail "recording through a link replaced the link"

# On a terminal a long recording shows its progress and erases it at the end.
tmux -L "$socket" -f "$work/tmux.conf" new-session -d -x 100 -y 10 \
  "$program --record $work/out/slow.gif --size 240x80 --ticks 400; touch $work/played; sleep 60"
shown=
for _ in $(seq 300); do
  tmux -L "$socket" capture-pane -p | grep -q '^\[#*\.*\] [0-9]*/401 frames [0-9]*% .* left' && { shown=1; break; }
  [ -e "$work/played" ] && break
  sleep 0.05
done
[ -n "$shown" ] || fail "no progress bar on the terminal"
for _ in $(seq 600); do [ -e "$work/played" ] && break; sleep 0.1; done
[ -z "$(tmux -L "$socket" capture-pane -p | tr -d ' \n')" ] || fail "the progress bar was not erased"

[ "$failures" -eq 0 ] && echo "record: all checks passed"
exit $((failures > 0))
