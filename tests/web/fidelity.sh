#!/usr/bin/env bash
# The WebAssembly build's dump against the native program's, byte for byte
# with the colours and without, from a 1x1 grid to a 4K screen's, up to
# 20,000 ticks.   Usage: fidelity.sh NODE DUMP_MJS NATIVE_GLYPHMARINAE
set -uo pipefail
node=$1 dump=$2 native=$3
[ -x "$native" ] || { echo "no native glyphmarinae to compare with (configure with -DGLYPH_NATIVE_PROGRAM=...)"; exit 77; }
failed=0 cases=0
while read -r seed size ticks; do
  for colour in "" --colour; do
    cases=$((cases + 1))
    args=(--seed "$seed" --size "$size" --ticks "$ticks" $colour)
    cmp -s <("$native" --dump "${args[@]}") <("$node" "$dump" "${args[@]}") || { echo "FAIL: ${args[*]}"; failed=1; }
  done
done <<'CASES'
1 80x24 0
7 1x1 100
42 15x5 500
3 132x42 1000
1 200x60 3000
4294967295 349x98 2000
11 1000x1000 20
9 80x24 20000
CASES
echo "$cases dumps compared, $([ $failed -eq 0 ] && echo 'all equal' || echo 'some differ')"
exit "$failed"
