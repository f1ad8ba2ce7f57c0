#!/usr/bin/env bash
# Installs what is missing, builds, and starts a program: wavesum (default)
# or waveprint; "web" builds the browser pages and opens their start page.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-wavesum}
if [ "$program" = web ]; then
  bash scripts/build-web.sh
  page=$PWD/build-web/bin/index.html
  if { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } && command -v xdg-open >/dev/null; then
    exec xdg-open "$page"
  fi
  echo "Die Startseite: $page"
  echo "Im Browser öffnen (file://$page), oder den Ordner im Netz bereitstellen:"
  echo "  python3 -m http.server --directory $PWD/build-web/bin 8000"
  exit 0
fi
bash scripts/install-deps.sh build
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No graphical display found (neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "To try the program without one, under a virtual X server:"
  echo "  apt-get install -y xvfb && xvfb-run -a build/bin/$program"
  exit 1
fi
exec "build/bin/$program"
