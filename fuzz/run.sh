#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, replays every input that once
# broke a target, then fuzzes each target for SECONDS (default 60), as many at
# a time as there are cores, from the committed seed corpus. Prints the runs
# and coverage of each target; exits 1 if any target found a failure, leaving
# the input under BUILD/artifacts/<target>/.
#
#   fuzz/run.sh [SECONDS]      (GLYPH_FUZZ_BUILD chooses the build directory)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-60}
build=${GLYPH_FUZZ_BUILD:-$top/build-fuzz}
jobs=$(nproc)
targets=(sprite_frame_fuzz scene_fuzz cli_options_fuzz windows_command_line_fuzz http_request_fuzz telnet_fuzz
         proxy_header_fuzz)

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null

for target in "${targets[@]}"; do
  inputs=(fuzz/regressions/"$target"/*)
  [ -e "${inputs[0]}" ] || continue
  if ! "$build/$target" "${inputs[@]}" >"$build/$target.regressions.log" 2>&1; then
    echo "$target: a kept regression input fails again; see $build/$target.regressions.log" >&2
    tail -n 30 "$build/$target.regressions.log" >&2
    exit 1
  fi
  echo "$target: ${#inputs[@]} regression inputs pass"
done

fuzz_one() {
  local target=$1 work="$build/corpus/$1" artifacts="$build/artifacts/$1/"
  rm -rf "$work" && mkdir -p "$work" "$artifacts"
  # New inputs go into the build tree; the committed corpus is only read.
  "$build/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts" "$work" "fuzz/corpus/$target" >"$build/$target.log" 2>&1
}

declare -A status
running=()
for target in "${targets[@]}"; do
  fuzz_one "$target" &
  running+=("$!:$target")
  if [ ${#running[@]} -ge "$jobs" ]; then
    entry=${running[0]}
    running=("${running[@]:1}")
    if wait "${entry%%:*}"; then status[${entry#*:}]=0; else status[${entry#*:}]=1; fi
  fi
done
for entry in "${running[@]}"; do
  if wait "${entry%%:*}"; then status[${entry#*:}]=0; else status[${entry#*:}]=1; fi
done

failed=0
printf '%-28s %12s %10s %16s %10s\n' target runs exec/s "edges covered" features
for target in "${targets[@]}"; do
  log="$build/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  edges=$(sed -n 's/^INFO: Loaded 1 modules *(\([0-9]*\) inline 8-bit counters.*/\1/p' "$log" | head -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  printf '%-28s %12s %10s %16s %10s\n' "$target" "${runs:-?}" "${speed:-?}" "${cov:-?} of ${edges:-?}" "${ft:-?}"
  if [ "${status[$target]}" -ne 0 ]; then
    failed=1
    echo "$target FAILED; the input is in ${build}/artifacts/$target/:" >&2
    grep -E -m 20 'ERROR|property broken|SUMMARY|artifact' "$log" >&2 || tail -n 30 "$log" >&2
  fi
done
exit "$failed"
