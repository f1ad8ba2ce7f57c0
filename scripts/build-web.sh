#!/usr/bin/env bash
# Installs what is missing (Emscripten), then builds the browser pages
# into build-web/bin: wavesum.html, waveprint.html (each one self-contained
# file) and index.html, the start page that links them.
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
