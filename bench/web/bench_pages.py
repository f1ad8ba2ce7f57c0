"""wavesum in a browser, measured: page opened to first frame, "Start
Sägezahn" clicked to finished picture, a complete sawtooth run against its
25,000 Delay calls in the same page, frames presented during the run, and
the browser's CPU time while a run is held for 5 s.

usage: bench_pages.py chromium|webkit|firefox BUILD_WEB_DIR [RUNS]
(webkit needs an X server: run it under xvfb-run or tests/x11_run.sh)"""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "web"))
from web_lib import click, open_page, start_browser, stop_browser, wait_for, wait_idle  # noqa: E402

browser, build_web = sys.argv[1], sys.argv[2]
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
pages = os.path.join(os.path.abspath(build_web), "bench")
BROWSER_PROCESSES = {"chromium": ("chromium",), "webkit": ("MiniBrowser", "WebKitWebProces", "WebKitNetworkPr"),
                     "firefox": ("firefox-esr", "forkserver", "Web Content", "file:// Content", "Isolated Web Co",
                                 "WebExtensions", "Socket Process", "RDD Process", "Utility Process", "GPU Process")}


def browser_cpu_seconds():
    """User and system time of every process of the browser so far."""
    total = 0
    ticks = os.sysconf("SC_CLK_TCK")
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/stat" % pid) as f:
                stat = f.read()
        except OSError:
            continue
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        if name.startswith(BROWSER_PROCESSES[browser]):
            fields = stat[stat.rindex(")") + 2:].split()
            total += (int(fields[11]) + int(fields[12])) / ticks
    return total


def click_to_idle(driver, caption):
    """Milliseconds from the click to the form no longer busy, both taken in
    the page; the picture is on the canvas by then."""
    driver.execute_script("""window.clickAt = 0;
        document.addEventListener('click', () => { if (!window.clickAt) window.clickAt = performance.now(); },
                                  { capture: true, once: true });
        Page.busyChanges = [];""")
    click(driver, caption)
    wait_idle(driver, timeout=600)
    return driver.execute_script("return Page.busyChanges[Page.busyChanges.length - 1][1] - window.clickAt")


def measure(driver):
    figures = {}
    open_page(driver, pages, "wavesum_bench_page.html")
    # Page times count from the start of the navigation.
    figures["opened to first frame, ms"] = driver.execute_script("return Page.firstFrameAt")
    # The first click runs the program's code as the browser first compiled
    # it; by the later ones it has compiled it optimised.
    figures["Start Sägezahn to finished picture, first click, ms"] = click_to_idle(driver, "Start Sägezahn")
    figures["Start Sägezahn to finished picture, later clicks, ms"] = statistics.median(
        click_to_idle(driver, "Start Sägezahn") for _ in range(5))

    # Frames the browser presents while the run goes on.
    driver.execute_script("""Page.busyChanges = []; window.frames = [];
        (function frame(t) { window.frames.push(t); if (!Page.busyChanges.length || Page.busy)
            requestAnimationFrame(frame); })(performance.now());""")
    run_ms = click_to_idle(driver, "Ordnungen aufaddieren")
    frames = driver.execute_script("""const [start, end] = [window.clickAt, window.clickAt + arguments[0]];
        return window.frames.filter(t => t >= start && t <= end);""", run_ms)
    gaps = [b - a for a, b in zip(frames, frames[1:])]
    # The browser runs a function's first call as first compiled, and
    # bench_delays has Delay's loop inlined: one short call first.
    driver.execute_script("Module._bench_delays(1000)")
    delays_ms = driver.execute_script("return Module._bench_delays(25000)")
    figures["complete sawtooth run, ms"] = run_ms
    figures["25,000 Delay calls, ms"] = delays_ms
    figures["run / Delay calls"] = run_ms / delays_ms
    figures["frames per second during the run"] = (len(frames) - 1) * 1000 / (frames[-1] - frames[0])
    figures["longest gap between frames, ms"] = max(gaps)

    # Held: the program sleeps until the next click.
    click(driver, "Ordnungen aufaddieren")
    time.sleep(0.5)
    click(driver, "unterbrechen")
    wait_for(driver, "Array.from(document.querySelectorAll('main button')).some(b => b.textContent == 'weiter')")
    time.sleep(0.5)
    before = browser_cpu_seconds()
    time.sleep(5)
    figures["CPU seconds while held for 5 s"] = browser_cpu_seconds() - before
    click(driver, "Löschen")
    wait_idle(driver)
    return figures


results = []
for _ in range(runs):
    driver = start_browser(browser)
    try:
        results.append(measure(driver))
    finally:
        stop_browser(driver)

print("%s, %d runs: median (min to max)" % (browser, runs))
for name in results[0]:
    values = [r[name] for r in results]
    print("  %-40s %9.2f  (%.2f to %.2f)" % (name, statistics.median(values), min(values), max(values)))
