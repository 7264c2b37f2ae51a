#!/usr/bin/env bash
# Renders the committed PNG icons from quillon.svg. Run it after changing the
# SVG and commit the PNGs with it; the build itself only copies them.
# Uses rsvg-convert (Debian package librsvg2-bin) and falls back to
# ImageMagick's convert, which renders text less faithfully.
set -euo pipefail
cd "$(dirname "$0")"

render() {
  local size=$1 out=$2
  if command -v rsvg-convert >/dev/null 2>&1; then
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio quillon.svg --output "$out"
  elif [ -x /usr/bin/convert ]; then
    /usr/bin/convert -background none -density 384 quillon.svg -resize "${size}x${size}" \
      -define png:exclude-chunks=date,time "$out"
  else
    echo "render-icons.sh: needs rsvg-convert (apt-get install librsvg2-bin) or ImageMagick" >&2
    exit 1
  fi
}

for size in 48 256; do
  render "$size" "quillon-$size.png"
  echo "quillon-$size.png"
done
