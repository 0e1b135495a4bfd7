"""The command line for scripts from outside: the real program's /check, /list and
/report against the local server, with its exit codes, the bytes it writes, its standard
error and no window while it runs."""

import os
import shlex
import shutil
import struct
import subprocess
import threading
import time
import unittest

from vxdriver import (BIN_DIR, COMPONENT_KEY, COMPONENT_WARNING, E2E_PORT, PACKAGES_KEY, PASSPORT_KEY, WINE, WM_COMMAND,
                      Probe, RegFile, RemovedKey, ServerTestCase, clear_packages, key, package_values, reg_tree,
                      run_wine, seed_packages, sz, type_text, wait_until, windows_path, wine_env)
from test_updates import closed_port

WINHTTP_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections"
PACKAGES = [
    ('Alpha, "Quoted" Suite', {"Version": "2.0", "InstallProject": "Setup1"}),
    ("Bravo Hidden", {"Version": "1.0", "Hide": "1"}),
    ("Charlie Tools", {"Version": "3.0", "UpdateVersion": "3.5", "ProductUpdateUrl": "http://www.norvane.com/c35"}),
    # Each of the CSV's other marks alone: a double quote, CR, LF.
    ('Delta "Pro"', {"Version": (1, b"4.0\r\x00")}),
    ("Echo", {"Version": (1, b"5.0\n\x00")}),
    # A stored page that is no web page is left out.
    ("Foxtrot", {"Version": "1.0", "UpdateVersion": "1.1", "ProductUpdateUrl": "ftp://www.norvane.com/f"}),
]
COMPONENTS = {'Alpha, "Quoted" Suite': [{"Name": "Codec", "ClassId": "{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E01}",
                                          "Version": "1.2"}]}
PROXY_FORMS = b"HOST:PORT, http://HOST:PORT, [IPv6]:PORT, http=HOST:PORT;https=HOST:PORT or direct"
USAGE_HINT = b"Type vantorix /? for the usage.\r\n"


def winhttp_settings(flags, proxy, bypass=b""):
    """A WinHttpSettings value as netsh writes it: flags 3 names a proxy, 1 is direct."""
    return struct.pack("<IIII", 0x28, 1, flags, len(proxy)) + proxy + struct.pack("<I", len(bypass)) + bypass


def set_winhttp_settings(test, view, value):
    """The machine-wide WinHTTP setting in one registry view ("/reg:64" or "/reg:32")
    until the test ends."""
    test.addCleanup(run_wine, ["reg", "delete", WINHTTP_KEY, "/v", "WinHttpSettings", "/f", view])
    test.assertEqual(run_wine(["reg", "add", WINHTTP_KEY, "/v", "WinHttpSettings", "/t", "REG_BINARY", "/d",
                               value.hex(), "/f", view]).returncode, 0)


def run_on_console(test, words, folder):
    """Runs the words of a cmd line through Wine's cmd in a terminal of tmux, which gives it
    a real console 50 columns wide, in folder. Returns the exit code, every line the
    terminal showed meanwhile in order, and the lines it shows at the end."""
    test.assertTrue(shutil.which("tmux"), "tmux, which tools/install-deps installs")
    done = os.path.join(test.work, "exit.code")
    if os.path.exists(done):
        os.unlink(done)
    script = "cd %s && %s; echo $? >%s; sleep 600" % (
        shlex.quote(folder), " ".join(shlex.quote(w) for w in [WINE, "cmd", "/c"] + words), shlex.quote(done))
    # A server of its own, named by the test's process (a socket path has to be short).
    tmux = ["tmux", "-L", "vantorix-e2e-%d" % os.getpid()]
    subprocess.run(tmux + ["new-session", "-d", "-x", "50", "-y", "10", script],
                   env=wine_env({"TERM": "xterm"}), check=True, timeout=30)
    test.addCleanup(subprocess.run, tmux + ["kill-server"], stderr=subprocess.DEVNULL)
    shown, deadline = [], time.monotonic() + 60
    while not os.path.exists(done) and time.monotonic() < deadline:
        screen = subprocess.run(tmux + ["capture-pane", "-p"], stdout=subprocess.PIPE, timeout=30).stdout.decode()
        shown += [line for line in screen.splitlines() if line.strip() and line not in shown[-5:]]
        time.sleep(0.05)

    def exit_code():
        with open(done) as f:
            return f.read().strip()
    code = int(wait_until(lambda: os.path.exists(done) and exit_code(), 10, "the end of the command"))
    screen = subprocess.run(tmux + ["capture-pane", "-p"], stdout=subprocess.PIPE, timeout=30).stdout.decode()
    return code, shown, [line.rstrip() for line in screen.splitlines() if line.strip()]


class ScriptedRunTest(ServerTestCase):

    def tearDown(self):
        self.server.behaviour("normal")
        clear_packages()

    def run_scripted(self, *args, console=False):
        """Runs vantorix.exe with args in the test's folder, or with console what cmd runs
        for "vantorix" typed in the program's folder, watching the windows the while: none
        appears. Returns the exit code and standard error; self.output is standard output."""
        before = {w["hwnd"] for w in self.probe.call("top")["windows"]}
        command = ["cmd", "/c", "vantorix"] if console else [os.path.join(BIN_DIR, "vantorix.exe")]
        proc = subprocess.Popen([WINE] + command + list(args), cwd=BIN_DIR if console else self.work,
                                env=wine_env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        shown = []
        while proc.poll() is None:
            shown += [w["title"] for w in self.probe.call("top")["windows"] if w["visible"] and w["hwnd"] not in before]
            time.sleep(0.05)
        self.output, error = proc.communicate(timeout=60)
        self.assertEqual(shown, [], args)
        return proc.returncode, error

    def read(self, name):
        with open(os.path.join(self.work, name), "rb") as f:
            return f.read()

    def test_check_list_and_report_beside_a_copy_with_its_window(self):
        # Through regedit, which takes the double quotes of a key name.
        clear_packages()
        reg = RegFile()
        for name, values in PACKAGES:
            reg.key(PACKAGES_KEY + "\\" + name, values)
        reg.key(PACKAGES_KEY + "\\" + PACKAGES[0][0] + "\\Components\\1", COMPONENTS[PACKAGES[0][0]][0])
        reg.import_()
        window = self.start()
        # Offline, a newer version stored before counts.
        self.assertEqual(self.run_scripted("/list", "before.csv"), (2, b""))
        self.assertEqual(self.read("before.csv"),
                         b'Application,Current Version,Update Version,Update Page\r\n'
                         b'"Alpha, ""Quoted"" Suite",2.0,,\r\n'
                         b'Charlie Tools,3.0,3.5,http://www.norvane.com/c35\r\n'
                         b'"Delta ""Pro""","4.0\r",,\r\nEcho,"5.0\n",,\r\nFoxtrot,1.0,1.1,\r\n')
        self.server.catalogue({'Alpha, "Quoted" Suite': {"CurrentVersion": "2.1",
                                                         "ProductURL": "http://www.norvane.com/alpha"},
                               "Charlie Tools": {"CurrentVersion": "3.5", "ProductURL": "http://www.norvane.com/c35"}})
        self.server.behaviour("normal", latency=0.3)
        self.assertEqual(self.run_scripted("/check", "/list", "list.csv", "/report", "report.txt"), (2, b""))
        self.assertEqual(len(self.server.requests()), 5)
        self.assertEqual(self.read("list.csv"),
                         b'Application,Current Version,Update Version,Update Page\r\n'
                         b'"Alpha, ""Quoted"" Suite",2.0,2.1,http://www.norvane.com/alpha\r\n'
                         b'Charlie Tools,3.0,3.5,http://www.norvane.com/c35\r\n'
                         b'"Delta ""Pro""","4.0\r",,\r\nEcho,"5.0\n",,\r\nFoxtrot,1.0,1.1,\r\n')
        # The button writes the same bytes after its date line.
        window.click_control(window.main(0, 0), 1008)
        window.wait_window("Save As", None, 15, "the save-as dialog")
        key("ctrl+a")
        type_text(windows_path(os.path.join(self.work, "button.txt")))
        key("Return")
        wait_until(lambda: window.main_enabled() and os.path.exists(os.path.join(self.work, "button.txt")), 20,
                   "the button's report")
        window.sync()
        button, scripted = self.read("button.txt"), self.read("report.txt")
        self.assertIn(b"Alpha, \"Quoted\" Suite Version: 2.0 Hide: 0 \r\n", scripted)
        self.assertEqual(scripted.split(b"\r\n", 1)[1], button.split(b"\r\n", 1)[1])
        # An update shown and a package not checked: 2. Files not written beat both, and a
        # list not written does not stop the report.
        self.server.behaviour("normal", packages={'Delta "Pro"': {"mode": "raw", "body": "<html>Bad</html>"}})
        self.assertEqual(self.run_scripted("/check"), (2, b"Could not check 1 of 5 packages for updates.\r\n"))
        code, error = self.run_scripted("/list", "nowhere\\l.csv", "/report", "nowhere\\r.txt")
        self.assertEqual(code, 1)
        # A folder that does not exist is named as such (the system's "path not found").
        self.assertRegex(error.decode(), r"^Could not write .+\\nowhere\\l\.csv: Path not found\.\r\n"
                                         r"Could not write .+\\nowhere\\r\.txt: Path not found\.\r\n$")
        self.assertEqual(sorted(os.listdir(self.work)), ["before.csv", "button.txt", "list.csv", "report.txt"])
        self.assertTrue(window.running())

    def test_exit_codes_and_standard_error(self):
        seed_packages([("Alpha Suite", {"Version": "2.0"})])
        self.server.catalogue({"Alpha Suite": {"CurrentVersion": "2.0"}})
        self.assertEqual(self.run_scripted("/check"), (0, b""))
        self.profile.use_proxy(closed_port())
        try:
            self.assertEqual(self.run_scripted("/list", "l.csv", "/check"),
                             (3, b"Could not check 1 of 1 packages for updates.\r\n"))
        finally:
            self.profile.use_proxy(E2E_PORT)
        self.assertEqual(self.read("l.csv"), b"Application,Current Version,Update Version,Update Page\r\n"
                                             b"Alpha Suite,2.0,,\r\n")
        for args, error in [(["/list"], b"The flag /list needs a file name after it.\r\n"),
                            (["/check", "/check"], b"The flag /check is given twice.\r\n"),
                            (["/report", "r.txt", "/n", "Alpha Suite"],
                             b"The flags /check, /list and /report cannot be combined with /n or /v.\r\n")]:
            self.assertEqual(self.run_scripted(*args), (1, error))

        # Targets that cannot be written stay as they were, and no temporary file is left.
        for name in ("read-only.csv", "report.txt"):
            with open(os.path.join(self.work, name), "wb") as f:
                f.write(b"old")
        os.chmod(os.path.join(self.work, "read-only.csv"), 0o444)
        code, error = self.run_scripted("/list", "read-only.csv")
        self.assertEqual(code, 1)
        self.assertRegex(error.decode(), r"^Could not write %s: .+\r\n$"
                         % windows_path(os.path.join(self.work, "read-only.csv")).replace("\\", r"\\"))
        # A folder, and a name that ends in a separator (not resolved, named as given).
        os.mkdir(os.path.join(self.work, "folder"))
        code, error = self.run_scripted("/list", "folder")
        self.assertEqual(code, 1)
        self.assertRegex(error.decode(), r"^Could not write %s: .+\r\n$"
                         % windows_path(os.path.join(self.work, "folder")).replace("\\", r"\\"))
        code, error = self.run_scripted("/list", "folder\\")
        self.assertEqual(code, 1)
        self.assertRegex(error.decode(), r"^Could not write folder\\: .+\r\n$")
        component = RemovedKey(COMPONENT_KEY)
        try:
            self.assertEqual(self.run_scripted("/list", "l.csv"), (0, b""))
            self.assertEqual(self.run_scripted("/report", "report.txt"), (1, COMPONENT_WARNING.encode() + b"\r\n"))
        finally:
            component.restore()
        self.assertEqual((self.read("read-only.csv"), self.read("report.txt")), (b"old", b"old"))
        self.assertEqual(sorted(os.listdir(self.work)), ["folder", "l.csv", "read-only.csv", "report.txt"])
        self.assertEqual(os.listdir(os.path.join(self.work, "folder")), [])
        # A newer version of one character counts and brings its page.
        self.server.catalogue({"Alpha Suite": {"CurrentVersion": "3", "ProductURL": "http://www.norvane.com/a3"}})
        self.assertEqual(self.run_scripted("/check", "/list", "l.csv"), (2, b""))
        self.assertEqual(self.read("l.csv"), b"Application,Current Version,Update Version,Update Page\r\n"
                                             b"Alpha Suite,2.0,3,http://www.norvane.com/a3\r\n")

    def test_console_program_proxies_and_the_servers_versions(self):
        seed_packages([("Alpha Suite", {"Version": "2.0"}),
                       ("Charlie Tools", {"Version": "3.0", "UpdateVersion": "3.5",
                                          "ProductUpdateUrl": "http://www.norvane.com/c35"})])
        self.server.catalogue({"Alpha Suite": {"CurrentVersion": "+9+cmd|' /C calc'!A0"},
                               "Charlie Tools": {"CurrentVersion": "3.6"}})
        csv = windows_path(os.path.join(self.work, "l.csv"))
        # cmd finds vantorix.com first, waits for it and hands on its code and its lines.
        self.assertEqual(self.run_scripted("/CHECK", "-List", csv, console=True),
                         (2, b"Could not check 1 of 2 packages for updates.\r\n"))
        self.assertEqual(self.output, b"")
        # A version that is not dotted decimal is no answer; the page is the one the query
        # named with the new version (none), not the one stored with the old.
        self.assertEqual(self.read("l.csv"), b"Application,Current Version,Update Version,Update Page\r\n"
                                             b"Alpha Suite,2.0,,\r\n"
                                             b"Charlie Tools,3.0,3.6,\r\n")
        self.assertEqual(sz(package_values(reg_tree(PACKAGES_KEY), "Alpha Suite").get("updateversion")), None)
        self.assertEqual(self.run_scripted("/check", "/lsit", csv, console=True), (1, b'Unknown flag "/lsit".\r\n'))
        self.assertEqual(self.run_scripted("/?", console=True), (0, b""))
        self.assertTrue(self.output.startswith(b"vantorix [/check] [/list FILE] [/report FILE]\r\n"), self.output)
        # The console program is strict without a scripted flag too: a line the window
        # program gives no meaning starts nothing and ends with 1.
        self.assertEqual(self.run_scripted("/lsit", csv, console=True), (1, b'Unknown flag "/lsit".\r\n' + USAGE_HINT))
        self.assertEqual(self.run_scripted("/help", console=True), (0, b""))
        self.assertTrue(self.output.startswith(b"vantorix [/check] [/list FILE] [/report FILE]\r\n"), self.output)
        self.assertEqual(self.run_scripted("--check", console=True),
                         (2, b"Could not check 1 of 2 packages for updates.\r\n"))
        # Without a scripted flag it starts vantorix.exe beside it and does not wait for it
        # (which under Wine holds the pipes it inherits: a file takes standard error).
        with open(os.path.join(self.work, "start.err"), "wb") as error:
            started = subprocess.run([WINE, "cmd", "/c", "vantorix"], cwd=BIN_DIR, env=wine_env(), timeout=60,
                                     stdout=subprocess.DEVNULL, stderr=error)
        self.assertEqual((started.returncode, self.read("start.err")), (0, b""))
        main = wait_until(lambda: [w for w in self.probe.call("top")["windows"]
                                   if w["visible"] and w["title"] == "Vantorix" and w["class"] == "#32770"], 30,
                          "the window program")[0]
        self.probe.call("post", main["hwnd"], WM_COMMAND, 1011, 0)
        wait_until(lambda: not [w for w in self.probe.call("top")["windows"] if w["hwnd"] == main["hwnd"]], 20,
                   "the window program to close")

        # A browser whose proxy is down: /proxy names the one to take.
        self.server.catalogue({"Alpha Suite": {"CurrentVersion": "2.0"}, "Charlie Tools": {"CurrentVersion": "3.0"}})
        self.profile.use_proxy(closed_port())
        try:
            # As other tools take it, and as netsh shows a per-scheme list; Charlie's 3.6,
            # stored before, still counts.
            for proxy in ("127.0.0.1:%d" % E2E_PORT, "http://127.0.0.1:%d/" % E2E_PORT,
                          "https=127.0.0.1:1;http=127.0.0.1:%d" % E2E_PORT):
                self.server.control("requests/clear")
                self.assertEqual(self.run_scripted("/check", "/proxy", proxy), (2, b""), proxy)
                self.assertEqual(len(self.server.requests()), 2)
            self.assertEqual(self.run_scripted("/check", "/proxy", "https://127.0.0.1:%d" % E2E_PORT, console=True),
                             (1, b'The proxy "https://127.0.0.1:%d" is not %s.\r\n' % (E2E_PORT, PROXY_FORMS)))
            # No browser profile, as for SYSTEM: the machine-wide WinHTTP proxy, whose bypass
            # list holds other hosts only.
            os.unlink(self.profile.path)
            proxy = b"127.0.0.1:%d" % E2E_PORT
            set_winhttp_settings(self, "/reg:64",
                                 winhttp_settings(3, proxy, b"<local>;*.norvane.org;update.norvane.com.example"))
            self.server.control("requests/clear")
            self.assertEqual(self.run_scripted("/check"), (2, b""))
            self.assertEqual(len(self.server.requests()), 2)
            # A per-scheme list gives its http= entry; a direct 64-bit setting (netsh winhttp
            # reset proxy) leaves the 32-bit one's proxy in force.
            for settings in ([("/reg:64", winhttp_settings(3, b"https=127.0.0.1:1;http=" + proxy))],
                             [("/reg:64", winhttp_settings(1, b"")), ("/reg:32", winhttp_settings(3, proxy))]):
                for view, value in settings:
                    set_winhttp_settings(self, view, value)
                self.server.control("requests/clear")
                self.assertEqual(self.run_scripted("/check"), (2, b""), settings)
                self.assertEqual(len(self.server.requests()), 2)
        finally:
            self.profile.use_proxy(E2E_PORT)

        # On a console, a check shows which package it asks about in one line, rewritten in
        # place (a shorter name blanks the rest of a longer one), a column short of the
        # console's width, and cleared before its own line; the hidden package is not
        # counted. Redirected, nothing of it is written.
        seed_packages([("Alpha Suite Professional Editions", {"Version": "2.0"}), ("Bravo", {"Version": "1.0"}),
                       ("Charlie Hidden", {"Version": "1.0", "Hide": "1"})])
        self.server.catalogue({"Alpha Suite Professional Editions": {"CurrentVersion": "2.0"}})
        self.server.behaviour("normal", packages={
            "Alpha Suite Professional Editions": {"mode": "normal", "latency": 0.8},
            "Bravo": {"mode": "raw", "body": "<html>Bad</html>", "latency": 0.8}})
        code, shown, end = run_on_console(self, ["vantorix", "/check"], BIN_DIR)
        self.assertEqual(code, 3)
        self.assertEqual([line.rstrip() for line in shown if line.startswith("Checking")],
                         ["Checking 1 of 2: Alpha Suite Professional Edition", "Checking 2 of 2: Bravo"])
        self.assertEqual(end, ["Could not check 1 of 2 packages for updates."])
        code, shown, end = run_on_console(
            self, ["vantorix", "/check", "2>" + windows_path(os.path.join(self.work, "e.txt"))], BIN_DIR)
        self.assertEqual((code, shown, end), (3, [], []))
        self.assertEqual(self.read("e.txt"), b"Could not check 1 of 2 packages for updates.\r\n")

        # Typed in a folder whose name the ANSI code page cannot hold, it still starts the
        # window program beside it, with the arguments as typed; without it there, it says
        # so and ends with 1.
        folder = os.path.join(self.work, "\u0141ukasz")
        os.mkdir(folder)
        shutil.copy(os.path.join(BIN_DIR, "vantorix.com"), folder)
        seed_packages([("Video Converter", {"Version": "5.0.1", "Reseller": "RegNow"})],
                      extra=[(PASSPORT_KEY + r"\Norvane Ltd\Video Converter\0",
                              {"BuyURL": "http://www.norvane.com/buy/video-converter"})])

        def typed(*words, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=None):
            """vantorix and the words typed at cmd in that folder."""
            return subprocess.run([WINE, "cmd", "/c", "vantorix"] + list(words), cwd=folder, env=wine_env(env),
                                  timeout=60, stdout=stdout, stderr=stderr)
        purchase = ["/n", "Video Converter", "/v", "5.0.1"]
        alone = typed(*purchase)
        self.assertEqual(alone.returncode, 1)
        self.assertRegex(alone.stderr.decode("cp1252"), r"^Could not start %s: .+\r\n$"
                         % windows_path(os.path.join(folder, "vantorix.exe")).replace("\u0141", "L").replace("\\", r"\\"))
        shutil.copy(os.path.join(BIN_DIR, "vantorix.exe"), folder)
        with open(os.path.join(self.work, "start.err"), "wb") as error:
            started = typed(*purchase, stdout=subprocess.DEVNULL, stderr=error,
                            env={"VANTORIX_RECORDER_LOG": windows_path(self.recorder_log)})
        self.assertEqual((started.returncode, self.read("start.err")), (0, b""))
        self.assertIn("http://www.norvane.com/buy/video-converter", self.wait_recorded(1)[0])
        # There a relative FILE lands in that folder; a name the code page cannot hold is refused,
        # never written under another name.
        listed = typed("/list", "l.csv")
        self.assertEqual((listed.returncode, listed.stderr), (0, b""))
        self.assertTrue(os.path.exists(os.path.join(folder, "l.csv")))
        refused = typed("/list", "\u0141.csv")
        self.assertEqual((refused.returncode, refused.stderr), (1, b"The command line holds characters that the ANSI "
                         b"code page 1252 cannot hold; give the files names without them.\r\n"))
        self.assertEqual(sorted(os.listdir(folder)), ["l.csv", "vantorix.com", "vantorix.exe"])

    def test_a_target_held_open_by_another_program(self):
        seed_packages([("Alpha Suite", {"Version": "2.0"})])
        with open(os.path.join(self.work, "held.csv"), "wb") as f:
            f.write(b"old")
        held = windows_path(os.path.join(self.work, "held.csv"))
        self.assertEqual(self.probe.call("hold", held), {"ok": True})
        try:
            result = self.run_scripted("/list", "held.csv")
        finally:
            self.probe.call("release")
        self.assertEqual(result, (1, b"Could not write C:\\e2e\\test_a_target_held_open_by_another_program\\held.csv: "
                                     b"Sharing violation.\r\n"))
        self.assertEqual(self.read("held.csv"), b"old")
        self.assertEqual(os.listdir(self.work), ["held.csv"])
        # A holder that lets go 400 ms after the program's temporary file shows is waited for.
        holder = Probe()
        self.addCleanup(holder.close)
        self.assertEqual(holder.call("hold", held), {"ok": True})

        def let_go():
            wait_until(lambda: len(os.listdir(self.work)) > 1, 60, "the temporary file", 0.005)
            time.sleep(0.4)
            holder.call("release")
        thread = threading.Thread(target=let_go)
        thread.start()
        self.assertEqual(self.run_scripted("/list", "held.csv"), (0, b""))
        thread.join()
        self.assertEqual(self.read("held.csv"), b"Application,Current Version,Update Version,Update Page\r\n"
                                                b"Alpha Suite,2.0,,\r\n")
        self.assertEqual(os.listdir(self.work), ["held.csv"])

    def test_a_hidden_target_stays_hidden(self):
        seed_packages([("Alpha Suite", {"Version": "2.0"})])
        with open(os.path.join(self.work, "hidden.csv"), "wb") as f:
            f.write(b"old")
        hidden = windows_path(os.path.join(self.work, "hidden.csv"))
        # Hidden, system and archive.
        self.assertEqual(self.probe.call("attrib", hidden, 0x26), {"ok": True, "attributes": 0x26})
        self.assertEqual(self.run_scripted("/list", "hidden.csv"), (0, b""))
        self.assertEqual(self.read("hidden.csv"), b"Application,Current Version,Update Version,Update Page\r\n"
                                                  b"Alpha Suite,2.0,,\r\n")
        self.assertEqual(self.probe.call("attrib", hidden), {"ok": True, "attributes": 0x26})
        self.assertEqual(os.listdir(self.work), ["hidden.csv"])


if __name__ == "__main__":
    unittest.main()
