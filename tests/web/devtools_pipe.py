"""Headless Chromium driven over the DevTools protocol on a pipe (--remote-debugging-pipe):
no network port and no client library, only the standard library of Debian's Python.
Shared by the page walk test and bench/web_page_timing.
"""
import json
import os
import subprocess
import tempfile
import time

CHROMIUM_FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                  "--disable-gpu", "--disable-background-networking", "--disable-component-update",
                  "--disable-sync", "--no-first-run", "--window-size=1366,768"]


class Page:
    """One tab of a fresh Chromium. console holds the page's console lines as they come."""

    def __init__(self):
        self.profile = tempfile.mkdtemp()
        to_r, self.to_w = os.pipe()
        self.from_r, from_w = os.pipe()
        # Chromium reads the protocol from fd 3 and writes it to fd 4.
        self.chrome = subprocess.Popen(
            ["chromium"] + CHROMIUM_FLAGS + ["--user-data-dir=" + self.profile, "--remote-debugging-pipe",
                                             "about:blank"],
            pass_fds=(3, 4), preexec_fn=lambda: (os.dup2(to_r, 3), os.dup2(from_w, 4)),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_r)
        os.close(from_w)
        self.pending, self.next_id, self.session, self.console = b"", 0, None, []
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.call("Runtime.enable")

    def close(self):
        self.chrome.kill()
        self.chrome.wait()

    def send(self, method, params=None, browser=False):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if self.session and not browser:
            message["sessionId"] = self.session
        os.write(self.to_w, json.dumps(message).encode() + b"\0")
        return self.next_id

    def receive(self):
        while b"\0" not in self.pending:
            chunk = os.read(self.from_r, 1 << 16)
            if not chunk:
                raise RuntimeError("chromium ended")
            self.pending += chunk
        line, self.pending = self.pending.split(b"\0", 1)
        message = json.loads(line)
        if message.get("method") == "Runtime.consoleAPICalled":
            self.console.append(" ".join(str(a.get("value", "")) for a in message["params"]["args"]))
        return message

    def call(self, method, params=None, browser=False):
        wanted = self.send(method, params, browser)
        while True:
            message = self.receive()
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})

    def evaluate(self, expression):
        return self.call("Runtime.evaluate", {"expression": expression})["result"].get("value")

    def wait_for(self, expression, seconds):
        """The expression's first truthy value within seconds (real time), else its last."""
        end = time.monotonic() + seconds
        value = self.evaluate(expression)
        while not value and time.monotonic() < end:
            time.sleep(0.1)
            value = self.evaluate(expression)
        return value

    def click(self, x, y):
        """The left button held across several frames at (x, y) of the page."""
        self.call("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": x, "y": y})
        time.sleep(0.2)
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})
            time.sleep(0.3)

    def type_text(self, text):
        """Characters as typing gives them: a key press with its text, one at a time."""
        for c in text:
            self.call("Input.dispatchKeyEvent", {"type": "keyDown", "key": c, "text": c, "unmodifiedText": c})
            self.call("Input.dispatchKeyEvent", {"type": "keyUp", "key": c})
            time.sleep(0.1)

    def key(self, key, code, key_code, modifiers=0):
        """A key held across several frames, as a person presses it (raylib reads held keys).
        With modifiers 2 Ctrl goes down first: emscripten's GLFW reads it from its own key table."""
        ctrl = {"key": "Control", "code": "ControlLeft", "windowsVirtualKeyCode": 17}
        if modifiers & 2:
            self.call("Input.dispatchKeyEvent", dict(ctrl, type="rawKeyDown", modifiers=2))
        for kind in ("rawKeyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", {"type": kind, "key": key, "code": code,
                                                 "windowsVirtualKeyCode": key_code, "modifiers": modifiers})
            time.sleep(0.3)
        if modifiers & 2:
            self.call("Input.dispatchKeyEvent", dict(ctrl, type="keyUp", modifiers=0))
