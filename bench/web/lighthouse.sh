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

# As on a phone (Lighthouse's default) and on a desktop.
for preset in mobile desktop; do
for page in index.html wavesum.html waveprint.html; do
  CHROME_PATH=/usr/bin/chromium "$tools/node_modules/.bin/lighthouse" "http://127.0.0.1:$port/$page" \
    $([ $preset = desktop ] && echo --preset=desktop) --only-categories=accessibility,best-practices --output=json --output-path="$work/report.json" --quiet \
    --chrome-flags="--headless=new --no-sandbox --disable-gpu --no-first-run --disable-background-networking --disable-component-update --disable-sync --user-data-dir=$work/profile"
  node -e '
    const r = require(process.argv[1]);
    const counted = ["accessibility", "best-practices"].flatMap(c => r.categories[c].auditRefs)
      .filter(ref => ref.weight > 0).map(ref => r.audits[ref.id]);
    const failed = counted.filter(a => a.score !== null && a.score < 1).map(a => a.id);
    console.log("%s, %s: accessibility %s, best practices %s%s", process.argv[2],
      process.argv[3], r.categories.accessibility.score.toFixed(2), r.categories["best-practices"].score.toFixed(2),
      failed.length ? "; failed: " + failed.join(", ") : "");' "$work/report.json" "$page" "$preset"
done
done
