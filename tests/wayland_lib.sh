# Shared by the Wayland tests: a private headless weston (pixman renderer,
# its desktop shell and panel), stopped by its own pid on exit.
start_weston() { # WIDTHxHEIGHT
  WESTON_RUNTIME=$(mktemp -d)
  chmod 700 "$WESTON_RUNTIME"
  export XDG_RUNTIME_DIR=$WESTON_RUNTIME WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland
  weston --backend=headless-backend.so --use-pixman --debug --no-config \
    --width="${1%x*}" --height="${1#*x}" --socket="$WAYLAND_DISPLAY" >"$WESTON_RUNTIME/weston.log" 2>&1 &
  WESTON_PID=$!
  # Up once its shell has drawn the panel on the output.
  for _ in $(seq 100); do
    [ "$(panel_height)" -gt 0 ] 2>/dev/null && return 0
    kill -0 "$WESTON_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "could not start weston:"; cat "$WESTON_RUNTIME/weston.log"; stop_weston; exit 1
}

stop_weston() {
  if [ -n "${WESTON_PID:-}" ]; then
    kill "$WESTON_PID" 2>/dev/null || true
    wait "$WESTON_PID" 2>/dev/null || true
    WESTON_PID=""
  fi
  [ -n "${WESTON_RUNTIME:-}" ] && rm -rf "$WESTON_RUNTIME"
  WESTON_RUNTIME=""
}

# The compositor's own word on where the top-level window of process $1
# stands: "x1 y1 x2 y2" (x2, y2 just past it), once it has a buffer shown.
window_extent() {
  local line
  for _ in $(seq 100); do
    line=$(weston-debug scene-graph 2>/dev/null |
      awk -v pid="$1" '/role xdg_toplevel, PID / { mine = index($0, "PID " pid ",") > 0; next }
                       mine && /position:/ { print; exit }')
    if [ -n "$line" ]; then
      echo "$line" | sed -E 's/.*\((-?[0-9]+), (-?[0-9]+)\) -> \((-?[0-9]+), (-?[0-9]+)\).*/\1 \2 \3 \4/'
      return 0
    fi
    sleep 0.1
  done
  echo "no window of process $1 on the output" >&2
  return 1
}

# The height of the panel weston's shell put on the output.
panel_height() {
  weston-debug scene-graph 2>/dev/null |
    awk '/panel for output/ { p = 1; next } p && /position:/ { print; exit }' |
    sed -E 's/.*-> \([0-9]+, ([0-9]+)\).*/\1/'
}
