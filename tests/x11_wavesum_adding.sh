#!/usr/bin/env bash
# The real wavesum under Xvfb: a square-wave run held by "unterbrechen"
# stands still until "weiter", then completes with every strip above order 1
# wiped; "Ende" during a run ends the program at once with status 0.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
work=$(mktemp -d)
# KEEP_SHOTS=dir keeps the screenshots for a look.
keep() { [ -n "${KEEP_SHOTS:-}" ] && cp "$work"/*.png "$KEEP_SHOTS"/ 2>/dev/null; return 0; }
pid=""
cleanup() { if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; keep; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT

sum_drawn() { "$build/tests/shotcheck" sum "$1" 9 26 1249 869 >"$work/check.txt" 2>&1; }

start_xvfb 1280x1024x24
"$build/bin/wavesum" 2>"$work/stderr" &
pid=$!
wait_window "Fouriersynthese" >/dev/null || { cat "$work/stderr"; exit 1; }

start_square
sleep 0.5
adding
sleep 0.3
pause_toggle
sleep 0.3
import -window root "$work/held1.png"
sleep 1
import -window root "$work/held2.png"
if ! differing=$(compare -metric AE "$work/held1.png" "$work/held2.png" null: 2>&1); then
  echo "the held picture changed: $differing pixels differ"; exit 1
fi
if sum_drawn "$work/held1.png"; then
  echo "the run had already finished when it was paused"; exit 1
fi

pause_toggle # "weiter"
done_run=""
for _ in $(seq 60); do
  sleep 1
  import -window root "$work/done.png"
  if sum_drawn "$work/done.png"; then done_run=yes; break; fi
done
[ -n "$done_run" ] || { echo "the run did not complete:"; cat "$work/check.txt"; exit 1; }
cat "$work/check.txt"
kill -0 "$pid"

# "Ende" in the middle of a second run.
adding
sleep 0.3
end_program
status=0
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { echo "exit status $status after Ende"; cat "$work/stderr"; exit 1; }
[ ! -s "$work/stderr" ] || { echo "stderr:"; cat "$work/stderr"; exit 1; }
echo "held, completed, ended with status 0"
