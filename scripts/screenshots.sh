#!/usr/bin/env bash
# Takes the window screenshots in docs/screenshots/ under Xvfb: for each
# machine a new program with two committed lines and a third being entered,
# then the tool path pane beside a lathe and a mill program, and a test run
# of each stopped half-way.
# The click positions assume the 640 x 480 window centred on a 1024 x 768 screen.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
work=$(mktemp -d)
display=:${QUILLON_XVFB_DISPLAY:-57}
mkdir -p "$out"

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1

shoot() {
  local machine=$1 name=$2; shift 2
  rm -f "$work/Quillon.ini"
  DISPLAY=$display "$root/$build/app/quillon" --settings "$work/Quillon.ini" "$machine" >/dev/null 2>&1 &
  local app=$!
  sleep 4
  DISPLAY=$display python3 "$root/scripts/xdrive.py" "$@"
  sleep 1
  DISPLAY=$display import -window root -crop 640x480+192+145 +repage "$out/$name.png"
  kill $app
  wait $app 2>/dev/null || true
}

lathe=("c:600,407" "s:0.5" 't:0\t500\tAnfahren\n' "s:0.3" "c:600,439" "s:0.5"
       't:1250\t-500\t100\tSchlichten\n' "s:0.3" "c:600,471" "s:0.5" 't:1500\t-900\t80')
shoot 4 mark4 "${lathe[@]}"
shoot 2 mark2 "${lathe[@]}"
shoot 1 f1 "c:600,407" "s:0.5" 't:0\t0\t500\tAnfahren\n' "s:0.3" "c:600,439" "s:0.5" \
  't:1250\t-300\t-500\t100\tNut\n' "s:0.3" "c:600,471" "s:0.5" 't:1500\t200\t-900\t80'
# The tool path pane beside a program opened from tests/data: a larger window
# placed by its settings (Win in twips), the pane docked at the right.
preview() {
  local machine=$1 file=$2 name=$3; shift 3
  cat >"$work/Quillon.ini" <<INI
[Settings]
Type=$machine
Warning=No
Win=180,450,14700,10500
Preview=Yes
PreviewSide=right
PreviewWin=0,0,6000,0
INI
  DISPLAY=$display "$root/$build/app/quillon" --settings "$work/Quillon.ini" "$root/tests/data/$file" >/dev/null 2>&1 &
  local app=$!
  sleep 4
  # Select a row so the pane shows its move highlighted.
  [ $# -eq 0 ] || DISPLAY=$display python3 "$root/scripts/xdrive.py" "$@"
  sleep 1
  DISPLAY=$display import -window root -crop 980x700+12+30 +repage "$out/$name.png"
  kill $app
  wait $app 2>/dev/null || true
}
preview 4 mark4-kontur.cnc preview-lathe "c:112,245"
preview 1 f1-platte.cnc preview-mill "c:112,261"
# A test run half-way: the first row clicked, then F10 line by line.
f10() { echo "c:112,117 s:0.3"; for _ in $(seq "$1"); do echo "k:F10 s:0.25"; done; }
# shellcheck disable=SC2046  # one xdrive step a word
preview 4 mark4-kontur.cnc testrun-lathe $(f10 11)
# shellcheck disable=SC2046
preview 1 f1-platte.cnc testrun-mill $(f10 17)
echo "screenshots in $out"
