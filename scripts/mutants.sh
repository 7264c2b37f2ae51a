#!/usr/bin/env bash
# Small faults put into src/model, src/files, src/editing, src/export and
# src/link one at a time; counts those the plain suite catches.
# usage: mutants.sh [BUILD_DIR] [--only N,M,...] [--list]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-mutants}
shift || true
exec python3 scripts/mutants.py "$build" "$@"
