"""Bad input from the registry, from outside: 5,000 packages, names of 254 and 255
characters, values of every type and of the wrong sizes. No crash, no message, and no
registry value written but an update record; nothing at all under HKEY_CURRENT_USER."""

import os
import unittest

from vxdriver import (APPWIZARD_KEY, E2ETestCase, PACKAGES_KEY, center, clear_packages, click,
                      key, reg_set, reg_tree, seed_packages, type_text, wait_until, windows_path)

LONG_254 = "B" + "b" * 253
LONG_255 = "C" + "c" * 254


def rows_when(app, count, timeout=20):
    return wait_until(lambda: (lambda m: m if m.list["count"] == count else None)(app.main()), timeout,
                      "%d rows" % count)


class BadRegistryTest(E2ETestCase):

    def tearDown(self):
        clear_packages()

    def assertNothingWritten(self, before):
        """Not even an update record: every stored record here is read, never written."""
        self.assertEqual(reg_tree(PACKAGES_KEY), before)
        self.assertEqual(reg_tree(APPWIZARD_KEY), {})

    def test_five_thousand_packages(self):
        packages = []
        for i in range(5000):
            values = {"Version": "1.%d" % i}
            if i % 10 == 3:
                values["UpdateVersion"] = "2.0"
            if i % 7 == 5:
                values["Hide"] = "1"
            packages.append(("Package %04d" % i, values))
        visible = [p for p in packages if p[1].get("Hide") != "1"]
        seed_packages(packages)
        before = reg_tree(PACKAGES_KEY)
        app = self.start()
        main = wait_until(lambda: (lambda m: m if m.list["count"] == len(visible) else None)(app.main(0, 0)),
                          60, "every visible package")
        first = app.main(0, 12).rows
        self.assertEqual([(r.name, r.version, r.update) for r in first],
                         [(n, v["Version"], v.get("UpdateVersion", "")) for n, v in visible[:12]])
        last = app.main(len(visible) - 3, 3).rows
        self.assertEqual([r.name for r in last], [n for n, _ in visible[-3:]])
        self.assertEqual([r.image for r in app.main(0, 12).rows],
                         [0 if "UpdateVersion" in v else 1 for _, v in visible[:12]])
        self.assertEqual(app.message_boxes(), [])
        # Refresh walks them all again.
        app.click_control(main, 1009)
        wait_until(lambda: app.main(0, 0).list["count"] == len(visible), 60, "the refreshed list")
        self.assertNothingWritten(before)

    def test_names_of_254_and_255_characters(self):
        seed_packages([("Alpha", {"Version": "1.0"}), ("Delta", {"Version": "4.0"})])
        reg_set(PACKAGES_KEY + "\\" + LONG_254, "Version", "2.0")
        reg_set(PACKAGES_KEY + "\\" + LONG_254, "ProductURL", "http://www.norvane.com/long")
        reg_set(PACKAGES_KEY + "\\" + LONG_255, "Version", "3.0")
        before = reg_tree(PACKAGES_KEY)
        self.assertIn((PACKAGES_KEY + "\\" + LONG_255).lower(), before)
        app = self.start()
        main = rows_when(app, 2)
        # The walk ends at the name that does not fit its buffer.
        self.assertEqual([(r.name, r.version) for r in main.rows], [("Alpha", "1.0"), (LONG_254, "2.0")])
        # The long package is bought with its own address.
        click(*center(main.rows[1].label))
        wait_until(lambda: app.main(0, 0).control(1010)["enabled"], 5, "Buy now enabled")
        app.click_control(main, 1010)
        self.assertIn("http://www.norvane.com/long", self.wait_recorded(1)[0])
        self.assertNothingWritten(before)

    def test_values_of_every_type_and_wrong_sizes(self):
        long_version = "1." + "2" * 100
        seed_packages([
            ("T01 Version dword", {"Version": 0x00322E31}),
            ("T02 Version binary", {"Version": b"3.0"}),
            ("T03 Version long", {"Version": long_version}),
            ("T04 Version no data", {"Version": (1, b"")}),
            ("T05 Version multi", {"Version": (7, b"4.5\0\0")}),
            ("T06 Hide sz 01", {"Version": "1", "Hide": "01"}),
            ("T07 Hide binary three", {"Version": "1", "Hide": b"\x01\x00\x00"}),
            ("T08 Hide binary two", {"Version": "1", "Hide": b"\x01\x00"}),
            ("T09 Hide dword", {"Version": "1", "Hide": 1}),
            ("T10 Hide sz", {"Version": "1", "Hide": "1"}),
            ("T11 Hide expand", {"Version": "1", "Hide": (2, b"1\0")}),
            ("T12 Update too long", {"Version": "1.0", "UpdateVersion": "1.0.0.0.0.0.0.0.0.0.0.0.1"}),
            ("T13 Update dword", {"Version": "1.0", "UpdateVersion": 0x00352E39}),
            ("T14 Project too long", {"Version": "1.0", "InstallProject": "P" * 300,
                                      "CompanyName": (1, b""), "Reseller": 7}),
            ("T15 Default value", {None: "default", "Version": "  7.0  "}),
        ])
        before = reg_tree(PACKAGES_KEY)
        app = self.start()
        main = rows_when(app, 13)
        rows = {r.name: r for r in main.rows}
        self.assertEqual(sorted(rows), [
            "T01 Version dword", "T02 Version binary", "T03 Version long", "T04 Version no data",
            "T05 Version multi", "T06 Hide sz 01", "T07 Hide binary three", "T09 Hide dword",
            "T11 Hide expand", "T12 Update too long", "T13 Update dword", "T14 Project too long",
            "T15 Default value"])
        for hidden in ("T08 Hide binary two", "T10 Hide sz"):
            self.assertNotIn(hidden, rows)
        for shown in ("T06 Hide sz 01", "T07 Hide binary three", "T09 Hide dword", "T11 Hide expand"):
            self.assertIn(shown, rows)
        # Value types other than Hide's are not looked at: the bytes are the text.
        self.assertEqual(rows["T01 Version dword"].version, "1.2")
        self.assertEqual(rows["T02 Version binary"].version, "3.0")
        self.assertEqual(rows["T03 Version long"].version, long_version[:31])
        self.assertEqual(rows["T04 Version no data"].version, "")
        self.assertEqual(rows["T05 Version multi"].version, "4.5")
        self.assertEqual(rows["T15 Default value"].version, "  7.0  ")
        self.assertEqual((rows["T12 Update too long"].update, rows["T12 Update too long"].image), ("", 1))
        self.assertEqual((rows["T13 Update dword"].update, rows["T13 Update dword"].image), ("9.5", 0))
        self.assertEqual(app.message_boxes(), [])

        # The status report reads them all, hidden ones included.
        app.click_control(main, 1008)
        app.wait_window("Save As", None, 15, "the save-as dialog")
        key("ctrl+a")
        type_text(windows_path(os.path.join(self.work, "types.txt")))
        key("Return")
        path = os.path.join(self.work, "types.txt")
        wait_until(lambda: app.main_enabled() and os.path.exists(path), 20, "the report")
        app.sync()
        with open(path, "rb") as f:
            report = f.read()
        self.assertIn(b"\r\nT10 Hide sz Version: 1 Hide: 1 \r\n", report)
        self.assertIn(b"\r\nT08 Hide binary two Version: 1 Hide: 1 \r\n", report)
        self.assertIn(b"\r\nT14 Project too long Version: 1.0 Hide: 0 \r\nInstallProject:  \r\n", report)
        self.assertEqual(report.count(b"Product: \r\n"), 15)
        self.assertNothingWritten(before)


if __name__ == "__main__":
    unittest.main()
