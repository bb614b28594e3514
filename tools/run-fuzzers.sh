#!/usr/bin/env bash
# Runs every built libFuzzer target for a bounded time (ZV_FUZZ_SECONDS, default 20 each).
set -euo pipefail
dir=${1:?build directory}
seconds=${ZV_FUZZ_SECONDS:-20}
shopt -s nullglob
found=0
for fuzzer in "$dir"/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  found=1
  name=$(basename "$fuzzer")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  echo "fuzzing $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
done
[ "$found" = 1 ] || echo "no fuzz targets built"
