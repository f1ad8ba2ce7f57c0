#!/usr/bin/env bash
# The adding-up benchmarks: the cost ratio on the offscreen platform, frame
# rate and paused CPU time under a private Xvfb.
# run: bash bench/adding_up.sh [build dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
bench=$build/bin/bench_adding_up
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
QT_QPA_PLATFORM=offscreen "$bench" ratio 3
. "$here/../tests/x11_lib.sh"
trap stop_xvfb EXIT
start_xvfb 1280x1024x24
"$bench" frames
"$bench" pause
