#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: once in the
# normal build, the browser pages in Chromium, WebKit and Firefox among
# them, once built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/), where any report fails the test. Arguments go to both
# ctest runs: -L unit, -L desktop or -L browser runs one tier, -R NAME
# the tests whose names match. Each phase's time is printed as it ends.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
phase() { echo "== $1: $((SECONDS - started)) s"; started=$SECONDS; }

bash scripts/install-deps.sh test
phase installs
bash scripts/build-web.sh
# axe-core, the accessibility audit the page tests run inside each page;
# scorm-again, a SCORM runtime that plays the learning platform.
npm install --prefix build-web/node --no-audit --no-fund --no-save --loglevel=error axe-core@4.14.1 \
  scorm-again@3.4.3 >/dev/null
phase "browser build"
# Line tables, not full debug information, are all the tests' backtraces
# need (the package is stripped anyway), in both builds: they compile faster.
line_tables="-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
node=$PWD/build-web/node/node_modules
bash scripts/build.sh -DWEB_PAGES_DIR="$PWD/build-web/bin" -DAXE_JS="$node/axe-core/axe.min.js" \
  -DSCORM_AGAIN_DIR="$node/scorm-again/dist" "$line_tables"
phase build
# Four at a time on two cores: many tests spend their time waiting for a
# window, a screen reader or a printout; a browser test counts as two, so
# that two browsers at most run side by side (the browser tests took the
# tests' time one after the other at three: 326 s; at four 276 s, at six
# 283 s, with Chromium's test then the last to end).
ctest --test-dir build --output-on-failure -j4 "$@"
phase tests

# The sanitizer build makes what its tests run, not the benchmarks, and
# runs fewer click-storm sequences: it is several times slower.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON -DBUILD_BENCHMARKS=OFF \
  -DSTORM_SEQUENCES=100 "$line_tables" >/dev/null
cmake --build build-asan
phase "sanitizer build"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure -j4 "$@"
phase "sanitizer tests"
