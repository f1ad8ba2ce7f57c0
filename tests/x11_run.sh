#!/usr/bin/env bash
# Runs a command on the xcb platform under a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x11_lib.sh"
trap stop_xvfb EXIT
start_xvfb 1280x1024x24
status=0
"$@" || status=$?
exit $status
