"""Japanese Windows (ANSI code page 932): names whose characters end in the byte 0x5C listed,
checked, stored, copied and reported, bought from the command line, and the run-time split test."""

import os
import re
import subprocess
import unittest

import vxdriver
vxdriver.use_code_page_932()

from vxdriver import (BIN_DIR, PACKAGES_KEY, PASSPORT_KEY, WINE, ServerTestCase, center, clear_packages, click, key,
                      reg_tree, seed_packages, type_text, wait_until, windows_path, wine_env)

NAME = "Norvane 機能"     # 能 is 94 5C
TOOLS = "表示ツール"       # 表 is 95 5C
COMPONENT = "ソフト部品"   # ソ is 83 5C
# Its key paths pass MAX_PATH and are opened key by key, through a company holding 0x5C.
LONG_NAME = "Norvane " + "機能" * 121
COMPANY = "ノルベーン機能"
BUY_URL = "http://www.norvane.com/buy/kinou"
RTF = b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Licence terms.\\par}"


def cp932(text):
    return text.encode("cp932")


class JapaneseTest(ServerTestCase):

    def tearDown(self):
        clear_packages()

    def test_the_run_time_splits_as_the_program_does(self):
        result = subprocess.run([WINE, os.path.join(BIN_DIR, "test_framework.exe"), "--gtest_filter=CommandLine.*"],
                                env=wine_env(), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
        self.assertEqual(result.returncode, 0, result.stdout[-3000:].decode("cp932", "replace"))

    def test_list_check_and_report(self):
        seed_packages([(NAME, {"Version": "2.0"}), (TOOLS, {"Version": "1.0", "InstallProject": "表示"})],
                      {NAME: [{"Name": COMPONENT, "ClassId": "{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E01}",
                               "Version": "1.5"}]})
        # The server reads the name's bytes as Latin-1; so does the probe.
        self.server.catalogue({cp932(NAME).decode("latin-1"): {"CurrentVersion": "2.1", "ProductURL": BUY_URL}})
        app = self.start()
        self.assertEqual([(r.name, r.version) for r in app.rows()], [(NAME, "2.0"), (TOOLS, "1.0")])

        app.click_control(app.main(0, 0), 1013)
        self.assertEqual([r.update for r in app.wait_idle(60).rows], ["2.1", ""])
        bodies = [r.split(b"\r\n\r\n", 1)[1] for r in self.server.requests()]
        self.assertEqual([re.search(rb"<string>(.*?)</string>", b).group(1) for b in bodies],
                         [cp932(NAME), cp932(TOOLS)])
        stored = reg_tree(PACKAGES_KEY, fold=False)[PACKAGES_KEY + "\\" + cp932(NAME).decode("latin-1")]
        self.assertEqual(stored["UpdateVersion"], (1, b"2.1"))
        # Ctrl+C puts the rows in the code page, with its locale for the Unicode readers.
        click(*center(app.main().rows[0].label))
        key("shift+Down", "ctrl+c")
        clip = wait_until(lambda: (lambda c: c if c["locale"] == 0x411 else None)(self.probe.call("clipboard")), 5,
                          "the copied rows")
        self.assertEqual(bytes.fromhex(clip["text"]), cp932(NAME) + b"\t2.0\t2.1\t" + BUY_URL.encode() + b"\r\n" +
                         cp932(TOOLS) + b"\t1.0\t\t\r\n")

        app.click_control(app.main(0, 0), 1008)
        wait_until(lambda: [w for w in app.find_windows() if w.hwnd != app.hwnd], 15, "the save-as dialog")
        path = os.path.join(self.work, "report.txt")
        key("ctrl+a")
        type_text(windows_path(path))
        key("Return")
        wait_until(lambda: app.main_enabled() and os.path.exists(path), 20, "the report file")
        app.sync()
        with open(path, "rb") as f:
            body = f.read().split(b"\r\n\r\n", 1)[1]
        self.assertEqual(body, b"Product: \r\n" + cp932(NAME) + b" Version: 2.0 Hide: 0 \r\nInstallProject:  \r\n"
                         b"Components: \r\n " + cp932(COMPONENT) + b"  Version: 1.5 \r\n\r\n"
                         b"Product: \r\n" + cp932(TOOLS) + b" Version: 1.0 Hide: 0 \r\nInstallProject: " +
                         cp932("表示") + b" \r\nComponents: \r\n\r\n")

    def test_command_line_purchase_of_a_name_ending_in_0x5c(self):
        eula = os.path.join(self.work, "ソフト契約", "eula.rtf")
        os.makedirs(os.path.dirname(eula))
        with open(eula, "wb") as f:
            f.write(RTF)
        seed_packages([(LONG_NAME, {"Version": "2.0", "EULA": windows_path(eula), "CompanyName": COMPANY})],
                      extra=[(PASSPORT_KEY + "\\" + COMPANY + "\\" + LONG_NAME + "\\2.0", {"BuyURL": BUY_URL})])
        app = self.start("/n", LONG_NAME, "/v", "2.0", wait_main=False)
        agreement = app.wait_window("Vantorix", 1014, 20, "the agreement dialog")
        self.assertIn("Licence terms.", agreement.text(1014))
        app.click_control(agreement, 1013)
        self.assertEqual(app.wait_exit(30), 0)
        self.assertIn(BUY_URL, self.wait_recorded(1)[0])


if __name__ == "__main__":
    unittest.main()
