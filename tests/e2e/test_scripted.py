"""The command line for scripts from outside: the real program's /check, /list and
/report against the local server, with its exit codes, the bytes it writes, its standard
error and no window while it runs."""

import os
import struct
import subprocess
import threading
import time
import unittest

from vxdriver import (BIN_DIR, COMPONENT_KEY, COMPONENT_WARNING, E2E_PORT, PACKAGES_KEY, WINE, WM_COMMAND, Probe,
                      RegFile, RemovedKey, ServerTestCase, clear_packages, key, package_values, reg_tree, run_wine,
                      seed_packages, sz, type_text, wait_until, windows_path, wine_env)
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
        self.assertRegex(error.decode(), r"^Could not write .+\\nowhere\\l\.csv: .+\r\n"
                                         r"Could not write .+\\nowhere\\r\.txt: .+\r\n$")
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
            self.server.control("requests/clear")
            # Charlie's 3.6, stored before, still counts.
            self.assertEqual(self.run_scripted("/check", "/proxy", "127.0.0.1:%d" % E2E_PORT), (2, b""))
            self.assertEqual(len(self.server.requests()), 2)
            # No browser profile, as for SYSTEM: the machine-wide WinHTTP proxy, whose bypass
            # list holds other hosts only.
            os.unlink(self.profile.path)
            proxy, bypass = b"127.0.0.1:%d" % E2E_PORT, b"<local>;*.norvane.org;update.norvane.com.example"
            winhttp = struct.pack("<IIII", 0x28, 1, 3, len(proxy)) + proxy + struct.pack("<I", len(bypass)) + bypass
            self.addCleanup(run_wine, ["reg", "delete", WINHTTP_KEY, "/v", "WinHttpSettings", "/f", "/reg:64"])
            self.assertEqual(run_wine(["reg", "add", WINHTTP_KEY, "/v", "WinHttpSettings", "/t", "REG_BINARY",
                                       "/d", winhttp.hex(), "/f", "/reg:64"]).returncode, 0)
            self.server.control("requests/clear")
            self.assertEqual(self.run_scripted("/check"), (2, b""))
            self.assertEqual(len(self.server.requests()), 2)
        finally:
            self.profile.use_proxy(E2E_PORT)

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
