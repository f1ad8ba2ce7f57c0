#!/usr/bin/env bash
# The browser benchmarks (bench_pages.py) in each engine named, all three
# by default, under a private Xvfb, which WebKit's MiniBrowser needs, and
# with a private PulseAudio server, which Firefox and WebKit need to play
# the tone.
# run: bash bench/web/bench_pages.sh [build-web dir] [runs] [engine...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_web=${1:-$here/../../build-web}
runs=${2:-3}
shift $(($# < 2 ? $# : 2))
engines=${*:-chromium firefox webkit}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
. "$here/../../tests/x11_lib.sh"
work=$(mktemp -d)
trap 'stop_pulse; stop_xvfb; rm -rf "$work"' EXIT
start_pulse "$work"
start_xvfb 1280x1024x24
for engine in $engines; do
  /usr/bin/python3 "$here/bench_pages.py" "$engine" "$build_web" "$runs"
done
