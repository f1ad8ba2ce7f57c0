"""Both program pages in a real browser, opened from file://: the pictures
against the desktop's pixels, a run held and resumed, "Löschen" and "Ende",
printing through the browser, and no request leaving the page.

usage: test_pages.py chromium|webkit|firefox PAGES_DIR TOOLS_DIR"""
import base64
import os
import re
import subprocess
import sys
import tempfile
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from web_lib import (button, canvas, click, desktop_picture, differing_pixels, open_page, requests_made,
                     start_browser, stop_browser, wait_for, wait_idle)

browser, pages, tools = sys.argv[1:4]
passed, failures = [], []


def check(condition, what):
    print(("ok     " if condition else "FAILED ") + what, flush=True)
    (passed if condition else failures).append(what)


def same_as_desktop(driver, program, what, *captions):
    width, height, pixels = canvas(driver)
    reference = desktop_picture(tools, program, width, height, *captions)
    wrong = differing_pixels(pixels, reference)
    check(wrong == 0, "%s: %dx%d canvas equals the desktop picture (%d pixels differ)" % (what, width, height, wrong))


def only_the_page(driver, name):
    """The page asked for nothing but itself and the program inside it."""
    others = [url for url in requests_made(driver) if not url.startswith(("data:", "chrome:", "about:"))
              and url != "file://" + os.path.join(pages, name)]
    if others:
        print("requests:", others)
    return not others


def wavesum(driver):
    open_page(driver, pages, "wavesum.html")
    check(driver.title.startswith("Fouriersynthese der Rechteck-/Sägezahnkurve"), "wavesum: caption as page title")
    check(driver.execute_script("return document.documentElement.lang") == "de", "wavesum: page language German")
    order = driver.execute_script("""return Array.from(document.querySelectorAll('main button, main [tabindex]'))
        .map(e => e.textContent || 'Bild')""")
    check(order == ["Start Sägezahn", "unterbrechen", "Ende", "Start Rechteck", "Ordnungen aufaddieren", "Bild",
                    "Löschen", "Ton an"], "wavesum: tab order %s" % order)

    click(driver, "Start Rechteck")
    wait_idle(driver)
    check(not button(driver, "Start Sägezahn").is_enabled(), "wavesum: Start Sägezahn disabled")
    same_as_desktop(driver, "wavesum", "Start Rechteck", "Start Rechteck")

    # A complete run, held by "unterbrechen" and resumed by "weiter".
    click(driver, "Ordnungen aufaddieren")
    time.sleep(0.3)
    click(driver, "unterbrechen")
    wait_for(driver, "Array.from(document.querySelectorAll('main button')).some(b => b.textContent == 'weiter')")
    held = canvas(driver)[2]
    time.sleep(0.5)
    still, busy = canvas(driver)[2] == held, driver.execute_script("return Page.busy")
    check(still and busy, "wavesum: the run holds (picture still: %s, busy: %s)" % (still, busy))
    click(driver, "weiter")
    wait_idle(driver)
    check(button(driver, "unterbrechen").is_enabled(), "wavesum: caption back to unterbrechen")
    same_as_desktop(driver, "wavesum", "complete run", "Start Rechteck", "Ordnungen aufaddieren")

    # "Löschen" in the middle of a run ends it: white paper, both starts.
    click(driver, "Ordnungen aufaddieren")
    time.sleep(0.3)
    click(driver, "Löschen")
    wait_idle(driver, timeout=10)
    pixels = canvas(driver)[2]
    check(set(pixels) == {255}, "wavesum: Löschen mid-run leaves white paper")
    check(button(driver, "Start Rechteck").is_enabled() and button(driver, "Start Sägezahn").is_enabled(),
          "wavesum: both start buttons enabled")
    click(driver, "Start Sägezahn")
    wait_idle(driver)
    same_as_desktop(driver, "wavesum", "Start Sägezahn", "Start Sägezahn")

    click(driver, "Ende")
    wait_for(driver, "!document.getElementById('ended').hidden", timeout=10)
    text = driver.execute_script("return document.getElementById('ended').innerText")
    check("Das Programm ist beendet" in text and driver.execute_script("return Page.formElement.hidden"),
          "wavesum: Ende ends the program, the page says so")
    check(only_the_page(driver, "wavesum.html"), "wavesum: no request leaves the page")


def sound(driver):
    """The tone at 44.1 kHz, where the browser's PeriodicWave would first drop
    top harmonics: no audio before the click on "Ton an"; what the page
    plays, tapped, holds the fundamental alone after a start, every order
    of a whole run at 1/k of it and nothing else, and falls silent on
    "Löschen" and "Ton aus"."""
    import numpy
    open_page(driver, pages, "wavesum.html")
    driver.execute_script("""const C = window.AudioContext;
        window.AudioContext = class extends C { constructor(o) { super(Object.assign({}, o, { sampleRate: 44100 })); } };""")
    check(driver.execute_script("return Sound.context") is None, "sound: no AudioContext before the click")
    click(driver, "Ton an")
    wait_for(driver, "Sound.context && Sound.context.state == 'running' && !!Sound.node", timeout=10,
             what="the tone, summed on the audio thread")
    driver.execute_script("window.tap = Sound.context.createAnalyser(); tap.fftSize = 32768; Sound.master.connect(tap)")

    def heard(what, first, step, last):
        time.sleep(1)  # a whole buffer of the settled tone
        x = numpy.array(driver.execute_script("""const a = new Float32Array(tap.fftSize);
            tap.getFloatTimeDomainData(a); return Array.from(a)"""))
        peak = numpy.abs(x).max()
        if not last:  # the tapped output silent, or the output stopped
            state = driver.execute_script("return Sound.context.state")
            return check(peak < 1e-4 or state == "suspended", "sound: silent after %s (peak %.6f, %s)"
                         % (what, peak, state))
        window, t = numpy.hanning(len(x)), numpy.arange(len(x)) / 44100
        amp = [2 * abs(numpy.sum(x * window * numpy.exp(-2j * numpy.pi * 110 * k * t))) / window.sum()
               for k in range(200)]
        bad = [k for k in range(1, 200) if abs(amp[k] / amp[1] - (1 / k if k <= last and (k - first) % step == 0
                                                                   else 0)) > 0.01 / k + 0.002]
        check(not bad and peak <= 0.708, "sound: after %s orders %d to %d at 1/k, peak %.3f (off: %s)"
              % (what, first, last, peak, bad[:8]))

    wait_for(driver, "Array.from(document.querySelectorAll('main button')).some(b => b.textContent == 'Ton aus')",
             timeout=10, what="the caption Ton aus")
    told = "return [document.getElementById('announcer').textContent, document.querySelector('[id^=picture-desc]').textContent]"
    check(driver.execute_script(told)[0] == "Ton an.", "sound: switching on announced")
    click(driver, "Start Rechteck")
    wait_idle(driver)
    check(driver.execute_script(told)[1].endswith(" Man hört die Summenkurve als Ton."), "sound: the description says so")
    heard("Start Rechteck", 1, 2, 1)
    click(driver, "Ordnungen aufaddieren")
    wait_idle(driver)
    heard("a square run", 1, 2, 103)
    click(driver, "Löschen")
    heard("Löschen", 0, 0, 0)
    click(driver, "Start Sägezahn")
    click(driver, "Ordnungen aufaddieren")
    wait_idle(driver)
    heard("a sawtooth run", 1, 1, 100)
    click(driver, "Ton aus")
    heard("Ton aus", 0, 0, 0)
    # On again: a page in the background falls silent and sounds when it
    # is back; the output lost, the button says "Ton an" again.
    click(driver, "Ton an")
    wait_for(driver, "Sound.on && Sound.context.state == 'running'", 10, "the tone on again")
    visibility = """Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => '%s' });
        document.dispatchEvent(new Event('visibilitychange'))"""
    driver.execute_script(visibility % "hidden")
    wait_for(driver, "Sound.context.state == 'suspended'", 10, "the tone silent in the background")
    driver.execute_script(visibility % "visible")
    wait_for(driver, "Sound.context.state == 'running'", 10, "the tone back in the foreground")
    driver.execute_script("Sound.context.close()")
    wait_for(driver, "Array.from(document.querySelectorAll('main button')).some(b => b.textContent == 'Ton an')",
             10, "the caption Ton an after the output was lost")
    check(driver.execute_script(told)[0].startswith("Ton aus:"), "sound: the lost output told")
    # Where a page has no AudioWorklet (not a secure context), a
    # PeriodicWave plays the tone.
    open_page(driver, pages, "wavesum.html")
    driver.execute_script("""const C = window.AudioContext; delete window.AudioWorkletNode;
        window.AudioContext = class extends C { constructor(o) { super(Object.assign({}, o, { sampleRate: 44100 })); } };""")
    click(driver, "Ton an")
    wait_for(driver, "Sound.context && Sound.context.state == 'running'", timeout=10)
    driver.execute_script("window.tap = Sound.context.createAnalyser(); tap.fftSize = 32768; Sound.master.connect(tap)")
    click(driver, "Start Rechteck")
    click(driver, "Ordnungen aufaddieren")
    wait_idle(driver)
    check(not driver.execute_script("return !!Sound.node"), "sound: no summer without an AudioWorklet")
    heard("a square run as a PeriodicWave", 1, 2, 103)
    check(only_the_page(driver, "wavesum.html"), "sound: no request leaves the page")


def no_audio_output(driver):
    """No sound server (the test's environment names one that does not
    run): Firefox keeps the AudioContext suspended, and the page claims no
    tone: the button says "Ton an" again, disabled with its reason, told
    once."""
    open_page(driver, pages, "wavesum.html")
    click(driver, "Ton an")
    tone = "Array.from(document.querySelectorAll('main button')).find(b => b.textContent == 'Ton an')"
    wait_for(driver, "%s && %s.disabled" % (tone, tone), 10, "the tone given up")
    state, on, reason, told = driver.execute_script(
        "const b = %s; return [Sound.context.state, Sound.on, b.getAttribute('aria-description'), "
        "document.getElementById('announcer').textContent]" % tone)
    check(state == "suspended" and not on and reason == "Kein Audiogerät gefunden"
          and told == "Ton aus: Kein Audiogerät gefunden.",
          "no audio output: no tone claimed (%s, %s, %r, %r)" % (state, on, reason, told))


def waveprint(driver):
    open_page(driver, pages, "waveprint.html")
    title = driver.execute_script("return document.querySelector('title').textContent")
    check(title.startswith("Fourierzerlegung-Rechteck     Ausdruck"), "waveprint: caption as page title")
    click(driver, "Berechnung")
    wait_idle(driver)
    same_as_desktop(driver, "waveprint", "Berechnung", "Berechnung")

    # The browser's print dialog is stood in for; the page must ask for it
    # once per click, with the strips on the print page.
    driver.execute_script("window.printed = 0; window.print = () => { window.printed++; }")
    for n in (1, 2):
        click(driver, "Ausdruck A4 Hochformat")
        wait_for(driver, "window.printed == %d && !Page.busy" % n, timeout=60)
    lines = driver.execute_script("""const d = document.querySelector('#print-page path').getAttribute('d');
        return (d.match(/M/g) || []).length""")
    check(lines == 105021, "waveprint: two print requests, the print page holds 105021 lines (%d)" % lines)

    if browser != "webkit":  # WebKit's driver has no print command
        from selenium.webdriver.common.print_page_options import PrintOptions
        options = PrintOptions()
        options.background = True
        options.page_width, options.page_height = 21.0, 29.7  # A4, in cm
        options.margin_top = options.margin_bottom = options.margin_left = options.margin_right = 0
        pdf = base64.b64decode(driver.print_page(options))
        with tempfile.TemporaryDirectory() as work:
            with open(os.path.join(work, "page.pdf"), "wb") as f:
                f.write(pdf)
            info = subprocess.run(["pdfinfo", f.name], capture_output=True, text=True).stdout
            pages_printed = re.search(r"Pages:\s+(\d+)", info).group(1)
            width, height = map(float, re.search(r"Page size:\s+([\d.]+) x ([\d.]+)", info).groups())
            check(pages_printed == "1" and abs(width - 595.3) < 1.5 and abs(height - 841.9) < 1.5,
                  "waveprint: %s page of %.1f x %.1f points (A4 portrait) printed" % (pages_printed, width, height))
            subprocess.run(["pdftoppm", "-r", "100", "-png", f.name, os.path.join(work, "page")], check=True)
            page = os.path.join(work, "page-1.png")
            margin = 10 / 25.4 * 72  # the page's print margins, 10 mm
            result = subprocess.run([os.path.join(tools, "pagecheck"), page, str(margin), str(margin),
                                     str(595.28 - margin), str(841.89 - margin)], capture_output=True, text=True)
            check(result.returncode == 0, "waveprint: the printed page holds the mirrored strips: "
                  + (result.stdout + result.stderr).strip().replace("\n", "; "))
            if os.environ.get("KEEP_SHOTS"):
                subprocess.run(["cp", page, os.path.join(os.environ["KEEP_SHOTS"], "web-print-" + browser + ".png")])
    check(only_the_page(driver, "waveprint.html"), "waveprint: no request leaves the page")


def resized_mid_run(driver):
    """A projector's 1024x768, then the window made narrow in the middle of
    a run: the form is laid out afresh, its picture drawn again sharp at the
    new size, and the run ends in the desktop's picture for that size. The
    keyboard clicks a focused button."""
    whole = """const r = Page.formElement.getBoundingClientRect(), c = document.querySelector('main canvas');
        return [r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5, r.width, innerWidth,
                c.width == Math.round(c.getBoundingClientRect().width * devicePixelRatio)]"""
    driver.set_window_size(1024, 768)
    open_page(driver, pages, "wavesum.html")
    inside, width, viewport, _ = driver.execute_script(whole)
    check(inside and width >= viewport - 2, "1024x768: the whole form on screen, %d of %d pixels wide" % (width, viewport))
    button(driver, "Start Rechteck").send_keys(Keys.SPACE)
    wait_for(driver, "!Page.busy && Array.from(document.querySelectorAll('main button'))"
             ".find(b => b.textContent == 'Start Sägezahn').disabled", timeout=30)
    click(driver, "Ordnungen aufaddieren")
    time.sleep(0.5)
    driver.set_window_size(700, 900)
    time.sleep(0.5)
    inside, width, viewport, sharp = driver.execute_script(whole)
    check(inside and sharp and driver.execute_script("return Page.busy"),
          "window narrowed mid-run: the form laid out whole in %d of %d pixels, the canvas sharp" % (width, viewport))
    wait_idle(driver)
    same_as_desktop(driver, "wavesum", "run resized midway", "Start Rechteck", "Ordnungen aufaddieren")
    driver.set_window_size(1280, 1024)


# Touch screens as Chromium emulates them: a small phone, a phone and a
# tablet either way round, a whiteboard. Each is checked for its layout; a
# tap draws the picture on one device of each layout and pixel ratio (rows
# of buttons under the picture at 2, one row at 3 and at 1), the tablets'
# is drawn when tablet_turned turns one.
DEVICES = [(360, 640, 2, "tapped"), (390, 844, 3, ""), (844, 390, 3, "tapped"), (768, 1024, 2, ""),
           (1024, 768, 2, ""), (1920, 1080, 1, "tapped")]
DESIGN_ORDER = {"wavesum.html": ["Start Rechteck", "Start Sägezahn", "Ordnungen aufaddieren", "unterbrechen",
                                 "Löschen", "Ton an", "Ende"],
                "waveprint.html": ["Ausdruck A4 Hochformat", "Berechnung"]}
FINGER_RULES = """const targets = Array.from(document.querySelectorAll('main button, a')), p = document.querySelector('.picture');
    const rects = targets.map(t => t.getBoundingClientRect());
    return {small: targets.filter((t, i) => rects[i].width < 44 || rects[i].height < 44
                                  || parseFloat(getComputedStyle(t).fontSize) < 16).map(t => t.textContent),
            outside: rects.filter(r => r.left < 0 || r.top < 0 || r.right > innerWidth || r.bottom > innerHeight).length,
            scrolls: document.documentElement.scrollWidth > innerWidth || document.documentElement.scrollHeight > innerHeight,
            share: p ? p.offsetWidth * p.offsetHeight / (innerWidth * innerHeight) : 1,
            clipped: targets.filter((t, i) => { const range = document.createRange(); range.selectNodeContents(t);
                const text = range.getBoundingClientRect(), left = rects[i].left + t.clientLeft, top = rects[i].top + t.clientTop;
                return text.left < left - 0.5 || text.right > left + t.clientWidth + 0.5
                       || text.top < top - 0.5 || text.bottom > top + t.clientHeight + 0.5; }).map(t => t.textContent),
            rows: new Set(rects.filter(r => p && r.top >= p.getBoundingClientRect().bottom).map(r => Math.round(r.top))).size,
            order: targets.map((t, i) => [rects[i].top, rects[i].left, t.textContent.trim().slice(0, 24)])
                          .sort((a, b) => a[0] - b[0] || a[1] - b[1]).map(t => t[2])}"""


def emulate(driver, width, height, ratio):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": ratio, "mobile": True})
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})


def tap(driver, caption):
    x, y = driver.execute_script("const r = arguments[0].getBoundingClientRect();"
                                 "return [r.left + r.width / 2, r.top + r.height / 2]", button(driver, caption))
    for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
        driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})


def touch_devices(driver):
    """On every device: targets for fingers, all on screen, nothing scrolls,
    no caption clipped, the picture the most of it, the buttons under it in
    at most three rows, in the design's order; on the
    tapped ones a tap draws the desktop's picture at the canvas's size."""
    for width, height, ratio, tapped in DEVICES:
        emulate(driver, width, height, ratio)
        for page, program, caption in (("wavesum.html", "wavesum", "Start Rechteck"),
                                       ("waveprint.html", "waveprint", "Berechnung"), ("index.html", None, None)):
            if program:
                open_page(driver, pages, page)
            else:
                driver.get("file://" + os.path.join(pages, page))
            rules = driver.execute_script(FINGER_RULES)
            what = "%dx%d %s" % (width, height, page)
            check(not rules["small"] and not rules["outside"] and not rules["scrolls"] and not rules["clipped"]
                  and rules["share"] >= 0.65 and rules["rows"] <= 3,
                  "%s: targets for fingers, on screen, no scrolling, no caption clipped, at most 3 rows, "
                  "picture %.0f %% %s" % (what, 100 * rules["share"], rules))
            if program:
                check(rules["order"] == DESIGN_ORDER[page], "%s: buttons in the design's order" % what)
            if program and tapped:
                before = driver.execute_script("return Page.busySince")
                tap(driver, caption)
                wait_for(driver, "Page.busySince != %r && !Page.busy" % before, timeout=30)
                same_as_desktop(driver, program, what + ": a tap on " + caption, caption)


def tablet_turned(driver):
    """A tablet turned mid-run and back while the run is held: the run goes
    on where it was and ends in the desktop's picture at the new size."""
    emulate(driver, 768, 1024, 2)
    open_page(driver, pages, "wavesum.html")
    for caption in ("Start Sägezahn", "Ordnungen aufaddieren"):
        tap(driver, caption)
        time.sleep(0.5)
    emulate(driver, 1024, 768, 2)
    time.sleep(0.3)
    tap(driver, "unterbrechen")
    wait_for(driver, "Array.from(document.querySelectorAll('main button')).some(b => b.textContent == 'weiter')")
    emulate(driver, 768, 1024, 2)
    time.sleep(0.3)
    emulate(driver, 1024, 768, 2)
    tap(driver, "weiter")
    wait_idle(driver)
    same_as_desktop(driver, "wavesum", "tablet turned mid-run", "Start Sägezahn", "Ordnungen aufaddieren")
    # A keyboard cover attached: the pointer is fine, the form as designed.
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
    wait_for(driver, "!Page.formElement.classList.contains('touch')")
    time.sleep(0.3)
    same_as_desktop(driver, "wavesum", "a fine pointer then", "Start Sägezahn", "Ordnungen aufaddieren")
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def run_time_error(driver):
    """A fault inside two nested runs: the German dialog, then the end."""
    driver.get("file://" + os.path.join(os.path.dirname(pages), "tests", "fault_page.html"))
    wait_for(driver, "typeof Page != 'undefined' && Page.formElement && !Page.formElement.hidden && !Page.busy")
    click(driver, "Lauf")
    time.sleep(0.2)
    click(driver, "Lauf")
    wait_for(driver, "window.runsStarted == 2", timeout=10)
    click(driver, "Fehler")
    wait_for(driver, "document.getElementById('error').open", timeout=10)
    title = driver.execute_script("return document.getElementById('error-title').textContent")
    check(title == "fault", "run-time error: the dialog is titled with the program's name (%r)" % title)
    message = driver.execute_script("return document.getElementById('error-message').textContent")
    check(message.startswith("Laufzeitfehler '6':") and "Überlauf" in message,
          "run-time error: a modal dialog says %r" % message)
    driver.find_element(By.ID, "error-ok").click()
    wait_for(driver, "!document.getElementById('ended').hidden", timeout=10)
    time.sleep(0.3)
    check(not driver.execute_script("return window.resumedAfterEnd"),
          "run-time error: both runs unwound, none resumed, the program ended")


def deep_nesting(driver):
    """Seventy clicks on "Ordnungen aufaddieren" during a run: runs nest up to
    their bound, each sleeping inside the one before, and all end on
    "Löschen". The first is the driver's; the others come from the page's
    own script, all at once (through the driver each would wait for the
    busy page to take it, some 0.8 s in Chromium)."""
    open_page(driver, pages, "wavesum.html")
    click(driver, "Start Rechteck")
    wait_idle(driver)
    adding = button(driver, "Ordnungen aufaddieren")
    adding.click()
    driver.execute_script("for (let i = 0; i < 69; i++) arguments[0].click()", adding)
    wait_for(driver, "Page.busy", what="the runs")
    time.sleep(1)
    click(driver, "Löschen")
    wait_idle(driver, timeout=60)
    check(not driver.execute_script("return Page.ended") and button(driver, "Start Sägezahn").is_enabled(),
          "70 nested runs: the page lives on, Löschen ends them all")
    click(driver, "Start Rechteck")
    wait_idle(driver)
    check(0 in canvas(driver)[2], "after the nested runs the program still draws")


def high_density(driver, device_pixel_ratio):
    """A screen with two device pixels to the CSS pixel: the canvas has them
    all, and they are the desktop's for the same size."""
    if browser == "chromium":
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {"width": 1280, "height": 1024,
                               "deviceScaleFactor": device_pixel_ratio, "mobile": False})
    else:
        driver.set_viewport(1280, 1024, device_pixel_ratio)
    try:
        open_page(driver, pages, "wavesum.html")
        click(driver, "Start Rechteck")
        wait_idle(driver)
        css_width = driver.execute_script("return document.querySelector('main canvas').clientWidth")
        width = canvas(driver)[0]
        check(width == round(css_width * device_pixel_ratio),
              "device pixel ratio %g: canvas %d pixels for %d CSS pixels" % (device_pixel_ratio, width, css_width))
        same_as_desktop(driver, "wavesum", "Start Rechteck at ratio %g" % device_pixel_ratio, "Start Rechteck")
    finally:
        if browser == "chromium":
            driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def timed(case, *args):
    started = time.time()
    case(*args)
    print("time   %s: %.1f s" % (case.__name__, time.time() - started), flush=True)


driver = start_browser(browser)
try:
    timed(wavesum, driver)
    if browser == "chromium":
        timed(sound, driver)
    if browser == "firefox":
        timed(no_audio_output, driver)
    timed(waveprint, driver)
    timed(run_time_error, driver)
    timed(deep_nesting, driver)
    timed(resized_mid_run, driver)
    if browser == "chromium":
        timed(touch_devices, driver)
        timed(tablet_turned, driver)
    if browser != "webkit":  # WebKit's MiniBrowser takes the X server's ratio
        timed(high_density, driver, 2)
finally:
    stop_browser(driver)
print("%d passed, %d failed" % (len(passed), len(failures)))
sys.exit(1 if failures else 0)
