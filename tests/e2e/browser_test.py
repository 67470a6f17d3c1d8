#!/usr/bin/python3
"""The end-to-end cases of e2e_test.py on the calculator's page, in a real browser engine.

Usage: browser_test.py ENGINE SITE_DIR OUT_DIR     ENGINE: chromium, firefox or webkit
Serves SITE_DIR (the built page) on 127.0.0.1, opens it in the engine as a user would (Chromium
through chromedriver, WebKitGTK through WebKitWebDriver in an X server of its own, Firefox
through WebDriver BiDi) and plays the shared cases with keys and clicks at the table's places;
then the engine's own configurations: languages, dark and forced colours, a phone's width,
200 % zoom, offline after one visit and a new build; in Chromium, axe-core's rules in each.
Screenshots go to OUT_DIR. Exit 77 where the engine or its driver is missing.
"""
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_test  # noqa: E402  (the shared cases and check())
from e2e_test import check  # noqa: E402

# W3C WebDriver key values, as xdotool names them in the shared cases.
KEYS = {"Tab": "\ue004", "Return": "\ue007", "BackSpace": "\ue003", "Escape": "\ue00c",
        "space": " ", "Home": "\ue011", "KP_Decimal": "\ue028", "KP_Delete": "\ue05d",
        "ctrl": "\ue009", "alt": "\ue00a", "shift": "\ue008", "super": "\ue03d"}
TWIPS_WIDE = 6990


def key_actions(chords):
    """'ctrl+a' and the like, or a text's characters, as one W3C key action sequence: modifiers
    held around the key."""
    actions = []
    for chord in chords:
        names = chord.split("+") if len(chord) > 1 else [chord]
        values = [KEYS.get(name, name) for name in names]
        actions += [{"type": "keyDown", "value": v} for v in values]
        actions += [{"type": "keyUp", "value": v} for v in reversed(values)]
    return [{"type": "key", "id": "keyboard", "actions": actions}]


# What a copy puts on the clipboard, as the page's copy event sees it: the selection of the box
# that has the focus, or the text the page sets itself.
WATCH_COPIES = """
if (!window.copies) {
  window.copies = [];
  addEventListener('copy', e => {  // on the way back up: the page's own handler has run
    const box = document.activeElement;
    window.copies.push(e.defaultPrevented ? e.clipboardData.getData('text/plain') :
        box.value.substring(box.selectionStart, box.selectionEnd));
  });
}"""


class Page:
    """The calculator's page in one engine, driven through `perform` and `evaluate`."""
    access_key = "alt+c"  # what the engine uses for an access key
    focus_events = True  # the page is told when the focus leaves a box
    scale = 1 / 15

    def open(self, url):
        self.navigate(url)
        deadline = time.monotonic() + 10
        while self.evaluate("document.getElementById('P') && document.getElementById('P').value") in (None, ""):
            if time.monotonic() > deadline:
                raise SystemExit("FAILED: no result on the page within 10 s")
            time.sleep(0.05)
        self.run(WATCH_COPIES)

    def settle(self):
        """Returns once the page has run what the last input queued (timers of 0 ms)."""
        self.evaluate_async("setTimeout(() => setTimeout(done, 0), 0)")

    def keys(self, *keys):
        keys = [self.access_key if k == "alt+c" else k for k in keys]
        self.perform(key_actions(keys))
        self.settle()

    def type(self, text):
        self.perform(key_actions(text))
        self.settle()

    def frame(self):
        return self.evaluate("(r => [r.left, r.top, r.width, r.height])"
                             "(document.getElementById('window').getBoundingClientRect())")

    def click(self, x, y, hold=0.04):
        left, top, width, _ = self.frame()
        x, y = round(left + x * width / TWIPS_WIDE), round(top + y * width / TWIPS_WIDE)
        self.perform([{"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                       "actions": [{"type": "pointerMove", "x": x, "y": y, "origin": "viewport"},
                                   {"type": "pointerDown", "button": 0},
                                   {"type": "pause", "duration": round(hold * 1000)},
                                   {"type": "pointerUp", "button": 0}]}])
        self.settle()

    def told(self):
        """The live regions' last words, once the page's pause before them is over."""
        self.evaluate_async("setTimeout(done, 100)")
        return self.evaluate("urgent.textContent || said.textContent")

    replace_text = e2e_test.Calculator.replace_text  # a click, select all, delete, type

    def copy_focused_box(self, *keys):
        self.run("window.copies.length = 0")
        self.keys(*(keys or ("ctrl+a", "ctrl+c")))
        copies = self.evaluate("window.copies")
        if copies:
            return copies[-1]
        # Browsers fire no copy for an empty selection; an empty box has nothing to copy.
        return "" if self.evaluate("document.activeElement.value") == "" else e2e_test.SENTINEL

    def client_width_height(self):
        _, _, width, height = self.frame()
        return round(width), round(height)

    def focused(self):
        return self.evaluate("document.activeElement.id")


class Selenium(Page):
    def __init__(self, driver):
        from selenium.webdriver.remote.command import Command
        self.driver, self.command = driver, Command

    def navigate(self, url):
        self.driver.get(url)

    def perform(self, actions):
        self.driver.execute(self.command.W3C_ACTIONS, {"actions": actions})
        self.driver.execute(self.command.W3C_CLEAR_ACTIONS)

    def evaluate(self, expression):
        return self.driver.execute_script(f"return ({expression.strip()});")

    def run(self, statements):
        self.driver.execute_script(statements)

    def evaluate_async(self, body):
        return self.driver.execute_async_script(f"const done = arguments[0]; {body};")

    def screenshot(self, path):
        # WebKitGTK's shot is of the last frame painted: let the pictures and focus reach one.
        self.evaluate_async("requestAnimationFrame(() => requestAnimationFrame(done))")
        self.driver.save_screenshot(path)

    def close(self):
        self.driver.quit()


def chromium(settings):
    from selenium import webdriver
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=800,600"):
        options.add_argument(argument)
    if "language" in settings:
        options.add_argument(f"--lang={settings['language']}")
        options.add_experimental_option("prefs", {"intl.accept_languages": settings["language"]})
    from selenium.webdriver.chrome.service import Service
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    features = [{"name": "prefers-color-scheme", "value": settings.get("scheme", "light")},
                {"name": "forced-colors", "value": "active" if settings.get("forced") else "none"}]
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": features})
    if "width" in settings or "zoom" in settings:
        zoom = settings.get("zoom", 1)
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": settings.get("width", 800) // zoom, "height": settings.get("height", 600) // zoom,
            "deviceScaleFactor": zoom, "mobile": False})
    page = Selenium(driver)
    page.tree = lambda: driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    page.call_on = lambda node, function: driver.execute_cdp_cmd("Runtime.callFunctionOn", {
        "objectId": driver.execute_cdp_cmd("DOM.resolveNode", {"backendNodeId": node})[
            "object"]["objectId"], "functionDeclaration": function, "returnByValue": True})[
        "result"]["value"]
    return page


def webkit(settings):
    from selenium import webdriver
    options = webdriver.WebKitGTKOptions()
    options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
    width, height = settings.get("width", 800), settings.get("height", 600)
    options.add_argument("--automation")
    options.add_argument(f"--geometry={width}x{height}")
    environment = {}
    if "language" in settings:  # WebKitGTK takes the page's language from the locale
        locale = settings["language"].replace("-", "_") + ".UTF-8"
        environment = {"LANG": locale, "LANGUAGE": settings["language"].replace("-", "_")}
    if settings.get("scheme") == "dark":
        environment["GTK_THEME"] = "Adwaita:dark"
    saved = {k: os.environ.get(k) for k in environment}
    os.environ.update(environment)
    try:
        driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
    finally:
        for k, v in saved.items():
            os.environ.pop(k) if v is None else os.environ.update({k: v})
    if "width" in settings:  # MiniBrowser ignores --geometry, and is never narrower than 447
        driver.set_window_rect(width=width, height=height)
        actual = driver.execute_script("return innerWidth")
        if actual != width:
            print(f"note: webkit: the viewport is {actual} pixels wide, not {width}")
    page = Selenium(driver)
    page.access_key = "alt+c"
    return page


class Firefox(Page):
    """Firefox ESR through WebDriver BiDi on a socket of its own: Debian has no geckodriver.
    Its window never has the system's focus here, headless or in Xvfb, and Firefox then sends
    the page no focus events: the cases that leave a box for another control cannot run."""
    access_key = "alt+shift+c"
    focus_events = False

    def __init__(self, settings):
        import websocket
        self.profile = tempfile.mkdtemp()
        prefs = {"intl.accept_languages": settings.get("language", "en-US"),
                 "layout.css.prefers-color-scheme.content-override":
                     0 if settings.get("scheme") == "dark" else 1,
                 "browser.display.document_color_use": 2 if settings.get("forced") else 0,
                 "layout.css.devPixelsPerPx": str(float(settings.get("zoom", 1))),
                 "remote.prefs.recommended": True, "browser.shell.checkDefaultBrowser": False}
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for name, value in prefs.items():
                f.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        self.process = subprocess.Popen(
            ["/usr/bin/firefox-esr", "--headless", "--no-remote", "--profile", self.profile,
             "--remote-debugging-port=0", "--width", str(settings.get("width", 800)),
             "--height", str(settings.get("height", 600))],
            stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True)
        address = None
        for line in self.process.stderr:
            found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if found:
                address = found.group(1)
                break
        if not address:
            raise SystemExit("FAILED: Firefox did not open its WebDriver BiDi socket")
        threading.Thread(target=lambda: [None for _ in self.process.stderr], daemon=True).start()
        self.socket = websocket.create_connection(address + "/session", suppress_origin=True)
        self.ids = iter(range(1, 1 << 30))
        self.call("session.new", {"capabilities": {}})
        self.context = self.call("browsingContext.getTree", {})["contexts"][0]["context"]
        if "width" in settings or "zoom" in settings:  # zoomed: fewer CSS pixels in the window
            zoom = settings.get("zoom", 1)
            self.call("browsingContext.setViewport", {"context": self.context, "viewport": {
                "width": settings.get("width", 800) // zoom,
                "height": settings.get("height", 600) // zoom}})

    def call(self, method, params):
        number = next(self.ids)
        self.socket.send(json.dumps({"id": number, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.recv())
            if answer.get("id") == number:
                if answer.get("type") == "error":
                    raise SystemExit(f"FAILED: {method}: {answer.get('message')}")
                return answer["result"]

    def navigate(self, url):
        self.call("browsingContext.navigate", {"context": self.context, "url": url,
                                               "wait": "complete"})


    def perform(self, actions):
        self.call("input.performActions", {"context": self.context, "actions": actions})
        self.call("input.releaseActions", {"context": self.context})

    def script(self, expression, wait):
        result = self.call("script.evaluate", {
            "expression": expression, "awaitPromise": wait,
            "target": {"context": self.context}})
        if result.get("type") == "exception":
            raise SystemExit(f"FAILED: script: {result['exceptionDetails'].get('text')}")
        return plain(result["result"])

    def evaluate(self, expression):
        return self.script(f"({expression.strip()})", False)

    def run(self, statements):
        self.script(statements, False)

    def evaluate_async(self, body):
        return self.script(f"new Promise(done => {{ {body}; }})", True)

    def screenshot(self, path):
        import base64
        data = self.call("browsingContext.captureScreenshot", {"context": self.context})["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def close(self):
        try:
            self.call("session.end", {})
        except Exception:  # the browser may close the socket first
            pass
        self.process.terminate()
        self.process.wait(timeout=20)
        shutil.rmtree(self.profile, ignore_errors=True)


def plain(value):
    """A BiDi remote value as Python's."""
    kind = value.get("type")
    if kind in ("array",):
        return [plain(v) for v in value.get("value", [])]
    if kind in ("undefined", "null"):
        return None
    return value.get("value")


ENGINES = {"chromium": (chromium, ["/usr/bin/chromium", "/usr/bin/chromedriver"]),
           "firefox": (Firefox, ["/usr/bin/firefox-esr"]),
           "webkit": (webkit, ["/usr/bin/WebKitWebDriver",
                               "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"])}

# The shared cases that need the page told when the focus leaves a box.
LEAVING_A_BOX = {e2e_test.efficiency_above_100, e2e_test.click_that_leaves_a_refused_efficiency,
                 e2e_test.press_held_after_a_refusal}

# Name, what the user set, the result at start.
CONFIGURATIONS = [
    ("de-DE", {"language": "de-DE"}, "6,983"),
    ("ar-EG", {"language": "ar-EG"}, "\u0666\u066b\u0669\u0668\u0663"),
    ("hi-IN", {"language": "hi-IN"}, "6.983"),
    ("dark", {"scheme": "dark"}, "6.983"),
    ("forced-colours", {"forced": True}, "6.983"),
    ("phone", {"width": 320, "height": 640}, "6.983"),
    ("zoom-200", {"zoom": 2}, "6.983"),
    ("zoom-400", {"zoom": 4, "width": 1280, "height": 1024}, "6.983"),
    ("wide", {"width": 1024, "height": 768}, "6.983"),
    ("spacing", {"spacing": True}, "6.983"),
    ("spacing-phone", {"spacing": True, "width": 320, "height": 640}, "6.983"),
]

# WCAG 1.4.12's text spacing, as a user's style sheet would set it (the page's CSP blocks <style>).
SPACING = """const sheet = new CSSStyleSheet();
sheet.replaceSync('* { line-height: 1.5 !important; letter-spacing: 0.12em !important; ' +
                  'word-spacing: 0.16em !important; } p { margin-bottom: 2em !important; }');
document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheet];"""
# Whether each box's unit stands level with it.
UNITS = """['H', 'Q', 'D', 'E', 'P'].map((id) => {
  const box = document.getElementById(id).getBoundingClientRect();
  const unit = document.getElementById(`${id}-unit`).nextElementSibling.getBoundingClientRect();
  return Math.abs(box.top + box.bottom - unit.top - unit.bottom) < 2;
})"""
# The controls shown whose text is clipped, and those that overlap.
OVERLAPS = """(() => {
  const shown = [...document.querySelectorAll('#window > .control')]
    .filter((e) => e.getClientRects().length);
  const out = shown.filter((e) => e.scrollWidth > e.clientWidth + 1 ||
                                  e.scrollHeight > e.clientHeight + 1)
    .map((e) => `${e.id} clipped`);
  shown.forEach((a, i) => shown.slice(i + 1).forEach((b) => {
    const r = a.getBoundingClientRect(), s = b.getBoundingClientRect();
    if (r.left < s.right - 1 && s.left < r.right - 1 && r.top < s.bottom - 1 &&
        s.top < r.bottom - 1)
      out.push(`${a.id} over ${b.id}`);
  }));
  return out;
})()"""


class Site:
    """SITE_DIR on 127.0.0.1, on a port of its own, in a thread; stop() takes it away."""

    def __init__(self, directory):
        handler = lambda *a: QuietHandler(*a, directory=directory)  # noqa: E731
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def start(engine, settings, url):
    page = ENGINES[engine][0](settings)
    page.open(url)
    return page


def drive(page, out_dir, engine):
    """The shared cases, as on the windows, and what screen readers get."""
    width, height = page.client_width_height()
    check("the page in the table's proportions", abs(height - width * 3780 / 6990) <= 1, True)
    check("focus in H at load", page.focused(), "H")
    check("H red at 4.5:1 on its white field", page.evaluate("getComputedStyle(H).color"),
          "rgb(238, 0, 0)")
    page.keys("Tab", "Tab", "Tab", "Tab")
    check("result at start", page.copy_focused_box(), "6.983")
    page.screenshot(os.path.join(out_dir, f"page-{engine}.png"))
    rules(page, "load")
    for scenario in e2e_test.SCENARIOS:
        if page.focus_events or scenario not in LEAVING_A_BOX:
            scenario(page)
        else:
            print(f"SKIP: {engine}: {scenario.__name__}: the page gets no focus events here")
    glue(page, "en")
    if hasattr(page, "tree"):
        accessibility_tree(page)
        page.replace_text(*e2e_test.E, "150")
        page.keys("Tab")
        rules(page, "after a refusal")


# What the page hands the module, typed into Q: the notation's group sizes in their order, each
# of its separators and signs, and a text longer than the exchange's first kilobyte.
TYPED = [("en", "+120", "13.967"), ("en", "-60", "-6.983"), ("en", "0" * 1100 + "120", "13.967"),
         ("de-DE", "1.234,5", "143,682"), ("de-DE", "-60", "-6,983"),
         ("hi-IN", "1,23,456", "14368.926")]
# The formula's paper and ink, and the face and text colours of the window around it.
FORMULA = """[document.getElementById('Image1'), document.getElementById('window')].flatMap(e => {
  const style = getComputedStyle(e);
  return [style.backgroundColor, style.getPropertyValue('--ink') || style.color]
    .map(c => c.match(/\\d+/g).join(' ')); })"""


def glue(page, name):
    for configuration, text, expected in TYPED:
        if configuration == name:
            page.replace_text(*e2e_test.Q, text)
            page.keys("Return")
            check(f"{name}: {text[:12]} in Q and Enter", e2e_test.result(page), expected)
    if name == "dark":
        paper, ink, face, colour = page.evaluate(FORMULA)
        check("dark: the formula in the text colour on the face", [paper, ink], [face, colour])


def accessibility_tree(page):
    """Names, descriptions, read-only, and the live region's words after Enter (Chromium)."""
    page.replace_text(*e2e_test.Q, "120")
    page.keys("Return")
    boxes, live = {}, []
    for _ in range(20):  # the words go in a moment after the focus events
        time.sleep(0.05)
        boxes, live = read_tree(page.tree())
        if live:
            break
    check("boxes: name, description, read-only", boxes, {
        "Head": ("metres", False), "Flow": ("cubic metres per hour", False),
        "Fluid Density": ("kilograms per cubic metre", False), "Pump Efficiency": ("percent", False),
        "Power": ("kilowatts", True)})
    check("live region after Enter", live, ["Power 13.967 kilowatts"])


def read_tree(nodes):
    """The text boxes as (description, read-only) by name, and the words in live regions."""
    by_id = {node["nodeId"]: node for node in nodes}
    boxes, live = {}, []

    def words(node):
        if node.get("role", {}).get("value") == "StaticText":
            return [node.get("name", {}).get("value", "")]
        return [w for child in node.get("childIds", []) if child in by_id
                for w in words(by_id[child])]

    for node in nodes:
        properties = {p["name"]: p["value"].get("value") for p in node.get("properties", [])}
        if node.get("role", {}).get("value") == "textbox":
            boxes[node.get("name", {}).get("value", "")] = (
                node.get("description", {}).get("value", ""), bool(properties.get("readonly")))
        if properties.get("live") in ("polite", "assertive"):
            live += [w for w in words(node) if w]
    return boxes, live


# Each box's language and direction in the accessibility tree, and its caption's, by notation.
LANGUAGES = {"de-DE": ("de-DE", "ltr", "en"), "ar-EG": ("ar-EG", "rtl", "en"),
             "hi-IN": ("hi-IN", "ltr", "en")}


def languages(page, name):
    """The language and direction of each text box the tree names (Chromium), and its caption's."""
    function = ("function() { return [this.closest('[lang]').lang, getComputedStyle(this)"
                ".direction, this.labels[0].closest('[lang]').lang]; }")
    found = {node["name"]["value"]: tuple(page.call_on(node["backendDOMNodeId"], function))
             for node in page.tree() if node.get("role", {}).get("value") == "textbox"}
    boxes = ("Head", "Flow", "Fluid Density", "Pump Efficiency", "Power")
    check(f"{name}: boxes' language in the tree", found, {box: LANGUAGES[name] for box in boxes})


# What each engine's driver can set as a user would; the rest is reported skipped there.
SETTABLE = {"chromium": {"language", "scheme", "forced", "width", "height", "zoom", "spacing"},
            "firefox": {"language", "scheme", "forced", "width", "height", "zoom", "spacing"},
            "webkit": {"language", "scheme", "width", "height", "spacing"}}


def configuration(engine, entry, url, out_dir):
    name, settings, expected = entry
    unsettable = set(settings) - SETTABLE[engine]
    if unsettable:
        print(f"SKIP: {engine}: {name}: its driver cannot set {', '.join(sorted(unsettable))}")
        return
    page = start(engine, settings, url)
    try:
        if settings.get("spacing"):
            page.run(SPACING)
        left, top, width, height = page.frame()
        inner = page.evaluate("[innerWidth, innerHeight]")
        check(f"{name}: nothing cut off", left >= 0 and left + width <= inner[0] + 0.5, True)
        check(f"{name}: nothing clipped or overlapping", page.evaluate(OVERLAPS), [])
        check(f"{name}: each unit on its box's line", page.evaluate(UNITS), [True] * 5)
        size = "parseFloat(getComputedStyle(Label1).fontSize) * devicePixelRatio"
        check(f"{name}: captions at the user's text size, zoomed", page.evaluate(size),
              16 * settings.get("zoom", 1))
        page.keys("Tab", "Tab", "Tab", "Tab")
        check(f"{name}: result at start", page.copy_focused_box(), expected)
        page.screenshot(os.path.join(out_dir, f"page-{engine}-{name}.png"))
        if hasattr(page, "tree") and name in LANGUAGES:
            languages(page, name)
        glue(page, name)
        rules(page, name)
        if name == "de-DE":  # the keypad's decimal key types the user's separator
            page.replace_text(*e2e_test.Q, "1")
            page.keys("KP_Decimal")
            page.type("5")
            page.keys("Return")
            check(f"{name}: flow 1, keypad decimal, 5 and Enter", e2e_test.result(page), "0,175")
    finally:
        page.close()


HERE = os.path.dirname(os.path.abspath(__file__))
AXE = os.path.join(HERE, "..", "..", "node_modules", "axe-core", "axe.min.js")
# Each violated rule with the elements that break it; target-size is off by default.
AXE_RUN = """axe.run(document, {rules: {'target-size': {enabled: true}}}).then(r => done(
  r.violations.map(v => [v.id, v.nodes.map(n => n.target.join(' ')).join(', ')])))"""


def rules(page, where):
    """axe-core's rules, in Chromium, injected by the driver: the page's policy admits no
    script of another origin."""
    if not hasattr(page, "tree"):
        return
    if not os.path.exists(AXE):
        print(f"SKIP: {where}: axe-core is not installed (scripts/setup.sh test)")
        return
    page.run(open(AXE).read())
    check(f"{where}: axe-core", page.evaluate_async(AXE_RUN), [])


def dated(folder, when=time.time() - 86400):
    """Every file a day old, the new build's as the old's: python's http.server sends that as
    Last-Modified, and no cache headers; a revalidation is answered with 304."""
    for name in os.listdir(folder):
        os.utime(os.path.join(folder, name), (when, when))


def new_build(folder):
    """The site with its page, script and module changed, its service worker written again by
    the build's own script."""
    def append(name, text, before=None):
        with open(os.path.join(folder, name), "rb") as f:
            content = f.read()
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content.replace(before, text + before) if before else content + text)
    append("index.html", b'<meta name="release" content="new">', b"</head>")
    append("app.js", b"\ndocument.documentElement.dataset.release = 'new';\n")
    append("quorvane.wasm", b"\x00\x04\x03new")  # a custom section named "new"
    web = os.path.join(HERE, "..", "..", "window", "web")
    subprocess.run(["cmake", f"-DSITE={folder}", f"-DTEMPLATE={web}/sw.js", "-P",
                    f"{web}/release.cmake"], check=True)


# Which build the page, its script and the module it is served are of.
RELEASE = """fetch('quorvane.wasm').then(r => r.arrayBuffer()).then(b => done([
  document.querySelector('meta[name=release]'), document.documentElement.dataset.release,
  new TextDecoder().decode(b.slice(-3)) === 'new'].map(n => (n ? 'new' : 'old'))))"""
# Another app's cache, and the first worker's, then until a new worker waits (10 s at most).
FOREIGN = """navigator.serviceWorker.ready.then(() => Promise.all(['another-app', 'quorvane-1.00']
  .map(n => caches.open(n).then(c => c.put('kept', new Response('x')))))).then(done)"""
WAITING = """navigator.serviceWorker.getRegistration().then(function poll(r, tries = 200) {
  r.waiting || !tries ? done() : setTimeout(() => poll(r, tries - 1), 50); })"""


def offline(engine, site_dir, out_dir):
    """After one visit the page starts without its server. A new build, on a host that sends
    no cache headers and old dates, runs whole by the second load; other apps' caches stay."""
    with tempfile.TemporaryDirectory() as folder:
        shutil.copytree(site_dir, folder, dirs_exist_ok=True)
        dated(folder)
        site = Site(folder)
        page = start(engine, {}, site.url)
        try:
            page.evaluate_async(FOREIGN)
            new_build(folder)
            dated(folder)
            page.open(site.url)
            check("new build, first load: one release", len(set(page.evaluate_async(RELEASE))), 1)
            page.evaluate_async(WAITING)
            page.open(site.url)
            check("new build, second load", page.evaluate_async(RELEASE), ["new"] * 3)
            check("new build: the caches of the origin", sorted(
                k.split(" ")[0] for k in page.evaluate_async("caches.keys().then(done)")),
                ["another-app", "quorvane-calculator"])
            site.stop()
            page.open(site.url)
            check("offline: the new build", page.evaluate_async(RELEASE), ["new"] * 3)
            page.keys("Tab", "Tab", "Tab", "Tab")
            check("offline: result at start", page.copy_focused_box(), "6.983")
            page.screenshot(os.path.join(out_dir, f"page-{engine}-offline.png"))
        finally:
            page.close()


def main():
    engine, site_dir, out_dir = sys.argv[1:4]
    missing = [path for path in ENGINES[engine][1] if not os.path.exists(path)]
    if missing:
        print(f"SKIP: {engine}: not found: {' '.join(missing)} (scripts/setup.sh test installs it)")
        return 77
    os.makedirs(out_dir, exist_ok=True)
    server = e2e_test.XServer() if engine == "webkit" else None  # WebKitGTK has no headless mode
    site = Site(site_dir)
    try:
        page = start(engine, {}, site.url)
        try:
            drive(page, out_dir, engine)
        finally:
            page.close()
        for entry in CONFIGURATIONS:
            configuration(engine, entry, site.url, out_dir)
        offline(engine, site_dir, out_dir)
    finally:
        if server:
            server.stop()
    failures = len(e2e_test.failures)
    print(f"{engine}: " + ("all passed" if not failures else f"{failures} failed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
