#!/usr/bin/env bash
# Every fuzz target for 60 seconds, after replaying the inputs that once
# broke one; the targets run two at a time on a two-core machine.
set -euo pipefail
cd "$(dirname "$0")/../.."
GLYPH_FUZZ_BUILD=${GLYPH_FUZZ_BUILD:-build-fuzz} bash fuzz/run.sh "${GLYPH_FUZZ_SECONDS:-60}"
