#!/usr/bin/env bash
# Installs what is missing, builds, and starts a program: wavesum (default)
# or waveprint.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-wavesum}
bash scripts/install-deps.sh build
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No graphical display found (neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "To try the program without one, under a virtual X server:"
  echo "  apt-get install -y xvfb && xvfb-run -a build/bin/$program"
  exit 1
fi
exec "build/bin/$program"
