# Shared by the X11 tests: a private Xvfb, stopped by its own pid on exit.
start_xvfb() {
  local size=${1:-1280x1024x24} numfile
  numfile=$(mktemp)
  # The server picks a free display itself and writes its number: no race
  # with other tests starting servers at the same time. No reset when the
  # last client leaves: a program started right after another ended would
  # find the server refusing connections.
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  XVFB_DISPLAY=""
  for _ in $(seq 100); do
    if [ -s "$numfile" ] && xdpyinfo -display ":$(head -n1 "$numfile")" >/dev/null 2>&1; then
      XVFB_DISPLAY=":$(head -n1 "$numfile")"; break
    fi
    kill -0 $XVFB_PID 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numfile"
  [ -n "$XVFB_DISPLAY" ] || { echo "could not start Xvfb"; stop_xvfb; exit 1; }
  export DISPLAY=$XVFB_DISPLAY
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  export QT_QPA_PLATFORM=xcb
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}

# Clicks the middle of a control given in twips (left top width height)
# at 15 twips a pixel; with no window manager the client area starts at
# the screen's corner.
click() {
  xdotool mousemove $(( ($1 + $3 / 2) / 15 )) $(( ($2 + $4 / 2) / 15 )) click 1
}

# wavesum's buttons.
start_square()   { click 360 13560 2055 615; }
start_sawtooth() { click 2520 13560 2175 615; }
adding()         { click 4800 13560 3255 615; }
pause_toggle()   { click 8280 13560 2175 615; }
end_program()    { click 14400 13560 2175 615; }
clear_picture()  { click 10680 13560 1935 615; }
tone_toggle()    { click 12735 13560 1545 615; }

# Waits until a window whose name starts with $1 is mapped; prints its id.
wait_window() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "window '$1' did not appear" >&2
  return 1
}

# Ends process $1 by SIGTERM, by SIGKILL if it is still there after 5 s
# (then its status is 137); sets END_STATUS to its exit status.
end_process() {
  kill -TERM "$1" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2>/dev/null; then
    echo "process $1 did not end on SIGTERM: killed" >&2
    kill -9 "$1" 2>/dev/null || true
  fi
  END_STATUS=0
  wait "$1" 2>/dev/null || END_STATUS=$?
}

# A private PulseAudio server with one null sink "out" at 44.1 kHz (its
# monitor "out.monitor" records what is played), on a socket in $1; PULSE_SERVER
# points there. Stopped by its own pid.
start_pulse() {
  HOME=$1 pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    --load="module-null-sink sink_name=out rate=44100" \
    --load="module-native-protocol-unix socket=$1/native auth-anonymous=1" >"$1/pulse.log" 2>&1 &
  PULSE_PID=$!
  export PULSE_SERVER=unix:$1/native
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "could not start PulseAudio"; cat "$1/pulse.log"; return 1
}

stop_pulse() {
  if [ -n "${PULSE_PID:-}" ]; then
    kill "$PULSE_PID" 2>/dev/null || true
    wait "$PULSE_PID" 2>/dev/null || true
    PULSE_PID=""
  fi
}
