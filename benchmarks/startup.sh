#!/usr/bin/env bash
# Start-up time: process start to the end of `quillon-cli --version`, over
# several runs, median and spread in milliseconds.
# usage: startup.sh BUILD_DIR [RUNS]
set -euo pipefail

build=${1:?build folder}
runs=${2:-21}
cli="$build/app/quillon-cli"
[ -x "$cli" ] || { echo "no $cli" >&2; exit 1; }

"$cli" --version >/dev/null  # first run warms the page cache; not counted
times=()
for ((i = 0; i < runs; i++)); do
  start=$EPOCHREALTIME
  "$cli" --version >/dev/null
  end=$EPOCHREALTIME
  times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) * 1000 }')")
done
printf '%s\n' "${times[@]}" | sort -n | awk -v n="$runs" '
  { t[NR] = $1 }
  END { printf "quillon-cli --version: median %.1f ms, min %.1f ms, max %.1f ms over %d runs\n", t[int((n + 1) / 2)], t[1], t[n], n }'
