#!/usr/bin/env bash
# Lighthouse's accessibility and best-practices audits of the three pages,
# served from 127.0.0.1 as a school's web server would serve them, in
# Debian's Chromium: each page's two scores and the audits it fails.
# usage: bash bench/web/lighthouse.sh [BUILD_WEB_DIR]   (after scripts/build-web.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
web=$(realpath "${1:-build-web}")
tools=$web/node-lighthouse
# Lighthouse 13 wants a newer Node.js than Debian's.
[ -x "$tools/node_modules/.bin/lighthouse" ] ||
  npm install --prefix "$tools" --no-audit --no-fund --no-save --loglevel=error lighthouse@12.2.3 >/dev/null

work=$(mktemp -d)
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$web/bin" "$port" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
sleep 0.5

for page in index.html wavesum.html waveprint.html; do
  CHROME_PATH=/usr/bin/chromium "$tools/node_modules/.bin/lighthouse" "http://127.0.0.1:$port/$page" \
    --only-categories=accessibility,best-practices --output=json --output-path="$work/report.json" --quiet \
    --chrome-flags="--headless=new --no-sandbox --disable-gpu --no-first-run --disable-background-networking --disable-component-update --disable-sync --user-data-dir=$work/profile"
  node -e '
    const r = require(process.argv[1]);
    const failed = Object.values(r.audits).filter(a => a.score !== null && a.score < 1 && a.scoreDisplayMode !== "informative"
      && a.scoreDisplayMode !== "notApplicable" && a.scoreDisplayMode !== "manual").map(a => a.id);
    console.log("%s: accessibility %s, best practices %s%s", process.argv[2],
      r.categories.accessibility.score.toFixed(2), r.categories["best-practices"].score.toFixed(2),
      failed.length ? "; failed: " + failed.join(", ") : "");' "$work/report.json" "$page"
done
