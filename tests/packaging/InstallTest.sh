#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop
# installation needs: every file in its place and nothing else, the desktop
# entry, AppStream data and file type accepted by the freedesktop tools, the
# three naming each other consistently, and manual pages that render cleanly
# and document every command quillon-cli has.
#
# usage: InstallTest.sh BUILD_DIR APP_ID VERSION HAS_GUI(0|1)
set -uo pipefail

build=$1 id=$2 version=$3 gui=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"; rm -f "$prefix.log"
  echo "FAIL: cmake --install"; exit 1
fi
rm -f "$prefix.log"

# --- the files, exactly ----------------------------------------------------
expected=(
  bin/quillon-cli
  libexec/quillon/quillon-cli-draw
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/mime/packages/$id.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/icons/hicolor/48x48/apps/$id.png
  share/icons/hicolor/256x256/apps/$id.png
  share/man/man1/quillon-cli.1.gz
  share/doc/quillon/copyright
  share/doc/quillon/changelog.gz
)
if [ "$gui" = 1 ]; then
  expected+=(bin/quillon share/man/man1/quillon.1.gz)
fi
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" = "$wanted" ]; then
  pass "installed files"
else
  fail "installed files differ (- expected, + installed):"
  diff <(echo "$wanted") <(echo "$actual") | grep '^[<>]' | sed 's/^</  -/; s/^>/  +/'
fi
for f in "${expected[@]}"; do
  [ -s "$prefix/$f" ] || fail "$f is missing or empty"
done
for b in bin/quillon-cli bin/quillon; do
  [ -e "$prefix/$b" ] && { [ -x "$prefix/$b" ] || fail "$b is not executable"; }
done

out=$("$prefix/bin/quillon-cli" --version 2>&1)
[ "$out" = "quillon-cli $version" ] && pass "installed quillon-cli runs" || fail "quillon-cli --version said: $out"
# The drawing commands run in the installed helper, settings as quillon-cli's.
printf '%%\r\n   N00 G22 X      Z       F    \r\n   M\r\n' >"$prefix/welle.cnc"
if "$prefix/bin/quillon-cli" preview --machine 2 "$prefix/welle.cnc" --svg "$prefix/welle.svg" >/dev/null 2>&1 \
   && grep -q '<svg' "$prefix/welle.svg"; then
  pass "installed quillon-cli preview runs"
else
  fail "installed quillon-cli preview did not write its drawing"
fi
rm -f "$prefix/welle.cnc" "$prefix/welle.svg"

# --- icons -------------------------------------------------------------------
png_size() {  # width x height from the IHDR chunk
  local hex
  hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
  echo "$((16#${hex:0:8}))x$((16#${hex:8:8}))"
}
for size in 48 256; do
  f=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(head -c 8 "$f" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$f is not a PNG"
  [ "$(png_size "$f")" = "${size}x${size}" ] || fail "$f is $(png_size "$f"), not ${size}x${size}"
done
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/$id.svg" && pass "icons" || fail "the SVG icon is not well-formed"

# --- desktop entry -----------------------------------------------------------
desktop=$prefix/share/applications/$id.desktop
key() { sed -n "s/^$1=//p" "$desktop"; }
if desktop-file-validate "$desktop"; then pass "desktop-file-validate"; else fail "desktop-file-validate"; fi
[ "$(key Name)" = "Quillon CNC Editor" ] || fail "desktop Name is '$(key Name)'"
[ "$(key Exec)" = "quillon %f" ] || fail "desktop Exec is '$(key Exec)'"
key Comment | grep -q '[äöüß]\|für\|und' || fail "desktop Comment is not German: '$(key Comment)'"
for c in Education Engineering; do
  key Categories | tr ';' '\n' | grep -qx "$c" || fail "desktop Categories lack $c"
done
[ "$(key Icon)" = "$id" ] || fail "desktop Icon is '$(key Icon)', the icons are named $id"
# The window's WM_CLASS instance is the executable's name; docks and task
# switchers find the entry (and its icon) by it.
[ "$(key StartupWMClass)" = "quillon" ] || fail "desktop StartupWMClass is '$(key StartupWMClass)'"

# --- file type -----------------------------------------------------------------
mimexml=$prefix/share/mime/packages/$id.xml
types=$(xmllint --xpath '//*[local-name()="mime-type"]/@type' "$mimexml" 2>/dev/null | sed 's/ type="\([^"]*\)"/\1\n/g' | sed '/^$/d')
if [ "$types" != "text/x-quillon-cnc" ]; then
  fail "the file type file defines '$types' instead of text/x-quillon-cnc alone"
fi
[ "$(key MimeType)" = "text/x-quillon-cnc;" ] || fail "desktop MimeType is '$(key MimeType)'"
# Build a MIME database from our file alone, as update-mime-database does on
# install: *.cnc must land on our type, a kind of plain text, and nothing else.
xmllint --noout "$mimexml" || fail "the file type file is not well-formed XML"
mimedb=$prefix/share/mimedb
mkdir -p "$mimedb/packages" && cp "$mimexml" "$mimedb/packages/"
XDG_DATA_DIRS=$prefix/share update-mime-database "$mimedb" >/dev/null 2>&1 || fail "update-mime-database failed"
globs=$(grep -v '^#' "$mimedb/globs2")
[ "$globs" = "50:text/x-quillon-cnc:*.cnc" ] && pass "file type" || fail "the file type's globs are: $globs"
grep -qx 'text/x-quillon-cnc text/plain' "$mimedb/subclasses" || fail "text/x-quillon-cnc is not a kind of text/plain"
rm -rf "$mimedb"

# --- AppStream -----------------------------------------------------------------
metainfo=$prefix/share/metainfo/$id.metainfo.xml
if appstreamcli validate --no-net --no-color "$metainfo"; then pass "appstreamcli validate"; else fail "appstreamcli validate"; fi
xp() { xmllint --xpath "string($1)" "$metainfo"; }
[ "$(xp /component/id)" = "$id" ] || fail "metainfo id is '$(xp /component/id)'"
[ "$(xp '/component/launchable[@type="desktop-id"]')" = "$id.desktop" ] || fail "metainfo launchable is not $id.desktop"
[ "$(xp '/component/releases/release[1]/@version')" = "$version" ] \
  || fail "the newest metainfo release is '$(xp '/component/releases/release[1]/@version')', the program is $version"
[ "$(xp '/component/provides/mediatype')" = "text/x-quillon-cnc" ] || fail "metainfo provides no text/x-quillon-cnc"

# --- changelog and copyright ---------------------------------------------------
changelog=$(mktemp) && zcat "$prefix/share/doc/quillon/changelog.gz" >"$changelog"
[ "$(dpkg-parsechangelog -l "$changelog" -S Version 2>&1)" = "$version" ] && pass "changelog" \
  || fail "the changelog's newest entry is not $version: $(dpkg-parsechangelog -l "$changelog" -S Version 2>&1)"
rm -f "$changelog"
grep -q '^Copyright: ' "$prefix/share/doc/quillon/copyright" || fail "copyright names no holder"

# --- manual pages --------------------------------------------------------------
render() {  # prints the page as text; groff's warnings go to the second argument
  zcat "$1" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -P-cbou 2>"$2"
}
pages=(quillon-cli)
[ "$gui" = 1 ] && pages+=(quillon)
for page in "${pages[@]}"; do
  warn=$(mktemp)
  text=$(render "$prefix/share/man/man1/$page.1.gz" "$warn")
  [ -s "$warn" ] && fail "$page.1 renders with warnings: $(cat "$warn")"
  rm -f "$warn"
  grep -q "Quillon $version" <<<"$text" || fail "$page.1 does not carry version $version"
  [ "$page" = quillon-cli ] && cli_text=$text
done
commands_section=$(echo "$cli_text" | sed -n '/^COMMANDS/,/^EXIT STATUS/p')
# A here-string, not a pipe: grep -q quits at the first match, and with pipefail
# the writer's SIGPIPE would make a found command count as missing.
documented() { grep -qE "^ {7}$1( |$)" <<<"$commands_section"; }
for c in check format send receive export print; do
  documented "$c" || fail "quillon-cli.1 does not document the $c command"
done
# Every command the program itself offers must be in the manual.
offered=$("$prefix/bin/quillon-cli" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$offered" ] || fail "quillon-cli --help lists no commands"
for c in $offered; do
  documented "$c" || fail "quillon-cli offers '$c', which its manual page does not document"
done
pass "manual pages"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all install checks passed"
