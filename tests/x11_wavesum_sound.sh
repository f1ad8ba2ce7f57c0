#!/usr/bin/env bash
# wavesum's tone on a private PulseAudio server with a null sink, under
# Xvfb, recorded from the sink's monitor with parec: after "Start
# Rechteck" the fundamental alone, after a whole run every harmonic the run
# added at 1/k of it and nothing else, silence after "Löschen" and after
# "Ton aus"; the sound server gone mid-tone, the program goes on; SIGTERM
# with the tone on ends it as before.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
work=$(mktemp -d)
pid=""
cleanup() {
  [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true
  stop_pulse; stop_xvfb; rm -rf "$work"
}
trap cleanup EXIT

start_xvfb 1280x1024x24
start_pulse "$work"

# Checks half a second of the sink against $1: "silence", or "<first>
# <step> <last>" for the orders that must sound. On a mismatch, with
# $2 = retry, records again for up to a minute (a run still going).
expect() {
  local tries=1
  [ "${2:-}" = retry ] && tries=60
  for _ in $(seq $tries); do
    parec --latency-msec=20 --raw --format=float32le --channels=1 --rate=44100 -d out.monitor 2>/dev/null \
      | head -c 88200 >"$work/take.raw" || true
    /usr/bin/python3 - "$work/take.raw" $1 >"$work/verdict" <<'PY' && { echo "$1: $(cat "$work/verdict")"; return 0; }
import sys, numpy as np
x = np.fromfile(sys.argv[1], dtype='<f4')[:22050]
if len(x) < 22050: sys.exit("short recording")
peak = float(np.abs(x).max())
if sys.argv[2] == 'silence':
    print("peak %.5f" % peak); sys.exit(int(peak > 1e-4))
first, step, last = map(int, sys.argv[2:5])
# 0.5 s holds 55 periods of 110 Hz: each harmonic falls on one FFT bin.
spectrum = np.abs(np.fft.rfft(x)) * 2 / len(x)
amp = lambda k: spectrum[55 * k]
fund = amp(1)
bad = [k for k in range(1, 200) if abs(amp(k) / fund - (1 / k if first <= k <= last and (k - first) % step == 0 else 0)) > 0.01 / k + 0.002]
print("fundamental %.3f, peak %.3f, %d harmonics off" % (fund, peak, len(bad)))
sys.exit(int(bool(bad) or peak > 0.708 or fund < 0.1))
PY
  done
  echo "$1: $(cat "$work/verdict")"; exit 1
}

"$build/bin/wavesum" 2>"$work/stderr" &
pid=$!
wait_window "Fouriersynthese" >/dev/null
tone_toggle
start_square
sleep 0.5
expect "1 1 1" retry
adding
expect "1 2 103" retry
clear_picture
sleep 0.1
expect silence
start_sawtooth
expect "1 1 1" retry
adding
expect "1 1 100" retry
tone_toggle
sleep 0.1
expect silence
tone_toggle
expect "1 1 100" retry

# SIGTERM with the tone on: the program ends as it does without.
t=$(date +%s%3N)
end_process "$pid"
pid=""
echo "SIGTERM: ended after $(( $(date +%s%3N) - t )) ms with status $END_STATUS"
[ "$END_STATUS" -eq 143 ] || exit 1
[ ! -s "$work/stderr" ] || { cat "$work/stderr"; exit 1; }

# The sound server gone while the tone plays: no crash, no dialog; "Ende"
# ends the program with status 0.
"$build/bin/wavesum" 2>"$work/stderr" &
pid=$!
wait_window "Fouriersynthese" >/dev/null
start_square
tone_toggle
expect "1 1 1" retry
stop_pulse
sleep 0.5
kill -0 "$pid" || { echo "wavesum ended with the sound server"; exit 1; }
[ -z "$(xdotool search --onlyvisible --name 'wavesum' 2>/dev/null)" ] || { echo "a dialog came up"; exit 1; }
end_program
status=0
wait "$pid" || status=$?
pid=""
echo "output lost, then Ende: status $status"
[ "$status" -eq 0 ]
