"""Typewell's own window as a user meets it under Wine: the first start, staying on top, the
options dialog, a drag, the Tutorial, a second start, a save that fails while the user works and
closes, a start that cannot make its window."""

import os
import pathlib
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile

from harness import (DIALOG, IDS, TITLE, Typewell, colour, entries, env_path, helper, helper_exe,
                     probe, run, screenshot, spawn, wait_until, winpath, x_windows, xdo)

MOVED = b"0123456789" * 20  # no blank: every byte of both records changes when it moves
CLASSES = r"HKLM\Software\Classes"  # Wine reads file types from the machine's classes only


def darkness(shot, rect):
    x, y, w, h = rect[:4]
    return -sum(colour(shot, x + 3, y + 3, w - 6, h - 6))


class Window(unittest.TestCase):
    def wait_active(self, tw, what, focus=None):
        """Waits until Typewell is restored, active and topmost (with the focus on `focus`)."""
        def active():
            i = tw.info()
            return i["foreground"] and i["topmost"] and not i["minimized"] and (
                focus in (None, i["focus"]))
        wait_until(active, f"Typewell active and topmost {what}")

    def test_first_start_on_top_and_the_options_dialog(self):
        tw = Typewell(self)
        wait_until(lambda: tw.read("Forms.dat") == b" " * 12000, "Forms.dat of 12,000 blanks")
        self.wait_active(tw, "after start-up")
        captions = [tw.state(name) for name in ("tutorialButton", "optionsButton", "webSiteButton")]
        xdo("mousemove", 0, 0)
        normal = screenshot("first_start")

        for how in ("close box", "OK"):
            tw.click("optionsButton")
            wait_until(lambda: probe(DIALOG), "the options dialog")
            self.assertTrue(probe(DIALOG)["window"]["topmost"], "the dialog is not topmost")
            if how == "close box":
                # The dialog moves to a monitor of 144 DPI: it alone is laid out anew.
                main = lambda: (tw.info()["width"], tw.info()["height"], tw.state("minimizeButton"))
                before = main()
                helper("dpi", DIALOG, 144)
                wait_until(lambda: tw.state("okButton", title=DIALOG)[2] == 296,
                           "the dialog's OK button 2964 twips wide at 144 DPI")
                self.assertEqual(main(), before, "the main window laid out anew")
                # Yellow, not saved at once: the report lies over the dialog, which it disables.
                held = tw.folder.parent / "held"
                spawn(self, helper_exe(), "hold", winpath(tw.folder / "Typewell.ini"), winpath(held))
                wait_until(held.exists, "Typewell.ini held open by another program")
                tw.click("colourOption", 3, title=DIALOG)
                wait_until(lambda: probe("Typewell"), "the report that Typewell.ini was not saved")
                self.assertEqual(probe(DIALOG)["window"]["enabled"], 0, "the dialog under a report")
                helper("winctl", "close", "Typewell")
                held.with_name("held.release").touch()
                tw.click("fontOption", 1, title=DIALOG)  # bold
                wait_until(lambda: (tw.read("Typewell.ini") or b"")[:8:6] == b"\1\3",
                           "bold and yellow in Typewell.ini while the dialog is open")
                helper("winctl", "close", DIALOG)
            else:
                tw.click("okButton", title=DIALOG)
            wait_until(lambda: probe(DIALOG) is None, f"the dialog closed by its {how}")
            self.wait_active(tw, f"after the dialog's {how}", focus=IDS["optionsButton"])
            xdo("mousemove", 0, 0)
            x, y, w, h = tw.state("entryLabel", 0)[:4]

            def painted():
                shot = screenshot(f"options_{how.replace(' ', '_')}")
                return colour(shot, x + w - 4, y + h // 2) == (255, 255, 0) and all(
                    darkness(shot, c) > darkness(normal, c) for c in captions)
            wait_until(painted, "yellow labels and bold captions on the screen")

    def register_browser(self):
        """The helper copied as browser.exe (in a folder with blanks) and registered for ".htm"
        files; returns its Windows path and its log."""
        folder = pathlib.Path(tempfile.mkdtemp()) / "Stand-in Browser"
        self.addCleanup(shutil.rmtree, folder.parent, ignore_errors=True)
        folder.mkdir()
        shutil.copy(helper_exe(), folder / "browser.exe")
        exe = winpath(folder / "browser.exe")
        run("wine", "reg", "add", rf"{CLASSES}\TypewellTest\shell\open\command", "/ve", "/d",
            f'"{exe}" "%1"', "/f")
        run("wine", "reg", "add", rf"{CLASSES}\.htm", "/ve", "/d", "TypewellTest", "/f")
        for key in ("TypewellTest", ".htm"):
            self.addCleanup(run, "wine", "reg", "delete", rf"{CLASSES}\{key}", "/f")
        return exe, folder / "browser.log"

    def test_drag_tutorial_and_a_second_start(self):
        browser, browser_log = self.register_browser()
        original = entries({0: b"first", 3: MOVED, 7: b"filled"}, tail=b"kept beyond")
        ini = struct.pack("<6h", 0, 1500, 3000, 0, 0, 20)  # at (200, 100), started before
        tw = Typewell(self, {"Forms.dat": original, "Typewell.ini": ini})
        wait_until(lambda: tw.info()["minimized"], "a later start to show Typewell minimised")
        helper("winctl", "restore", TITLE)
        self.wait_active(tw, "after restoring")

        # A drag of entry 4 over the tab of page 2 onto its first slot.
        x, y = tw.centre("entryLabel", 3)
        xdo("mousemove", x, y, "mousedown", 1, "mousemove", x, y + 2)
        wait_until(lambda: tw.info()["dragging"], "the drag to begin")
        x, y = tw.centre("pageTab", 1)
        xdo("mousemove", x - 3, y, "mousemove", x, y)
        wait_until(lambda: tw.state("entryLabel", 15)[4], "page 2 on show during the drag")
        x, y = tw.centre("entryLabel", 15)
        xdo("mousemove", x - 3, y, "mousemove", x, y, "mouseup", 1)
        wait_until(lambda: tw.read("Forms.dat")[3000:3200] == MOVED, "the moved entry saved")
        self.wait_active(tw, "after the drag")
        screenshot("after_drag")

        tw.click("tutorialButton")  # Tutorial
        wait_until(lambda: browser_log.is_file(), "the browser to be started")
        page = winpath(tw.folder) + "\\tutorial/tutorial.htm"
        self.assertEqual(browser_log.read_bytes().decode("utf-16-le"), f'"{browser}" "{page}"')
        wait_until(lambda: tw.info()["minimized"], "Typewell minimised after Tutorial")

        second = subprocess.run(["wine", tw.folder / "Typewell.exe"], cwd=tw.folder, timeout=60,
                                stdin=subprocess.DEVNULL, capture_output=True)
        self.assertEqual(second.returncode, 0)
        self.wait_active(tw, "after a second start")
        self.assertEqual(len(x_windows(name=f"^{TITLE}$")), 1)

    def test_a_failed_saves_report_neither_misplaces_nor_moves_an_entry_nor_stops_the_close(self):
        tw = Typewell(self, {"Forms.dat": entries({0: b"alpha", 1: b"bravo", 3: b"three"})})
        self.wait_active(tw, "after start-up")

        def hold(name):  # another program holds Forms.dat until <name>.release exists
            marker = tw.folder.parent / name
            spawn(self, helper_exe(), "hold", winpath(tw.folder / "Forms.dat"), winpath(marker))
            wait_until(marker.exists, "Forms.dat held open by another program")
            return marker.with_name(f"{name}.release")

        def report(what):  # the report of the failed save, closed by its OK
            wait_until(lambda: probe("Typewell"), f"the report {what}")
            screenshot("save_failed")
            helper("winctl", "close", "Typewell")
            wait_until(lambda: probe("Typewell") is None, "the report closed")

        let_go = hold("first")
        tw.click("entryLabel", 0)
        wait_until(lambda: tw.state("editBox")[4], "the edit box")
        xdo("key", "End", "type", " edited")
        tw.click("entryLabel", 1)  # a switch to entry 2 while the save fails
        report("as the edit switches")
        let_go.touch()
        wait_until(lambda: tw.read("Forms.dat") == entries({0: b"alpha edited", 1: b"bravo",
                                                            3: b"three"}), "each entry in its slot")
        # A drag that begins as a failed save is reported ends with the report's press.
        let_go = hold("second")
        tw.click("entryLabel", 0)
        wait_until(lambda: tw.state("editBox")[4], "the edit box")
        xdo("type", "!")
        x, y = tw.centre("entryLabel", 3)
        xdo("mousemove", x, y, "mousedown", 1, "mousemove", x, y + 3)
        report("as the drag begins")
        xdo("mouseup", 1)
        tw.click("entryLabel", 5)  # an empty label: its edit opens, nothing moves there
        wait_until(lambda: tw.state("editBox")[:2] == tw.state("entryLabel", 5)[:2], "its edit")
        self.assertEqual((tw.info()["dragging"], tw.state("insertButton", 3)[5]), (0, 1))
        # Forms.dat stays held: the close asks, and Typewell ends without saving when told to.
        helper("winctl", "close", TITLE)
        button = IDS["closeWithoutSaving"]
        wait_until(lambda: button in (probe("Typewell", button) or {}), "the close's question")
        screenshot("close_question")
        tw.click("closeWithoutSaving", title="Typewell")
        self.assertEqual(tw.process.wait(20), 0)
        let_go.touch()
        self.assertEqual(tw.read("Forms.dat"),
                         entries({0: b"alpha edited", 1: b"bravo", 3: b"three"}))

    def test_a_start_that_cannot_make_its_window_says_what_failed_and_fails(self):
        folder = pathlib.Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        with zipfile.ZipFile(env_path("TYPEWELL_PACKAGE")) as package:
            (exe,) = (n for n in package.namelist() if n.endswith("Typewell.exe"))
            (folder / "Typewell.exe").write_bytes(package.read(exe))
        # Without a display Wine makes no window.
        env = {**os.environ, "DISPLAY": "", "WINEDEBUG": "+debugstr"}
        start = subprocess.run(["wine", folder / "Typewell.exe"], cwd=folder, env=env, timeout=60,
                               stdin=subprocess.DEVNULL, capture_output=True)
        self.assertEqual(start.returncode, 1)
        self.assertIn(b"Typewell cannot start: the main window cannot be made", start.stderr)
        self.assertEqual(sorted(p.name for p in folder.iterdir()), ["Typewell.exe"])
