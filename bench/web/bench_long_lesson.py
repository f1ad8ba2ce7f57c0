"""A long lesson in one wavesum page in Chromium: "Start Sägezahn" once,
then twenty complete sawtooth runs ("Ordnungen aufaddieren", each to its
end) one after another. Printed: the growth of the program's memory (the
WebAssembly heap), of the page's JavaScript heap after a garbage
collection, and of its DOM nodes and event listeners, from the end of the
first run to the end of the last; and the run times and the browser's CPU
time per run, the last runs against the first ones.

The runs are clicked by a script in the page, which also waits for each
to end. Clicked and polled by the WebDriver instead, the heap grew by some
5 KiB a run without end; clicked in the page it stops growing after the
first few runs, so that growth was the driver's, not the program's.

usage: bench_long_lesson.py BUILD_WEB_DIR [RUNS]"""
import os
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench_pages import browser_cpu_seconds, click_to_idle, start_marked_browser  # noqa: E402
from web_lib import open_page, stop_browser  # noqa: E402

MiB = 1024 * 1024


def memory(driver):
    """The page's memory after a full garbage collection."""
    driver.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
    heap = driver.execute_cdp_cmd("Runtime.getHeapUsage", {})
    counters = driver.execute_cdp_cmd("Memory.getDOMCounters", {})
    return {
        "WebAssembly memory, MiB": driver.execute_script("return HEAPU8.length") / MiB,
        "JavaScript heap in use, MiB": heap["usedSize"] / MiB,
        "DOM nodes": counters["nodes"],
        "event listeners": counters["jsEventListeners"],
    }


def run_clicked_in_page(driver, caption):
    """Seconds from a click on the button, made by the page's own script,
    to the form no longer busy."""
    return driver.execute_async_script("""const done = arguments[arguments.length - 1];
        const button = Array.from(document.querySelectorAll('main button')).find(b => b.textContent == arguments[0]);
        const clickAt = performance.now();
        button.click();
        (function poll() {
            if (!Page.busy && Page.busySince >= clickAt) done((Page.busySince - clickAt) / 1000);
            else setTimeout(poll, 50);
        })();""", caption)


def lesson(build_web, runs):
    """Per run: its time, the browser's CPU time and the memory after it."""
    driver = start_marked_browser("chromium")
    try:
        open_page(driver, os.path.join(build_web, "bin"), "wavesum.html")
        driver.set_script_timeout(600)
        click_to_idle(driver, "Start Sägezahn")
        times, cpu, after = [], [], []
        for _ in range(runs):
            before = browser_cpu_seconds(driver)
            times.append(run_clicked_in_page(driver, "Ordnungen aufaddieren"))
            cpu.append(browser_cpu_seconds(driver) - before)
            after.append(memory(driver))
        return times, cpu, after, turned(driver)
    finally:
        stop_browser(driver)


def turned(driver):
    """After the last run, the page turned as a tablet is, five times each
    way: milliseconds from the new layout to the picture redrawn at its new
    size."""
    times = []
    for turn in range(10):
        width, height = (1024, 768) if turn % 2 else (768, 1024)
        driver.execute_script("Page.redrawnMs = 0")
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": 2, "mobile": True})
        times.append(driver.execute_async_script("""const done = arguments[arguments.length - 1];
            (function poll() { if (Page.redrawnMs > 0) done(Page.redrawnMs); else setTimeout(poll, 10); })();"""))
    return times, memory(driver)

def later_against_earlier(name, values):
    """The last run against the first, and the median of the last three
    against that of runs 2 to 4 (the first runs the code as first
    compiled)."""
    print("  %-28s %s" % (name + ":", " ".join("%.2f" % v for v in values)))
    print("  %-28s last / first %.3f, median of runs %d-%d / median of runs 2-4 %.3f"
          % ("", values[-1] / values[0], len(values) - 2, len(values),
             statistics.median(values[-3:]) / statistics.median(values[1:4])))


if __name__ == "__main__":
    build_web = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    times, cpu, after, (turns, memory_turned) = lesson(build_web, runs)
    print("chromium, %d complete sawtooth runs in one page" % runs)
    for name in after[0]:
        first, last = after[0][name], after[-1][name]
        print("  %-28s after run 1 %8.2f, after run %d %8.2f, growth %+.2f" % (name, first, runs, last, last - first))
    print("  %-28s %s" % ("JavaScript heap, MiB:", " ".join("%.2f" % a["JavaScript heap in use, MiB"] for a in after)))
    later_against_earlier("run times, s", times)
    later_against_earlier("browser CPU per run, s", cpu)
    print("  %-28s %s" % ("turned 768x1024 <-> 1024x768 at ratio 2, picture redrawn in ms:",
                          " ".join("%.1f" % t for t in turns)))
    print("  %-28s median %.1f, WebAssembly memory then %.2f MiB" % (
        "", statistics.median(turns), memory_turned["WebAssembly memory, MiB"]))
