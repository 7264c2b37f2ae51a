#!/usr/bin/env bash
# Renders the committed PNG icons from quillon.svg. Run it after changing the
# SVG and commit the PNGs with it; the build itself only copies them.
# Needs rsvg-convert (Debian package librsvg2-bin): ImageMagick's own SVG
# reader drops the gradients and the turned shapes of this drawing.
set -euo pipefail
cd "$(dirname "$0")"

if ! command -v rsvg-convert >/dev/null 2>&1; then
  echo "render-icons.sh: needs rsvg-convert (apt-get install librsvg2-bin)" >&2
  exit 1
fi
for size in 48 256; do
  rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio quillon.svg --output "quillon-$size.png"
  echo "quillon-$size.png"
done
