"""The main window from outside: the list at start, Refresh and F5, expanding rows, the
"Buy now" state, the update links, the About box, a second copy and the ways to close."""

import time
import unittest

from vxdriver import (COMPONENT_KEY, COMPONENT_WARNING, E2ETestCase, PACKAGES_KEY, RemovedKey,
                      SW_MINIMIZE, center, clear_packages, click, key, mouse_move, package_values,
                      reg_set, reg_tree, seed_packages, wait_until)

ALPHA_URL = "http://www.norvane.com/updates/alpha-2.1.0"

COMPONENTS = {
    "Alpha Suite": [
        {"Name": "Alpha Core", "ClassId": "{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E01}", "Version": "2.0.33"},
        {"Name": "", "ClassId": "{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E02}", "Version": "4.1"},
        {"Name": "Alpha Codec", "ClassId": "{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E03}", "Version": ""},
    ],
    "Charlie Tools": [
        {"Name": "Charlie Engine", "ClassId": "{9A41E7B2-3C55-4D0E-8A6B-1F2E3D4C5B01}", "Version": "1.0"},
    ],
}


def texts(rows):
    return [(r.name, r.version, r.update) for r in rows]


def plus_point(row):
    """The state image (plus or minus) left of the row's icon."""
    return row.icon[0] - 8, (row.bounds[1] + row.bounds[3]) // 2


def hover(point):
    """Moves onto a point the way a hand does, in two steps: the cursor that a move sets
    shows from the next move on."""
    mouse_move(point[0] - 2, point[1])
    mouse_move(*point)


def link_point(main, row):
    """The screen point at the centre of the row's update text strip, the newer version as
    drawn: the strip's left edge is 0.85 of the row's width in list coordinates."""
    origin = main.list["clientOrigin"]
    left, right = row.bounds[0] - origin[0], row.bounds[2] - origin[0]
    strip_left = int((right - left) * 0.85)
    return origin[0] + (strip_left + right) // 2, (row.bounds[1] + row.bounds[3]) // 2


class MainWindowTest(E2ETestCase):

    def tearDown(self):
        clear_packages()

    def test_list_at_start_shows_visible_packages_and_stored_updates(self):
        seed_packages([
            ("Alpha Suite", {"Version": "2.0.33", "UpdateVersion": "2.1.0", "ProductUpdateUrl": ALPHA_URL}),
            ("Beta Hidden", {"Version": "1.0", "Hide": "1"}),
            ("Codec Pack", {"Version": "1.4.2", "InstallProject": "CodecSetup"}),
            ("Delta Binary Hidden", {"Version": "1.1", "Hide": b"\x01"}),
            ("Echo Tools", {}),
            ("Foxtrot Stale", {"Version": "3.0", "UpdateVersion": "3.0", "ProductUpdateUrl": "http://x/f"}),
            ("Golf Dword", {"Version": "5", "Hide": 1}),
        ])
        app = self.start()
        main = wait_until(lambda: (lambda m: m if m.list["count"] == 5 else None)(app.main()), 10,
                          "five rows")
        self.assertEqual(texts(main.rows), [
            ("Alpha Suite", "2.0.33", "2.1.0"),
            ("Codec Pack", "1.4.2", ""),
            ("Echo Tools", "", ""),
            ("Foxtrot Stale", "3.0", ""),
            ("Golf Dword", "5", ""),
        ])
        self.assertEqual([r.state_image for r in main.rows], [1] * 5)
        self.assertEqual([r.image for r in main.rows], [0, 1, 1, 1, 1])
        buttons = {i: (main.text(i), main.control(i)["enabled"]) for i in (1008, 1009, 1010, 1011, 1013)}
        self.assertEqual(buttons, {1008: (" Save status report", True), 1009: ("Refresh", True),
                                   1010: ("Buy now", False), 1011: ("Close", True),
                                   1013: ("Check updates", True)})
        self.assertEqual(app.message_boxes(), [])
        # The stale record was removed when it was read; the newer one stays.
        tree = reg_tree(PACKAGES_KEY)
        foxtrot = package_values(tree, "Foxtrot Stale")
        self.assertEqual(sorted(foxtrot), ["version"])
        alpha = package_values(tree, "Alpha Suite")
        self.assertEqual(alpha["productupdateurl"][1], ALPHA_URL.encode() + b"\0")
        # Esc closes the window and ends the program.
        app.focus(main)
        key("Escape")
        self.assertEqual(app.wait_exit(), 0)

    def test_refresh_and_f5_reread_the_registry_and_collapse_rows(self):
        seed_packages([("Alpha Suite", {"Version": "2.0.33"})], COMPONENTS)
        app = self.start()
        main = app.main()
        self.assertEqual(texts(main.rows), [("Alpha Suite", "2.0.33", "")])
        click(*plus_point(main.rows[0]))
        wait_until(lambda: app.main().list["count"] == 4, 10, "Alpha's components")

        reg_set(PACKAGES_KEY + "\\Bravo Player", "Version", "1.0")
        reg_set(PACKAGES_KEY + "\\Bravo Player", "UpdateVersion", "1.2")
        app.click_control(main, 1009)
        main = wait_until(lambda: (lambda m: m if m.list["count"] == 2 else None)(app.main()), 10,
                          "the refreshed list")
        self.assertEqual(texts(main.rows), [("Alpha Suite", "2.0.33", ""), ("Bravo Player", "1.0", "1.2")])
        self.assertEqual([(r.state_image, r.image) for r in main.rows], [(1, 1), (1, 0)])

        reg_set(PACKAGES_KEY + "\\Charlie Tools", "Version", "7")
        app.focus(main)
        key("F5")
        main = wait_until(lambda: (lambda m: m if m.list["count"] == 3 else None)(app.main()), 10,
                          "the list after F5")
        self.assertEqual(texts(main.rows)[2], ("Charlie Tools", "7", ""))

    def test_expand_and_collapse_rows_and_buy_now_state(self):
        seed_packages([("Alpha Suite", {"Version": "2.0.33"}), ("Bravo Player", {"Version": "1.0"}),
                       ("Charlie Tools", {"Version": "3.1"})], COMPONENTS)
        app = self.start()
        main = app.main()
        self.assertFalse(main.control(1010)["enabled"])

        click(*plus_point(main.rows[0]))
        main = wait_until(lambda: (lambda m: m if m.list["count"] == 6 else None)(app.main()), 10,
                          "Alpha expanded")
        self.assertEqual([(r.name, r.version, r.update, r.state_image, r.image) for r in main.rows[:4]], [
            ("Alpha Suite", "2.0.33", "", 2, 1),
            ("Alpha Core", "2.0.33", "", 0, 1),
            ("{6E0D2C51-7A43-4C1B-9F1E-2B7C4D5A6E02}", "4.1", "", 0, 1),
            ("Alpha Codec", "Unknown", "", 0, 1),
        ])

        # Charlie, now row 5, expands below Alpha's components.
        click(*plus_point(main.rows[5]))
        main = wait_until(lambda: (lambda m: m if m.list["count"] == 7 else None)(app.main()), 10,
                          "Charlie expanded")
        self.assertEqual(texts(main.rows[5:]), [("Charlie Tools", "3.1", ""), ("Charlie Engine", "1.0", "")])

        # A package without components shows the minus and no rows, then the plus again.
        click(*plus_point(main.rows[4]))
        main = wait_until(lambda: (lambda m: m if m.rows[4].state_image == 2 else None)(app.main()), 10,
                          "Bravo's minus")
        self.assertEqual(main.list["count"], 7)
        click(*plus_point(main.rows[4]))
        main = wait_until(lambda: (lambda m: m if m.rows[4].state_image == 1 else None)(app.main()), 10,
                          "Bravo's plus")

        # Collapsing Alpha removes exactly its rows.
        click(*plus_point(main.rows[0]))
        main = wait_until(lambda: (lambda m: m if m.list["count"] == 4 else None)(app.main()), 10,
                          "Alpha collapsed")
        self.assertEqual([(r.name, r.state_image) for r in main.rows],
                         [("Alpha Suite", 1), ("Bravo Player", 1), ("Charlie Tools", 2), ("Charlie Engine", 0)])

        # "Buy now" follows the clicked row: a package enables it, a component row and the
        # empty space below the rows disable it; a right click acts as a left click.
        click(*center(main.rows[1].label))
        wait_until(lambda: app.main().control(1010)["enabled"], 5, "Buy now enabled")
        click(*center(main.rows[3].label))
        wait_until(lambda: not app.main().control(1010)["enabled"], 5, "Buy now disabled by a component row")
        click(*center(main.rows[0].label), button=3)
        wait_until(lambda: app.main().control(1010)["enabled"], 5, "Buy now enabled by a right click")
        list_rect = main.list["rect"]
        click(list_rect[0] + 40, list_rect[3] - 10)
        wait_until(lambda: not app.main().control(1010)["enabled"], 5, "Buy now disabled below the rows")

    def test_newer_version_is_a_link_with_hot_cursor_tip_and_page(self):
        seed_packages([
            ("Alpha Suite", {"Version": "2.0.33", "UpdateVersion": "2.1.0", "ProductUpdateUrl": ALPHA_URL}),
            ("Bravo Player", {"Version": "1.0", "UpdateVersion": "1.5"}),
            ("Charlie Tools", {"Version": "3.1"}),
        ])
        app = self.start()
        main = app.main()
        rows = main.rows
        self.assertEqual([r.update for r in rows], ["2.1.0", "1.5", ""])

        plain = link_point(main, rows[2])
        hover(plain)
        time.sleep(0.3)
        arrow = self.probe.call("cursor")["cursor"]
        self.assertFalse(self.tip_shown(app))

        hover(link_point(main, rows[0]))
        hot = wait_until(lambda: (lambda c: c if c != arrow else None)(self.probe.call("cursor")["cursor"]), 5,
                         "the hot cursor")
        wait_until(lambda: self.tip_shown(app), 8, 'the tip "Update is available."')

        # Off the link the cursor is the list's ordinary one again.
        hover(plain)
        wait_until(lambda: self.probe.call("cursor")["cursor"] == arrow, 5, "the ordinary cursor")
        hover(link_point(main, rows[1]))
        wait_until(lambda: self.probe.call("cursor")["cursor"] == hot, 5, "the hot cursor over Bravo")

        # A click opens the stored page; without one, the maker's products page.
        click(*link_point(main, rows[0]))
        lines = self.wait_recorded(1)
        self.assertIn(ALPHA_URL, lines[0])
        click(*link_point(main, rows[1]))
        lines = self.wait_recorded(2)
        self.assertIn("norvane.com/products", lines[1])
        self.assertEqual(len(self.recorded()), 2)

    def tip_shown(self, app):
        for tip in app.main(0, 0).state["tooltips"]:
            if tip["visible"] and any(t["text"] == "Update is available." for t in tip["tools"]):
                return True
        return False

    def test_about_box_from_the_system_menu(self):
        seed_packages([("Alpha Suite", {"Version": "2.0.33"})])
        app = self.start()
        main = app.main()
        app.focus(main)
        key("alt+space")
        wait_until(lambda: any(w["class"] == "#32768" and w["visible"] for w in app.top_windows()), 5,
                   "the system menu")
        # The About entry is the last item; Up from the first item wraps to it.
        key("Up", "Return")
        about = app.wait_window("About Vantorix", 1016, 10, "the About box")
        self.assertEqual(about.text(1016), "Version: 2. 0. 33 (build:  70715)")
        self.assertIn("Vantorix", about.static_texts())
        self.assertEqual(about.text(1), "OK")
        self.assertFalse(app.main(0, 0).info["enabled"])
        key("Return")
        wait_until(lambda: not app.find_windows("About Vantorix"), 5, "the About box to close")
        self.assertTrue(app.main(0, 0).info["enabled"])
        self.assertTrue(app.running())

    def test_every_row_function_from_the_keyboard_and_dialogs_centred(self):
        seed_packages([
            ("Alpha Suite", {"Version": "2.0.33", "UpdateVersion": "2.1.0", "ProductUpdateUrl": ALPHA_URL}),
            ("Bravo Player", {"Version": "1.0", "UpdateVersion": "1.5"}),
            ("Charlie Tools", {"Version": "3.1"}),
        ])
        app = self.start()
        main = app.main()
        rows, rect, area = main.rows, main.info["rect"], self.probe.call("top")["workArea"]
        self.assertLessEqual(abs(rect[0] + rect[2] - area[0] - area[2]) + abs(rect[1] + rect[3] - area[1] - area[3]),
                             2, (rect, area))

        def menu_at(keys, letter):
            """Opens the menu with keys, then presses letter; a disabled item's letter runs nothing
            (Wine closes the menu on it, Windows keeps it open)."""
            key(keys)
            at = wait_until(lambda: [w["rect"][:2] for w in app.top_windows() if w["class"] == "#32768"
                                     and w["visible"]], 5, "the shortcut menu")[0]
            key(letter)
            time.sleep(0.5)
            if [w for w in app.top_windows() if w["class"] == "#32768" and w["visible"]]:
                key("Escape")
            return at

        # Shift+F10 and the Applications key below the selected row: O opens the stored page,
        # B buys; a row without a newer version opens nothing. A right click opens no menu.
        click(*center(rows[0].label))
        self.assertEqual(menu_at("shift+F10", "o"), [rows[0].bounds[0], rows[0].bounds[3]])
        self.assertIn(ALPHA_URL, self.wait_recorded(1)[0])
        menu_at("Menu", "b")
        self.assertIn("www.norvane.com", self.wait_recorded(2)[1])
        click(*center(rows[2].label))
        self.assertEqual(menu_at("Menu", "o"), [rows[2].bounds[0], rows[2].bounds[3]])
        click(*center(rows[1].label), button=3)
        time.sleep(0.5)
        self.assertEqual([w for w in app.top_windows() if w["class"] == "#32768"], [])
        self.assertEqual(len(self.recorded()), 2)

        # Ctrl+A and Ctrl+Insert (or Ctrl+C) copy the rows: each row's texts and the page its
        # link opens. Ctrl+Space selects apart without expanding.
        click(*center(rows[0].label))
        key("ctrl+space", "ctrl+a", "ctrl+Insert")
        copied = (b"Alpha Suite\t2.0.33\t2.1.0\t" + ALPHA_URL.encode() +
                  b"\r\nBravo Player\t1.0\t1.5\twww.norvane.com/products\r\nCharlie Tools\t3.1\t\t\r\n")
        clip = wait_until(lambda: (lambda c: c if bytes.fromhex(c["text"]) == copied else None)(
            self.probe.call("clipboard")), 5, "the copied rows")
        self.assertEqual(clip["locale"], 0x409)
        self.assertEqual([r.state_image for r in app.main().rows], [1, 1, 1])

        # F5 with the focus on "Buy now", which the refill disables: the list takes the focus,
        # and the keyboard goes on. Without a selection, Ctrl+C keeps the clipboard and the
        # menu opens at the list's top left with Buy now disabled.
        key("Tab", "Tab")
        wait_until(lambda: app.main(0, 0).info["focusId"] == 1010, 5, "the focus on Buy now")
        key("F5")
        wait_until(lambda: app.main(0, 0).info["focusId"] == 1000, 5, "the focus on the list")
        key("ctrl+c")
        self.assertEqual(menu_at("Menu", "b"), main.list["clientOrigin"])
        self.assertEqual((bytes.fromhex(self.probe.call("clipboard")["text"]), len(self.recorded())), (copied, 2))
        key("Down")
        wait_until(lambda: app.main(0, 0).control(1010)["enabled"], 5, "Buy now enabled from the keyboard")
        # Refresh from its own button keeps the focus there.
        key("Tab", "space")
        wait_until(lambda: not app.main(0, 0).control(1010)["enabled"], 5, "Buy now disabled by Refresh")
        self.assertEqual(app.main(0, 0).info["focusId"], 1009)

        # The About box opens centred over the main window.
        key("alt+space", "Up", "Return")
        about = app.wait_window("About Vantorix", 1016, 10, "the About box").info["rect"]
        self.assertLessEqual(abs(about[0] + about[2] - rect[0] - rect[2]) + abs(about[1] + about[3] - rect[1] - rect[3]),
                             2, (about, rect))

    def test_second_copy_restores_the_first_and_ends(self):
        seed_packages([("Alpha Suite", {"Version": "2.0.33"})])
        first = self.start()
        self.probe.call("show", first.hwnd, SW_MINIMIZE)
        wait_until(lambda: first.main(0, 0).info["iconic"], 5, "the first copy minimised")
        second = self.start(wait_main=False)
        self.assertEqual(second.wait_exit(20), 0)
        main = wait_until(lambda: (lambda m: m if not m.info["iconic"] else None)(first.main(0, 0)), 5,
                          "the first copy restored")
        self.assertTrue(main.info["visible"])
        self.assertTrue(main.info["foreground"])
        self.assertTrue(first.running())
        # Only the first copy has a main window.
        self.assertEqual(len([w for w in self.probe.call("top")["windows"]
                              if w["title"] == "Vantorix" and w["visible"] and w["class"] == "#32770"]), 1)

    def test_missing_component_warns_and_the_list_is_filled_all_the_same(self):
        seed_packages([("Alpha Suite", {"Version": "2.0.33"}), ("Bravo Player", {"Version": "1.0"})], COMPONENTS)
        removed = RemovedKey(COMPONENT_KEY)
        self.addCleanup(removed.restore)
        app = self.start(wait_main=False)
        box = wait_until(app.message_boxes, 20, "the component warning")[0]
        self.assertEqual(box.info["title"], "Vantorix")
        self.assertEqual(box.static_texts()[-1:], [COMPONENT_WARNING])
        # It comes before the main window is first shown.
        self.assertEqual([w for w in app.find_windows("Vantorix", 1000) if w.info["visible"]], [])
        app.click_control(box, 1 if box.has(1) else 2)
        main = app.wait_main()
        self.assertEqual(texts(main.rows), [("Alpha Suite", "2.0.33", ""), ("Bravo Player", "1.0", "")])
        # Expanding warns again and adds no rows; the row shows its minus.
        click(*plus_point(main.rows[0]))
        box = wait_until(app.message_boxes, 10, "the warning on expanding")[0]
        self.assertEqual(box.static_texts()[-1:], [COMPONENT_WARNING])
        app.click_control(box, 1 if box.has(1) else 2)
        main = wait_until(lambda: (lambda m: m if not app.message_boxes() and m.rows[0].state_image == 2
                                   else None)(app.main()), 10, "the minus without rows")
        self.assertEqual(main.list["count"], 2)

    def test_name_without_version_ends_at_once(self):
        seed_packages([("Alpha Suite", {"Version": "2.0.33", "ProductURL": "http://www.norvane.com/alpha"})])
        app = self.start("/n", "Alpha", "Suite", wait_main=False)
        self.assertEqual(app.wait_exit(20), 0)
        self.assertNothingRecorded(0.5)

    def test_close_button_and_enter_end_the_program(self):
        seed_packages([("Alpha Suite", {"Version": "2.0.33"})])
        app = self.start()
        app.click_control(app.main(), 1011)
        self.assertEqual(app.wait_exit(), 0)
        app = self.start()
        main = app.main()
        click(*center(main.rows[0].label))
        key("Return")
        self.assertEqual(app.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
