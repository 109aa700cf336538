#!/usr/bin/python3
"""The web page as a person uses it: page_walk.py BASE_URL (the served build/web folder).

Over the DevTools pipe, in real time: opens a code; F12 and Ctrl+E give a PNG and a CSV
download with as many rows as stars; Save keeps the galaxy in the browser's storage, where a
reloaded page finds it; an edited address opens its galaxy and the title follows.
Prints one "ok:" or "FAILED:" line per check and exits 1 on any failure.
"""
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools_pipe import Page  # noqa: E402

BASE = sys.argv[1]
COUNT = "document.getElementById('star-count').value"
failures = 0


def check(name, ok, detail=""):
    global failures
    print(("ok: " if ok else "FAILED: ") + name + ("" if ok else ": " + detail), flush=True)
    failures += 0 if ok else 1


page = Page()
try:
    downloads = tempfile.mkdtemp()
    page.call("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads}, browser=True)
    page.call("Page.navigate", {"url": BASE + "/index.html#GX1-J8GZG0VYRW0P0Y180RCFT58"})
    check("the code's galaxy shows", page.wait_for(COUNT, 20) == "8109", str(page.evaluate(COUNT)))

    page.key("F12", "F12", 123)
    page.key("e", "KeyE", 69, modifiers=2)  # Ctrl+E
    end = time.monotonic() + 15
    while time.monotonic() < end and len([f for f in os.listdir(downloads) if not f.endswith(".crdownload")]) < 2:
        time.sleep(0.2)
    files = sorted(os.listdir(downloads))
    pngs = [f for f in files if f.endswith(".png")]
    csvs = [f for f in files if f.endswith(".csv")]
    check("F12 downloads a PNG", len(pngs) == 1 and open(os.path.join(downloads, pngs[0]), "rb").read(8) ==
          b"\x89PNG\r\n\x1a\n", str(files))
    rows = sum(1 for _ in open(os.path.join(downloads, csvs[0]))) - 1 if csvs else -1
    check("Ctrl+E downloads a CSV of every star", rows == 8109, "%s, %d rows" % (files, rows))

    # Save... on the panel, a name typed into the Save screen's box, Enter: the saved galaxies
    # go to local storage, and a new page finds them where the Load screen reads them.
    page.click(112, 644)
    page.click(480, 130)
    page.type_text("Three arms")
    page.key("Enter", "Enter", 13)
    stored = page.wait_for("localStorage.getItem('galaxy_viewer/galaxies.txt')", 10) or ""
    check("Save keeps the galaxy in the browser's storage",
          "GX1-J8GZG0VYRW0P0Y180RCFT58\t" in stored and stored.endswith("\tThree arms\n"), repr(stored))
    page.call("Page.reload")
    page.wait_for(COUNT, 20)
    restored = page.evaluate("FS.readFile('/home/web_user/.local/share/galaxy_viewer/galaxies.txt', "
                             "{encoding: 'utf8'})")
    check("a new page reads the saved galaxies back", restored == stored, repr(restored))

    page.evaluate("location.hash = '#GX1-07W06ZP705G7GA0J51JPC'")
    shown = page.wait_for("%s == '24327' && document.title" % COUNT, 20)
    check("an edited address opens its galaxy", shown == "GX1-07W06ZP705G7GA0J51JPC \u00b7 galaxy viewer", str(shown))

finally:
    page.close()
sys.exit(1 if failures else 0)
