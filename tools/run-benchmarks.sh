#!/usr/bin/env bash
# Runs every benchmark program and keeps its table under build/bench/<name>.txt.
set -euo pipefail
dir=${1:?build directory}
shopt -s nullglob
for b in "$dir"/bench/bench_*; do
  [ -x "$b" ] || continue
  name=$(basename "$b"); name=${name#bench_}
  "$b" | tee "$dir/$name.txt"
done
