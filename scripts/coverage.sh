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
rm -rf "$build/gcov-save-faults"
export GCOV_ERROR_FILE="$build/gcov-errors.log"
status=0
# The save-fault tests kill their writer and cap its file size on purpose;
# its coverage files would be torn, and every later process merging into
# them would fail. They run last and write their coverage elsewhere.
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" -E '^save_fault_tests$') || status=$?
(cd "$build" && GCOV_PREFIX="$build/gcov-save-faults" QT_QPA_PLATFORM=offscreen \
    ctest --output-on-failure -R '^save_fault_tests$') || status=$?
filters=(--root . --object-directory "$build" --filter 'src/' --filter 'app/')
gcovr "${filters[@]}" --json-summary "$build/coverage.json"
gcovr "${filters[@]}" --exclude-throw-branches --json-summary "$build/coverage-nothrow.json"
mkdir -p "$build/coverage"
gcovr "${filters[@]}" --html-details "$build/coverage/index.html"
python3 scripts/coverage-summary.py "$build/coverage.json" "$build/coverage-nothrow.json"
exit "$status"
