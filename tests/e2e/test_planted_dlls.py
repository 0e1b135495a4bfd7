"""DLLs planted beside the program, as in a download folder: a copy of vantorix.exe among
DLLs named after the system DLLs it uses, run with Wine told to prefer such DLLs as
Windows does, goes through the About box, an update check and an agreement without ever
loading one. Each planted DLL leaves a marker beside itself in every process that loads
it; a loader without protection shows that the plant is noticed."""

import ntpath
import os
import shutil
import struct
import subprocess
import unittest

from vxdriver import (App, BIN_DIR, ServerTestCase, WINE, center, clear_packages, click, seed_packages, wait_until,
                      wine_env, windows_path)

PLANTED = ("version.dll", "wininet.dll", "riched32.dll")
# Wine's own user32.dll imports version.dll (the one of Windows does not), so with version
# preferred native every program loads a planted version.dll before its first
# instruction. The program runs with the other two preferred native; for version.dll its
# import table and its loader are checked below.
PROGRAM_OVERRIDES = "mscoree,mshtml=;wininet,riched32=n,b"
LOADER_OVERRIDES = "mscoree,mshtml=;version,wininet,riched32=n,b"

WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
IDM_ABOUT = 16
RTF = b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Licence terms for \\b Photo Suite\\b0.\\par}"
PHOTO_URL = "http://www.norvane.com/photo"


def imported_dlls(path):
    """The DLL names of a PE file's import and delay-import tables."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise AssertionError("%s is no PE file" % path)
    section_count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    sections = [struct.unpack_from("<8sIIII", data, optional + optional_size + 40 * i) for i in range(section_count)]

    def offset(rva):
        for _, size, address, raw_size, raw in sections:
            if address <= rva < address + max(size, raw_size):
                return rva - address + raw
        raise AssertionError("RVA %#x outside the sections" % rva)

    def name_at(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii")

    names = []
    for entry, size, name_field in ((1, 20, 3), (13, 32, 1)):
        table = struct.unpack_from("<I", data, directories + 8 * entry)[0]
        if not table:
            continue
        at = offset(table)
        while any(struct.unpack_from("<5I", data, at)):
            names.append(name_at(struct.unpack_from("<8I", data, at)[name_field]))
            at += size
    return names


class PlantedApp(App):
    """A copy of the program started from its folder with the planting overrides."""

    def __init__(self, test, probe, program, recorder_log):
        self.test = test
        self.probe = probe
        env = {"WINEDLLOVERRIDES": PROGRAM_OVERRIDES, "VANTORIX_RECORDER_LOG": windows_path(recorder_log)}
        self.proc = subprocess.Popen([WINE, program], env=wine_env(env), cwd=os.path.dirname(program),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = None
        self.hwnd = None


class PlantedDllsTest(ServerTestCase):

    def setUp(self):
        super().setUp()
        self.folder = os.path.join(self.work, "Downloads")
        os.makedirs(self.folder)
        for name in ("vantorix.exe", "planted_loader.exe"):
            shutil.copy(os.path.join(BIN_DIR, name), self.folder)
        for name in PLANTED:
            shutil.copy(os.path.join(BIN_DIR, "planted.dll"), os.path.join(self.folder, name))

    def tearDown(self):
        clear_packages()

    def markers(self):
        return sorted(name.lower() for name in os.listdir(self.folder) if name.lower().endswith(".loaded"))

    def load(self, way):
        """Runs the loader in the folder: {DLL name: the file it was loaded from}."""
        run = subprocess.run([WINE, os.path.join(self.folder, "planted_loader.exe"), way] + list(PLANTED),
                             env=wine_env({"WINEDLLOVERRIDES": LOADER_OVERRIDES}), cwd=self.folder,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        lines = dict(line.split("\t", 1) for line in run.stdout.decode("cp1252").splitlines() if "\t" in line)
        return run.returncode, lines

    def test_program_runs_through_about_update_check_and_agreement_without_them(self):
        eula = os.path.join(self.work, "eula.rtf")
        with open(eula, "wb") as f:
            f.write(RTF)
        seed_packages([("Photo Suite", {"Version": "7.2", "EULA": windows_path(eula), "ProductURL": PHOTO_URL})])
        self.server.catalogue({"Photo Suite": {"CurrentVersion": "7.3", "ProductURL": PHOTO_URL + "-7.3"}})
        app = PlantedApp(self, self.probe, os.path.join(self.folder, "vantorix.exe"), self.recorder_log)
        self.apps.append(app)
        main = app.wait_main()
        self.assertEqual([(r.name, r.version, r.update) for r in main.rows], [("Photo Suite", "7.2", "")])
        self.assertEqual(self.markers(), [], "at start-up")

        # About: the version resource read through version.dll.
        self.probe.call("post", app.hwnd, WM_SYSCOMMAND, IDM_ABOUT, 0)
        about = app.wait_window("About Vantorix", 1016, 10, "the About box")
        self.assertEqual(about.text(1016), "Version: 2. 0. 33 (build:  70715)")
        self.probe.call("post", about.hwnd, WM_COMMAND, 1, 0)
        wait_until(lambda: not app.find_windows("About Vantorix"), 5, "the About box to close")
        self.assertEqual(self.markers(), [], "after the About box")

        # An update check over WinINet.
        app.click_control(app.main(0, 0), 1013)
        main = app.wait_idle(60)
        self.assertEqual([(r.name, r.update) for r in main.rows], [("Photo Suite", "7.3")])
        self.assertEqual(len(self.server.requests()), 1)
        self.assertEqual(self.markers(), [], "after the update check")

        # The agreement in the rich edit control of riched32.dll, then the purchase page.
        click(*center(main.rows[0].label))
        wait_until(lambda: app.main(0, 0).control(1010)["enabled"], 5, "Buy now enabled")
        app.click_control(app.main(0, 0), 1010)
        agreement = app.wait_window("Vantorix", 1014, 15, "the agreement dialog")
        self.assertIn("Licence terms for Photo Suite.", agreement.text(1014))
        app.click_control(agreement, 1013)
        self.assertIn(PHOTO_URL, self.wait_recorded(1)[0])
        wait_until(app.main_enabled, 5, "the main window enabled again")
        self.assertTrue(app.running())
        app.close()
        self.assertEqual(self.markers(), [], "after the agreement")

        # The control: a program that loads these names bare takes the planted DLLs.
        loaded, files = self.load("bare")
        self.assertEqual(loaded, 3)
        self.assertEqual(self.markers(), sorted(name + ".loaded" for name in PLANTED))
        self.assertEqual({name: ntpath.dirname(files[name]).lower() for name in PLANTED},
                         dict.fromkeys(PLANTED, windows_path(self.folder).lower()))

    def test_loader_takes_the_system_folders_dlls(self):
        for way in ("system", "path"):
            loaded, files = self.load(way)
            self.assertEqual(loaded, 3, way)
            system = files["system"].lower()
            self.assertEqual({name: files[name].lower() for name in PLANTED},
                             {name: system + "\\" + name for name in PLANTED}, way)
        self.assertEqual(self.markers(), [])

    def test_program_imports_none_of_them(self):
        imports = [name.lower() for name in imported_dlls(os.path.join(BIN_DIR, "vantorix.exe"))]
        self.assertIn("user32.dll", imports)
        self.assertEqual([name for name in imports if name in PLANTED], [])


if __name__ == "__main__":
    unittest.main()
