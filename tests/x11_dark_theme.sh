#!/usr/bin/env bash
# Both programs under a dark desktop theme (qt6ct with its "darker" colour
# scheme) on a real X server: the window takes the theme's dark colours, the
# picture stays white paper with black ink, and a complete square-wave run
# leaves white above the sum curve and ink below it.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
work=$(mktemp -d)
keep() { [ -n "${KEEP_SHOTS:-}" ] && cp "$work"/*.png "$KEEP_SHOTS"/ 2>/dev/null; return 0; }
pid=""
cleanup() { if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; keep; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT

mkdir -p "$work/config/qt6ct"
cat >"$work/config/qt6ct/qt6ct.conf" <<EOF
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion
EOF
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORMTHEME=qt6ct

# The colour of one pixel of a screenshot, as #rrggbb.
pixel() { convert "$1" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6 | sed 's/^/#/'; }
expect_pixel() { # shot x y colour what
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "${got,,}" = "${4,,}" ] || { echo "$5: $got at ($2, $3), expected $4"; exit 1; }
}

start_xvfb 1280x1024x24

"$build/bin/wavesum" 2>"$work/stderr" &
pid=$!
wait_window "Fouriersynthese" >/dev/null || { cat "$work/stderr"; exit 1; }
start_square
sleep 0.5
adding
done_run=""
for _ in $(seq 60); do
  sleep 1
  import -window root "$work/wavesum.png"
  if "$build/tests/shotcheck" sum "$work/wavesum.png" 9 26 1249 869 >"$work/check.txt" 2>&1; then
    done_run=yes; break
  fi
done
[ -n "$done_run" ] || { echo "no complete run on white paper:"; cat "$work/check.txt"; exit 1; }
cat "$work/check.txt"
# The window itself is in the theme's dark window colour; the picture's
# top left corner is white paper, its bottom left corner black ink.
expect_pixel "$work/wavesum.png" 4 4 "#222020" "window background"
expect_pixel "$work/wavesum.png" 12 28 "#ffffff" "paper"
expect_pixel "$work/wavesum.png" 12 890 "#000000" "ink"
end_process "$pid"; pid=""
[ "$END_STATUS" -eq 143 ] || { echo "wavesum: status $END_STATUS"; cat "$work/stderr"; exit 1; }

"$build/bin/waveprint" 2>"$work/stderr" &
pid=$!
wait_window "Fourierzerlegung" >/dev/null || { cat "$work/stderr"; exit 1; }
sleep 0.5
import -window root "$work/waveprint.png"
expect_pixel "$work/waveprint.png" 4 4 "#222020" "waveprint's window background"
expect_pixel "$work/waveprint.png" 640 450 "#ffffff" "waveprint's paper"
end_process "$pid"; pid=""
[ "$END_STATUS" -eq 143 ] || { echo "waveprint: status $END_STATUS"; cat "$work/stderr"; exit 1; }
echo "dark theme: white paper, black ink, dark window"
