#!/usr/bin/env bash
# Takes the README's screenshots of the editor under Xvfb: a lathe program
# (Mark 4, and Mark 2) and a mill program (F1), each opened from the command
# line; the pictures are docs/screenshots/mark4.png, mark2.png and f1.png.
# Run it after the window changes and commit the PNGs in docs/screenshots/.
#
# usage: scripts/screenshots.sh [QUILLON_BINARY]   (default: build/app/quillon)
# Needs xvfb and imagemagick (both installed by scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

quillon=${1:-build/app/quillon}
[[ $quillon = /* ]] || quillon=$root/$quillon
out=$root/docs/screenshots
lathe_program=$root/tests/data/mark4-welle.cnc
mark2_program=$root/tests/data/mark2-welle.cnc
mill_program=$root/tests/data/f1-tasche.cnc
settle=${SCREENSHOT_SETTLE:-5}   # seconds for the splash to close and the program to load

if [ ! -x "$quillon" ]; then
  echo "screenshots: no editor at $quillon; build it first (make build)" >&2
  exit 1
fi
for tool in Xvfb /usr/bin/import /usr/bin/convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "screenshots: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the descriptor we give it.
Xvfb -displayfd 3 -screen 0 1280x960x24 -br -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "screenshots: Xvfb did not start" >&2; exit 1; }
display=:$(cat "$work/display")

mkdir -p "$out"
shoot() {  # machine digit, program file, output name
  local machine=$1 program=$2 name=$3
  # A settings file of its own per run, so the user's settings neither show
  # up in the picture nor change.
  printf '[Settings]\r\nType=%s\r\nUnits=metric\r\n' "$machine" >"$work/Quillon.ini"
  HOME=$work XDG_CONFIG_HOME=$work/config DISPLAY=$display QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
    "$quillon" --settings "$work/Quillon.ini" "$program" "$machine" >"$work/$name.log" 2>&1 &
  app_pid=$!
  sleep "$settle"
  if ! kill -0 "$app_pid" 2>/dev/null; then
    cat "$work/$name.log" >&2
    echo "screenshots: quillon ended before the picture was taken" >&2
    exit 1
  fi
  /usr/bin/import -display "$display" -window root "$work/$name-full.png"
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  # Without a window manager the window sits on the black root window: cut
  # the black away and keep the window alone.
  /usr/bin/convert "$work/$name-full.png" -trim +repage -define png:exclude-chunks=date,time "$out/$name.png"
  echo "$out/$name.png"
}

shoot 4 "$lathe_program" mark4
shoot 2 "$mark2_program" mark2
shoot 1 "$mill_program" f1
