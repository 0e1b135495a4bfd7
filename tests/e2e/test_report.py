"""The status report from outside: " Save status report", the real save-as dialog with a
typed path, and the bytes of the file; an existing file, a missing folder, a cancel."""

import datetime
import os
import re
import time
import unittest

from vxdriver import (E2ETestCase, clear_packages, key, seed_packages, type_text,
                      wait_until, windows_path)

PACKAGES = [
    ("Alpha Suite", {"Version": "2.0.33", "InstallProject": "Setup1"}),
    ("Bravo Hidden", {"Hide": "1"}),
    ("Charlie Tools", {"Version": "3.1", "InstallProject": "CharlieSetup"}),
]
COMPONENTS = {
    "Alpha Suite": [
        {"Name": "Codec", "ClassId": "{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E01}", "Version": "1.2"},
        {"Name": "", "ClassId": "{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E02}", "Version": ""},
    ],
}
EXPECTED_BODY = (
    b"Product: \r\nAlpha Suite Version: 2.0.33 Hide: 0 \r\nInstallProject: Setup1 \r\nComponents: \r\n"
    b" Codec  Version: 1.2 \r\n {6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E02}  Version: Unknown \r\n\r\n"
    b"Product: \r\nBravo Hidden Version:  Hide: 1 \r\nInstallProject:  \r\nComponents: \r\n\r\n"
    b"Product: \r\nCharlie Tools Version: 3.1 Hide: 0 \r\nInstallProject: CharlieSetup \r\nComponents: \r\n\r\n"
)
DATE_LINE = re.compile(rb"^Report Date: (\d{4})\.(\d\d)\.(\d\d) (\d\d):(\d\d):(\d\d)\r\n\r\n")


class StatusReportTest(E2ETestCase):

    def setUp(self):
        super().setUp()
        seed_packages(PACKAGES, COMPONENTS)

    def tearDown(self):
        clear_packages()

    def open_save_dialog(self, app):
        app.click_control(app.main(0, 0), 1008)
        return app.wait_window("Save As", None, 15, "the save-as dialog")

    def type_path(self, path):
        key("ctrl+a")
        type_text(path)
        key("Return")

    def assertReport(self, data, started):
        match = DATE_LINE.match(data)
        self.assertIsNotNone(match, data[:60])
        stamp = datetime.datetime(*(int(g) for g in match.groups()))
        self.assertLess(abs((stamp - started).total_seconds()), 120)
        self.assertEqual(data[match.end():], EXPECTED_BODY)

    def test_report_through_the_save_as_dialog(self):
        app = self.start()
        started = datetime.datetime.now().replace(microsecond=0)
        dialog = self.open_save_dialog(app)
        self.assertFalse(app.main_enabled())
        edits = [c for c in dialog.controls if c["class"].lower() == "edit" and c["visible"]]
        self.assertIn("Daxfltstat.txt", [c["text"] for c in edits])
        # A name without an extension gets ".txt".
        self.type_path(windows_path(os.path.join(self.work, "status")))
        path = os.path.join(self.work, "status.txt")
        wait_until(lambda: app.main_enabled() and os.path.exists(path), 20, "the report file")
        app.sync()
        with open(path, "rb") as f:
            self.assertReport(f.read(), started)
        self.assertFalse(os.path.exists(os.path.join(self.work, "status")))
        self.assertEqual(app.message_boxes(), [])
        self.assertTrue(app.running())

    def test_existing_file_is_replaced_after_confirmation(self):
        path = os.path.join(self.work, "old.txt")
        with open(path, "wb") as f:
            f.write(b"x" * 50000)
        app = self.start()
        started = datetime.datetime.now().replace(microsecond=0)
        self.open_save_dialog(app)
        self.type_path(windows_path(path))
        confirm = wait_until(lambda: [b for b in app.message_boxes() if b.has(6)], 10,
                             "the question before overwriting")[0]
        app.click_control(confirm, 6)
        wait_until(lambda: app.main_enabled() and os.path.getsize(path) < 50000, 20, "the new report")
        app.sync()
        with open(path, "rb") as f:
            self.assertReport(f.read(), started)

    def test_folder_that_does_not_exist_gives_a_message_and_no_file(self):
        before = self.registry_snapshot()
        app = self.start()
        self.open_save_dialog(app)
        missing = os.path.join(self.work, "missing", "deeper")
        self.type_path(windows_path(os.path.join(missing, "report.txt")))
        box = wait_until(lambda: app.message_boxes(), 15, "a message about the path")[0]
        # The program's file error: the path and the system's reason.
        text = " ".join(box.static_texts())
        self.assertIn(windows_path(os.path.join(missing, "report.txt")), text)
        self.assertIn("not found", text.lower())
        app.click_control(box, 1 if box.has(1) else 2)
        # Back in the dialog (if it complained itself), give up there.
        time.sleep(0.5)
        if app.find_windows("Save As"):
            key("Escape")
        wait_until(lambda: app.main_enabled() and not app.message_boxes(), 15, "the main window again")
        self.assertFalse(os.path.exists(os.path.join(self.work, "missing")))
        self.assertTrue(app.running())
        self.assertRegistryUnchanged(before)

    def test_cancel_writes_nothing(self):
        app = self.start()
        self.open_save_dialog(app)
        key("Escape")
        wait_until(lambda: app.main_enabled() and not app.find_windows("Save As"), 10, "the dialog to close")
        self.assertEqual(os.listdir(self.work), [])
        self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main()
