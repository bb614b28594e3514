#!/usr/bin/env bash
# run-fuzzers.sh <build dir>: runs every built libFuzzer target, one after the other, for
# ZV_FUZZ_SECONDS each (default 20) or until ZV_FUZZ_RUNS inputs (when set), whichever
# comes first. Each target starts from the seeds committed under tests/fuzz/corpus/<name>
# and from what earlier runs kept in <build dir>/corpus/<name>; new inputs go to the
# latter. A finding (crash, leak, sanitizer report, time-out) is saved under
# <build dir>/findings and fails the run (an input counts as hanging after 60 s: on a
# busy shared machine a sanitizer build can stall for seconds without a fault). One
# summary line per target is printed and appended to <build dir>/fuzz-summary.txt.
set -euo pipefail
dir=${1:?build directory}
seconds=${ZV_FUZZ_SECONDS:-20}
runs=${ZV_FUZZ_RUNS:--1}
seeds=$(cd "$(dirname "$0")/../tests/fuzz/corpus" && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:halt_on_error=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
shopt -s nullglob
found=0
failed=0
mkdir -p "$dir/findings"
for fuzzer in "$dir"/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  found=1
  name=$(basename "$fuzzer")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus" "$seeds/$name"
  log="$dir/findings/$name.log"
  echo "fuzzing $name for ${seconds}s${ZV_FUZZ_RUNS:+ or $runs inputs}"
  status=0
  "$fuzzer" -max_total_time="$seconds" -runs="$runs" -rss_limit_mb=2048 -timeout=60 -print_final_stats=1 \
    -artifact_prefix="$dir/findings/$name-" "$corpus" "$seeds/$name" >"$log" 2>&1 || status=$?
  units=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
  rate=$(awk '/stat::average_exec_per_sec/ { print $2 }' "$log")
  last=$(grep -aE '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  files=$(find "$corpus" -type f | wc -l)
  line="$name: ${units:-?} inputs (${rate:-?}/s), cov ${cov:-?}, ft ${ft:-?}, corpus $files files, exit $status"
  echo "$line" | tee -a "$dir/fuzz-summary.txt"
  if [ "$status" != 0 ]; then
    failed=1
    grep -aE 'ERROR|runtime error|SUMMARY|Test unit written|deadly signal' "$log" | head -n 8 || true
  fi
done
[ "$found" = 1 ] || { echo "no fuzz targets built"; exit 1; }
[ "$failed" = 0 ] || { echo "fuzzing found a fault: see $dir/findings"; exit 1; }
