"""vxdriver: drives the real vantorix.exe under Wine from outside for the end-to-end tests.

The program runs as its own Wine process on the X display of the environment. Input is
real X input (xdotool); state is read by the probe (bin/probe.exe, a Win32 console
program that reads another process's windows and the registry and answers in JSON);
large registry seeds go through Wine's regedit; files are read through drive_c.
"""

import atexit
import json
import os
import re
import select
import shutil
import subprocess
import tempfile
import sys
import time
import unittest

# The loader of the build under test: the 32-bit one for the shipped 32-bit program.
WINE = os.environ.get("VANTORIX_WINE", "/usr/lib/wine/wine64")
HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))
BIN_DIR = os.environ.get("VANTORIX_BIN_DIR", "")
PREFIX = os.environ.get("WINEPREFIX", "")
TOOLS_DIR = os.environ.get("VANTORIX_TOOLS_DIR", os.path.join(SOURCE_DIR, "tools"))
E2E_PORT = int(os.environ.get("VANTORIX_E2E_PORT", "18766"))
# The ANSI code page of the Wine processes the tests start, as a Python codec.
ANSI = "cp1252"

PACKAGES_KEY = r"HKEY_LOCAL_MACHINE\SOFTWARE\Norvane\Packages"
COMPONENT_KEY = r"HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{13DEF622-983C-4FA4-91CD-238C72DE4F3F}"
COMPONENT_WARNING = "Some components not installed or work incorrectly."
PASSPORT_KEY = r"HKEY_LOCAL_MACHINE\SOFTWARE\Digital River\SoftwarePassport"
PASSPORT_USER_KEY = r"HKEY_CURRENT_USER\SOFTWARE\Digital River\SoftwarePassport"
APPWIZARD_KEY = r"HKEY_CURRENT_USER\Software\Local AppWizard-Generated Applications"

# Window messages and commands the driver sends through the probe.
WM_COMMAND = 0x0111
SW_MINIMIZE = 6


def use_code_page_932():
    """Later Wine processes get the ANSI code page 932 from LANG (install-deps makes the locale)."""
    global ANSI
    for name in ("LC_ALL", "LC_CTYPE", "LC_MESSAGES"):
        os.environ.pop(name, None)
    os.environ["LANG"] = "ja_JP.UTF-8"
    ANSI = "cp932"


def wine_env(extra=None):
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    env["WINEPREFIX"] = PREFIX
    if extra:
        env.update(extra)
    return env


def windows_path(unix_path):
    """The Wine path of a Unix path: drive_c paths as C:, the rest through Z:."""
    unix_path = os.path.abspath(unix_path)
    drive_c = os.path.join(PREFIX, "drive_c")
    if unix_path == drive_c or unix_path.startswith(drive_c + os.sep):
        return "C:" + (unix_path[len(drive_c):].replace("/", "\\") or "\\")
    return "Z:" + unix_path.replace("/", "\\")


def drive_c(*parts):
    return os.path.join(PREFIX, "drive_c", *parts)


def wait_until(condition, timeout, what, interval=0.1):
    """Polls condition until it gives a true value, which is returned; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def run_wine(args, timeout=120, env=None):
    return subprocess.run([WINE] + list(args), env=wine_env(env), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=timeout)


# ---------------------------------------------------------------- registry

def reg_string(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def reg_hex(type_code, data):
    body = ",".join("%02x" % b for b in data)
    return ("hex:" if type_code == 3 else "hex(%x):" % type_code) + body


def reg_value(value):
    """A .reg value from str (REG_SZ), int (REG_DWORD), bytes (REG_BINARY) or (type, bytes)."""
    if isinstance(value, str):
        return reg_string(value)
    if isinstance(value, bool):
        raise TypeError("no boolean registry values")
    if isinstance(value, int):
        return "dword:%08x" % value
    if isinstance(value, (bytes, bytearray)):
        return reg_hex(3, value)
    type_code, data = value
    return reg_hex(type_code, data)


class RegFile:
    """Collects the lines of a REGEDIT4 file; import() loads it with regedit /S."""

    def __init__(self):
        self.lines = ["REGEDIT4", ""]

    def key(self, path, values=None):
        self.lines.append("[%s]" % path)
        for name, value in (values or {}).items():
            self.lines.append("%s=%s" % ("@" if name is None else reg_string(name), reg_value(value)))
        self.lines.append("")
        return self

    def text(self):
        return "\r\n".join(self.lines) + "\r\n"

    def import_(self):
        reg_import(self.text())


def reg_import(text):
    handle, path = tempfile.mkstemp(suffix=".reg", dir=drive_c())
    try:
        with os.fdopen(handle, "wb") as f:
            f.write(text.encode(ANSI))
        # regedit now and then fails without a word while the prefix is busy: try again.
        for _ in range(3):
            result = run_wine(["regedit", "/S", windows_path(path)], timeout=120)
            if result.returncode == 0:
                break
        else:
            raise AssertionError("regedit could not import %s: %r" % (path, result.stderr[-500:]))
    finally:
        os.unlink(path)


def reg_tree(key, fold=True):
    """The key and every key below it, read by the probe with the ANSI functions:
    {key path: {value name: (type, bytes)}}, paths and names in lower case unless fold
    is false."""
    short = short_root(key)
    long_root = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}[short.split("\\")[0]]
    answer = shared_probe().call("reg", short, timeout=120)
    same = (lambda t: t.lower()) if fold else (lambda t: t)
    return {same(long_root + "\\" + sub): {same(name): (data[0], bytes.fromhex(data[1]))
                                             for name, data in values.items()}
            for sub, values in answer.items()}


class RemovedKey:
    """Takes a key out of the registry for a while; restore() writes it back as it was
    (names in their own letter case, values byte for byte)."""

    def __init__(self, key):
        self.key = key
        self.saved = reg_tree(key, fold=False)
        reg_delete(key)

    def restore(self):
        reg_delete(self.key)
        for path, values in self.saved.items():
            reg_set(path)
            for name, value in values.items():
                reg_set(path, name, value)


def without_update_records(tree):
    """The tree with the two values the program may write removed."""
    return {k: {n: v for n, v in values.items() if n not in ("updateversion", "productupdateurl")}
            for k, values in tree.items()}


def package_values(tree, package):
    return tree.get((PACKAGES_KEY + "\\" + package).lower(), {})


def sz(value):
    """A (type, bytes) value as text up to its first zero byte; None when absent."""
    if value is None:
        return None
    return value[1].split(b"\0", 1)[0].decode(ANSI)


def typed_value(value):
    """(type, bytes) of a value given as reg_value() takes it; str is REG_SZ with its zero."""
    if isinstance(value, str):
        return 1, value.encode(ANSI) + b"\0"
    if isinstance(value, int):
        return 4, value.to_bytes(4, "little")
    if isinstance(value, (bytes, bytearray)):
        return 3, bytes(value)
    return value


def reg_set(key, name=None, value=None):
    """Creates the key level by level (names up to the registry's own limit, which
    regedit does not reach) and sets one value, through the probe."""
    args = ["regset", short_root(key)]
    if name is not None:
        type_code, data = typed_value(value)
        args += [name, type_code, data.hex()]
    if not shared_probe().call(*args)["ok"]:
        raise AssertionError("could not write %s %r" % (key, name))


def short_root(key):
    root, _, path = key.partition("\\")
    return {"HKEY_LOCAL_MACHINE": "HKLM", "HKEY_CURRENT_USER": "HKCU"}.get(root.upper(), root) + "\\" + path


def reg_delete(key):
    """Deletes a key and everything below it, level by level (regedit hangs on trees
    that hold names of 254 characters and more)."""
    if not shared_probe().call("regdel", short_root(key), timeout=120)["ok"]:
        raise AssertionError("could not delete %s" % key)


def seed_packages(packages, components=None, extra=None):
    """Replaces the Packages key: packages is a list of (name, {value: data}) in order;
    components maps a package name to its component records; extra adds (key, values)."""
    clear_packages()
    keys = [(PACKAGES_KEY, {})]
    for name, values in packages:
        keys.append((PACKAGES_KEY + "\\" + name, values))
        for index, component in enumerate((components or {}).get(name, []), 1):
            keys.append((PACKAGES_KEY + "\\%s\\Components\\%d" % (name, index), component))
    keys += list(extra or [])
    if sum(len(values) + 1 for _, values in keys) > 500:
        # Many keys: one regedit run is faster than a probe call per value.
        reg = RegFile()
        for path, values in keys:
            reg.key(path, values)
        reg.import_()
        return
    for path, values in keys:
        reg_set(path)
        for name, value in values.items():
            reg_set(path, "" if name is None else name, value)


def clear_packages():
    for key in (PACKAGES_KEY, PASSPORT_KEY, PASSPORT_USER_KEY):
        reg_delete(key)


# ---------------------------------------------------------------- probe and X input

_SHARED_PROBE = None


def shared_probe():
    """The one probe of this test run, started on first use and ended at exit."""
    global _SHARED_PROBE
    if _SHARED_PROBE is None or _SHARED_PROBE.proc.poll() is not None:
        _SHARED_PROBE = Probe()
        atexit.register(_SHARED_PROBE.close)
    return _SHARED_PROBE


class Probe:
    """One probe.exe process in its serve mode; call() sends a command, gets its JSON."""

    def __init__(self):
        self.proc = subprocess.Popen([WINE, os.path.join(BIN_DIR, "probe.exe"), "serve"],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, env=wine_env())
        self.buffer = b""

    def call(self, *args, timeout=30):
        words = ['"%s"' % a if " " in str(a) or str(a) == "" else str(a) for a in args]
        self.proc.stdin.write((" ".join(words) + "\n").encode(ANSI))
        self.proc.stdin.flush()
        deadline = time.monotonic() + timeout
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or self.proc.poll() is not None:
                raise AssertionError("the probe did not answer %r" % (args,))
            ready, _, _ = select.select([self.proc.stdout], [], [], left)
            if ready:
                chunk = os.read(self.proc.stdout.fileno(), 1 << 20)
                if not chunk:
                    raise AssertionError("the probe ended while answering %r" % (args,))
                self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return json.loads(line.decode("ascii"))

    def close(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.write(b"quit\n")
                self.proc.stdin.flush()
                self.proc.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.proc.kill()
                self.proc.wait()


def ansi(text):
    """A probe text back as the ANSI bytes the program holds, decoded."""
    return text.encode("latin-1").decode(ANSI, errors="replace")


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def pointer():
    out = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True, timeout=30,
                         stdout=subprocess.PIPE).stdout.decode()
    fields = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(fields["X"]), int(fields["Y"])


def mouse_move(x, y):
    # --sync waits for the pointer to move, so it is not asked to move where it is.
    if pointer() != (int(x), int(y)):
        xdo("mousemove", "--sync", int(x), int(y))


_last_click = [0.0, None]
DOUBLE_CLICK_S = 0.6  # longer than the system's double-click time (500 ms)


def click(x, y, button=1):
    """One click; a second one on the same spot waits as a hand does, so that the two
    do not make a double click."""
    mouse_move(x, y)
    since = time.monotonic() - _last_click[0]
    if _last_click[1] == (int(x), int(y)) and since < DOUBLE_CLICK_S:
        time.sleep(DOUBLE_CLICK_S - since)
    time.sleep(0.05)
    xdo("click", button)
    _last_click[:] = [time.monotonic(), (int(x), int(y))]


def key(*names):
    for name in names:
        xdo("key", "--clearmodifiers", name)


def type_text(text):
    xdo("type", "--delay", 20, text)


def center(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


# ---------------------------------------------------------------- the program

class Window:
    """A snapshot of one top-level window of the program, with its controls."""

    def __init__(self, state):
        self.state = state
        self.info = state["window"]
        self.hwnd = self.info["hwnd"]
        self.controls = state["controls"]
        self.list = state.get("list")

    def control(self, control_id):
        for c in self.controls:
            if c["id"] == control_id:
                return c
        return None

    def text(self, control_id):
        c = self.control(control_id)
        return ansi(c["text"]) if c else None

    def has(self, control_id):
        return self.control(control_id) is not None

    @property
    def rows(self):
        return [Row(r) for r in (self.list or {}).get("rows", [])]

    def static_texts(self):
        return [ansi(c["text"]) for c in self.controls if c["class"].lower() == "static" and c["text"]]


class Row:
    def __init__(self, data):
        self.data = data
        self.index = data["index"]
        self.name, self.version, self.update = (ansi(t) for t in data["text"])
        self.state_image = data["stateImage"]
        self.image = data["image"]
        self.bounds = data["bounds"]
        self.icon = data["icon"]
        self.label = data["label"]

    def __repr__(self):
        return "Row(%r, %r, %r, state=%d, image=%d)" % (self.name, self.version, self.update,
                                                         self.state_image, self.image)


class App:
    """One started copy of vantorix.exe."""

    def __init__(self, test, probe, args=(), recorder_log=None):
        self.test = test
        self.probe = probe
        env = {}
        if recorder_log:
            env["VANTORIX_RECORDER_LOG"] = windows_path(recorder_log)
        self.proc = subprocess.Popen([WINE, os.path.join(BIN_DIR, "vantorix.exe")] + list(args),
                                     env=wine_env(env), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.pid = None
        self.hwnd = None

    # Windows of the program. Until the main window is known, any copy's windows count.
    def top_windows(self):
        return [w for w in self.probe.call("top")["windows"]
                if self.pid is None or w["pid"] == self.pid]

    def window(self, hwnd, first=0, count=200):
        state = self.probe.call("state", hwnd, first, count)
        return Window(state) if "error" not in state else None

    def find_windows(self, title=None, control=None):
        found = []
        for w in self.top_windows():
            if not w["visible"] or w["class"] != "#32770":
                continue
            if title is not None and ansi(w["title"]) != title:
                continue
            snapshot = self.window(w["hwnd"], 0, 0)
            if snapshot and (control is None or snapshot.has(control)):
                found.append(snapshot)
        return found

    def wait_window(self, title=None, control=None, timeout=20, what=None):
        return wait_until(lambda: (self.find_windows(title, control) or [None])[0], timeout,
                          what or "a window %r with control %r" % (title, control))

    def wait_main(self, timeout=30):
        try:
            main = self.wait_window("Vantorix", 1000, timeout, "the main window")
        except AssertionError as error:
            windows = [(w["pid"], w["class"], ansi(w["title"]), w["visible"]) for w in self.top_windows()]
            raise AssertionError("%s; program %s; windows %r" % (
                error, "running" if self.running() else "ended with %r" % self.proc.poll(), windows))
        self.hwnd = main.hwnd
        self.pid = main.info["pid"]
        return self.main()

    def main(self, first=0, count=200):
        snapshot = self.window(self.hwnd, first, count)
        if snapshot is None:
            raise AssertionError("the main window is gone")
        return snapshot

    def progress_window(self):
        """The progress window, found without sending the busy program a message."""
        for w in self.top_windows():
            if (w["visible"] and w["class"] == "#32770" and w["owner"] == self.hwnd
                    and ansi(w["title"]) == "Vantorix"):
                return w
        return None

    def control_text(self, hwnd, control_id):
        """One control's text, enabled state and rectangle: one message to the program."""
        answer = self.probe.call("text", hwnd, control_id)
        answer["text"] = ansi(answer["text"])
        return answer

    def main_enabled(self):
        return any(w["hwnd"] == self.hwnd and w["enabled"] for w in self.top_windows())

    def wait_idle(self, timeout=60):
        """Waits until no progress window is open and the main window takes input."""
        wait_until(lambda: self.main_enabled() and not self.progress_window(), timeout,
                   "the end of the update check", interval=0.2)
        return self.main()

    def message_boxes(self):
        """Open message boxes: dialogs with the message text (static 0xFFFF) and nothing
        to type into or choose from."""
        def is_box(w):
            classes = {c["class"].lower() for c in w.controls}
            return w.has(0xFFFF) and not classes & {"edit", "combobox", "comboboxex32", "syslistview32"}
        return [w for w in self.find_windows() if is_box(w)]

    def click_control(self, snapshot, control_id, button=1):
        c = snapshot.control(control_id)
        self.test.assertIsNotNone(c, "control %d" % control_id)
        click(*center(c["rect"]), button=button)

    def focus(self, snapshot):
        """Activates a window by a click on its caption, as a user does before typing."""
        rect = snapshot.info["rect"]
        client = snapshot.state["client"]
        click((rect[0] + rect[2]) // 2, (rect[1] + client[1]) // 2)

    def rows(self):
        return self.main().rows

    def running(self):
        return self.proc.poll() is None

    def sync(self, timeout=120):
        """Returns once the program's GUI thread takes messages again (a command that
        runs on it, such as writing the report, has ended)."""
        answer = self.probe.call("send", self.hwnd, 0, 0, 0, timeout=timeout)
        if not answer["ok"]:
            raise AssertionError("the program does not answer messages")

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end within %d s" % timeout)

    def close(self):
        """Ends the program the user's way (the Close button), or kills what is left."""
        if self.proc.poll() is None and self.hwnd is not None:
            try:
                main = self.window(self.hwnd, 0, 0)
                if main and main.info["enabled"]:
                    self.probe.call("post", self.hwnd, WM_COMMAND, 1011, 0)
                    self.proc.wait(timeout=10)
            except (AssertionError, subprocess.TimeoutExpired):
                pass
        self.kill()

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


class E2ETestCase(unittest.TestCase):
    """Base class: a probe per class; programs started by a test are ended after it."""

    probe = None

    @classmethod
    def setUpClass(cls):
        if not (BIN_DIR and PREFIX and os.environ.get("DISPLAY")):
            raise unittest.SkipTest("needs VANTORIX_BIN_DIR, WINEPREFIX and DISPLAY")
        for tool in ("xdotool",):
            if not shutil.which(tool):
                raise unittest.SkipTest("needs %s" % tool)
        cls.probe = shared_probe()

    def setUp(self):
        self.apps = []
        self.work = drive_c("e2e", self.id().split(".")[-1])
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.recorder_log = os.path.join(self.work, "recorder.log")
        self.addCleanup(self.end_apps)

    def end_apps(self):
        for app in reversed(self.apps):
            app.close()
        # Programs that the program started (the browser, rundll32) end by themselves.
        mouse_move(1270, 1010)

    def start(self, *args, wait_main=True):
        app = App(self, self.probe, args, self.recorder_log)
        self.apps.append(app)
        if wait_main:
            app.wait_main()
        return app

    def recorded(self):
        try:
            with open(self.recorder_log, "rb") as f:
                return [line.decode(ANSI) for line in f.read().splitlines() if line]
        except FileNotFoundError:
            return []

    def wait_recorded(self, count=1, timeout=20):
        return wait_until(lambda: len(self.recorded()) >= count and self.recorded(), timeout,
                          "the browser to be started")

    def registry_snapshot(self):
        """What the program may not change: the package keys apart from update records."""
        return without_update_records(reg_tree(PACKAGES_KEY))

    def assertRegistryUnchanged(self, snapshot):
        self.assertEqual(self.registry_snapshot(), snapshot)
        self.assertEqual(reg_tree(APPWIZARD_KEY), {})

    def assertNothingRecorded(self, settle=2.0):
        time.sleep(settle)
        self.assertEqual(self.recorded(), [])


# ---------------------------------------------------------------- update server and profile

class UpdateServer:
    """The project's local update server (tools/update_server.py) on the tests' own port."""

    def __init__(self, port=E2E_PORT):
        import urllib.request  # noqa: F401 (used by the control calls)
        self.port = port
        self.log = open(os.path.join(PREFIX, "e2e-update-server.log"), "ab")
        self.proc = subprocess.Popen([sys.executable, os.path.join(TOOLS_DIR, "update_server.py"),
                                      "--port", str(port)], stdout=self.log, stderr=self.log)
        try:
            wait_until(lambda: self.proc.poll() is not None or self._ping(), 15, "the update server")
        except AssertionError:
            self.stop()
            raise
        if self.proc.poll() is not None:
            raise AssertionError("the update server did not start (port %d in use?)" % port)

    def _ping(self):
        try:
            return self.control("ping", method="GET") == b"pong"
        except OSError:
            return False

    def control(self, command, body=None, method="POST"):
        import urllib.request
        data = None if body is None else (body if isinstance(body, bytes) else json.dumps(body).encode())
        request = urllib.request.Request("http://127.0.0.1:%d/control/%s" % (self.port, command),
                                         data=data if method == "POST" else None, method=method)
        with urllib.request.urlopen(request, timeout=30) as answer:
            return answer.read()

    def catalogue(self, entries):
        self.control("catalogue", entries)

    def behaviour(self, mode, **options):
        options["mode"] = mode
        self.control("behaviour", options)

    def reset(self):
        self.control("reset", b"")

    def requests(self):
        count = int(self.control("requests/count", method="GET"))
        return [self.control("requests/%d" % i, method="GET") for i in range(count)]

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.log.close()


def appdata_dir():
    """The Unix path of the user's AppData folder as the Shell Folders key names it."""
    key = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
    data = sz(reg_tree(key).get(key.lower(), {}).get("appdata"))
    match = re.match(r"^([A-Za-z]):\\(.*)$", data or "")
    if not match or match.group(1).upper() != "C":
        raise AssertionError("no AppData folder on drive C: %r" % data)
    return drive_c(*match.group(2).split("\\"))


class FirefoxProfile:
    """The prefix's Firefox profile; write() replaces prefs.js, restore() puts back what
    was there (the profile folder too, when the tests created it)."""

    def __init__(self):
        profiles = os.path.join(appdata_dir(), "Mozilla", "Firefox", "Profiles")
        existing = sorted(d for d in os.listdir(profiles)
                          if os.path.isdir(os.path.join(profiles, d))) if os.path.isdir(profiles) else []
        self.created = None
        if existing:
            self.folder = os.path.join(profiles, existing[0])
        else:
            self.folder = os.path.join(profiles, "vantorix.default")
            self.created = self.folder
            while not os.path.isdir(os.path.dirname(self.created)):
                self.created = os.path.dirname(self.created)
            os.makedirs(self.folder)
        self.path = os.path.join(self.folder, "prefs.js")
        self.saved = None
        if os.path.exists(self.path):
            with open(self.path, "rb") as f:
                self.saved = f.read()

    def write(self, data):
        with open(self.path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode(ANSI))

    def use_proxy(self, port):
        self.write('// Mozilla User Preferences\n\nuser_pref("network.proxy.http", "127.0.0.1");\n'
                   'user_pref("network.proxy.http_port", %d);\nuser_pref("network.proxy.type", 1);\n' % port)

    def restore(self):
        if self.created:
            shutil.rmtree(self.created, ignore_errors=True)
        elif self.saved is None:
            if os.path.exists(self.path):
                os.unlink(self.path)
        else:
            with open(self.path, "wb") as f:
                f.write(self.saved)



class ServerTestCase(E2ETestCase):
    """Starts the update server and points the Firefox profile's proxy at it; every test
    starts with the server reset."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.server = UpdateServer()
        cls.addClassCleanup(cls.server.stop)
        cls.profile = FirefoxProfile()
        cls.addClassCleanup(cls.profile.restore)
        cls.profile.use_proxy(E2E_PORT)

    def setUp(self):
        super().setUp()
        self.server.reset()