"""Shared by the browser tests: a real browser driven through WebDriver,
the program pages opened from file://, and the picture read back."""
import base64
import glob
import os
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.common.by import By

MINIBROWSER = (glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser") or [""])[0]


def start_browser(name):
    if name == "chromium":
        profile = tempfile.mkdtemp()
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for arg in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                    "--no-first-run", "--disable-background-networking", "--disable-component-update",
                    "--disable-sync", "--window-size=1280,1024", "--user-data-dir=" + profile,
                    "--force-device-scale-factor=1"]:
            options.add_argument(arg)
        options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
        service = webdriver.chrome.service.Service("/usr/bin/chromedriver")
        driver = webdriver.Chrome(service=service, options=options)
        driver.profile = profile
        return driver
    if name == "webkit":
        # MiniBrowser has no headless mode: it needs an X server (DISPLAY).
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
        driver.set_window_size(1280, 1024)
        return driver
    if name == "firefox":
        # Firefox speaks WebDriver BiDi itself: no driver program.
        from bidi import Firefox
        return Firefox()
    raise ValueError(name)


def stop_browser(driver):
    driver.quit()
    if getattr(driver, "profile", None):
        shutil.rmtree(driver.profile, ignore_errors=True)


def wait_for(driver, expression, timeout=60, what=None):
    """Waits until the JavaScript expression is true; returns its value."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = driver.execute_script("return " + expression)
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + (what or expression))


def open_page(driver, pages, name):
    open_url(driver, "file://" + os.path.join(pages, name))


def open_url(driver, url):
    driver.get(url)
    wait_for(driver, "typeof Page != 'undefined' && Page.formElement && !Page.formElement.hidden && !Page.busy",
             what="the form")


def button(driver, caption):
    return driver.find_element(By.XPATH, "//main//button[normalize-space()='%s']" % caption)


def click(driver, caption):
    button(driver, caption).click()


def wait_idle(driver, timeout=180):
    wait_for(driver, "!Page.busy", timeout, "the handler to end")


def canvas(driver):
    """The picture's canvas: (width, height, RGBA bytes)."""
    width, height, data = driver.execute_script("""
        const c = document.querySelector('main canvas');
        const bytes = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
        let s = '';
        for (let i = 0; i < bytes.length; i += 0x8000)
          s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        return [c.width, c.height, btoa(s)];""")
    return width, height, base64.b64decode(data)


def desktop_picture(tools, program, width, height, *captions):
    """The same buttons clicked in the desktop program, its picture given the
    canvas's size: RGBA bytes."""
    with tempfile.NamedTemporaryFile() as out:
        subprocess.run([os.path.join(tools, "picture_reference_" + program), str(width), str(height), out.name,
                        *captions], check=True)
        return out.read()


def differing_pixels(a, b):
    """How many pixels of two RGBA pictures differ in colour."""
    import numpy
    assert len(a) == len(b), (len(a), len(b))
    x, y = (numpy.frombuffer(p, dtype=numpy.uint8).reshape(-1, 4)[:, :3] for p in (a, b))
    return int(numpy.count_nonzero((x != y).any(axis=1)))


def requests_made(driver):
    """Every URL the page asked for: the resources it loaded, and in Chromium
    and Firefox the network log as well."""
    urls = set(driver.execute_script("return performance.getEntriesByType('resource').map(e => e.name)"))
    if "goog:loggingPrefs" in driver.capabilities or driver.name == "chrome":
        import json
        for entry in driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.add(message["params"]["request"]["url"])
    if driver.name == "firefox":
        urls.update(driver.requests)
        driver.requests.clear()
    return urls
