#!/usr/bin/env bash
# Start-up times, several runs each, median and spread in milliseconds:
#  - process start to the end of `quillon-cli --version`;
#  - process start to the editor's main window being mapped on a private
#    Xvfb display (when quillon, Xvfb and xwininfo are there). Offscreen Qt
#    has no window an outside observer can see, so an X server stands in;
#    the window is polled every few milliseconds, which the figure includes.
# usage: startup.sh BUILD_DIR [RUNS]
set -euo pipefail

build=${1:?build folder}
runs=${2:-21}
cli="$build/app/quillon-cli"
gui="$build/app/quillon"
[ -x "$cli" ] || { echo "no $cli" >&2; exit 1; }

ms() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.1f", (e - s) * 1000 }'; }
report() {
  sort -n | awk -v what="$1" '
    { t[NR] = $1 }
    END { printf "%s: median %.1f ms, min %.1f ms, max %.1f ms over %d runs\n", what, t[int((NR + 1) / 2)], t[1], t[NR], NR }'
}

"$cli" --version >/dev/null  # warms the page cache; not counted
for ((i = 0; i < runs; i++)); do
  start=$EPOCHREALTIME
  "$cli" --version >/dev/null
  end=$EPOCHREALTIME
  ms "$start" "$end"; echo
done | report "quillon-cli --version"

if [ ! -x "$gui" ] || ! command -v Xvfb >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "main window: skipped (needs $gui, Xvfb and xwininfo)"
  exit 0
fi

tmp=$(mktemp -d)
display=":$((200 + $$ % 300))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
for ((i = 0; i < 100; i++)); do
  xwininfo -display "$display" -root >/dev/null 2>&1 && break
  sleep 0.05
done
# Mark 4, no tool-offset warning: nothing but the main window (and the splash).
printf '[Settings]\r\nType=4\r\nWarning=No\r\n' >"$tmp/Quillon.ini"

mapped() {
  local id
  id=$(xwininfo -display "$display" -root -tree 2>/dev/null | awk '/Quillon CNC Programm Editor/ { print $1; exit }')
  [ -n "$id" ] && xwininfo -display "$display" -id "$id" 2>/dev/null | grep -q IsViewable
}

for ((i = 0; i <= runs; i++)); do
  start=$EPOCHREALTIME
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$gui" --settings "$tmp/Quillon.ini" >/dev/null 2>&1 &
  pid=$!
  shown=""
  for ((poll = 0; poll < 4000; poll++)); do
    if mapped; then shown=$EPOCHREALTIME; break; fi
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$shown" ] || { echo "main window did not appear" >&2; exit 1; }
  [ "$i" -eq 0 ] && continue  # the first run warms the caches
  ms "$start" "$shown"; echo
done | report "quillon main window mapped (Xvfb)"
