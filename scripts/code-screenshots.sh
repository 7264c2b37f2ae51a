#!/usr/bin/env bash
# Chooses every code of every machine in the 640 x 480 window under Xvfb, by
# keyboard on the code lists (Home, Right, Space), and puts the line forms
# side by side in one picture per machine (code-forms-<machine>.png), so that
# overlapping fields and cut captions show at a glance.
# Usage: scripts/code-screenshots.sh [build folder] [output folder]
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${2:-$root/build/code-screenshots}
work=$(mktemp -d)
display=:${QUILLON_XVFB_DISPLAY:-58}
mkdir -p "$out"

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display
drive() { python3 "$root/scripts/xdrive.py" "$@"; }

# The window is centred at 192,144; the list headers take the focus without choosing.
gHeader="c:657,389"
mHeader="c:657,537"

forms() {
  local machine=$1 name=$2
  rm -f "$work/Quillon.ini" "$work"/form-*.png
  "$root/$build/app/quillon" --settings "$work/Quillon.ini" "$machine" >/dev/null 2>&1 &
  local app=$!
  sleep 3
  # The codes in table order, as the lists show them.
  local codes
  codes=$(sed -n "/ k${name^}Codes\[\]/,/^};/p" "$root/src/model/CodeTables.cpp" | grep -o '"[GM][0-9][0-9]' | tr -d '"')
  local g=0 m=0 shot=0
  for code in $codes; do
    local steps=()
    if [[ $code == G* ]]; then
      # Recently used G codes (at most four, blue) stand above the table.
      local blue=$(( g < 4 ? g : 4 ))
      steps=("$gHeader" "k:Home")
      for ((i = 0; i < blue + g; i++)); do steps+=("k:Right"); done
      g=$((g + 1))
    else
      steps=("$mHeader" "k:Home")
      for ((i = 0; i < m; i++)); do steps+=("k:Right"); done
      m=$((m + 1))
    fi
    drive "${steps[@]}" "k:space" "s:0.3"
    import -window root -crop 370x160+470+198 +repage "$work/form-$(printf %02d $shot)-$code.png"
    shot=$((shot + 1))
  done
  kill $app
  wait $app 2>/dev/null || true
  montage "$work"/form-*.png -tile 4x -geometry +2+2 "$out/code-forms-$name.png"
}
forms 1 F1
forms 2 Mark2
forms 4 Mark4
echo "line forms in $out"
