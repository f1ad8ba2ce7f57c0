#!/usr/bin/env bash
# Takes the README's screenshots of both programs under a private Xvfb:
# docs/wavesum.png (a sawtooth run held halfway by "unterbrechen") and
# docs/waveprint.png (after "Berechnung"). Needs the test packages
# (scripts/install-deps.sh test) and a build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. tests/x11_lib.sh
pid=""
cleanup() { if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; stop_xvfb; }
trap cleanup EXIT
mkdir -p docs

shoot() { # window id, file
  xdotool mousemove 0 0
  sleep 0.3
  import -window "$1" "$2"
  echo "wrote $2"
}

start_xvfb 1280x1024x24

build/bin/wavesum &
pid=$!
window=$(wait_window "Fouriersynthese")
start_sawtooth
sleep 0.5
adding
sleep 1.2
pause_toggle
shoot "$window" docs/wavesum.png
end_process "$pid"; pid=""

build/bin/waveprint &
pid=$!
window=$(wait_window "Fourierzerlegung")
click 14760 13560 1455 615  # "Berechnung"
sleep 0.5
shoot "$window" docs/waveprint.png
end_process "$pid"; pid=""
