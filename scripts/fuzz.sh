#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for SECONDS (default 60).
# Each target starts from a scratch copy of its seed corpus, so what it finds does not grow the
# repository; a crash is kept in fuzz-out/<target>/ and the script fails.
# FUZZ_TARGETS="fuzz_roundtrip fuzz_textvalue" limits the run to those targets.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=${FUZZ_TARGETS:-"fuzz_records fuzz_tapefile fuzz_factortable fuzz_textvalue fuzz_formatnumber fuzz_roundtrip fuzz_keypad"}

CXX=clang++ CC=clang cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build build-fuzz -j2 --target $targets

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for target in $targets; do
  name=${target#fuzz_}
  mkdir -p "$scratch/$name" "fuzz-out/$name"
  cp -r "fuzz/corpus/$name/." "$scratch/$name/" 2>/dev/null || true
  echo "== $target for ${seconds}s"
  if ! build-fuzz/fuzz/"$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
       -print_final_stats=1 -artifact_prefix="fuzz-out/$name/" "$scratch/$name" \
       >"fuzz-out/$name/log.txt" 2>&1; then
    echo "$target FAILED; see fuzz-out/$name/"
    tail -n 40 "fuzz-out/$name/log.txt"
    failed=1
  else
    grep -E '^stat::number_of_executed_units|^Done' "fuzz-out/$name/log.txt" || true
  fi
done
exit $failed
