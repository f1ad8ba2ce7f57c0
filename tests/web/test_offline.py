"""The site served over HTTP by a server the test starts itself: one visit
to the start page installs it, and with the server gone both programs run
and draw the desktop's pixels. A failed install (a file gone; in Chromium
also storage too small) leaves the pages working online and is made good on
the next visit; a second build takes over from the first without ever
mixing the two. From disk nothing of it is used. In Chromium also the
manifest and installability as Chromium sees them.

usage: test_offline.py chromium|webkit PAGES_DIR TOOLS_DIR
(the second build is made from PAGES_DIR's sibling raw/ with site/site.cmake)"""
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading

from selenium.common.exceptions import WebDriverException

from web_lib import (canvas, click, desktop_picture, differing_pixels, open_url, start_browser, stop_browser,
                     wait_for, wait_idle)

browser, pages, tools = sys.argv[1:4]
source = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
passed, failures = [], []


def check(condition, what):
    print(("ok     " if condition else "FAILED ") + what, flush=True)
    (passed if condition else failures).append(what)


class Server(http.server.ThreadingHTTPServer):
    """127.0.0.1 in a thread of this process: the folder `root` at /site/,
    elsewhere "not found"; a file in `dropped` gets its connection closed
    unanswered, as by a server gone."""
    daemon_threads = True

    def __init__(self, root):
        server, self.root, self.dropped = self, root, set()

        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                              ".webmanifest": "application/manifest+json"}

            def __init__(self, *args):
                super().__init__(*args, directory=server.root)

            def translate_path(self, path):
                return super().translate_path(path[5:]) if path.startswith("/site/") else "/nonexistent"

            def send_head(self):
                if self.path[6:] in server.dropped:
                    self.close_connection = True
                    return None
                return super().send_head()

            def log_message(self, *args):
                pass

        super().__init__(("127.0.0.1", 0), Handler)
        self.origin = "http://127.0.0.1:%d" % self.server_address[1]
        self.url = self.origin + "/site/"
        threading.Thread(target=self.serve_forever, daemon=True).start()

    def handle_error(self, request, client_address):
        pass  # the browser gave up on a request (a failing install)

    def stop(self):
        self.shutdown()
        self.server_close()


ORIGINS = set()


def fresh_server(root):
    """A server at an origin that no earlier case has used, so that one
    browser serves every case and each case's origin starts with no worker
    and no cache."""
    taken = []
    server = Server(root)
    while server.origin in ORIGINS:
        taken.append(server)  # kept open meanwhile, so its port is not given again
        server = Server(root)
    for other in taken:
        other.stop()
    ORIGINS.add(server.origin)
    return server


def build_of(site):
    with open(os.path.join(site, "index.html"), encoding="utf-8") as f:
        return re.search(r'<meta name="wellenlehre-build" content="(\w+)">', f.read()).group(1)


def shown_build(driver):
    return driver.execute_script("return document.querySelector('meta[name=\"wellenlehre-build\"]').content")


def ready_offline(driver, url):
    """The start page, once it says that the programs are stored."""
    driver.get(url)
    return wait_for(driver, "document.getElementById('offline').textContent", what="offline ready")


def same_as_desktop(driver, program, what, caption):
    click(driver, caption)
    wait_idle(driver)
    width, height, pixels = canvas(driver)
    wrong = differing_pixels(pixels, desktop_picture(tools, program, width, height, caption))
    check(wrong == 0, "%s: %dx%d canvas equals the desktop picture (%d pixels differ)" % (what, width, height, wrong))


def errors_logged(driver):
    return [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def installable(driver, url):
    result = driver.execute_cdp_cmd("Page.getAppManifest", {})
    manifest = result.get("manifest", {})
    check(result["url"] == url + "manifest.webmanifest" and not result["errors"]
          and (manifest.get("name"), manifest.get("startUrl"), manifest.get("scope"), manifest.get("display"))
          == ("Fourierreihen im Unterricht", url, url, "kStandalone"),
          "manifest read without errors: %s" % (result["errors"] or manifest.get("name")))
    errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
    check(not errors, "no installability errors %s" % [e["errorId"] for e in errors])
    for size in (192, 512):  # outside the central circle of 80 % only the corner's colour
        rgba = subprocess.run(["convert", os.path.join(pages, "icons", "wavesum-maskable-%d.png" % size), "rgba:-"],
                              capture_output=True, check=True).stdout
        outside = sum(1 for i in range(0, len(rgba), 4) if rgba[i:i + 4] != rgba[:4] and
                      (i // 4 % size + 0.5 - size / 2) ** 2 + (i // 4 // size + 0.5 - size / 2) ** 2 > (0.4 * size) ** 2)
        check(outside == 0, "maskable icon %d: the artwork inside the safe zone (%d pixels outside)" % (size, outside))


def from_disk(driver):
    driver.get("file://" + os.path.join(pages, "index.html"))
    open_url(driver, "file://" + os.path.join(pages, "wavesum.html"))
    check(driver.execute_script("return !document.querySelector('link[rel=manifest]') && "
                                "!(navigator.serviceWorker && navigator.serviceWorker.controller)"),
          "from disk: no manifest link, no service worker")
    if browser == "chromium":
        errors = errors_logged(driver)
        check(not errors, "from disk: nothing logged as an error %s" % errors)


def offline(driver):
    build, server = build_of(pages), fresh_server(pages)
    try:
        check("ohne Internetverbindung" in ready_offline(driver, server.url), "start page: ready for offline use")
        check(driver.execute_script("return !!navigator.serviceWorker.controller"),
              "a service worker controls the start page")
        check(build in driver.execute_script("return document.querySelector('footer').textContent"),
              "the footer names the build %s" % build)
        if browser == "chromium":
            installable(driver, server.url)
            errors = errors_logged(driver)
            check(not errors, "served: nothing logged as an error %s" % errors)
    finally:
        server.stop()
    driver.get(server.url)
    start = shown_build(driver)
    open_url(driver, server.url + "wavesum.html")
    check(start == shown_build(driver) == build, "server gone: start page and wavesum.html of build %s" % build)
    same_as_desktop(driver, "wavesum", "server gone: wavesum", "Start Rechteck")
    open_url(driver, server.url + "waveprint.html")
    same_as_desktop(driver, "waveprint", "server gone: waveprint", "Berechnung")


def failed_install(driver):
    server = fresh_server(pages)
    faults = [("a file gone during the install", lambda: server.dropped.add("waveprint.html"), server.dropped.clear)]
    if browser == "chromium":
        quota = {"origin": server.origin}
        faults.append(("storage too small",
                       lambda: driver.execute_cdp_cmd("Storage.overrideQuotaForOrigin", {**quota, "quotaSize": 4096}),
                       lambda: driver.execute_cdp_cmd("Storage.overrideQuotaForOrigin", quota)))
    # The install settles within a second; where WebKit's web process
    # ended meanwhile, the promise never does: 10 s, not the driver's 30.
    driver.set_script_timeout(10)
    try:
        for what, cause, remedy in faults:
            cause()
            driver.get("about:blank")
            driver.get(server.url)
            # The install's outcome: register() joins the page's registration
            # (or, once that failed, tries again).
            outcome = driver.execute_script("""return navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }).then(r => {
                const worker = r.installing || r.waiting || r.active;
                return new Promise(resolve => {
                  const settled = () => ['activated', 'redundant'].includes(worker.state) && resolve(worker.state);
                  worker.addEventListener('statechange', settled);
                  settled();
                }); })""")
            status = driver.execute_script("return document.getElementById('offline').textContent")
            check(outcome == "redundant" and not status, "%s: not installed, the start page claims nothing (%s %r)"
                  % (what, outcome, status))
            open_url(driver, server.url + "wavesum.html")
            click(driver, "Start Rechteck")
            wait_idle(driver)
            check(0 in canvas(driver)[2], "%s: wavesum works online" % what)
            remedy()
        driver.get("about:blank")
        check("ohne Internetverbindung" in ready_offline(driver, server.url), "the next visit installs")
    finally:
        server.stop()
        driver.set_script_timeout(30)


def update(driver):
    """Build B deployed over build A."""
    work = tempfile.mkdtemp()
    try:
        site_b = os.path.join(work, "B")
        subprocess.run(["cmake", "-DSOURCE_DIR=" + source, "-DPAGES_DIR=" + os.path.join(os.path.dirname(pages), "raw"),
                        "-DSITE_DIR=" + site_b, "-DVERSION=B", "-P", os.path.join(source, "site", "site.cmake")],
                       check=True, stdout=subprocess.DEVNULL)
        a, b = build_of(pages), build_of(site_b)
        check(a != b, "build B (%s), another version, has another digest than A (%s)" % (b, a))
        server = fresh_server(pages)
        try:
            ready_offline(driver, server.url)
            server.root = site_b
            visits = []
            while len(visits) < 3 and (not visits or visits[-1][0] != b):
                # Away from the site, as between two visits: a waiting worker
                # takes over once no page of the old one is open.
                driver.get(server.origin + "/")
                wait_for(driver, "navigator.serviceWorker.getRegistration('%s').then(r => !r.waiting)" % server.url,
                         what="the waiting worker to take over")
                ready_offline(driver, server.url)
                start = shown_build(driver)
                driver.get(server.url + "waveprint.html")
                visits.append((start, shown_build(driver)))
                if start != b:  # B installs meanwhile, then waits for A's pages to go
                    wait_for(driver, "navigator.serviceWorker.getRegistration().then(r => !!r.waiting)",
                             what="build B installed")
            check(all(start == program for start, program in visits),
                  "every visit: start page and program page of one build %s" % visits)
            check(visits[-1][0] == b and len(visits) <= 2, "build B after %d visits" % len(visits))
            caches = driver.execute_script("return caches.keys()")
            check([key.split()[-1] for key in caches] == [b], "only B's cache is left %s" % caches)
        finally:
            server.stop()
        driver.get(server.url)
        start = shown_build(driver)
        open_url(driver, server.url + "wavesum.html")
        check(start == shown_build(driver) == b, "server gone: start page and wavesum.html of build B")
    finally:
        shutil.rmtree(work, ignore_errors=True)


# In Firefox the waiting worker of build B does not take over while the
# driver's one tab stays open, gone elsewhere (the tab's back-forward cache
# keeps build A's page, a client of A's worker); the update is Chromium's
# and WebKit's part of this test.
cases = (from_disk, offline, failed_install) + ((update,) if browser != "firefox" else ())
# One browser for every case, each case at an origin of its own. WebKit's
# web process (2.4x under Xvfb) crashes now and then after a worker's
# install failed, with earlier builds of the pages too, and the driver's
# session goes with it: such a case is run once more, in a new browser, and
# that said.
driver = None
try:
    for case in cases:
        for attempt in (1, 2):
            driver = driver or start_browser(browser)
            try:
                case(driver)
                break
            except WebDriverException as e:
                if browser != "webkit" or attempt == 2:
                    raise
                print("note   %s: WebKit's web process ended (%s); the case again" % (case.__name__, e.msg.strip()))
                try:
                    stop_browser(driver)
                except WebDriverException:
                    pass
                driver = None
finally:
    if driver:
        try:
            stop_browser(driver)
        except WebDriverException:
            pass
print("%d passed, %d failed" % (len(passed), len(failures)))
sys.exit(1 if failures else 0)
