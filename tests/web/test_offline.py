"""The site served over HTTP by a server the test starts itself: one visit
to the start page installs it, and with the server gone both programs run
and draw the desktop's pixels. A failed install (a file gone; in Chromium
also storage too small) leaves the pages working online and is made good on
the next visit; a second build takes over from the first without ever
mixing the two. From disk nothing of it is used. In Chromium also the
manifest and installability as Chromium sees them. The SCORM packages, with
scorm-again (npm) as the learning platform, in Chromium and Firefox.

usage: test_offline.py chromium|webkit PAGES_DIR TOOLS_DIR
(the second build is made from PAGES_DIR's sibling raw/ with site/site.cmake)"""
import glob
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import xml.etree.ElementTree as ElementTree
import zipfile

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
    if browser == "webkit":
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
        if browser == "webkit":
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


# The platform's page: scorm-again (npm) holds the API, or an API whose
# every call throws; the SCO in an 800x600 frame. Each call is recorded.
PLATFORM_PAGE = """<!doctype html><meta charset="utf-8"><script src="%(script)s"></script><script>
const standard = '%(standard)s', calls = [];
const api = { 12: () => new Scorm12API({ logLevel: 5 }), 2004: () => new Scorm2004API({ logLevel: 5 }) }[standard]?.();
window[standard === '2004' ? 'API_1484_11' : 'API'] = new Proxy({}, { get: (_, name) => (...args) => {
  calls.push([name, ...args].join(' ').trim()); if (!api) throw new Error('down'); return api[name](...args); } });
const lessonStatus = () => standard === '12' ? api.cmi.core.lesson_status : api && api.cmi.completion_status;
const started = api && lessonStatus();
const sco = () => document.querySelector('iframe').contentWindow;
const ready = () => sco().Page && sco().Page.formElement && !sco().Page.busy && !sco().Page.clicks.length;
const press = caption => Array.from(sco().document.querySelectorAll('main button')).find(b => b.textContent == caption).click();
</script><iframe src="%(sco)s" style="width:800px;height:600px;border:0"></iframe>
"""
# Per standard: its namespaces, SCO type attribute and schema version, and
# the names of a session's calls.
SCORM = {"12": ("imsproject.org/xsd/imscp_rootv1p1p2", "adlnet.org/xsd/adlcp_rootv1p2", "scormtype", "1.2",
                "LMS", "cmi.core.lesson_status", "Finish", "cmi.core.session_time"),
         "2004": ("imsglobal.org/xsd/imscp_v1p1", "adlnet.org/xsd/adlcp_v1p3", "scormType", "2004 4th Edition",
                  "", "cmi.completion_status", "Terminate", "cmi.session_time")}


def scos_of(package):
    """The manifest's SCOs (title, href), checked: identifiers unique, every
    href in the zip, the SCO type and the schema each standard expects."""
    standard = "2004" if "scorm2004" in package else "12"
    (cp, adlcp, kind, version), ns = SCORM[standard][:4], {"cp": "http://www." + SCORM[standard][0]}
    with zipfile.ZipFile(package) as z:
        names, root = set(z.namelist()), ElementTree.fromstring(z.read("imsmanifest.xml"))
    ids = [e.get("identifier") for e in root.iter() if e.get("identifier")]
    resources = {r.get("identifier"): r for r in root.iterfind("cp:resources/cp:resource", ns)}
    scos = [(i.findtext("cp:title", namespaces=ns), resources[i.get("identifierref")].get("href"))
            for i in root.iterfind("cp:organizations/cp:organization/cp:item", ns)]
    hrefs = [r.get("href") for r in resources.values()] + [f.get("href") for f in root.iterfind(".//cp:file", ns)]
    schema = [root.findtext("cp:metadata/cp:" + e, namespaces=ns) for e in ("schema", "schemaversion")]
    check(len(ids) == len(set(ids)) and set(hrefs) <= names and scos and schema == ["ADL SCORM", version]
          and all(r.get("{http://www.%s}%s" % (adlcp, kind)) == "sco" for r in resources.values()),
          "%s: manifest %s, SCOs %s" % (os.path.basename(package), schema, scos))
    return standard, scos


def learning_platform(driver):
    """Each package of both programs as a platform shows it: incomplete at
    load, completed after a complete run or "Berechnung", finished once on
    "Ende" or on leaving; an API that throws: the run as without one."""
    work, runs = tempfile.mkdtemp(), [("throwing", "data:,", "an API that throws", "wavesum.html")]
    for package in sorted(glob.glob(os.path.join(os.path.dirname(pages), "wellenlehre-scorm*.zip"))):
        standard, scos = scos_of(package)
        # A single program's package: its manifest is enough. Both SCOs
        # make SCORM 1.2's calls; Chromium also waveprint's of SCORM 2004
        # (the same code with the other names) and the fault.
        if len(scos) == 2 and (browser == "chromium" or standard == "12"):
            zipfile.ZipFile(package).extractall(os.path.join(work, standard))
            shutil.copy(os.path.join(os.environ["SCORM_AGAIN_DIR"], "scorm%s.min.js" % standard), os.path.join(work, standard))
            runs += [(standard, "scorm%s.min.js" % standard, t, sco) for t, sco in scos[standard == "2004":]]
    for standard, script, title, sco in runs[0 if browser == "chromium" else 1:]:
        root = os.path.join(work, "12" if standard == "throwing" else standard)
        with open(os.path.join(root, "platform.html"), "w") as f:
            f.write(PLATFORM_PAGE % {"script": script, "standard": standard, "sco": sco})
        what, server = "SCORM %s, %s" % (standard, title), fresh_server(root)
        try:
            driver.get(server.url + "platform.html")
            wait_for(driver, "ready()", what=what)
            at_load = driver.execute_script("return [started, lessonStatus()]")
            captions = ("Start Rechteck", "Ordnungen aufaddieren") if sco == "wavesum.html" else ("Berechnung",)
            for caption in captions:
                driver.execute_script("press(arguments[0])", caption)
                wait_for(driver, "ready()", what=caption)
            if standard == "throwing":
                told = driver.execute_script("return [calls, sco().document.getElementById('announcer').textContent]")
                check(told == [["LMSInitialize"], "Fertig."], "%s: one call, then a complete run regardless %s" % (what, told))
                continue
            wait_for(driver, "lessonStatus() == 'completed'", 10, "completed")
            # wavesum ends by "Ende", then its page is left too; waveprint's page is left.
            driver.execute_script("press('Ende')" if sco == "wavesum.html" else "document.querySelector('iframe').src = 'about:blank'")
            wait_for(driver, "calls.some(c => /^(LMSFinish|Terminate)/.test(c))", 10, "finish")
            driver.execute_script("sco().dispatchEvent(new Event('pagehide'))")
            made = [re.sub(r"(session_time) .*", r"\1", c) for c in driver.execute_script("return calls")]
            lms, status, finish, time = SCORM[standard][4:]
            workers = driver.execute_script("return navigator.serviceWorker.getRegistrations().then(r => r.length)")
            check(at_load[0] in ("not attempted", "unknown") and at_load[1] == "incomplete" and not workers and made ==
                  [lms + "Initialize", lms + "GetValue " + status, lms + "SetValue %s incomplete" % status, lms + "Commit",
                   lms + "SetValue %s completed" % status, lms + "Commit", lms + "SetValue " + time, lms + finish],
                  "%s: %s, no service worker, the calls %s" % (what, at_load, made))
        finally:
            server.stop()
    shutil.rmtree(work, ignore_errors=True)


# In Firefox the waiting worker of build B does not take over while the
# driver's one tab stays open, gone elsewhere (the tab's back-forward cache
# keeps build A's page, a client of A's worker); the update is Chromium's
# and WebKit's part of this test.
cases = ((from_disk, offline, failed_install) + ((update,) if browser != "firefox" else ())
         + ((learning_platform,) if browser != "webkit" and os.environ.get("SCORM_AGAIN_DIR") else ()))
# One browser for every case, each case at an origin of its own. WebKit's
# web process (2.4x under Xvfb) crashes now and then after a worker's
# install failed, with earlier builds of the pages too, and the driver's
# session goes with it: such a case is run again in a new browser, and that
# said. Beside other tests (the suite runs four at a time) the crash came
# twice in a row once in a few runs: up to three attempts.
driver = None
try:
    for case in cases:
        for attempt in (1, 2, 3):
            driver = driver or start_browser(browser)
            try:
                case(driver)
                break
            except WebDriverException as e:
                if browser != "webkit" or attempt == 3:
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
