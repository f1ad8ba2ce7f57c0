# Shared by the X11 tests: a private Xvfb, stopped by its own pid on exit.
start_xvfb() {
  local size=${1:-1280x1024x24}
  XVFB_DISPLAY=""
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      if xdpyinfo -display :$n >/dev/null 2>&1; then XVFB_DISPLAY=:$n; break 2; fi
      kill -0 $XVFB_PID 2>/dev/null || break
      sleep 0.1
    done
    kill $XVFB_PID 2>/dev/null || true; wait $XVFB_PID 2>/dev/null || true
  done
  [ -n "$XVFB_DISPLAY" ] || { echo "could not start Xvfb"; exit 1; }
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
