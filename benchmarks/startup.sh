#!/usr/bin/env bash
# Start-up times beside bare Qt programs built from the same Qt, measured in
# one run and interleaved (one run of each in turn), so load on the machine
# falls on both alike. Median and spread in milliseconds, and the ratio of
# the medians:
#  - process start to the end of `quillon-cli --version`, against a bare
#    QCoreApplication (startup_bare_core);
#  - process start to the main window being mapped on a private Xvfb display
#    (when quillon, Xvfb, xev and xprop are there), against a bare QMainWindow
#    (startup_bare_window). Offscreen Qt has no window an outside observer
#    can see, so an X server stands in. One xev listens for the server's map
#    events: an observer that polled would take one of the machine's cores
#    from the program it times.
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
  if [ -n "${xev:-}" ]; then kill "$xev" 2>/dev/null || true; fi
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

if [ ! -x "$gui" ] || ! command -v Xvfb >/dev/null || ! command -v xev >/dev/null || ! command -v xprop >/dev/null; then
  echo "main window: skipped (needs $gui, Xvfb, xev and xprop)"
  exit 0
fi

display=":$((200 + $$ % 300))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for ((i = 0; i < 100; i++)); do
  xprop -display "$display" -root >/dev/null 2>&1 && break
  sleep 0.05
done
# Mark 4, no tool-offset warning: the main window is the only one mapped.
printf '[Settings]\r\nType=4\r\nWarning=No\r\n' >"$tmp/Quillon.ini"

# Every window mapped on the display, one event at a time as the server sends it.
coproc XEV { exec stdbuf -oL xev -display "$display" -root -event substructure 2>/dev/null; }
xev=$XEV_PID
sleep 0.3  # xev has selected the events before the first program starts

# Prints the milliseconds from start to a window of the program's class ($1)
# being mapped. The class, not the title: the editor titles its window for the
# new program only after mapping it.
window_ms() {
  local class=$1; shift
  local start=$EPOCHREALTIME shown="" pid line at id
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$@" >/dev/null 2>"$tmp/stderr" &
  pid=$!
  while IFS= read -r -t 20 line <&"${XEV[0]}"; do
    case $line in
      MapNotify*) at=$EPOCHREALTIME ;;
      *"event 0x"*", window 0x"*)
        [ -n "${at:-}" ] || continue
        id=${line##*window }; id=${id%%,*}
        if xprop -display "$display" -id "$id" WM_CLASS 2>/dev/null | grep -qF "= \"$class\""; then
          shown=$at
          break
        fi
        at="" ;;
    esac
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ -z "$shown" ]; then
    echo "no window of class '$class' appeared; the program said:" >&2
    cat "$tmp/stderr" >&2
    exit 1
  fi
  ms "$start" "$shown"; echo
}
for ((i = 0; i <= runs; i++)); do
  q=$(window_ms quillon "$gui" --settings "$tmp/Quillon.ini")
  b=$(window_ms startup_bare_window "$bare_window")
  [ "$i" -eq 0 ] && continue  # the first runs warm the caches
  echo "$q" >>"$tmp/gui"
  echo "$b" >>"$tmp/bare"
done
report "quillon main window mapped (Xvfb)" "$tmp/gui"
report "bare Qt main window mapped (Xvfb)" "$tmp/bare"
ratio "quillon main window" "$tmp/gui" "$tmp/bare"
