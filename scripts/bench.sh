#!/usr/bin/env bash
# Builds, then runs every benchmark with repetitions and prints only the medians.
# Extra arguments go to each benchmark program, e.g. --benchmark_filter=BM_OperatorKey.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build
reps=${BENCH_REPETITIONS:-5}
status=0
for program in build/bench/bench_*; do
  if [ ! -x "$program" ]; then
    echo "missing $program: is libbenchmark-dev installed?" >&2
    exit 1
  fi
  echo "== ${program##*/} (median of $reps)"
  # Run beside the data files, as the program and the tests do.
  out=$(cd build/data && "../bench/${program##*/}" --benchmark_repetitions="$reps" \
          --benchmark_report_aggregates_only=true "$@" 2>&1) || status=$?
  grep -E '_median|ERROR' <<<"$out" || true
  if [ "$status" -ne 0 ]; then
    echo "${program##*/} failed with status $status:" >&2
    echo "$out" >&2
    exit "$status"
  fi
done
