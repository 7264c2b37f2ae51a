#!/usr/bin/env bash
# Packs the Debian package from an existing build folder, lints it, installs
# it with dpkg, runs /usr/bin/quillon-cli and removes the package again.
# Needs root (dpkg -i). CI runs it on the test build, which costs only the
# packing; `make package-check` runs it on the package build of `make package`.
#
# usage: scripts/check-package.sh [BUILD_DIR]   (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}

[ -f "$build/CPackConfig.cmake" ] || { echo "check-package: $build is not a configured build folder" >&2; exit 2; }
rm -f "$build"/package/*.deb
log=$(mktemp)
if ! (cd "$build" && cpack -G DEB) >"$log" 2>&1; then cat "$log" >&2; rm -f "$log"; exit 1; fi
rm -f "$log"
debs=("$build"/package/*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "check-package: cpack made no .deb" >&2; exit 1; }
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "package: $deb ($(stat -c %s "$deb") bytes), version $version"
echo "depends: $depends"

for d in fonts-liberation libqt6core6; do
  grep -q "\b$d\b" <<<"$depends" || { echo "FAIL: the package does not depend on $d" >&2; exit 1; }
done
if outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/\|^\./$'); then
  echo "FAIL: files outside /usr: $outside" >&2; exit 1
fi

if command -v lintian >/dev/null 2>&1; then
  echo "lintian:"
  lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
  lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "FAIL: lintian reports errors" >&2; exit 1; }
else
  echo "lintian is not installed; skipped"
fi

[ "$(id -u)" -eq 0 ] || { echo "check-package: dpkg -i needs root" >&2; exit 2; }
had_quillon=0
dpkg-query -W -f='${Status}' quillon 2>/dev/null | grep -q 'install ok installed' && had_quillon=1
cleanup() { [ "$had_quillon" = 1 ] || dpkg -r quillon >/dev/null 2>&1 || true; }
trap cleanup EXIT

dpkg -i "$deb" >/dev/null
out=$(/usr/bin/quillon-cli --version)
[ "$out" = "quillon-cli $version" ] || { echo "FAIL: /usr/bin/quillon-cli --version said: $out" >&2; exit 1; }
home=$(mktemp -d)
HOME=$home XDG_CONFIG_HOME= /usr/bin/quillon-cli check --machine 4 tests/data/mark4-welle.cnc
# Printing needs Qt's offscreen platform plugin and the listing font at run
# time, which only the package's dependencies provide.
if /usr/bin/quillon-cli --help | grep -q '^  print '; then
  HOME=$home XDG_CONFIG_HOME= /usr/bin/quillon-cli print --machine 4 tests/data/mark4-welle.cnc --pdf "$home/listing.pdf" 2>/dev/null \
    && [ -s "$home/listing.pdf" ] || { echo "FAIL: the installed quillon-cli could not print" >&2; exit 1; }
  echo "installed quillon-cli printed a listing"
fi
rm -rf "$home"
if ls /usr/bin/Quillon* >/dev/null 2>&1; then
  echo "FAIL: the installed program left files in /usr/bin" >&2; exit 1
fi
man -w quillon-cli >/dev/null || { echo "FAIL: man finds no quillon-cli page" >&2; exit 1; }
echo "installed with dpkg: /usr/bin/quillon-cli --version -> $out"
echo "package check passed"
