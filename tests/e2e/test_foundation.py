"""The real Typewell.exe in a fresh program folder: the entry file it creates, the main window
and its "Insert" buttons, entries shown from a prepared file, and a start that cannot open its
entry file."""

import subprocess
import unittest

from harness import (TITLE_PATTERN, Typewell, find_x_windows, wait_until, winctl,
                     x_window_name, x_windows_of_process)

SLOTS = 60
RECORD = 200
ROWS_PER_PAGE = 15


def entry_file(texts):
    """Forms.dat bytes with the given {slot: text} and blanks elsewhere."""
    records = [texts.get(slot, b"").ljust(RECORD, b" ") for slot in range(SLOTS)]
    return b"".join(records)


def colours_in(png, rect):
    """Number of distinct colours inside rect (x, y, w, h) of a picture."""
    x, y, w, h = rect
    result = subprocess.run(["convert", str(png), "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                             "-format", "%k", "info:"], capture_output=True, text=True,
                            check=True, timeout=60)
    return int(result.stdout.strip())


def inner(rect, margin=2):
    """The rectangle without its outer pixels (borders and focus frames)."""
    x, y, w, h = rect
    return x + margin, y + margin, w - 2 * margin, h - 2 * margin


class FreshProgramFolder(unittest.TestCase):
    def test_creates_blank_entry_file_and_shows_page_one_with_disabled_buttons(self):
        with Typewell() as tw:
            forms = tw.path("Forms.dat")
            wait_until(lambda: forms.is_file() and forms.stat().st_size == SLOTS * RECORD,
                       timeout=10, what="Forms.dat of 12,000 bytes")
            self.assertEqual(tw.read("Forms.dat"), b" " * (SLOTS * RECORD))

            info = tw.info()
            self.assertFalse(info["minimized"])
            for slot in range(SLOTS):
                with self.subTest(slot=slot):
                    button = tw.state("FillBtn", slot)
                    self.assertFalse(button["enabled"], "an Insert button of an empty slot")
                    on_page_one = slot < ROWS_PER_PAGE
                    self.assertEqual(button["visible"], on_page_one)
                    self.assertEqual(tw.state("Names", slot)["visible"], on_page_one)
            for page in range(4):
                self.assertTrue(tw.state("Page", page)["visible"], f"Page({page})")
                self.assertEqual(tw.state("Frame", page)["visible"], page == 0)
            self.assertFalse(tw.state("Gettext")["visible"])
            for button in ("Command1", "OptionsBtn", "WebsiteBtn", "MinimizeBtn"):
                state = tw.state(button)
                self.assertTrue(state["visible"] and state["enabled"], button)

            tw.park_pointer()
            shot = tw.screenshot("foundation", crop=True)
            self.assertTrue(shot.is_file())


class PreparedEntries(unittest.TestCase):
    TEXTS = {0: b"First entry", 1: b"  leading blanks kept", 14: b"x" * RECORD}

    def test_labels_show_the_entries_and_their_buttons_are_enabled(self):
        prepared = entry_file(self.TEXTS)
        with Typewell(files={"Forms.dat": prepared}) as tw:
            for slot in range(SLOTS):
                with self.subTest(slot=slot):
                    self.assertEqual(tw.state("FillBtn", slot)["enabled"], slot in self.TEXTS)

            tw.park_pointer()
            shot = tw.screenshot("foundation_entries", crop=True)
            window = tw.info()
            for slot in range(ROWS_PER_PAGE):
                x, y, w, h = inner(tw.rect("Names", slot))
                local = (x - window["left"], y - window["top"], w, h)
                with self.subTest(slot=slot):
                    # A label with text has glyph pixels besides its background colour.
                    if slot in self.TEXTS:
                        self.assertGreater(colours_in(shot, local), 1, "no text drawn")
                    else:
                        self.assertEqual(colours_in(shot, local), 1, "an empty label")
            # Loading never rewrites the file.
            self.assertEqual(tw.read("Forms.dat"), prepared)


class UnopenableEntryFile(unittest.TestCase):
    def test_reports_and_exits_nonzero_without_a_window(self):
        # A folder where the entry file should be: it can be neither opened nor created.
        with Typewell(files={"Forms.dat": None}, wait_window=False) as tw:
            boxes = wait_until(lambda: x_windows_of_process(tw.process.pid), timeout=60,
                               what="the error message box")
            self.assertTrue(tw.running())
            self.assertEqual(find_x_windows(TITLE_PATTERN, visible_only=True), [])
            title = x_window_name(boxes[0])
            self.assertNotEqual(title, " Typewell")
            self.assertTrue(winctl("close", title), f"no window {title!r} to close")
            self.assertNotEqual(tw.wait_exit(timeout=10), 0)
            self.assertTrue(tw.path("Forms.dat").is_dir())


if __name__ == "__main__":
    unittest.main()
