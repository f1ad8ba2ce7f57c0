#!/usr/bin/env bash
# wavesum and waveprint as a screen reader finds them: under Xvfb, a private
# session bus and its accessibility bus, tests/a11y/read_atspi.py reads the
# picture's name and description and presses the buttons through AT-SPI;
# a private sound server lets wavesum's tone be switched on.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"

if [ "${2:-}" != in-session ]; then
  trap stop_xvfb EXIT
  start_xvfb 1280x1024x24
  dbus-run-session -- bash "$0" "$build" in-session
  exit
fi

work=$(mktemp -d)
pid="" launcher="" orca=""
cleanup() {
  if [ -n "$orca" ]; then end_process "$orca"; fi
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  if [ -n "$launcher" ]; then kill "$launcher" 2>/dev/null || true; wait "$launcher" 2>/dev/null || true; fi
  stop_pulse
  rm -rf "$work"
}
trap cleanup EXIT
start_pulse "$work"

# The accessibility bus, registered on the session bus before the programs
# look for it; none of the desktop's own.
unset AT_SPI_BUS_ADDRESS
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && break
  sleep 0.1
done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Reads program $1; the reader ends wavesum with "Ende" (status 0),
# waveprint is ended by SIGTERM (status 143). Nothing may come on stderr.
read_program() {
  "$build/bin/$1" 2>"$work/stderr" &
  pid=$!
  /usr/bin/python3 "$here/a11y/read_atspi.py" "$1" "$pid" || { cat "$work/stderr"; exit 1; }
  if [ "$1" = wavesum ]; then
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$pid" 2>/dev/null || { echo "wavesum still runs after 'Ende'"; exit 1; }
  fi
  end_process "$pid"
  pid=""
  [ "$END_STATUS" -eq "$2" ] || { echo "$1 ended with status $END_STATUS"; cat "$work/stderr"; exit 1; }
  [ ! -s "$work/stderr" ] || { echo "$1 stderr:"; cat "$work/stderr"; exit 1; }
}

read_program wavesum 0
read_program waveprint 143
echo "both programs read through AT-SPI"

# Orca, without speech, hears a wavesum run started by Tab and Space once it takes all keys (256
# modifier masks); its log has all its "SPEECH OUTPUT" lines once it ends, cleanly only before wavesum.
orca -d speech -u "$work/orca" --debug-file "$work/orca.log" >"$work/orca.out" 2>&1 & orca=$!
bus=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress)
for _ in $(seq 600); do
  [ "$(dbus-send --bus="${bus// /}" --print-reply --dest=org.a11y.atspi.Registry /org/a11y/atspi/registry/deviceeventcontroller \
    org.a11y.atspi.DeviceEventController.GetKeystrokeListeners | grep -c "object path")" -ge 256 ] && break || sleep 0.1
done
"$build/bin/wavesum" & pid=$!
xdotool windowfocus --sync "$(wait_window Fouriersynthese)"
/usr/bin/python3 "$here/a11y/read_atspi.py" keyboard "$pid"
end_process "$orca"; orca=""
end_process "$pid"; pid=""
sed -n "s/^.* - SPEECH OUTPUT: '\(.*\)' \?{.*/\1/p" "$work/orca.log" | tee "$work/spoken"
for said in "Ordnung 3 wird addiert." "Ordnung 5 wird addiert." "Ordnung 7 wird addiert." \
    "Schnelle Phase bis Ordnung 103." "Fertig."; do
  [ "$(grep -Fxc "notification $said" "$work/spoken")" -eq 1 ] || { echo "Orca did not say '$said' once"; exit 1; }
done
[ -z "$(grep '^notification' "$work/spoken" | sort | uniq -d)" ] || { echo "Orca repeated itself"; exit 1; }
[ "$(grep 'push button' "$work/spoken" | tail -n1)" = "Ordnungen aufaddieren push button." ] || exit 1
echo "Orca spoke the run with the focus on the button"
