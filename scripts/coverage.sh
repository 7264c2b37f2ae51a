#!/usr/bin/env bash
# Line and branch coverage of src/ and app/ from the plain suite, in a Debug
# build of its own instrumented for gcov. Prints a summary per folder and
# leaves an HTML report in BUILD/coverage/index.html.
# usage: coverage.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build-coverage}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DQUILLON_COVERAGE=ON -DQUILLON_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$jobs"
find "$build" -name '*.gcda' -delete
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
filters=(--root . --object-directory "$build" --filter 'src/' --filter 'app/')
gcovr "${filters[@]}" --json-summary "$build/coverage.json"
gcovr "${filters[@]}" --exclude-throw-branches --json-summary "$build/coverage-nothrow.json"
mkdir -p "$build/coverage"
gcovr "${filters[@]}" --html-details "$build/coverage/index.html"
python3 scripts/coverage-summary.py "$build/coverage.json" "$build/coverage-nothrow.json"
