#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: once in the
# normal build, the browser pages in Chromium and WebKit among them, once
# built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/),
# where any report fails the test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
bash scripts/build-web.sh
# axe-core, the accessibility audit the page tests run inside each page.
npm install --prefix build-web/node --no-audit --no-fund --no-save --loglevel=error axe-core@4.14.1 >/dev/null
bash scripts/build.sh -DWEB_PAGES_DIR="$PWD/build-web/bin" -DAXE_JS="$PWD/build-web/node/node_modules/axe-core/axe.min.js"
ctest --test-dir build --output-on-failure -j2 "$@"

# The sanitizer build runs fewer click-storm sequences: it is several
# times slower, and the normal build runs the full 2,000.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON -DSTORM_SEQUENCES=150 >/dev/null
cmake --build build-asan
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure -j2 "$@"
