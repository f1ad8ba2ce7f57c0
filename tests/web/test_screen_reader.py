"""What a screen reader gets from both program pages in Chromium: the
picture's name and description in the accessibility tree as the pictures
change, what the live region announces during a run, the reading order,
and axe-core's audit in each state.

usage: test_screen_reader.py PAGES_DIR AXE_JS"""
import re
import sys
import time

from web_lib import button, click, open_page, start_browser, stop_browser, wait_for, wait_idle

pages, axe_js = sys.argv[1:3]
passed, failures = [], []
with open(axe_js) as f:
    AXE = f.read()


def check(condition, what):
    print(("ok     " if condition else "FAILED ") + what, flush=True)
    (passed if condition else failures).append(what)


def picture_node(driver):
    """The picture as Chromium's accessibility tree has it: (role, name,
    description)."""
    for node in driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]:
        if node.get("role", {}).get("value") == "image":
            return (node["role"]["value"], node.get("name", {}).get("value", ""),
                    node.get("description", {}).get("value", ""))
    return None


def description(driver):
    return picture_node(driver)[2]


def wait_description(driver, starts, timeout=120):
    deadline = time.time() + timeout
    while time.time() < deadline:
        text = description(driver)
        if text.startswith(starts):
            return text
        time.sleep(0.05)
    raise AssertionError("no description starting %r; last %r" % (starts, text))


def audit(driver, what):
    """axe-core inside the page: no violation of any rule."""
    if not driver.execute_script("return typeof axe != 'undefined'"):
        driver.execute_script(AXE)
    violations = driver.execute_async_script("""const done = arguments[arguments.length - 1];
        axe.run(document, { resultTypes: ['violations'] }).then(r => done(r.violations.map(
            v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', '))));""")
    check(not violations, "%s: axe-core finds no violation %s" % (what, violations or ""))


def listen(driver):
    """Keeps every text the live region takes, as a screen reader hears it."""
    driver.execute_script("""window.heard = [];
        const region = document.querySelector('[aria-live=polite]');
        new MutationObserver(() => { if (region.textContent) heard.push(region.textContent.trim()); })
            .observe(region, { childList: true, characterData: true, subtree: true });""")


def orders(texts, pattern):
    return [int(m.group(1)) for m in (re.match(pattern, t) for t in texts) if m]


def wavesum(driver):
    open_page(driver, pages, "wavesum.html")
    role, name, text = picture_node(driver)
    check(name == "Harmonische und Summenkurve" and text.startswith("Das Bild ist leer."),
          "wavesum: the picture is an image named %r, described %r" % (name, text[:40]))
    reading = driver.execute_script("""return Array.from(document.querySelectorAll('main button, main [tabindex]'))
        .map(e => [e.textContent || e.getAttribute('aria-label'), e.tabIndex])""")
    check([r[0] for r in reading] == ["Start Sägezahn", "unterbrechen", "Ende", "Start Rechteck",
                                      "Ordnungen aufaddieren", "Harmonische und Summenkurve", "Löschen",
                                      "Ton an"]
          and all(r[1] == 0 for r in reading), "wavesum: the page's order is the tab order, no positive tabindex")
    audit(driver, "wavesum empty")

    listen(driver)
    click(driver, "Start Rechteck")
    wait_idle(driver)
    check("21 Harmonischen der Rechteckschwingung" in description(driver), "wavesum: the square wave's strips told")
    audit(driver, "wavesum square wave")

    started = time.time()
    click(driver, "Ordnungen aufaddieren")
    seen = [wait_description(driver, "Langsame Phase")]
    click(driver, "unterbrechen")
    held = wait_description(driver, "Angehalten bei Ordnung")
    audit(driver, "wavesum held")
    click(driver, "weiter")
    while driver.execute_script("return Page.busy"):
        seen.append(description(driver))
        time.sleep(0.2)
    seconds = time.time() - started
    told = orders(seen, r"\w+ Phase(?:, [^:]*)?: Ordnung (\d+)")
    check(told == sorted(told) and len(set(told)) >= 3,
          "wavesum: the described order grows over the run %s, held at %s" % (sorted(set(told)), held[:28]))
    check(description(driver).startswith("Fertig") and "Rechteckform" in description(driver),
          "wavesum: the finished run told")
    audit(driver, "wavesum finished")

    heard = driver.execute_script("return heard")
    slow = orders(heard, r"Ordnung (\d+) wird addiert\.$")
    fast = orders(heard, r"Ordnung (\d+) erreicht\.$")
    check(slow[:1] == [3] and slow == sorted(set(slow)) and set(slow) <= {3, 5, 7},
          "live region: slow orders each once %s" % slow)
    check(heard.count("Schnelle Phase bis Ordnung 103.") == 1 and fast == sorted(set(fast))
          and all(n > 9 for n in fast) and len(fast) <= 1 + seconds / 2,
          "live region: the fast phase told, then %d orders %s in %.1f s, growing, at most one every 2 s" % (len(fast), fast, seconds))
    check(any(t.startswith("Angehalten bei Ordnung") for t in heard) and any(t.startswith("Weiter bei") for t in heard)
          and heard[-1] == "Fertig." and len(heard) < 30, "live region: %d messages in all %s" % (len(heard), heard))

    click(driver, "Ordnungen aufaddieren")
    time.sleep(0.3)
    click(driver, "Löschen")
    wait_idle(driver, timeout=10)
    time.sleep(0.3)
    heard = driver.execute_script("return heard")
    check(description(driver).startswith("Das Bild ist leer.") and heard[-1] == "Bild gelöscht.",
          "wavesum: Löschen leaves nothing of the run: %r, last heard %r" % (description(driver)[:30], heard[-1]))
    audit(driver, "wavesum cleared")
    click(driver, "Start Sägezahn")
    wait_idle(driver)
    check("100 Harmonischen der Sägezahnschwingung" in description(driver), "wavesum: the sawtooth's strips told")
    audit(driver, "wavesum sawtooth")


def waveprint(driver):
    open_page(driver, pages, "waveprint.html")
    role, name, text = picture_node(driver)
    check(name == "Harmonische der Rechteckschwingung" and text.startswith("Das Bild ist leer."),
          "waveprint: the picture is an image named %r" % name)
    audit(driver, "waveprint empty")
    click(driver, "Berechnung")
    wait_idle(driver)
    check(description(driver).startswith("Die 21 Harmonischen"), "waveprint: the strips told")
    driver.execute_script("window.print = () => {}")
    click(driver, "Ausdruck A4 Hochformat")
    wait_idle(driver, timeout=60)
    check("an den Drucker gegangen" in description(driver), "waveprint: the printout told")
    audit(driver, "waveprint printed")


driver = start_browser("chromium")
try:
    wavesum(driver)
    waveprint(driver)
    driver.get("file://" + pages + "/index.html")
    audit(driver, "start page")
finally:
    stop_browser(driver)
print("%d passed, %d failed" % (len(passed), len(failures)))
sys.exit(1 if failures else 0)
