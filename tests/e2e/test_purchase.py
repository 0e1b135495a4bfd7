"""Buying from outside: "Buy now" through the agreement dialog, accepted and declined; the
command-line purchase mode; agreement files that are not RTF or that are missing."""

import os
import unittest

from vxdriver import (E2ETestCase, PACKAGES_KEY, PASSPORT_KEY, center, clear_packages, click,
                      seed_packages, wait_until, windows_path)

BUY_URL = "http://www.norvane.com/buy/photo-suite"
RTF = b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Licence terms for \\b Photo Suite\\b0.\\par Second line.\\par}"


class PurchaseTest(E2ETestCase):

    def tearDown(self):
        clear_packages()

    def seed(self, eula=RTF, eula_name="eula.rtf"):
        values = {"Version": "7.2", "ProductURL": "http://www.norvane.com/photo"}
        if eula is not None:
            path = os.path.join(self.work, eula_name)
            if eula is not False:
                with open(path, "wb") as f:
                    f.write(eula)
            values["EULA"] = windows_path(path)
        seed_packages([("Codec Pack", {"Version": "1.4"}), ("Photo Suite", values)],
                      extra=[(PASSPORT_KEY + r"\Norvane Ltd\Photo Suite\7.2", {"BuyURL": BUY_URL}),
                             (PASSPORT_KEY + r"\Norvane Ltd\Video Converter\0",
                              {"BuyURL": "http://www.norvane.com/buy/video-converter"}),
                             (PACKAGES_KEY + r"\Video Converter", {"Version": "5.0.1", "Reseller": "RegNow"})])

    def buy_photo_suite(self, app):
        main = app.main()
        photo = [r for r in main.rows if r.name == "Photo Suite"][0]
        click(*center(photo.label))
        wait_until(lambda: app.main(0, 0).control(1010)["enabled"], 5, "Buy now enabled")
        app.click_control(main, 1010)

    def wait_agreement(self, app):
        return app.wait_window("Vantorix", 1014, 15, "the agreement dialog")

    def test_buy_now_after_the_agreement_is_accepted(self):
        self.seed()
        app = self.start()
        self.buy_photo_suite(app)
        agreement = self.wait_agreement(app)
        self.assertIn("Licence terms for Photo Suite.", agreement.text(1014))
        self.assertNotIn("rtf1", agreement.text(1014))
        self.assertEqual((agreement.text(1013), agreement.text(2)), ("Accept", "Cancel"))
        self.assertFalse(app.main_enabled())
        app.click_control(agreement, 1013)
        lines = self.wait_recorded(1)
        self.assertIn(BUY_URL, lines[0])
        wait_until(app.main_enabled, 5, "the main window enabled again")
        self.assertEqual(len(self.recorded()), 1)

    def test_buy_now_declined_opens_nothing(self):
        self.seed()
        app = self.start()
        self.buy_photo_suite(app)
        agreement = self.wait_agreement(app)
        app.click_control(agreement, 2)
        wait_until(app.main_enabled, 5, "the main window enabled again")
        self.assertNothingRecorded()
        self.assertTrue(app.running())

    def test_agreement_that_is_not_rtf(self):
        self.seed(eula=b"MZ\x90\x00 plain text, no rich text at all \x00\xff\xfe" * 2000, eula_name="eula.exe")
        before = self.registry_snapshot()
        app = self.start()
        self.buy_photo_suite(app)
        agreement = self.wait_agreement(app)
        self.assertEqual(app.message_boxes(), [])
        app.click_control(agreement, 1013)
        self.assertIn(BUY_URL, self.wait_recorded(1)[0])
        self.assertTrue(app.running())
        self.assertRegistryUnchanged(before)

    def test_missing_agreement_file_is_reported_then_the_purchase_goes_on(self):
        self.seed(eula=False, eula_name="gone.rtf")
        app = self.start()
        self.buy_photo_suite(app)
        box = wait_until(app.message_boxes, 15, "the file error")[0]
        self.assertIn("gone.rtf", " ".join(box.static_texts()))
        app.click_control(box, 1 if box.has(1) else 2)
        agreement = self.wait_agreement(app)
        self.assertEqual(agreement.text(1014), "")
        app.click_control(agreement, 1013)
        self.assertIn(BUY_URL, self.wait_recorded(1)[0])

    def test_command_line_purchase_with_reseller(self):
        self.seed()
        app = self.start("/n", "Video Converter", "/v", "5.0.1", wait_main=False)
        self.assertEqual(app.wait_exit(30), 0)
        lines = self.wait_recorded(1)
        self.assertIn("http://www.norvane.com/buy/video-converter", lines[0])

    def test_command_line_purchase_through_the_agreement(self):
        self.seed()
        app = self.start("/n", "Photo Suite", "/v", "7.2", wait_main=False)
        agreement = self.wait_agreement(app)
        self.assertIn("Licence terms for Photo Suite.", agreement.text(1014))
        self.assertEqual(app.find_windows(control=1000), [])
        app.click_control(agreement, 1013)
        self.assertEqual(app.wait_exit(30), 0)
        self.assertIn(BUY_URL, self.wait_recorded(1)[0])

    def test_second_copy_during_purchase_mode_ends_without_bringing_anything(self):
        self.seed()
        first = self.start("/n", "Photo Suite", "/v", "7.2", wait_main=False)
        agreement = self.wait_agreement(first)
        second = self.start(wait_main=False)
        self.assertEqual(second.wait_exit(30), 0)
        self.assertEqual([w.hwnd for w in first.find_windows(control=1014)], [agreement.hwnd])
        self.assertEqual(first.find_windows(control=1000), [])
        self.assertTrue(first.running())
        first.click_control(agreement, 2)
        self.assertEqual(first.wait_exit(30), 0)
        self.assertNothingRecorded()

    def test_command_line_purchase_declined(self):
        self.seed()
        app = self.start("-n", "Photo Suite", "/v", "7.2", wait_main=False)
        agreement = self.wait_agreement(app)
        app.click_control(agreement, 2)
        self.assertEqual(app.wait_exit(30), 0)
        self.assertNothingRecorded()


if __name__ == "__main__":
    unittest.main()
