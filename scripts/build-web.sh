#!/usr/bin/env bash
# Installs what is missing (Emscripten, rsvg-convert), then builds the
# browser pages into build-web/bin: wavesum.html, waveprint.html (each one
# self-contained file), index.html, the start page that links them, and
# the web app around them (manifest, icons, service worker); the same as
# build-web/wellenlehre-web-<version>.zip to deploy.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh web
# Debian's Emscripten finds its Node.js modules only there.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build-web
for page in wavesum waveprint; do
  size=$(stat -c %s "build-web/bin/$page.html")
  echo "build-web/bin/$page.html: $((size / 1024)) KiB"
done
ls build-web/wellenlehre-web-*.zip build-web/wellenlehre-scorm*.zip
