#!/usr/bin/env bash
# The Debian package from cpack: its Depends line worked out from the
# programs' libraries, its changelog for its version, lintian without an
# error or a warning; dpkg installs it, both programs start from /usr/bin
# under a private Xvfb and keep running; dpkg -r leaves none of its files
# and none of the directories it brought.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: installing the package needs root (run the tests with sudo)"
  exit 77
fi
build=$1
if [ "${2:-0}" = 1 ]; then
  echo "skipped: a sanitizer build is not packaged"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
. "$here/install_lib.sh"
work=$(mktemp -d)
pid=""
package=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  # Also after dpkg -r: a failed check may have found files it kept.
  if [ -n "$package" ]; then dpkg --purge "$package" >/dev/null 2>&1 || true; fi
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one package: ${debs[*]}"
deb=${debs[0]}
name=$(dpkg-deb -f "$deb" Package)
depends=$(dpkg-deb -f "$deb" Depends)
echo "$name: Depends: $depends"
for lib in libc6 libqt6widgets6 libqt6multimedia6 libcups2 qt6-translations-l10n; do
  grep -Eq "(^|, )$lib(t64)?( |,|$)" <<<"$depends" || fail "Depends lacks $lib"
done
# Wayland sessions: Qt's Wayland platform, and a sound server for the
# tone, recommended.
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland, pulseaudio | pipewire-pulse" ] || fail "Recommends: '$(dpkg-deb -f "$deb" Recommends)'"

# Its changelog's latest entry is this package and version.
version=$(dpkg-deb -f "$deb" Version)
latest=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$name/changelog.Debian.gz" | zcat | sed -n 1p) \
  || fail "no usr/share/doc/$name/changelog.Debian.gz in the package"
[[ $latest == "$name ($version) "* ]] || fail "changelog.Debian.gz starts '$latest', the package is $name $version"

# lintian: no error and no warning (infos are shown, they do not fail),
# and no override left that matches nothing. (With --show-overrides
# lintian 2.116 fails on the overridden tags as well, so they stay hidden.)
lintian_status=0
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 \
  || lintian_status=$?
echo "lintian $(lintian --version | awk '{print $2}') on $(basename "$deb"):"
sed 's/^/  /' "$work/lintian.log"
[ "$lintian_status" -eq 0 ] || fail "lintian failed with status $lintian_status"
if grep -E '^[EW]: |unused-override|mismatched-override' "$work/lintian.log"; then
  fail "lintian: errors, warnings or stale overrides above"
fi

# The package holds exactly what cmake --install puts under /usr.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||; /^$/d' >"$work/contents"
grep -v '/$' "$work/contents" | sort >"$work/files"
expected_files | sed 's|^|usr/|' | sort >"$work/expected"
diff -u "$work/expected" "$work/files" || fail "package files differ from the list above"
grep '/$' "$work/contents" | sed 's|/$||' >"$work/dirs"
while read -r d; do [ -d "/$d" ] && echo "$d"; done <"$work/dirs" >"$work/system-dirs" || true

if dpkg-query -W -f='${Status}\n' "$name" 2>/dev/null | grep -q "ok installed"; then
  fail "$name is installed already: remove it (dpkg -r $name) before this test"
fi
package=$name
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i failed"; }

# Each program from /usr/bin shows its window and is still running a
# moment later.
start_xvfb 1280x1024x24
cd "$work"
start_program() { # $1: program, $2: start of its window title
  /usr/bin/"$1" 2>"$work/$1.stderr" &
  pid=$!
  wait_window "$2" >/dev/null || { cat "$work/$1.stderr"; fail "$1: no window"; }
  sleep 1
  kill -0 "$pid" 2>/dev/null || { cat "$work/$1.stderr"; fail "$1 ended by itself"; }
  # SIGTERM ends it with status 128+15; a crash on the way out would not.
  end_process "$pid"; pid=""
  local status=$END_STATUS
  [ "$status" -eq 143 ] || { cat "$work/$1.stderr"; fail "$1: exit status $status after SIGTERM"; }
  [ ! -s "$work/$1.stderr" ] || { cat "$work/$1.stderr"; fail "$1 wrote to stderr"; }
  echo "/usr/bin/$1: window '$2...' shown, still running, ended by SIGTERM"
}
start_program wavesum "Fouriersynthese"
start_program waveprint "Fourierzerlegung-Rechteck"

dpkg -r "$name" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -r failed"; }
if dpkg-query -W -f='${Status}\n' "$name" 2>/dev/null | grep -q "ok installed"; then
  fail "$name still installed after dpkg -r"
fi
left=""
while read -r f; do
  if [ -e "/$f" ] || [ -L "/$f" ]; then left+=" /$f"; fi
done <"$work/files"
while read -r d; do
  if [ -d "/$d" ] && ! grep -qxF "$d" "$work/system-dirs"; then left+=" /$d/"; fi
done <"$work/dirs"
[ -z "$left" ] || fail "left after dpkg -r:$left"
package=""
echo "installed and removed $name: $(wc -l <"$work/files") files, $(($(wc -l <"$work/dirs") - $(wc -l <"$work/system-dirs"))) directories of its own"
