#!/usr/bin/env bash
# A long fuzz run, not part of the test command: each fuzz target for a number of executions (default
# 10,000,000), split over JOBS processes that share one working corpus (default 1). Built optimised with
# UBSan only and without comparison tracing (preset fuzz-long; the reader's dictionary stands in for what
# comparison tracing would find), which runs several times faster than the test build; afterwards every
# input the run kept is replayed once under the ASan + UBSan build (preset fuzz). Prints each process's
# libFuzzer statistics and the total number of executions per target; exits non-zero on the first failure
# (the failing input is left under build/fuzz-long/artifacts/).
#   tools/fuzz-long.sh [EXECUTIONS [JOBS [TARGET...]]]     TARGET: message_reader, message_table (default both)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
executions=${1:-10000000}
jobs=${2:-1}
shift $(($# < 2 ? $# : 2))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(message_reader message_table)

tools/setup.sh
for preset in fuzz-long fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target fuzz_message_reader fuzz_message_table
done

# The 128 KiB reads of the message reader otherwise make glibc give memory back and take it again at
# every load.
export MALLOC_TRIM_THRESHOLD_=1073741824 MALLOC_TOP_PAD_=16777216

long=$root/build/fuzz-long
options_message_reader="-dict=$root/fuzz/message_reader.dict"
options_message_table=
seeds_message_reader="$root/fuzz/corpus/message_reader $root/tests/messages/data $root/tools/msgcheck/samples"
seeds_message_table="$root/fuzz/corpus/message_table"
mkdir -p "$long/artifacts"
for target in "${targets[@]}"; do
  work=$long/corpus/$target
  logs=$long/logs/$target
  mkdir -p "$work" "$logs"
  seeds=seeds_$target options=options_$target
  echo "== fuzz_$target: $executions executions in $jobs process(es)"
  start=$SECONDS
  pids=()
  for ((job = 0; job < jobs; ++job)); do
    runs=$((executions / jobs + (job < executions % jobs ? 1 : 0)))
    # shellcheck disable=SC2086 # the options and seed directories are separate words
    "$long/bin/fuzz_$target" -runs="$runs" -seed=$((job + 1)) -max_len=4096 -timeout=10 -print_final_stats=1 \
      ${!options} -artifact_prefix="$long/artifacts/" "$work" ${!seeds} >"$logs/job$job.log" 2>&1 &
    pids+=($!)
  done
  failed=0
  for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
  done
  total=0
  for ((job = 0; job < jobs; ++job)); do
    echo "-- job $job:"
    grep -E '^(Done|stat::)' "$logs/job$job.log" || tail -n 40 "$logs/job$job.log"
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/job$job.log")
    total=$((total + ${n:-0}))
  done
  echo "fuzz_$target: $total executions in $((SECONDS - start)) s"
  if [ "$failed" -ne 0 ]; then
    echo "fuzz_$target failed; logs in $logs" >&2
    exit 1
  fi
  echo "== fuzz_$target: replaying the $(ls "$work" | wc -l) kept inputs under ASan + UBSan"
  "$root/build/fuzz/bin/fuzz_$target" -runs=0 -artifact_prefix="$long/artifacts/" "$work" \
    >"$logs/asan-replay.log" 2>&1 || { tail -n 40 "$logs/asan-replay.log"; exit 1; }
done
