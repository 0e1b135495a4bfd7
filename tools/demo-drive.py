#!/usr/bin/env python3
"""demo-drive.py: runs the demo without a display of the user's.

Starts vantorix.exe under Wine on the current (Xvfb) display, presses "Check updates"
with real X input, waits for the check to end, saves a screenshot of the main window,
writes a status report through the real save-as dialog, and closes the program. Then it
starts the program once more at 144 DPI (150%) and saves a screenshot of that window.

  demo-drive.py BINDIR OUTDIR
"""

import json
import os
import subprocess
import sys
import time

# The loader of the build under test: the 32-bit one for the shipped 32-bit program.
WINE = os.environ.get("VANTORIX_WINE", "/usr/lib/wine/wine64")


def probe(bindir, *args):
    out = subprocess.run([WINE, os.path.join(bindir, "probe.exe")] + [str(a) for a in args],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60).stdout
    return json.loads(out.decode("latin-1") or "{}")


def wait(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    sys.exit("demo: timed out waiting for " + what)


def windows(bindir, pid=None):
    top = probe(bindir, "top")
    return [w for w in top.get("windows", []) if w.get("visible") and w.get("class") == "#32770"]


def find(bindir, title, need=None):
    for w in windows(bindir):
        if w.get("title") == title and (need is None or need(w)):
            return w
    return None


def control(bindir, hwnd, control_id):
    for c in probe(bindir, "state", hwnd).get("controls", []):
        if c.get("id") == control_id:
            return c
    return None


def click(rect):
    x, y = (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def x_window(title):
    out = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], stdout=subprocess.PIPE,
                         text=True).stdout.split()
    return out[0] if out else None


def set_log_pixels(dpi):
    """Wine takes the display's DPI from LogPixels when a program starts; None removes it."""
    key = r"HKCU\Control Panel\Desktop"
    args = (["add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"] if dpi
            else ["delete", key, "/v", "LogPixels", "/f"])
    subprocess.run([WINE, "reg"] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


def start(bindir, wine_log, what):
    app = subprocess.Popen([WINE, os.path.join(bindir, "vantorix.exe")], stdout=wine_log, stderr=wine_log)
    try:
        window = wait(lambda: find(bindir, "Vantorix", lambda w: w.get("owner") == 0), 60, what)
    except BaseException:
        app.kill()
        raise
    return app, window["hwnd"]


def close(bindir, app, hwnd):
    probe(bindir, "post", hwnd, 0x0010, 0, 0)  # WM_CLOSE
    app.wait(timeout=30)


def main():
    bindir, outdir = sys.argv[1], sys.argv[2]
    os.makedirs(outdir, exist_ok=True)
    screenshot = os.path.join(outdir, "main-window.png")
    screenshot_144 = os.path.join(outdir, "main-window-144dpi.png")
    report = os.path.join(outdir, "status-report.txt")
    for path in (screenshot, screenshot_144, report):
        if os.path.exists(path):
            os.remove(path)

    # Wine's own notes (about devices, fonts, ...) go to a log, not to the user.
    wine_log = open(os.path.join(os.path.dirname(os.path.abspath(outdir)), "wine.log"), "ab")
    app, hwnd = start(bindir, wine_log, "the main window")
    try:
        click(control(bindir, hwnd, 1013)["rect"])  # "Check updates"
        # The main window is disabled while the progress window stands in front of it.
        started = time.monotonic()
        while time.monotonic() - started < 5 and find(bindir, "Vantorix", lambda w: w["hwnd"] == hwnd and w["enabled"]):
            time.sleep(0.1)
        wait(lambda: find(bindir, "Vantorix", lambda w: w["hwnd"] == hwnd and w["enabled"]), 300,
             "the update check to end")
        time.sleep(1)
        xid = x_window("Vantorix")
        subprocess.run(["import", "-window", xid, screenshot], check=True)

        click(control(bindir, hwnd, 1008)["rect"])  # " Save status report"
        dialog = wait(lambda: find(bindir, "Save As"), 30, "the save-as dialog")
        subprocess.run(["xdotool", "search", "--name", "^Save As$", "windowfocus", "--sync"], check=False)
        name = "Z:" + os.path.abspath(report).replace("/", "\\")
        edit = control(bindir, dialog["hwnd"], 1152)  # the dialog's file name box
        if edit:
            click(edit["rect"])
            subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "20", name], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        wait(lambda: os.path.exists(report) and os.path.getsize(report) > 0 and not find(bindir, "Save As"), 30,
             "the status report")
        time.sleep(0.5)
        close(bindir, app, hwnd)

        # The same list at 144 DPI, from the records that the check stored.
        set_log_pixels(144)
        app, hwnd = start(bindir, wine_log, "the main window at 144 DPI")
        time.sleep(1)
        subprocess.run(["import", "-window", x_window("Vantorix"), screenshot_144], check=True)
        close(bindir, app, hwnd)
    finally:
        set_log_pixels(None)
        if app.poll() is None:
            app.kill()
        wine_log.close()
    print("Screenshot of the main window after the update check: " + screenshot)
    print("The same at 144 DPI: " + screenshot_144)
    print("Status report: " + report)


if __name__ == "__main__":
    main()
