"""Checking updates from outside: the real program asks the local update server through
the proxy of the prefix's Firefox profile; the list, the progress window, Cancel and the
stored records are checked, and the server misbehaves in the ways real servers do."""

import re
import socket
import time
import unittest

from vxdriver import (ServerTestCase, center, click, PACKAGES_KEY, clear_packages, reg_tree, package_values,
                      seed_packages, wait_until, E2E_PORT)


UNCHECKED = "Could not check %d of %d packages for updates. Newer versions found earlier are still shown."


def closed_port():
    """A loopback port that nothing listens on."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def record_of(tree, package):
    """(UpdateVersion, ProductUpdateUrl) of a package as stored, None where absent. The
    program stores both without a terminating zero."""
    values = package_values(tree, package)
    return tuple(values[name][1].decode("cp1252") if name in values else None
                 for name in ("updateversion", "productupdateurl"))


class UpdateTestCase(ServerTestCase):

    def tearDown(self):
        self.server.behaviour("normal")
        clear_packages()

    def check_updates(self, app, timeout=60):
        main = app.main(0, 0)
        app.click_control(main, 1013)
        return app.wait_idle(timeout)

    def check_updates_unchecked(self, app, unchecked, listed, timeout=60):
        """Check updates in which some packages cannot be checked: one message once the
        progress window is gone and the list is filled. Returns the list as it was then."""
        app.click_control(app.main(0, 0), 1013)
        box = wait_until(app.message_boxes, timeout, "the message about unchecked packages")[0]
        self.assertEqual(box.info["title"], "Vantorix")
        self.assertEqual(box.static_texts()[-1:], [UNCHECKED % (unchecked, listed)])
        self.assertEqual(app.find_windows("Vantorix", 1003), [])  # no progress window
        main = app.main()
        app.click_control(box, 1 if box.has(1) else 2)
        app.wait_idle(10)
        self.assertEqual(app.message_boxes(), [])
        return main


class CheckUpdatesTest(UpdateTestCase):

    def test_check_stores_newer_versions_and_shows_them(self):
        seed_packages([
            ("Alpha Suite", {"Version": "2.0.33"}),
            ("Bravo Player", {"Version": "1.4"}),
            ("Charlie Unknown", {"Version": "3.0"}),
            ("Delta Hidden", {"Version": "1.0", "Hide": "1"}),
            ("Echo Tools", {"Version": "1.9", "ProductUpdateUrl": "http://www.norvane.com/echo-old"}),
            ("Foxtrot Older", {"Version": "5.2", "UpdateVersion": "5.3", "ProductUpdateUrl": "http://x/f53"}),
        ])
        self.server.catalogue({
            "Alpha Suite": {"CurrentVersion": "2.1.0", "ProductURL": "http://www.norvane.com/updates/alpha"},
            "Bravo Player": {"CurrentVersion": "1.4", "ProductURL": "http://www.norvane.com/updates/bravo"},
            "Delta Hidden": {"CurrentVersion": "9.9"},
            "Echo Tools": {"CurrentVersion": "1.10"},
            "Foxtrot Older": {"CurrentVersion": "5.1", "ProductURL": "http://x/f51"},
        })
        app = self.start()
        self.assertEqual([r.update for r in app.rows()], ["", "", "", "", "5.3"])
        main = self.check_updates(app)
        self.assertEqual([(r.name, r.version, r.update, r.image) for r in main.rows], [
            ("Alpha Suite", "2.0.33", "2.1.0", 0),
            ("Bravo Player", "1.4", "", 1),
            ("Charlie Unknown", "3.0", "", 1),
            ("Echo Tools", "1.9", "1.10", 0),
            ("Foxtrot Older", "5.2", "5.3", 0),  # the stored record, as at start
        ])
        self.assertEqual(app.message_boxes(), [])

        tree = reg_tree(PACKAGES_KEY)
        self.assertEqual(record_of(tree, "Alpha Suite"), ("2.1.0", "http://www.norvane.com/updates/alpha"))
        self.assertEqual(record_of(tree, "Bravo Player"), (None, None))
        self.assertEqual(record_of(tree, "Charlie Unknown"), (None, None))
        self.assertEqual(record_of(tree, "Delta Hidden"), (None, None))
        # A version without an address keeps the address stored before (as seeded, with
        # its zero).
        self.assertEqual(record_of(tree, "Echo Tools"), ("1.10", "http://www.norvane.com/echo-old\0"))
        # An announced version older than the stored record leaves the record alone.
        self.assertEqual(record_of(tree, "Foxtrot Older"), ("5.3\0", "http://x/f53\0"))

        # One request per listed package, in list order, hidden packages not asked.
        bodies = [r.split(b"\r\n\r\n", 1)[1] for r in self.server.requests()]
        names = [re.search(rb"<string>(.*?)</string>", b).group(1).decode() for b in bodies]
        self.assertEqual(names, ["Alpha Suite", "Bravo Player", "Charlie Unknown", "Echo Tools", "Foxtrot Older"])
        self.assertTrue(bodies[0].startswith(b'<?xml version= "1.0" ?>\t<methodCall>'))
        self.assertIn(b"<value><string>Alpha Suite</string></value><value><string>2.0.33</string></value>",
                      bodies[0])
        self.assertTrue(bodies[0].endswith(b"</methodCall>\x00"))
        # Next start: the stored versions show without going online.
        app.close()
        self.server.control("requests/clear", b"")
        app = self.start()
        self.assertEqual([r.update for r in app.rows()], ["2.1.0", "", "", "1.10", "5.3"])
        self.assertEqual(self.server.requests(), [])

    def test_cancel_stops_the_check_and_the_rest_come_from_the_registry(self):
        names = ["Package %02d" % i for i in range(1, 13)]
        seed_packages([(n, {"Version": "1.0"}) for n in names[:9]] +
                      [(names[9], {"Version": "1.0", "UpdateVersion": "1.7"})] +
                      [(n, {"Version": "1.0"}) for n in names[10:]])
        self.server.catalogue({n: {"CurrentVersion": "2.0", "ProductURL": "http://x/%d" % i}
                               for i, n in enumerate(names)})
        # About two seconds per answer, so that the check is still running when Cancel comes.
        self.server.behaviour("slow", delay=0.4, chunk=64)
        app = self.start()
        app.click_control(app.main(0, 0), 1013)
        progress = wait_until(app.progress_window, 10, "the progress window")
        self.assertFalse(app.main_enabled())
        cancel = app.control_text(progress["hwnd"], 2)
        self.assertEqual(cancel["text"], "Cancel")
        # Each read is answered at the program's next progress report.
        self.assertRegex(app.control_text(progress["hwnd"], 1005)["text"], r"^Checking for update of Package 0[12]$")
        self.assertRegex(app.control_text(progress["hwnd"], 1004)["text"], r"^\d+%$")
        # While the program waits for the second answer, Cancel is pressed; it takes
        # effect at the next progress report.
        wait_until(lambda: len(self.server.requests()) >= 2, 20, "the second package's request")
        click(*center(cancel["rect"]))
        # The window may be gone by the time this read is answered.
        self.assertIn(app.control_text(progress["hwnd"], 1005)["text"], ("Checking for update of Package 02", ""))
        main = app.wait_idle(30)
        rows = {r.name: r.update for r in main.rows}
        self.assertEqual(len(rows), 12)
        self.assertEqual(rows["Package 01"], "2.0")
        self.assertEqual(rows["Package 10"], "1.7")
        for n in names[1:9] + names[10:]:
            self.assertEqual(rows[n], "", n)
        self.assertEqual(len(self.server.requests()), 2)
        tree = reg_tree(PACKAGES_KEY)
        self.assertEqual(record_of(tree, "Package 01"), ("2.0", "http://x/0"))
        self.assertEqual(record_of(tree, "Package 10"), ("1.7\0", None))
        for n in names[1:9] + names[10:]:
            self.assertEqual(record_of(tree, n), (None, None), n)
        # The check can run again afterwards, to the end.
        self.server.behaviour("normal")
        main = self.check_updates(app)
        self.assertEqual({r.update for r in main.rows}, {"2.0"})


class BadServerTest(UpdateTestCase):
    """Answers that carry no usable version: no record, no message, the program goes on."""

    def run_bad_check(self, timeout=60, unchecked=True):
        """An answer that tells nothing says so in a message; a fault does not."""
        seed_packages([("Alpha Suite", {"Version": "1.0"}), ("Bravo Player", {"Version": "1.0", "Hide": "1"})])
        self.server.catalogue({"Alpha Suite": {"CurrentVersion": "2.0", "ProductURL": "http://x/a"}})
        before = self.registry_snapshot()
        app = self.start()
        started = time.monotonic()
        if unchecked:
            main = self.check_updates_unchecked(app, 1, 1, timeout)
        else:
            main = self.check_updates(app, timeout)
            self.assertEqual(app.message_boxes(), [])
        took = time.monotonic() - started
        self.assertEqual([(r.name, r.update, r.image) for r in main.rows], [("Alpha Suite", "", 1)])
        tree = reg_tree(PACKAGES_KEY)
        self.assertEqual(record_of(tree, "Alpha Suite"), (None, None))
        self.assertRegistryUnchanged(before)
        self.assertEqual(len(self.server.requests()), 1)
        # Still working: the next check, with a sound server, finds the version.
        self.server.behaviour("normal")
        main = self.check_updates(app)
        self.assertEqual([r.update for r in main.rows], ["2.0"])
        return took

    def test_garbage(self):
        self.server.behaviour("garbage")
        self.run_bad_check()

    def test_fault_after_a_valid_version(self):
        self.server.behaviour("fault-after")
        self.run_bad_check(unchecked=False)

    def test_empty_answer(self):
        self.server.behaviour("raw", body="")
        self.run_bad_check()

    def test_content_length_not_a_number(self):
        self.server.behaviour("length", length="many")
        # Read as if no length was announced: the short body is still parsed.
        seed_packages([("Alpha Suite", {"Version": "1.0"})])
        self.server.catalogue({"Alpha Suite": {"CurrentVersion": "2.0"}})
        app = self.start()
        main = self.check_updates(app)
        self.assertEqual([r.update for r in main.rows], ["2.0"])

    def test_hundred_megabytes(self):
        body = "<methodResponse><params><param><value><struct><member><name>CurrentVersion</name>" \
               "<value><string>2.0</string></value></member></struct></value></param></params>" + \
               " " * (100 * 1024 * 1024) + "</methodResponse>"
        self.server.behaviour("raw", body=body)
        self.run_bad_check()

    def test_announced_length_of_two_gigabytes(self):
        self.server.behaviour("huge-length")
        self.run_bad_check()

    def test_silent_server_times_out(self):
        self.server.behaviour("silent", hold=40)
        took = self.run_bad_check(timeout=45)
        self.assertLess(took, 35)

    def test_proxy_at_a_closed_port(self):
        # No server at all: every package counts, and stored newer versions stay shown.
        seed_packages([("Alpha Suite", {"Version": "2.0.33"}),
                       ("Charlie Tools", {"Version": "3.0", "UpdateVersion": "3.5"})])
        self.profile.use_proxy(closed_port())
        try:
            app = self.start()
            self.assertEqual([(r.update, r.image) for r in app.rows()], [("", 1), ("3.5", 0)])
            main = self.check_updates_unchecked(app, 2, 2)
            self.assertEqual([(r.name, r.update, r.image) for r in main.rows],
                             [("Alpha Suite", "", 1), ("Charlie Tools", "3.5", 0)])
            self.assertEqual(record_of(reg_tree(PACKAGES_KEY), "Charlie Tools"), ("3.5\0", None))
            # Refresh says nothing.
            app.click_control(app.main(0, 0), 1009)
            time.sleep(1)
            self.assertEqual(app.message_boxes(), [])
        finally:
            self.profile.use_proxy(E2E_PORT)


class ProfileTest(UpdateTestCase):
    """A Firefox profile of 10 MB on one line."""

    def test_huge_prefs_without_a_newline_still_gives_the_proxy(self):
        filler = 'user_pref("e2e.filler", "' + "x" * (10 * 1024 * 1024) + '"); '
        self.profile.write(filler + 'user_pref("network.proxy.http", "127.0.0.1"); '
                           'user_pref("network.proxy.http_port", %d);' % E2E_PORT)
        try:
            seed_packages([("Alpha Suite", {"Version": "1.0"})])
            self.server.catalogue({"Alpha Suite": {"CurrentVersion": "2.0"}})
            app = self.start()
            main = self.check_updates(app, 60)
            self.assertEqual([r.update for r in main.rows], ["2.0"])
        finally:
            self.profile.use_proxy(E2E_PORT)

    def test_huge_prefs_without_a_proxy(self):
        self.profile.write("x" * (10 * 1024 * 1024))
        try:
            seed_packages([("Alpha Suite", {"Version": "1.0"})])
            before = self.registry_snapshot()
            app = self.start()
            main = self.check_updates_unchecked(app, 1, 1)
            self.assertEqual([r.update for r in main.rows], [""])
            self.assertEqual(record_of(reg_tree(PACKAGES_KEY), "Alpha Suite"), (None, None))
            self.assertRegistryUnchanged(before)
        finally:
            self.profile.use_proxy(E2E_PORT)


if __name__ == "__main__":
    unittest.main()
