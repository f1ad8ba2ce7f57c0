#!/usr/bin/env bash
# The real wavesum under Xvfb, ended in the middle of things: the close box
# at points spread over the phases of both runs and while a run holds,
# "Ende" while a run holds, and SIGTERM during a run and while it holds.
# Each time the process must end, with status 0 (close box, "Ende") or 143
# (SIGTERM), and nothing on standard error; the time it took is printed
# (a few tens of milliseconds), and only a hang fails on time.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
work=$(mktemp -d)
pid=""
cleanup() { if [ -n "$pid" ]; then kill -9 "$pid" 2>/dev/null || true; fi; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT


window=""
launch() {
  "$build/bin/wavesum" 2>"$work/stderr" &
  pid=$!
  window=$(wait_window "Fouriersynthese") || { cat "$work/stderr"; exit 1; }
}

now_ms() { date +%s%3N; }

# Waits for the program to end; checks the time it took since $1 (ms) and
# its status against $2.
expect_end() {
  local since=$1 want=$2 what=$3 status=0
  for _ in $(seq 1000); do kill -0 "$pid" 2>/dev/null || break; sleep 0.01; done
  local took=$(( $(now_ms) - since ))
  if kill -0 "$pid" 2>/dev/null; then
    echo "$what: still running after ${took} ms"; exit 1
  fi
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq "$want" ] || { echo "$what: exit status $status, expected $want"; cat "$work/stderr"; exit 1; }
  [ ! -s "$work/stderr" ] || { echo "$what: stderr:"; cat "$work/stderr"; exit 1; }
  echo "$what: ended after ${took} ms with status $status"
}

start_xvfb 1280x1024x24

# The close box at points spread over each run: the square wave's slow
# orders 3, 5, 7 take about 0.4 s each on this kind of machine, the
# sawtooth's five slow orders 2 s; the fast orders follow.
for case in "square 0" "square 0.2" "square 0.6" "square 1.0" "square 1.3" \
            "sawtooth 0" "sawtooth 0.3" "sawtooth 1.0" "sawtooth 1.8" "sawtooth 2.1"; do
  set -- $case
  launch
  if [ "$1" = square ]; then start_square; else start_sawtooth; fi
  sleep 0.3
  adding
  sleep "$2"
  t=$(now_ms)
  "$build/tests/closewindow" "$window"
  expect_end "$t" 0 "close box, $1 run, ${2} s in"
done

# The close box while a run holds at its first adding column (paused
# before the press).
launch
start_sawtooth
sleep 0.3
pause_toggle
adding
sleep 0.5
kill -0 "$pid"
t=$(now_ms)
"$build/tests/closewindow" "$window"
expect_end "$t" 0 "close box, held run"

# "Ende" while a run holds.
launch
start_square
sleep 0.3
adding
sleep 0.4
pause_toggle
sleep 0.5
kill -0 "$pid"
t=$(now_ms)
end_program
expect_end "$t" 0 "Ende, held run"

# SIGTERM during a run and while a run holds.
launch
start_sawtooth
sleep 0.3
adding
sleep 0.7
t=$(now_ms)
kill -TERM "$pid"
expect_end "$t" 143 "SIGTERM, running"

launch
start_square
sleep 0.3
adding
sleep 0.3
pause_toggle
sleep 0.5
t=$(now_ms)
kill -TERM "$pid"
expect_end "$t" 143 "SIGTERM, held run"

# SIGTERM with no run: the idle window ends the same way.
launch
sleep 0.3
t=$(now_ms)
kill -TERM "$pid"
expect_end "$t" 143 "SIGTERM, idle"

# A hangup ignored from the start (nohup) stays ignored.
( trap '' HUP; exec "$build/bin/wavesum" 2>"$work/stderr" ) &
pid=$!
window=$(wait_window "Fouriersynthese") || { cat "$work/stderr"; exit 1; }
kill -HUP "$pid"
sleep 0.5
kill -0 "$pid" 2>/dev/null || { echo "SIGHUP ignored at start ended the program"; exit 1; }
t=$(now_ms)
end_program
expect_end "$t" 0 "SIGHUP ignored, then Ende"
