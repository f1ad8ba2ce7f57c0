"""wavesum in a browser, measured: page opened to first frame, "Start
Sägezahn" clicked to finished picture, a complete sawtooth run against its
25,000 Delay calls in the same page, frames presented during the run, and
the browser's CPU time while a run is held for 5 s, the window resized late
in a run and after it. Each engine also with the tone on ("Ton an"), in
turns with it off; Firefox and WebKit need a sound server for it
(bench/web/bench_pages.sh starts a private one, and Xvfb).

WebKit is measured twice, in turns: as it runs under Xvfb, where it
composites every frame with Mesa's GL in software and so takes about a core
of its own, and with GL compositing switched off
(WEBKIT_DISABLE_COMPOSITING_MODE=1), which stands for a device whose GPU
composites.

usage: bench_pages.py chromium|webkit|firefox BUILD_WEB_DIR [RUNS]
(webkit needs an X server: bench/web/bench_pages.sh gives it one)"""
import os
import statistics
import sys
import time
import uuid

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "web"))
from web_lib import click, open_page, start_browser, stop_browser, wait_for, wait_idle  # noqa: E402

# Every process of the browser started here carries this variable, so that
# its CPU time is told from that of other browsers on the machine.
MARK = "BENCH_PAGES_BROWSER"


def start_marked_browser(name, environment=None):
    """The browser, its processes marked, with the extra environment."""
    os.environ[MARK] = uuid.uuid4().hex
    saved = {key: os.environ.get(key) for key in environment or {}}
    os.environ.update(environment or {})
    try:
        driver = start_browser(name)
    finally:
        for key, value in saved.items():
            if value is None:
                del os.environ[key]
            else:
                os.environ[key] = value
    driver.mark = os.environ.pop(MARK)
    return driver


def browser_processes(driver):
    """The ids of the browser's processes, with their environment: those
    that carry the mark, and their descendants (Chromium starts its
    renderers with an environment of its own)."""
    marked, parents, environments = set(), {}, {}
    wanted = ("%s=%s" % (MARK, driver.mark)).encode()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/environ" % pid, "rb") as f:
                environments[pid] = f.read().split(b"\0")
            with open("/proc/%s/stat" % pid) as f:
                stat = f.read()
        except OSError:
            continue
        parents[pid] = stat[stat.rindex(")") + 2:].split()[1]
        if wanted in environments[pid]:
            marked.add(pid)
    found = set(marked)
    while True:
        children = {pid for pid, parent in parents.items() if parent in found} - found
        if not children:
            break
        found |= children
    return {pid: environments[pid] for pid in found}


def browser_cpu_seconds(driver):
    """User and system time of every process of the browser so far."""
    total = 0
    ticks = os.sysconf("SC_CLK_TCK")
    for pid in browser_processes(driver):
        try:
            with open("/proc/%s/stat" % pid) as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rindex(")") + 2:].split()
        total += (int(fields[11]) + int(fields[12])) / ticks
    return total


def click_to_idle(driver, caption, timeout=600):
    """Milliseconds from the click to the form no longer busy, both taken in
    the page; the picture is on the canvas by then."""
    driver.execute_script("""window.clickAt = 0;
        document.addEventListener('click', () => { if (!window.clickAt) window.clickAt = performance.now(); },
                                  { capture: true, once: true });""")
    click(driver, caption)
    wait_for(driver, "window.clickAt && !Page.busy && Page.busySince >= window.clickAt", timeout,
             "the handler to end")
    return driver.execute_script("return Page.busySince - window.clickAt")


def delay_calls_ms(driver):
    return driver.execute_script("return Module._bench_delays(25000)")


def resized_to_redrawn(driver):
    """Milliseconds from a new layout of the page to its picture shown at
    the new size, the second of two resizes."""
    for width, height in ((1100, 900), (1280, 1024)):
        driver.execute_script("Page.redrawnMs = 0")
        driver.set_window_size(width, height)
        wait_for(driver, "Page.redrawnMs > 0", 30, "the picture drawn at its new size")
    return driver.execute_script("return Page.redrawnMs")


def measure(driver, build_web, sound):
    figures = {}
    open_page(driver, os.path.join(build_web, "bench"), "wavesum_bench_page.html")
    if sound:
        click(driver, "Ton an")
        wait_for(driver, "Sound.on && Sound.context.state == 'running'", 10, "the tone")
    # Page times count from the start of the navigation.
    figures["opened to first frame, ms"] = driver.execute_script("return Page.firstFrameAt")
    # The first click runs the program's code as the browser first compiled
    # it; by the later ones it has compiled it optimised.
    figures["Start Sägezahn to finished picture, first click, ms"] = click_to_idle(driver, "Start Sägezahn")
    figures["Start Sägezahn to finished picture, later clicks, ms"] = statistics.median(
        click_to_idle(driver, "Start Sägezahn") for _ in range(5))

    # The browser runs a function as first compiled until it has compiled
    # it optimised, in the background, and a call under way stays in the
    # code it began in: a few short calls first, with time for the compiler
    # between them. The Delay calls are timed before and after the run, and
    # the run is measured against their mean, so that a slower spell of the
    # machine weighs on both sides alike.
    for _ in range(3):
        driver.execute_script("Module._bench_delays(1000)")
        time.sleep(0.2)
    cpu = browser_cpu_seconds(driver)
    delays_before = delay_calls_ms(driver)
    delays_cpu = browser_cpu_seconds(driver) - cpu
    # Frames the browser presents from the click until the program sleeps
    # again, its clean-up after the run included, counted in the page.
    driver.execute_script("""window.frames = []; window.clickAt = 0; window.framesCounted = false;
        (function frame(t) { window.frames.push(t);
            if (!window.clickAt || Page.busy || !Page.inputWaiter) requestAnimationFrame(frame);
            else window.framesCounted = true;
        })(performance.now());""")
    cpu = browser_cpu_seconds(driver)
    run_ms = click_to_idle(driver, "Ordnungen aufaddieren")
    run_cpu = browser_cpu_seconds(driver) - cpu
    wait_for(driver, "window.framesCounted", 10, "the program asleep")
    frames = driver.execute_script("return window.frames.filter(t => t >= window.clickAt)")
    gaps = [b - a for a, b in zip(frames, frames[1:])]
    during_run = [t for t in frames if t <= frames[0] + run_ms]
    cpu = browser_cpu_seconds(driver)
    delays_after = delay_calls_ms(driver)
    delays_cpu = (delays_cpu + browser_cpu_seconds(driver) - cpu) / 2
    delays_ms = (delays_before + delays_after) / 2
    figures["complete sawtooth run, ms"] = run_ms
    figures["25,000 Delay calls, ms"] = delays_ms
    figures["run / Delay calls"] = run_ms / delays_ms
    # CPU time of all the browser's processes, which other work on the
    # machine sways less than the clock: what painting and compositing cost.
    figures["browser CPU, run / Delay calls"] = run_cpu / delays_cpu
    figures["frames per second during the run"] = (len(during_run) - 1) * 1000 / (during_run[-1] - during_run[0])
    figures["longest gap between frames, click to asleep, ms"] = max(gaps)

    # The window resized at the end of the run: the page laid out anew and
    # the picture drawn again, from all of the run's lines, at its new size.
    figures["WebAssembly memory after the run, MiB"] = driver.execute_script("return HEAPU8.length") / 2 ** 20
    figures["window resized after the run to the picture redrawn, ms"] = resized_to_redrawn(driver)
    # The same late in a run, when it has drawn the most lines.
    click(driver, "Ordnungen aufaddieren")
    time.sleep(0.85 * run_ms / 1000)
    figures["window resized late in a run to the picture redrawn, ms"] = resized_to_redrawn(driver)
    wait_idle(driver)

    # Held: the program sleeps until the next click.
    click(driver, "Ordnungen aufaddieren")
    time.sleep(0.5)
    click(driver, "unterbrechen")
    wait_for(driver, "Array.from(document.querySelectorAll('main button')).some(b => b.textContent == 'weiter')")
    time.sleep(0.5)
    before = browser_cpu_seconds(driver)
    time.sleep(5)
    figures["CPU seconds while held for 5 s"] = browser_cpu_seconds(driver) - before
    click(driver, "Löschen")
    wait_idle(driver)
    return figures


def report(title, results):
    print("%s, %d runs: median (min to max)" % (title, len(results)))
    for name in results[0]:
        values = [r[name] for r in results]
        print("  %-52s %9.2f  (%.2f to %.2f)" % (name, statistics.median(values), min(values), max(values)))


# (title, extra environment, tone on)
MODES = {
    "chromium": [("chromium", {}, False), ("chromium, tone on", {}, True)],
    "firefox": [("firefox", {}, False), ("firefox, tone on", {}, True)],
    "webkit": [("webkit with GL compositing in software (as under Xvfb)", {}, False),
               ("webkit without GL compositing (WEBKIT_DISABLE_COMPOSITING_MODE=1, stands for a device "
                "with a GPU)", {"WEBKIT_DISABLE_COMPOSITING_MODE": "1"}, False),
               ("webkit without GL compositing, tone on", {"WEBKIT_DISABLE_COMPOSITING_MODE": "1"}, True)],
}

if __name__ == "__main__":
    browser, build_web = sys.argv[1], os.path.abspath(sys.argv[2])
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    results = {title: [] for title, _, _ in MODES[browser]}
    # The modes take turns, so that the machine's slower spells fall on
    # each alike.
    for _ in range(runs):
        for title, environment, sound in MODES[browser]:
            driver = start_marked_browser(browser, environment)
            try:
                for key, value in environment.items():
                    assert any(("%s=%s" % (key, value)).encode() in e and b"MiniBrowser" in open(
                        "/proc/%s/cmdline" % pid, "rb").read() for pid, e in browser_processes(driver).items())
                results[title].append(measure(driver, build_web, sound))
            finally:
                stop_browser(driver)
    for title, _, _ in MODES[browser]:
        report(title, results[title])
    ratio = lambda title: statistics.median(r["run / Delay calls"] for r in results[title])
    for title, environment, sound in MODES[browser]:
        if sound:
            quiet = next(t for t, e, s in MODES[browser] if e == environment and not s)
            print("the tone costs the run %+.1f %% (target at most 2 %%)" % ((ratio(title) / ratio(quiet) - 1) * 100))
