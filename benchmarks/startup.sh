#!/usr/bin/env bash
# Start-up times beside bare Qt programs built from the same Qt, measured in
# one run and interleaved (one run of each in turn), so load on the machine
# falls on both alike. Median and spread in milliseconds, and the ratio of
# the medians:
#  - process start to the end of `quillon-cli --version`, against a bare
#    QCoreApplication (startup_bare_core);
#  - process start to the main window being mapped on a private Xvfb display
#    (when quillon, Xvfb and xwininfo are there), against a bare QMainWindow
#    (startup_bare_window). Offscreen Qt has no window an outside observer
#    can see, so an X server stands in; the window is polled every few
#    milliseconds, which both figures include.
# usage: startup.sh BUILD_DIR [RUNS]
set -euo pipefail

build=${1:?build folder}
runs=${2:-21}
cli="$build/app/quillon-cli"
gui="$build/app/quillon"
[ -x "$cli" ] || { echo "no $cli" >&2; exit 1; }
cmake --build "$build" --target startup_bare_core startup_bare_window >/dev/null
bare_core="$build/benchmarks/startup_bare_core"
bare_window="$build/benchmarks/startup_bare_window"

tmp=$(mktemp -d)
xvfb=""
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

ms() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.1f", (e - s) * 1000 }'; }
median() { sort -n "$1" | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
report() {
  sort -n "$2" | awk -v what="$1" '
    { t[NR] = $1 }
    END { printf "%s: median %.1f ms, min %.1f ms, max %.1f ms over %d runs\n", what, t[int((NR + 1) / 2)], t[1], t[NR], NR }'
}
ratio() { awk -v a="$(median "$2")" -v b="$(median "$3")" -v what="$1" 'BEGIN { printf "%s: %.2f times the bare program\n", what, a / b }'; }

timed() { local start=$EPOCHREALTIME; "$@" >/dev/null; ms "$start" "$EPOCHREALTIME"; echo; }

"$cli" --version >/dev/null; "$bare_core" >/dev/null  # warm the page cache; not counted
for ((i = 0; i < runs; i++)); do
  timed "$cli" --version >>"$tmp/cli"
  timed "$bare_core" >>"$tmp/core"
done
report "quillon-cli --version" "$tmp/cli"
report "bare QCoreApplication" "$tmp/core"
ratio "quillon-cli --version" "$tmp/cli" "$tmp/core"

if [ ! -x "$gui" ] || ! command -v Xvfb >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "main window: skipped (needs $gui, Xvfb and xwininfo)"
  exit 0
fi

display=":$((200 + $$ % 300))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for ((i = 0; i < 100; i++)); do
  xwininfo -display "$display" -root >/dev/null 2>&1 && break
  sleep 0.05
done
# Mark 4, no tool-offset warning: nothing but the main window (and the splash).
printf '[Settings]\r\nType=4\r\nWarning=No\r\n' >"$tmp/Quillon.ini"

# Any window of that title viewable (a window of the run before may linger).
# (-noreset above: the server must not reset when the last program ends.)
mapped() {
  local id
  for id in $(xwininfo -display "$display" -root -tree 2>/dev/null | awk -v t="\"$1" 'index($0, t) { print $1 }'); do
    xwininfo -display "$display" -id "$id" 2>/dev/null | grep -q IsViewable && return 0
  done
  return 1
}

# Prints the milliseconds from start to the window titled $1 being mapped.
window_ms() {
  local title=$1; shift
  local start=$EPOCHREALTIME shown="" pid poll
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$@" >/dev/null 2>"$tmp/stderr" &
  pid=$!
  for ((poll = 0; poll < 4000; poll++)); do
    if mapped "$title"; then shown=$EPOCHREALTIME; break; fi
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ -z "$shown" ]; then
    echo "window '$title' did not appear; the program said:" >&2
    cat "$tmp/stderr" >&2
    echo "and the display holds:" >&2
    xwininfo -display "$display" -root -tree >&2 || true
    exit 1
  fi
  ms "$start" "$shown"; echo
}

for ((i = 0; i <= runs; i++)); do
  q=$(window_ms "Quillon CNC Programm Editor" "$gui" --settings "$tmp/Quillon.ini")
  b=$(window_ms "Bare Qt main window" "$bare_window")
  [ "$i" -eq 0 ] && continue  # the first runs warm the caches
  echo "$q" >>"$tmp/gui"
  echo "$b" >>"$tmp/bare"
done
report "quillon main window mapped (Xvfb)" "$tmp/gui"
report "bare Qt main window mapped (Xvfb)" "$tmp/bare"
ratio "quillon main window" "$tmp/gui" "$tmp/bare"
