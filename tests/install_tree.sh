#!/usr/bin/env bash
# cmake --install into a scratch prefix: the two programs, their desktop
# entries, six icons, two metainfo files and two manual pages, the
# package's copyright file, changelog and lintian overrides, nothing else.
# The entries and the metainfo validate without errors or warnings, the PNG
# icons have their sizes, entry, icon, metainfo and program name one
# another; the manual pages render without warnings and explain every
# button; the copyright file carries LICENSE's holder and text.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/install_lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "$*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" \
  || { cat "$work/install.log"; fail "cmake --install failed"; }
(cd "$prefix" && find . -mindepth 1 ! -type d | sed 's|^\./||' | sort) >"$work/found"
expected_files | sort >"$work/expected"
diff -u "$work/expected" "$work/found" || fail "installed files differ from the list above"
empty=$(find "$prefix" -mindepth 1 -type d -empty)
[ -z "$empty" ] || fail "empty directories installed: $empty"

for p in $PROGRAMS; do
  [ -x "$prefix/bin/$p" ] || fail "bin/$p is not executable"
  cmp -s "$prefix/bin/$p" "$build/bin/$p" || fail "bin/$p is not the program built as $p"
done

for id in $DESKTOP_IDS; do
  desktop=$prefix/share/applications/$id.desktop
  metainfo=$prefix/share/metainfo/$id.metainfo.xml

  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed: $out"
  if grep -E "(error|warning):" <<<"$out"; then fail "$id.desktop does not validate cleanly"; fi
  [ -z "$out" ] || echo "$out"
  # Errors and warnings fail validation; infos fail here as well (a missing
  # content rating is only an info in AppStream 0.16), all but the one on
  # <developer>, a tag newer than Debian bookworm's AppStream.
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate failed: $out"
  if grep -E "^[EWI]:" <<<"$out" | grep -vE "^I: $id:[0-9]+: unknown-tag developer$"; then
    fail "$id.metainfo.xml does not validate cleanly"
  fi
  echo "$id: $(tail -n1 <<<"$out")"

  icon=$(desktop_key "$desktop" Icon)
  [ "$icon" = "$id" ] || fail "$id.desktop: Icon=$icon, not the desktop ID"
  for icon_file in scalable/apps/$icon.svg 48x48/apps/$icon.png 256x256/apps/$icon.png; do
    [ -f "$prefix/share/icons/hicolor/$icon_file" ] || fail "$id: no icon $icon_file"
  done
  exec_name=$(desktop_key "$desktop" Exec)
  [ -x "$prefix/bin/${exec_name%% *}" ] || fail "$id.desktop: Exec=$exec_name is not an installed program"

  mid=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")
  [ "$mid" = "$id" ] || fail "$id.metainfo.xml: id $mid"
  launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
  [ "$launchable" = "$id.desktop" ] && [ -f "$prefix/share/applications/$launchable" ] \
    || fail "$id.metainfo.xml: launchable '$launchable' is not the installed desktop entry"
  binary=$(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$metainfo")
  [ "$binary" = "${exec_name%% *}" ] || fail "$id.metainfo.xml: binary '$binary', the entry starts '$exec_name'"
  mname=$(sed -n 's|^  <name>\(.*\)</name>|\1|p' "$metainfo")
  [ "$mname" = "$(desktop_key "$desktop" Name)" ] || fail "$id: metainfo name '$mname' is not the entry's Name"

  # Each PNG: its size, transparent corners around an opaque middle, and
  # more than a flat fill.
  for size in 48 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    read -r w h corner middle colours < <(identify -format '%w %h %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a] %k\n' "$png")
    [ "$w $h" = "$size $size" ] || fail "$png is ${w}x$h"
    [ "$corner" = 0 ] && [ "$middle" = 1 ] || fail "$png: corner alpha $corner, middle alpha $middle"
    [ "$colours" -gt 50 ] || fail "$png has only $colours colours"
  done
done

source=$(cd "$here/.." && pwd)
# gzip -9n: no file name (flags 0) and no time stamp (0) in the header,
# maximum compression (extra flags 2), so each build gives the same bytes.
gzip_9n() { [ "$(od -An -tx1 -N9 "$1" | tr -d ' \n')" = 1f8b08000000000002 ]; }

# Each manual page: compressed with gzip -9n, rendered by man without a
# warning from man or groff, a whatis entry for the program, and every
# caption the program's buttons can show explained.
for p in $PROGRAMS; do
  page=$prefix/share/man/man1/$p.1.gz
  gzip_9n "$page" || fail "$p.1.gz is not compressed with gzip -9n: $(od -An -tx1 -N10 "$page")"
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" \
    >"$work/$p.txt" 2>"$work/$p.err" || { cat "$work/$p.err"; fail "man -l $p.1.gz failed"; }
  [ ! -s "$work/$p.err" ] || { cat "$work/$p.err"; fail "man -l $p.1.gz warns"; }
  whatis=$(lexgrog "$page" 2>&1) || fail "$p.1.gz: no whatis entry: $whatis"
  grep -qF "\"$p - " <<<"$whatis" || fail "$p.1.gz: whatis entry $whatis"
  text=$(tr -s ' \n' '  ' <"$work/$p.txt")
  captions=$(sed -n 's/.*\(AddButton\|Caption\)("\([^"]*\)".*/\2/p' "$source/$p/form1.cpp" | sort -u)
  [ -n "$captions" ] || fail "no button captions found in $p/form1.cpp"
  while read -r caption; do
    grep -qF " $caption" <<<"$text" || fail "$p.1.gz does not mention the button '$caption'"
  done <<<"$captions"
  echo "$p.1.gz: ${whatis#*: }, $(wc -l <<<"$captions") button captions explained"
done

# The copyright file: machine-readable, the holder and the permission
# notice of LICENSE. The changelog: the source's, compressed with gzip -9n.
doc=$prefix/share/doc/$PACKAGE
[ "$(head -n1 "$doc/copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] \
  || fail "copyright is not in the machine-readable format"
holder=$(sed -n 's/^Copyright (c) //p' "$source/LICENSE")
[ -n "$holder" ] || fail "LICENSE names no copyright holder"
grep -qxF "Copyright: $holder" "$doc/copyright" || fail "copyright lacks 'Copyright: $holder'"
# The last paragraph is the license text, each line indented, " ." empty.
awk '/^License: Expat$/ { n = NR } { line[NR] = $0 } END { for (i = n + 1; i <= NR; i++) print line[i] }' \
  "$doc/copyright" | sed 's/^ \.$//; s/^ //' >"$work/license-text"
sed -n '/^Permission is hereby granted/,$p' "$source/LICENSE" | diff -u - "$work/license-text" \
  || fail "copyright: the Expat license text is not the one in LICENSE"
gzip_9n "$doc/changelog.Debian.gz" || fail "changelog.Debian.gz is not compressed with gzip -9n"
zcat "$doc/changelog.Debian.gz" | cmp -s - "$source/data/debian/changelog" \
  || fail "changelog.Debian.gz is not data/debian/changelog"
echo "$PACKAGE: copyright ($holder, Expat), changelog: $(zcat "$doc/changelog.Debian.gz" | sed -n 1p)"

echo "installed: $(wc -l <"$work/found") files"
