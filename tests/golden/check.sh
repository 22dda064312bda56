#!/usr/bin/env bash
# Runs the program with a case's arguments and compares its output with the
# case's expected screen, byte for byte.
set -euo pipefail
program=$1
case_dir=$2
read -r -a args < "$case_dir/args"
if ! diff -u "$case_dir/expected.txt" <("$program" "${args[@]}"); then
  echo "output differs from $case_dir/expected.txt" >&2
  exit 1
fi
