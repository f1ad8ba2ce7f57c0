"""Firefox driven through WebDriver BiDi, which it speaks itself: no driver
program in between. Offers the part of selenium's WebDriver that the
browser tests use, so that they drive Firefox as they drive the others.

Headless Firefox is started on a fresh profile with its remote agent on a
free port; commands go as JSON over the agent's WebSocket. Clicks and keys
are real input (input.performActions), not events made up by script."""
import ctypes
import itertools
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

import websocket

FIREFOX = "/usr/bin/firefox-esr"

# A quiet browser: no updates, no telemetry, no first-run pages, nothing
# fetched in the background.
QUIET_PREFS = {
    "app.update.auto": False,
    "app.update.disabledForTesting": True,
    "app.normandy.enabled": False,
    "app.shield.optoutstudies.enabled": False,
    "browser.aboutwelcome.enabled": False,
    "browser.discovery.enabled": False,
    "browser.newtabpage.enabled": False,
    "browser.region.network.url": "",
    "browser.region.update.enabled": False,
    "browser.safebrowsing.blockedURIs.enabled": False,
    "browser.safebrowsing.downloads.enabled": False,
    "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False,
    "browser.safebrowsing.provider.mozilla.updateURL": "",
    "browser.search.update": False,
    "browser.sessionstore.resume_from_crash": False,
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage": "about:blank",
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.startup.page": 0,
    "datareporting.healthreport.uploadEnabled": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "extensions.getAddons.cache.enabled": False,
    "extensions.systemAddon.update.enabled": False,
    "extensions.update.enabled": False,
    "media.gmp-manager.updateEnabled": False,
    "messaging-system.rsexperimentloader.enabled": False,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    "network.dns.disablePrefetch": True,
    "network.http.speculative-parallel-limit": 0,
    "network.prefetch-next": False,
    "services.settings.server": "data:,",
    "toolkit.telemetry.enabled": False,
    "toolkit.telemetry.server": "",
    "toolkit.telemetry.unified": False,
}


def die_with_parent():
    """Firefox is killed when the test ends without closing it."""
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class BidiError(Exception):
    pass


class Firefox:
    name = "firefox"

    def __init__(self, width=1280, height=1024):
        self.profile = tempfile.mkdtemp()
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for pref, value in QUIET_PREFS.items():
                f.write("user_pref(%s, %s);\n" % (json.dumps(pref), json.dumps(value)))
        self.log = open(os.path.join(self.profile, "firefox.log"), "w")
        # Port 0: Firefox takes a free port and names it in the profile.
        self.process = subprocess.Popen(
            [FIREFOX, "--headless", "--no-remote", "--profile", self.profile, "--remote-debugging-port=0"],
            stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True, preexec_fn=die_with_parent)
        self.ids = itertools.count(1)
        self.requests = []  # every URL the browser asked for, as network events tell
        try:
            self.socket = websocket.create_connection("ws://127.0.0.1:%d/session" % self._port(),
                                                       timeout=600, suppress_origin=True)
            self.capabilities = self.command("session.new", capabilities={})["capabilities"]
            self.command("session.subscribe", events=["network.beforeRequestSent"])
            # The tab Firefox opens at start never gets the keyboard focus,
            # and a button ignores Space and Enter without it: a new tab
            # takes its place.
            first = self.command("browsingContext.getTree")["contexts"][0]["context"]
            self.context = self.command("browsingContext.create", type="tab")["context"]
            self.command("browsingContext.close", context=first)
            self.set_viewport(width, height, 1)
        except BaseException:
            self.quit()
            raise

    def _port(self):
        server = os.path.join(self.profile, "WebDriverBiDiServer.json")
        deadline = time.time() + 60
        while time.time() < deadline and self.process.poll() is None:
            try:
                with open(server) as f:
                    return json.load(f)["ws_port"]
            except (OSError, ValueError):
                time.sleep(0.1)
        with open(self.log.name) as f:
            raise BidiError("Firefox did not start its remote agent:\n" + f.read()[-2000:])

    def command(self, method, **params):
        """Sends a command and waits for its answer; events on the way are
        noted."""
        number = next(self.ids)
        self.socket.send(json.dumps({"id": number, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("method") == "network.beforeRequestSent":
                self.requests.append(message["params"]["request"]["url"])
            if message.get("id") != number:
                continue
            if message["type"] == "error":
                raise BidiError("%s: %s: %s" % (method, message["error"], message.get("message", "")))
            return message["result"]

    def call(self, function, *args):
        """Calls the JavaScript function in the page with the arguments and
        awaits a promise it returns; the value as Python's."""
        result = self.command("script.callFunction", functionDeclaration=function, awaitPromise=True,
                              target={"context": self.context}, arguments=[serialize(a) for a in args])
        if result["type"] == "exception":
            details = result["exceptionDetails"]
            raise BidiError("JavaScript: %s\n%s" % (details["text"], details.get("stackTrace", "")))
        return deserialize(result["result"])

    # The part of selenium's WebDriver the tests use.

    def execute_script(self, body, *args):
        """As selenium's, the body of a function; a promise it returns is
        awaited, so asynchronous work can hand back its result."""
        return self.call("function() {\n%s\n}" % body, *args)

    def get(self, url):
        self.command("browsingContext.navigate", context=self.context, url=url, wait="complete")

    @property
    def title(self):
        return self.call("() => document.title")

    def find_element(self, by, value):
        locator = {"xpath": {"type": "xpath", "value": value},
                   "id": {"type": "css", "value": "[id=%s]" % json.dumps(value)}}[by]
        nodes = self.command("browsingContext.locateNodes", context=self.context, locator=locator,
                             maxNodeCount=1)["nodes"]
        if not nodes:
            raise BidiError("no element %s %r" % (by, value))
        return Element(self, nodes[0])

    def set_window_size(self, width, height):
        self.set_viewport(width, height)

    def set_viewport(self, width, height, device_pixel_ratio=None):
        """The page's size in CSS pixels and, where given, the device pixels
        to one of them."""
        ratio = {} if device_pixel_ratio is None else {"devicePixelRatio": device_pixel_ratio}
        self.command("browsingContext.setViewport", context=self.context,
                     viewport={"width": width, "height": height}, **ratio)

    def print_page(self, options):
        """The page as PDF, base64, as selenium's PrintOptions ask for it."""
        return self.command("browsingContext.print", context=self.context, **options.to_dict())["data"]

    def perform(self, *sources):
        self.command("input.performActions", context=self.context, actions=list(sources))

    def quit(self):
        """Closes the browser; its process ends and its profile goes."""
        try:
            if getattr(self, "socket", None):
                try:
                    self.command("browser.close")
                except (BidiError, OSError, websocket.WebSocketException):
                    pass
                self.socket.close()
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        finally:
            self.log.close()
            shutil.rmtree(self.profile, ignore_errors=True)


class Element:
    def __init__(self, driver, node):
        self.driver = driver
        self.reference = {"sharedId": node["sharedId"]}

    def is_enabled(self):
        return not self.driver.call("e => e.matches(':disabled')", self)

    def click(self):
        """The mouse to the element's centre, pressed and released there;
        scrolled into view first, as selenium's click does."""
        self.driver.call("e => e.scrollIntoView({block: 'nearest', inline: 'nearest'})", self)
        self.driver.perform({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"}, "actions": [
            {"type": "pointerMove", "x": 0, "y": 0, "origin": {"type": "element", "element": self.reference}},
            {"type": "pointerDown", "button": 0},
            {"type": "pointerUp", "button": 0}]})

    def send_keys(self, keys):
        """Focuses the element and types the keys (selenium's Keys or
        characters), each pressed and released."""
        self.driver.call("e => e.focus()", self)
        self.driver.perform({"type": "key", "id": "keyboard", "actions": [
            {"type": kind, "value": key} for key in keys for kind in ("keyDown", "keyUp")]})


def serialize(value):
    """A Python value as a BiDi local value."""
    if value is None:
        return {"type": "null"}
    if isinstance(value, bool):
        return {"type": "boolean", "value": value}
    if isinstance(value, (int, float)):
        return {"type": "number", "value": value}
    if isinstance(value, str):
        return {"type": "string", "value": value}
    if isinstance(value, Element):
        return value.reference
    if isinstance(value, (list, tuple)):
        return {"type": "array", "value": [serialize(v) for v in value]}
    if isinstance(value, dict):
        return {"type": "object", "value": [[str(k), serialize(v)] for k, v in value.items()]}
    raise TypeError("cannot hand %r to the page" % (value,))


def deserialize(remote):
    """A BiDi remote value as Python's: lists, dicts, str, numbers, bool,
    None; other objects (nodes, functions) as BiDi describes them."""
    kind, value = remote["type"], remote.get("value")
    if kind in ("undefined", "null"):
        return None
    if kind == "number" and isinstance(value, str):
        return {"NaN": float("nan"), "-0": -0.0, "Infinity": float("inf"), "-Infinity": float("-inf")}[value]
    if kind == "bigint":
        return int(value)
    if kind in ("string", "boolean", "number", "date", "regexp"):
        return value
    if kind in ("array", "set") and value is not None:
        return [deserialize(v) for v in value]
    if kind in ("object", "map") and value is not None:
        return {k if isinstance(k, str) else deserialize(k): deserialize(v) for k, v in value}
    return remote
