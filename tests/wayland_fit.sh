#!/usr/bin/env bash
# Both programs in a Wayland session (a real weston, headless, with its
# panel) on outputs of 1024x768 and 1366x768: each starts, its whole window
# with Qt's own title bar lies on the output below the panel, and SIGTERM
# ends it with status 143. The compositor reports where the window stands;
# a screenshot of each output is kept with KEEP_SHOTS=dir.
set -euo pipefail
build=$1
sanitized=${2:-0}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"   # end_process
. "$here/wayland_lib.sh"
work=$(mktemp -d)
pid=""
# In the sanitizer build: Qt's Wayland plugin and libwayland-client leave
# objects behind at exit, and the plugin is unloaded before the leak check,
# so they cannot be named for a suppression. The leak check of the same
# programs runs in every other test; here the leak check alone is off.
if [ "$sanitized" = 1 ]; then
  export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
fi
cleanup() { if [ -n "$pid" ]; then kill -9 "$pid" 2>/dev/null || true; fi; stop_weston; rm -rf "$work"; }
trap cleanup EXIT

for output in 1024x768 1366x768; do
  width=${output%x*} height=${output#*x}
  start_weston "$output"
  panel=$(panel_height || true)
  [ "${panel:-0}" -gt 0 ] || { echo "no panel on the output"; exit 1; }
  for program in wavesum waveprint; do
    "$build/bin/$program" 2>"$work/stderr" &
    pid=$!
    extent=$(window_extent "$pid") || { cat "$work/stderr"; exit 1; }
    read -r x1 y1 x2 y2 <<<"$extent"
    echo "$output $program: window at ($x1, $y1) to ($x2, $y2), $((x2 - x1))x$((y2 - y1)), panel $panel high"
    if [ "$x1" -lt 0 ] || [ "$y1" -lt "$panel" ] || [ "$x2" -gt "$width" ] || [ "$y2" -gt "$height" ]; then
      echo "$program does not lie whole on the $output output below the panel"; exit 1
    fi
    # Not shrunk to a corner either: the window spans the output's width.
    [ $((x2 - x1)) -ge $((width - 8)) ] || { echo "$program is only $((x2 - x1)) pixels wide"; exit 1; }
    if [ -n "${KEEP_SHOTS:-}" ]; then
      sleep 1 # past the shell's fade-in
      (cd "$work" && weston-screenshooter >/dev/null 2>&1 && mv wayland-screenshot-*.png "$KEEP_SHOTS/wayland-$output-$program.png") || true
    fi
    end_process "$pid"; pid=""
    [ "$END_STATUS" -eq 143 ] || { echo "$program: status $END_STATUS after SIGTERM"; cat "$work/stderr"; exit 1; }
    # Qt's notes on a missing theme or session manager are no faults.
    if grep -v -E '^(qt\.|Warning: Ignoring XDG_SESSION_TYPE)' "$work/stderr" | grep -q .; then
      echo "$program wrote to stderr:"; cat "$work/stderr"; exit 1
    fi
  done
  stop_weston
done
echo "both programs whole on both outputs"
