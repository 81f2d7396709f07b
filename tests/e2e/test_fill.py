"""Fills into other programs under Wine: the helper's target (its fields and key log show what
arrived, with which Shift/Ctrl/Alt state; it stops answering on F12; it is always on top, or slow,
or stands in for the taskbar), and Wine's Notepad, whose window covers Typewell's place."""

import pathlib
import shutil
import tempfile
import time
import unittest

from harness import (Typewell, colour, entries, helper, helper_exe, probe, read_text, run,
                     screenshot, spawn, wait_until, winpath, x_windows, xdo)

TARGET, SLOW = "Typewell Test Target", "Typewell Slow Target"
FILL_KEYS = ("24", "23", "08", "2d", "09")  # Home, End, Backspace, Insert, Tab
# The slot's entry, how its Insert button is pressed, what else goes on, the field's text after.
FILLS = [(b"+^%~{}", "left click", None, "+^%~{}"),
         (b"M\xfcller \x80", "right click", "Ctrl held", "M\u00fcller \u20ac"),
         (b"third", "release outside", "clipboard held", "third"),
         (b"first line\r\nsecond line", "left click", None, "first line\r\nsecond line")]


class Fill(unittest.TestCase):
    def setUp(self):
        self.outdir = pathlib.Path(tempfile.mkdtemp(prefix="typewell-fill-"))
        self.addCleanup(shutil.rmtree, self.outdir, ignore_errors=True)
        self.log = self.outdir / "keys.log"

    def keys(self):
        lines = self.log.read_text().splitlines() if self.log.is_file() else []
        return [k for k in lines if k.split()[1] in FILL_KEYS]

    def fields(self, title=TARGET):
        """The texts of the target's four fields and the number of the focused one."""
        return read_text(title), probe(title)["window"]["focus"] - 100

    def click_field(self, field, title=TARGET):
        window = probe(title)["window"]
        xdo("mousemove", window["clientleft"] + 190, window["clienttop"] + 32 * field - 10,
            "click", 1)
        wait_until(lambda: self.fields(title)[1] == field, f"the field {field} of {title} focused")

    def start_target(self, *options, title=TARGET):
        target = spawn(self, helper_exe(), "target", winpath(self.log), *options)
        wait_until(lambda: probe(title) if title else x_windows(pid=target.pid), f"{title!r}")

    def test_fills_reach_the_target_and_a_hung_target_cannot_hang_typewell(self):
        self.start_target("old 1", "old 2", "old 3")
        tw = Typewell(self, {"Forms.dat": entries(dict(enumerate(e for e, *_ in FILLS)))})
        tw.settled()
        self.click_field(1)
        expected = ["old 1", "old 2", "old 3", ""]
        for slot, (_, how, meanwhile, text) in enumerate(FILLS):
            x, y = tw.centre("insertButton", slot)
            if meanwhile == "Ctrl held":
                xdo("keydown", "ctrl")
                self.addCleanup(xdo, "keyup", "ctrl")
            if meanwhile == "clipboard held":  # let go while Typewell waits for it
                held = self.outdir / "held"
                spawn(self, helper_exe(), "hold", "clipboard", winpath(held))
                wait_until(held.exists, "the clipboard held by another program")
            if how == "release outside":
                xdo("mousemove", x, y, "mousedown", 1, "mousemove", 1100, 950, "mouseup", 1)
            else:
                xdo("mousemove", x, y, "click", 1 if how == "left click" else 3)
            if meanwhile == "clipboard held":
                held.with_name("held.release").touch()
            expected[slot] = text
            # The multi-line field (the last) takes the Tab as a character.
            filled = lambda: (([t.rstrip("\t") for t in self.fields()[0]], self.fields()[1]) ==
                              (expected, min(slot + 2, 4)) and len(self.keys()) == 10 * (slot + 1))
            wait_until(filled, f"{text!r} filled by a {how} ({meanwhile or 'nothing else'})")
            if meanwhile == "Ctrl held":
                xdo("keyup", "ctrl")
        screenshot("filled_target")
        self.assertTrue(all(k.endswith("ctrl=0 alt=0") for k in self.keys()), self.keys())
        self.assertEqual({k.split()[1] for k in self.keys() if "shift=1" in k}, {"23", "2d"})

        # F12 makes the target stop answering; a fill into it must not hang Typewell.
        self.addCleanup(lambda: pathlib.Path(f"{self.log}.wake").touch())
        self.click_field(1)
        xdo("key", "F12")
        wait_until(lambda: self.log.read_text().find("down 7b") >= 0, "the target to hang")
        tw.click("insertButton", 0)
        wait_until(lambda: probe(TARGET)["window"]["foreground"], "the fill to activate the target")
        start = time.monotonic()
        tw.click("pageTab", 1)
        wait_until(lambda: tw.state("entryLabel", 15)[4], "page 2 on show")
        self.assertLess(time.monotonic() - start, 5, "Typewell answered a click late")

    def test_an_always_on_top_program_stays_above_typewell_and_takes_quick_fills_slowly(self):
        self.start_target("--topmost")  # magenta, over Typewell's place, 60 ms over every key
        tw = Typewell(self, {"Forms.dat": entries({0: b"one", 1: b"two", 2: b"three"})})
        tw.settled()
        # A point of the target's magenta face, between its first two fields, over Typewell.
        point = (tw.info()["left"] + 150, probe(TARGET)["window"]["clienttop"] + 38)
        self.click_field(1)
        for step in ("activated", "filled"):
            if step == "filled":  # three clicks in a row, each entry into its own field
                for slot in range(3):
                    xdo("mousemove", *tw.centre("insertButton", slot), "click", 1)
                wait_until(lambda: self.fields() == (["one", "two", "three", ""], 4),
                           "each entry in its own field", 60)
            wait_until(lambda: probe(TARGET)["window"]["foreground"], f"the target {step}")
            # Moved a pixel twice, each until a tick saved the place: the ticks after it ran.
            for _ in range(2):
                left = (tw.info()["left"] + 1) * 15
                helper("winctl", "right", " Typewell")
                wait_until(lambda: tw.read("Typewell.ini")[4:6] == left.to_bytes(2, "little"),
                           "Typewell's tick to save its place")
            self.assertLess(probe(TARGET)["window"]["above"], tw.info()["above"],
                            f"Typewell above the topmost target {step}")
            self.assertEqual(colour(screenshot(f"topmost_target_{step}"), *point), (255, 0, 255))

    def test_fills_wines_notepad_whose_window_covers_typewell(self):
        # Typewell must stay in front of Notepad, or the click on Insert lands in Notepad.
        for name, value in (("X", 0), ("Y", 0), ("DX", 1280), ("DY", 1000)):
            run("wine", "reg", "add", r"HKCU\Software\Microsoft\Notepad", "/v",
                f"iWindowPos{name}", "/t", "REG_DWORD", "/d", value, "/f")
        spawn(self, "notepad")
        title = "Untitled - Notepad"
        notepad = wait_until(lambda: probe(title), "Notepad's window", 60)["window"]
        tw = Typewell(self, {"Forms.dat": entries({0: b"Filled by Typewell"})})
        tw.settled()
        xdo("mousemove", notepad["left"] + 40, notepad["top"] + notepad["height"] - 40, "click", 1)
        wait_until(lambda: probe(title)["window"]["foreground"], "Notepad in the foreground")
        xdo("type", "--delay", 20, "old line")
        wait_until(lambda: read_text(title) == ["old line"], "the line typed")
        # Within a tick Typewell is on top of Notepad again: topmost (read once the raise settled)
        # and on the screen (its "Page" label in the face colour where Notepad is white).
        wait_until(lambda: tw.info()["topmost"], "Typewell topmost")
        wait_until(lambda: colour(screenshot("notepad"), *tw.centre("pageLabel")) != (255,) * 3,
                   "Typewell's window on the screen above Notepad's")
        tw.click("insertButton", 0)  # Notepad takes the Tab as a character
        wait_until(lambda: read_text(title) == ["Filled by Typewell\t"], "the entry and a tab")
        self.assertTrue(probe(title)["window"]["foreground"], "Notepad not in front")

    def test_a_fill_stops_when_the_user_clicks_another_program_while_a_slow_target_takes_keys(self):
        self.start_target("--slow=1500", "slow old", title=SLOW)  # 1.5 s over every key message
        self.start_target("old text")
        tw = Typewell(self, {"Forms.dat": entries({0: b"for the slow one"})})
        tw.settled()
        self.click_field(1, SLOW)
        tw.click("insertButton", 0)
        time.sleep(0.4)  # not a wait for a condition: the user's own timing, 0.4 s after Insert
        self.click_field(1)  # the other program's field; then read once the slow one answers
        self.assertEqual((read_text(SLOW)[0], read_text(TARGET)[0]), ("slow old", "old text"))

    def test_the_taskbar_that_the_user_clicked_on_the_way_to_typewell_is_passed_over(self):
        self.start_target()
        self.start_target("--taskbar", title=None)
        tw = Typewell(self, {"Forms.dat": entries({0: b"past the taskbar"})})
        tw.settled()
        self.click_field(1)
        xdo("mousemove", 640, 1004, "click", 1)  # the taskbar's stand-in, at the foot of the screen
        left = (tw.info()["left"] + 1) * 15  # moved a pixel, until a tick saved the place
        helper("winctl", "right", " Typewell")
        wait_until(lambda: tw.read("Typewell.ini")[4:6] == left.to_bytes(2, "little"), "a tick")
        tw.click("insertButton", 0)
        wait_until(lambda: read_text(TARGET)[0] == "past the taskbar", "the entry in the field")
