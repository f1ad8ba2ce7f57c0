#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2 "$@"
