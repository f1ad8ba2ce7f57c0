#!/usr/bin/env bash
# The real wavesum under Xvfb: "Start Rechteck" clicked with xdotool, the
# strips checked on a screenshot.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
work=$(mktemp -d)
pid=""
cleanup() { if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT

start_xvfb 1280x1024x24
"$build/bin/wavesum" 2>"$work/stderr" &
pid=$!
wait_window "Fouriersynthese" >/dev/null

start_square
sleep 1.5
import -window root "$work/shot.png"

# The plot area: left 100 twips (7 px), top 360 (24 px), 0.98 of the
# 1279-pixel window wide (1253 px), 13095 twips (873 px) high, inside a
# two-pixel border.
"$build/tests/shotcheck" strips "$work/shot.png" 9 26 1249 869
kill -0 "$pid"
[ ! -s "$work/stderr" ] || { echo "stderr:"; cat "$work/stderr"; }
