#!/usr/bin/env bash
# Runs every bench_* executable of a build and prints one table of all
# figures (Markdown, so it can go into benchmarks/README.md as it is), then
# the machine it ran on.
# usage: run-benchmarks.sh BUILD_DIR [extra google-benchmark options]
set -euo pipefail

build=${1:?build folder}
shift || true
shopt -s nullglob

rows=()
for exe in "$build"/benchmarks/bench_*; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  # CSV: name,iterations,real_time,cpu_time,time_unit,...
  while IFS= read -r line; do
    rows+=("$line")
  done < <(QT_QPA_PLATFORM=offscreen "$exe" --benchmark_format=csv "$@" 2>/dev/null \
             | awk -F, 'NR > 1 && $1 != "" { gsub(/"/, "", $1); printf "| %-40s | %12.2f | %12.2f | %-4s | %10s |\n", $1, $3, $4, $5, $2 }')
done

printf '| %-40s | %12s | %12s | %-4s | %10s |\n' "benchmark" "real time" "CPU time" "unit" "iterations"
printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..42})" "$(printf -- '-%.0s' {1..14})" "$(printf -- '-%.0s' {1..14})" "------" "$(printf -- '-%.0s' {1..12})"
printf '%s\n' "${rows[@]}"
echo
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, load average $(cut -d' ' -f1-3 /proc/loadavg) at $(date -u '+%Y-%m-%d %H:%M UTC')"
