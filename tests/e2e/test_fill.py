"""Fills into other programs under Wine: the helper's target, whose fields and key log show what
arrived and with which Shift/Ctrl/Alt state, and which stops answering on F12; and Wine's
Notepad, whose window covers Typewell's place."""

import pathlib
import shutil
import tempfile
import time
import unittest

from harness import (Typewell, colour, entries, env_path, helper, probe, run, screenshot, spawn,
                     wait_until, winpath, xdo)

TARGET = "Typewell Test Target"
FILL_KEYS = ("24", "23", "08", "2d", "09")  # Home, End, Backspace, Insert, Tab
# The slot's entry, how its Insert button is pressed, what else goes on, the field's text after.
FILLS = [
    (b"+^%~{}", "left click", None, "+^%~{}"),
    (b"M\xfcller \x80", "right click", "Ctrl held", "M\u00fcller \u20ac"),
    (b"third", "release outside", "clipboard held", "third"),
    (b"first line\r\nsecond line", "left click", None, "first line\r\nsecond line"),
]


class Fill(unittest.TestCase):
    def setUp(self):
        self.outdir = pathlib.Path(tempfile.mkdtemp(prefix="typewell-fill-"))
        self.addCleanup(shutil.rmtree, self.outdir, ignore_errors=True)
        self.log = self.outdir / "keys.log"

    def keys(self):
        return self.log.read_text().splitlines() if self.log.is_file() else []

    def fields(self):
        """The texts of the target's four fields and the number of the focused one."""
        texts = helper("read-text", TARGET).decode().split("\0")[:-1]
        return texts, probe(TARGET)["window"]["focus"] - 100

    def click_field(self, field):
        window = probe(TARGET)["window"]
        xdo("mousemove", window["clientleft"] + 190, window["clienttop"] + 32 * field - 10,
            "click", 1)
        wait_until(lambda: self.fields()[1] == field, f"the target's field {field} focused")

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
            if meanwhile == "clipboard held":
                marker = self.outdir / "held"
                holder = spawn(self, env_path("TYPEWELL_TOOLS") / "e2e_helper.exe",
                               "hold-clipboard", 600, "Z:" + str(marker).replace("/", "\\"))
                wait_until(marker.exists, "the clipboard held by another program")
            if how == "release outside":
                xdo("mousemove", x, y, "mousedown", 1, "mousemove", 1100, 950, "mouseup", 1)
            else:
                xdo("mousemove", x, y, "click", 1 if how == "left click" else 3)
            if meanwhile == "clipboard held":
                self.assertIsNone(holder.poll(), "the clipboard was free before the click")
            expected[slot] = text

            def filled():
                texts, focus = self.fields()
                fill_keys = [k for k in self.keys() if k.split()[1] in FILL_KEYS]
                # The multi-line field (the last) takes the Tab as a character.
                return ([t.rstrip("\t") for t in texts] == expected and focus == min(slot + 2, 4)
                        and len(fill_keys) == 10 * (slot + 1))
            try:
                wait_until(filled, f"{text!r} filled by a {how} ({meanwhile or 'nothing else'})")
            except AssertionError as error:
                raise AssertionError(f"{error}; now {self.fields()}, keys {self.keys()}") from None
            if meanwhile == "Ctrl held":
                xdo("keyup", "ctrl")
        screenshot("filled_target")
        fill_keys = [k for k in self.keys() if k.split()[1] in FILL_KEYS]
        self.assertEqual(sum(k.startswith("down 24") for k in fill_keys), len(FILLS), "once each")
        self.assertTrue(all(k.endswith("ctrl=0 alt=0") for k in fill_keys), self.keys())
        self.assertEqual({k.split()[1] for k in fill_keys if "shift=1" in k}, {"23", "2d"})

        # F12 makes the target stop answering; a fill into it must not hang Typewell.
        self.addCleanup(lambda: pathlib.Path(f"{self.log}.wake").touch())
        self.click_field(1)
        xdo("key", "F12")
        wait_until(lambda: "down 7b" in " ".join(self.keys()), "the target to stop answering")
        tw.click("pageLabel")
        wait_until(lambda: tw.info()["foreground"], "Typewell in the foreground")
        tw.click("insertButton", 0)
        wait_until(lambda: probe(TARGET)["window"]["foreground"], "the fill to activate the target")
        start = time.monotonic()
        tw.click("pageTab", 1)
        wait_until(lambda: tw.state("entryLabel", 15)[4], "page 2 on show")
        self.assertLess(time.monotonic() - start, 5, "Typewell answered a click late")

    def start_target(self, *options):
        spawn(self, env_path("TYPEWELL_TOOLS") / "e2e_helper.exe", "target", winpath(self.log),
              *options)
        wait_until(lambda: probe(TARGET), "the target program")

    def test_three_quick_fills_into_a_slow_program_each_reach_their_own_field(self):
        self.start_target("--slow")  # 60 ms over every key
        tw = Typewell(self, {"Forms.dat": entries({0: b"one", 1: b"two", 2: b"three"})})
        tw.settled()
        self.click_field(1)
        for slot in range(3):
            xdo("mousemove", *tw.centre("insertButton", slot), "click", 1)
        try:
            wait_until(lambda: self.fields() == (["one", "two", "three", ""], 4),
                       "each entry in its own field", 60)
        except AssertionError as error:
            raise AssertionError(f"{error}; now {self.fields()}, keys {self.keys()}") from None

    def test_another_always_on_top_window_stays_above_typewell_also_after_a_fill(self):
        self.start_target("--topmost")  # magenta, overlapping Typewell's place
        tw = Typewell(self, {"Forms.dat": entries({0: b"on top"})})
        tw.settled()
        target = probe(TARGET)["window"]
        # A point of the target's magenta face, between its first two fields, over Typewell.
        point = (tw.info()["left"] + 150, target["clienttop"] + 38)

        def after_two_ticks():
            """Moves Typewell one pixel twice, each time until its tick has saved the place:
            whatever a tick would do after the activation changed has been done."""
            for _ in range(2):
                left = tw.info()["left"] + 1
                helper("winctl", "right", " Typewell")
                wait_until(lambda: tw.read("Typewell.ini")[4:6] == (left * 15).to_bytes(2, "little"),
                           "Typewell's tick to save its place")

        for step in ("activated", "filled"):
            if step == "activated":
                self.click_field(1)
            else:
                tw.click("insertButton", 0)
                wait_until(lambda: self.fields()[0][0] == "on top", "the fill into the target")
            wait_until(lambda: probe(TARGET)["window"]["foreground"], f"the target {step}")
            after_two_ticks()
            self.assertLess(probe(TARGET)["window"]["above"], tw.info()["above"],
                            f"Typewell above the topmost target {step}")
            self.assertEqual(colour(screenshot(f"topmost_target_{step}"), *point), (255, 0, 255))

    def test_fills_wines_notepad_whose_window_covers_typewell(self):
        # Typewell must stay in front when the user clicks into Notepad, or the click on Insert
        # lands in Notepad.
        for name, value in (("X", 0), ("Y", 0), ("DX", 1280), ("DY", 1000)):
            run("wine", "reg", "add", r"HKCU\Software\Microsoft\Notepad", "/v",
                f"iWindowPos{name}", "/t", "REG_DWORD", "/d", value, "/f")
        spawn(self, "notepad")
        title = "Untitled - Notepad"
        notepad = wait_until(lambda: probe(title), "Notepad's window", 60)["window"]
        tw = Typewell(self, {"Forms.dat": entries({0: b"Filled by Typewell"})})
        tw.settled()
        info = tw.info()
        self.assertTrue(notepad["left"] <= info["left"] and
                        info["left"] + info["width"] <= notepad["left"] + notepad["width"])
        x = notepad["left"] + (40 if info["left"] > notepad["left"] + 80 else notepad["width"] - 40)
        xdo("mousemove", x, notepad["top"] + notepad["height"] - 40, "click", 1)
        wait_until(lambda: probe(title)["window"]["foreground"], "Notepad in the foreground")
        xdo("type", "--delay", 20, "old line")
        wait_until(lambda: helper("read-text", title) == b"old line\0", "the line typed")
        # Notepad came up over Typewell; within a tick Typewell is on top again on the screen:
        # its "Page" label shows the face colour where Notepad is white.
        page = tw.centre("pageLabel")
        # (Raising it leaves the topmost band and rejoins it: read the bit when it has settled.)
        wait_until(lambda: tw.info()["topmost"], "Typewell topmost")
        wait_until(lambda: colour(screenshot("notepad_before"), *page) != (255, 255, 255),
                   "Typewell's window on the screen above Notepad's")
        tw.click("insertButton", 0)
        # Notepad takes the Tab as a character.
        wait_until(lambda: helper("read-text", title) == b"Filled by Typewell\t\0",
                   "the entry and a tab in Notepad")
        self.assertTrue(probe(title)["window"]["foreground"], "Notepad not in front after the fill")
        wait_until(lambda: tw.info()["topmost"], "Typewell topmost after the fill")
        wait_until(lambda: colour(screenshot("notepad_after"), *page) != (255, 255, 255),
                   "Typewell's window on the screen above Notepad's after the fill")


if __name__ == "__main__":
    unittest.main()
