#!/usr/bin/env bash
# Takes the README's screenshots of both programs under a private Xvfb:
# docs/wavesum.png (a sawtooth run held halfway by "unterbrechen") and
# docs/waveprint.png (after "Berechnung"); then the browser page in
# Chromium as a phone held upright (docs/wavesum-phone.png) and a tablet
# held sideways (docs/wavesum-tablet.png), tapped, mid-run. Needs the test
# packages (scripts/install-deps.sh test) and both builds (scripts/build.sh,
# scripts/build-web.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. tests/x11_lib.sh
pid=""
cleanup() { if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; stop_xvfb; }
trap cleanup EXIT
mkdir -p docs

shoot() { # window id, file
  xdotool mousemove 0 0
  sleep 0.3
  import -window "$1" "$2"
  echo "wrote $2"
}

start_xvfb 1280x1024x24

build/bin/wavesum &
pid=$!
window=$(wait_window "Fouriersynthese")
start_sawtooth
sleep 0.5
adding
sleep 1.2
pause_toggle
shoot "$window" docs/wavesum.png
end_process "$pid"; pid=""

build/bin/waveprint &
pid=$!
window=$(wait_window "Fourierzerlegung")
click 14760 13560 1455 615  # "Berechnung"
sleep 0.5
shoot "$window" docs/waveprint.png
end_process "$pid"; pid=""

/usr/bin/python3 - "$PWD" <<'PY'
import os, sys, time
sys.path.insert(0, os.path.join(sys.argv[1], "tests", "web"))
from web_lib import open_page, start_browser, stop_browser, wait_for
driver = start_browser("chromium")
try:
    for name, width, height, ratio in (("phone", 390, 844, 2), ("tablet", 1024, 768, 1)):
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": ratio, "mobile": True})
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        open_page(driver, os.path.join(sys.argv[1], "build-web", "bin"), "wavesum.html")
        for caption, wait in (("Start Sägezahn", 0.5), ("Ordnungen aufaddieren", 1.5), ("unterbrechen", 0.3)):
            x, y = driver.execute_script("""const b = Array.from(document.querySelectorAll('main button'))
                .find(b => b.textContent == arguments[0]).getBoundingClientRect();
                return [b.left + b.width / 2, b.top + b.height / 2]""", caption)
            for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
                driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})
            time.sleep(wait)
        wait_for(driver, "Array.from(document.querySelectorAll('main button')).some(b => b.textContent == 'weiter')")
        driver.save_screenshot("docs/wavesum-%s.png" % name)
        print("wrote docs/wavesum-%s.png" % name)
finally:
    stop_browser(driver)
PY
