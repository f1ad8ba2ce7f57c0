#!/usr/bin/env bash
# waveprint through a real CUPS server of its own, under Xvfb: "Ausdruck A4
# Hochformat" prints one A4 portrait page with the strips mirrored, order 1
# on top, on the default printer. A queue that refuses the job, no queue,
# and no server each give the German run-time error and a non-zero exit,
# and no PDF file appears anywhere.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: the private CUPS server needs root (run the tests with sudo)"
  exit 77
fi
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
. "$here/cups_lib.sh"
work=$(mktemp -d)
chmod 755 "$work" # the print filters run as lp
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  stop_cups
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

# "Ausdruck A4 Hochformat": 360, 13800, 2415 x 495 twips, 15 twips a pixel.
print_click() { click 360 13800 2415 495; }

start_waveprint() {
  "$build/bin/waveprint" 2>"$work/stderr" &
  pid=$!
  wait_window "Fourierzerlegung" >/dev/null
}

# Waits for the program to end by itself; sets exit_status.
wait_exit() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  exit_status=0
  if kill -0 "$pid" 2>/dev/null; then echo "waveprint did not end"; kill -9 "$pid"; fi
  wait "$pid" || exit_status=$?
  pid=""
}

pdfs_since() { # every PDF file written after the marker file $1
  # Files that other programs remove while find walks the tree make it
  # fail; what it did find is the answer.
  find / -xdev \( -path /proc -o -path /sys -o -path /dev \) -prune -o -newer "$1" -iname '*.pdf' -print 2>/dev/null \
    || true
}

# The run-time error of a failed printout: shown in a message box, which is
# dismissed; then the program ends with a non-zero status.
expect_print_error() { # $1: what, $2: expected message
  local marker=$work/marker-$RANDOM
  touch "$marker"
  start_waveprint
  print_click
  local box
  box=$(wait_window "waveprint") || { echo "$1: no error message box"; exit 1; }
  sleep 0.3
  xdotool windowfocus --sync "$box" key Return 2>/dev/null || xdotool key Return
  wait_exit
  local status=$exit_status
  grep -q "$2" "$work/stderr" || { echo "$1: expected '$2', got:"; cat "$work/stderr"; exit 1; }
  [ "$status" -ne 0 ] || { echo "$1: exit status 0"; exit 1; }
  local stray
  stray=$(pdfs_since "$marker")
  [ -z "$stray" ] || { echo "$1: PDF files appeared: $stray"; exit 1; }
  echo "$1: $(head -n1 "$work/stderr"), exit status $status, no PDF file"
}

start_xvfb 1280x1024x24
start_cups "$work/cups"
out=$work/cups/out/page.pdf
add_pdf_queue wavetest "$out"

# A printout on the default printer.
start_waveprint
print_click
for _ in $(seq 300); do [ -s "$out" ] && break; sleep 0.1; done
wait_jobs_done
kill -0 "$pid" || { echo "waveprint ended while printing"; cat "$work/stderr"; exit 1; }
[ ! -s "$work/stderr" ] || { echo "stderr:"; cat "$work/stderr"; exit 1; }
pdfinfo "$out" >"$work/info"
grep -q "^Pages: *1$" "$work/info" || { echo "not one page:"; cat "$work/info"; exit 1; }
grep -q "^Page size: *595\(\.[0-9]*\)\? x 841\.[0-9]*\|^Page size: *595\(\.[0-9]*\)\? x 842" "$work/info" \
  || { echo "not A4 portrait:"; cat "$work/info"; exit 1; }
pdftoppm -r 36 -png "$out" "$work/page"
# The driver's printable area of A4: 18 pt left and right, 36 pt top and bottom.
"$build/tests/pagecheck" "$work/page-1.png" 18 36 577 806
if [ -n "${KEEP_SHOTS:-}" ]; then cp "$work/page-1.png" "$KEEP_SHOTS/printed-page.png"; fi

# The server stopped before a second printout from the same window: the
# German error, a non-zero exit, no PDF; started again, the server holds no
# job and still has its queue.
mv "$out" "$work/first-page.pdf"
stop_cups
marker=$work/marker-stopped
touch "$marker"
print_click
box=$(wait_window "waveprint") || { echo "server stopped: no error message box"; exit 1; }
sleep 0.3
xdotool windowfocus --sync "$box" key Return 2>/dev/null || xdotool key Return
wait_exit
grep -q "Laufzeitfehler '48[24]'" "$work/stderr" || { echo "server stopped: got"; cat "$work/stderr"; exit 1; }
[ "$exit_status" -ne 0 ] || { echo "server stopped: exit status 0"; exit 1; }
stray=$(pdfs_since "$marker")
[ -z "$stray" ] || { echo "server stopped: PDF files appeared: $stray"; exit 1; }
start_cups "$work/cups"
lpstat -p wavetest >/dev/null || { echo "the queue is gone after the restart"; exit 1; }
[ -z "$(lpstat -o)" ] || { echo "jobs left after the restart:"; lpstat -o; exit 1; }
echo "server stopped: $(head -n1 "$work/stderr"), exit status $exit_status, no PDF, no job left"

# SIGTERM right after the print click: the printout is finished first (the
# handler pumps no events), then the program ends with 143, and its spool
# files are gone.
mkdir -m 700 "$work/tmp"
TMPDIR=$work/tmp start_waveprint
print_click
# The spool file exists while the page is being written: signal then.
spooling=""
for _ in $(seq 400); do
  [ -n "$(ls -A "$work/tmp")" ] && { spooling=yes; break; }
  sleep 0.005
done
[ -n "$spooling" ] || { echo "SIGTERM while printing: the printout never began"; cat "$work/stderr"; exit 1; }
kill -TERM "$pid"
wait_exit
[ "$exit_status" -eq 143 ] || { echo "SIGTERM while printing: exit status $exit_status"; cat "$work/stderr"; exit 1; }
[ ! -s "$work/stderr" ] || { echo "SIGTERM while printing: stderr:"; cat "$work/stderr"; exit 1; }
[ -z "$(ls -A "$work/tmp")" ] || { echo "SIGTERM while printing left files:"; ls -l "$work/tmp"; exit 1; }
wait_jobs_done
pdfinfo "$out" | grep -q "^Pages: *1$" || { echo "SIGTERM while printing: no complete page"; exit 1; }
echo "SIGTERM while printing: the page printed, then status 143, no spool file left"

# A queue that refuses jobs.
cupsreject wavetest
expect_print_error "refused job" "Laufzeitfehler '482': Druckerfehler"

# No queue at all.
lpadmin -x wavetest
expect_print_error "no queue" "Laufzeitfehler '484': Kein Drucker verfügbar"

# No server.
stop_cups
expect_print_error "no server" "Laufzeitfehler '484': Kein Drucker verfügbar"
