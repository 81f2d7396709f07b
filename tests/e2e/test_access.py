"""Typewell for every user under Wine: the keyboard alone, from another program's field to a
filled field and an edited entry; the names a screen reader reads (MSAA, from another process);
a dark colour scheme; larger text and a taller caption."""

import pathlib
import re
import shutil
import struct
import tempfile
import unittest

from harness import (IDS, TITLE, Typewell, colour, entries, helper, helper_exe, names, probe,
                     read_text, run, screenshot, spawn, wait_until, winpath, xdo)

TARGET, DIALOG = "Typewell Test Target", " Typewell Options"


def keys(*names, title=TITLE, focus=None):
    """Presses the keys, then waits until the window's focus is on the control of that ID."""
    xdo("key", "--delay", 50, *names)
    if focus is not None:
        wait_until(lambda: probe(title)["window"]["focus"] == focus, f"the focus on {focus}")


class Access(unittest.TestCase):
    def test_the_keyboard_alone_fills_the_program_left_and_edits_the_entries(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "keys.log"
        self.addCleanup(shutil.rmtree, log.parent, ignore_errors=True)
        spawn(self, helper_exe(), "target", winpath(log), "old")
        wait_until(lambda: probe(TARGET), "the target")
        tw = Typewell(self, {"Forms.dat": entries({0: b"Smith & Co", 1: b"second"})})
        tw.settled()
        # The target in front at a tick (a move of Typewell saved shows that one ran), then the
        # user switches to Typewell, as Alt+Tab does. Wine 8 tells an out-of-context WinEvent hook
        # of no other process's coming to the front, so here the tick's reading records the
        # target; on Windows the hook does at once.
        helper("winctl", "activate", TARGET)
        left = (tw.info()["left"] + 1) * 15
        helper("winctl", "right", TITLE)
        wait_until(lambda: tw.read("Typewell.ini")[4:6] == left.to_bytes(2, "little"), "a tick")
        helper("winctl", "activate", TITLE)
        tw.settled()
        keys("Tab", focus=IDS["insertButton"] + 1)
        keys("space")
        wait_until(lambda: read_text(TARGET) == ["second", "", "", ""], "the target's field filled")
        ids = [IDS["insertButton"], IDS["insertButton"] + 2, IDS["entryLabel"],
               IDS["entryLabel"] + 2, IDS["pageTab"] + 3]
        self.assertEqual(names(TITLE, *ids),
                         ["Insert 1: Smith & Co", "Insert 3, empty", "Smith & Co", "Entry 3, empty",
                          "Page 4"])
        # F2 opens an edit, Enter commits it, Esc leaves an entry as it was.
        helper("winctl", "activate", TITLE)
        tw.settled()
        keys("shift+Tab", focus=IDS["entryLabel"])
        keys("F2", focus=IDS["editBox"])
        self.assertEqual(names(TITLE, IDS["editBox"]), ["Entry 1"])
        keys("Home", "N", "e", "w", "space", "Return", focus=IDS["entryLabel"])
        keys("F2", "x", "Escape", focus=IDS["entryLabel"])
        wait_until(lambda: tw.read("Forms.dat") == entries({0: b"New Smith & Co", 1: b"second"}),
                   "the edit by keys saved")
        self.assertEqual(names(TITLE, IDS["insertButton"]), ["Insert 1: New Smith & Co"])
        # Letters that the code page cannot hold are refused as they are pasted (or typed).
        helper("copy", "Łódź")
        keys("F2", "End", "shift+Insert", focus=IDS["editBox"])
        wait_until(lambda: read_text(TITLE) == ["New Smith & Coód"], "the pasted letters refused")
        keys("Return", focus=IDS["entryLabel"])
        wait_until(lambda: tw.read("Forms.dat")[:16] == b"New Smith & Co\xf3d", "only ó and d kept")
        # Ctrl+Tab shows the next page, on the same row; in the options dialog, Tab into the
        # colours chooses nothing, an arrow chooses, Esc closes.
        keys("ctrl+Tab", focus=IDS["entryLabel"] + 15)
        settings = tw.read("Typewell.ini")
        keys("alt+o", title=DIALOG, focus=IDS["fontOption"])
        keys("Tab", title=DIALOG, focus=IDS["colourOption"])
        self.assertEqual(tw.read("Typewell.ini"), settings)
        keys("Right", title=DIALOG, focus=IDS["colourOption"] + 1)
        wait_until(lambda: tw.read("Typewell.ini")[6] == 1, "green chosen by an arrow")
        keys("Escape", focus=IDS["optionsButton"])
        # Enter on the focused "OK" closes the dialog. An edit left for another program gives the
        # focus back to its entry, on Typewell's return.
        keys("alt+o", title=DIALOG, focus=IDS["fontOption"])
        keys("Tab", "Tab", title=DIALOG, focus=IDS["okButton"])
        keys("Return", focus=IDS["optionsButton"])
        keys("Tab", "Down", "F2", focus=IDS["editBox"])
        helper("winctl", "activate", TARGET)
        wait_until(lambda: probe(TARGET)["window"]["foreground"], "the target in front")
        helper("winctl", "activate", TITLE)
        wait_until(lambda: probe(TITLE)["window"]["focus"] == IDS["entryLabel"] + 16, "entry 17")

    def test_a_letter_typed_in_halves_is_refused_alone_and_the_letters_after_it_stay(self):
        (tw := Typewell(self, {"Forms.dat": entries({0: b"Tattoo Smith"})})).settled()
        keys("F2", focus=IDS["editBox"])
        for caret, half in ((7, "d83d"), (-1, "de00")):  # U+1F600 before "Smith", as Wine takes it
            helper("char", TITLE, caret, half)
            self.assertEqual(read_text(TITLE), ["Tattoo Smith"], half)
        keys("Return", focus=IDS["entryLabel"])
        wait_until(lambda: tw.read("Forms.dat") == entries({0: b"Tattoo Smith"}), "it saved")

    def setting(self, key, name, kind, value):
        """A value of HKCU\\Control Panel\\<key> for the programs started from now on (those running
        keep theirs); the old one comes back at the end."""
        path = rf"HKCU\Control Panel\{key}"
        old = re.search(rf"{name}\s+(\S+)\s+(.*)", run("wine", "reg", "query", path, "/v", name)
                        .decode()).groups()
        run("wine", "reg", "add", path, "/v", name, "/t", kind, "/d", value, "/f")
        self.addCleanup(run, "wine", "reg", "add", path, "/v", name, "/t", old[0], "/d",
                        old[1].strip(), "/f")

    # Wine 8 ignores SPI_SETHIGHCONTRAST (the flag never reads back as on): the colours a dark
    # high-contrast theme sets stand in here; the high-contrast branch of the label colours is a
    # unit test.
    def test_in_a_dark_scheme_with_larger_text_and_a_taller_caption_all_shows_and_contrasts(self):
        for name, value in (("Window", "0 0 0"), ("WindowText", "255 255 255"),
                            ("ButtonFace", "0 0 0"), ("ButtonText", "255 255 255")):
            self.setting("Colors", name, "REG_SZ", value)
        self.setting(r"Desktop\WindowMetrics", "CaptionHeight", "REG_SZ", "-480")  # 33 pixels
        font = struct.pack("<5l8B64s", -18, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x22,
                           "Tahoma".encode("utf-16-le"))  # 150% of the usual 11 pixels
        self.setting(r"Desktop\WindowMetrics", "MessageFont", "REG_BINARY", font.hex())
        ini = struct.pack("<6h", 0, 1500, 3000, 3, 0, 20)  # yellow labels, started before
        tw = Typewell(self, {"Forms.dat": entries({0: b"Smith & Co"}), "Typewell.ini": ini})
        helper("winctl", "restore", TITLE)
        wait_until(lambda: not tw.info()["minimized"], "Typewell restored")
        window = tw.info()
        frame = window["clientleft"] - window["left"]
        client = (window["clientleft"], window["clienttop"], window["left"] + window["width"] -
                  frame, window["top"] + window["height"] - frame)
        for name, index in (("minimizeButton", 0), ("webSiteButton", 0), ("pageTab", 3),
                            ("entryLabel", 14), ("insertButton", 14), ("optionsButton", 0)):
            left, top, width, height = tw.state(name, index)[:4]
            self.assertTrue(client[0] <= left and left + width <= client[2] and
                            client[1] <= top and top + height <= client[3], f"{name} clipped")
            self.assertGreaterEqual(height, 22, f"{name} lower than a line of its text")
        # The label's text against its yellow: the most different pixel of its text.
        left, top, width, height = tw.state("entryLabel", 0)[:4]
        shot = screenshot("dark_scheme_larger_text")
        background = colour(shot, left + width - 3, top + height // 2)
        text = max(pixels(shot, left + 2, top + 2, width // 2, height - 4),
                   key=lambda p: contrast(p, background))
        self.assertGreaterEqual(contrast(text, background), 4.5, (text, background))
        self.assertEqual(tw.read("Typewell.ini"), ini)


def pixels(png, x, y, w, h):
    """The (r, g, b) of every pixel of a rectangle of a picture."""
    text = run("convert", png, "-crop", f"{w}x{h}+{x}+{y}", "-depth", "8", "txt:-").decode()
    return [tuple(map(int, m)) for m in re.findall(r"\(\s*(\d+),\s*(\d+),\s*(\d+)", text)]


def contrast(a, b):
    """The contrast ratio of two colours, as the web's accessibility guidelines define it."""
    def luminance(rgb):
        c = [v / 255 for v in rgb]
        c = [v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4 for v in c]
        return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)
