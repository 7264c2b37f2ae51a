#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a set time each.
# usage: run-fuzz.sh BUILD_DIR SECONDS
# New inputs the fuzzer finds go to BUILD_DIR/fuzz-corpus/<target>/ (the
# stored corpus in tests/fuzz/corpus/ is only read); a failing input is kept
# as BUILD_DIR/fuzz-artifacts/<target>/crash-* and should be copied into
# tests/fuzz/corpus/<target>/ once the fault is mended, so the corpus test
# keeps it.
set -uo pipefail

build=${1:?build folder}
seconds=${2:-60}
src=$(cd "$(dirname "$0")/.." && pwd)
status=0
summary=()

shopt -s nullglob
targets=("$build"/tests/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets in $build/tests/fuzz" >&2
  exit 1
fi

for exe in "${targets[@]}"; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  name=$(basename "$exe"); name=${name#fuzz_}
  work="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name/"
  mkdir -p "$work" "$artifacts"
  log="$build/fuzz-artifacts/$name.log"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$exe" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -max_len=8192 \
      -print_final_stats=1 -artifact_prefix="$artifacts" \
      "$work" "$src/tests/fuzz/corpus/$name" >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  if [ $rc -eq 0 ]; then
    summary+=("$(printf '%-14s ok      %10s runs in %ss  %s' "$name" "${runs:-?}" "$seconds" "$cov")")
  else
    status=1
    summary+=("$(printf '%-14s FAILED  see %s and %s' "$name" "$log" "$artifacts")")
    grep -E 'property broken|ERROR: |SUMMARY: ' "$log" | head -5 >&2
  fi
done

printf '%s\n' "${summary[@]}"
exit $status
