#!/usr/bin/env bash
# The adding-up benchmarks: the cost ratio on the offscreen platform, with
# the tone off and on (a private PulseAudio server with a null sink), frame
# rate and paused CPU time under a private Xvfb.
# run: bash bench/adding_up.sh [build dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
bench=$build/bin/bench_adding_up
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
. "$here/../tests/x11_lib.sh"
work=$(mktemp -d)
trap 'stop_pulse; stop_xvfb; rm -rf "$work"' EXIT
start_pulse "$work"
QT_QPA_PLATFORM=offscreen "$bench" ratio 3 | tee "$work/off"
QT_QPA_PLATFORM=offscreen "$bench" ratio 3 sound | tee "$work/on"
stop_pulse
ratio_of() { awk '/^ratio:/ { print $2 }' "$1"; }
awk -v off="$(ratio_of "$work/off")" -v on="$(ratio_of "$work/on")" \
  'BEGIN { printf "the tone costs the run %+.1f %% (target at most 2 %%)\n", (on / off - 1) * 100 }'
start_xvfb 1280x1024x24
"$bench" frames
"$bench" pause
