"""Filling another program's form with the real Typewell.exe under Wine: real X11 clicks into
target_gui's fields and on "Insert" buttons, then the target's fields and the keys it received
(with the Shift/Ctrl/Alt state it saw). Also a program none of us wrote: Wine's Notepad."""

import pathlib
import shutil
import subprocess
import tempfile
import unittest

from harness import Tool, Typewell, find_x_windows, pixel, probe, run_tool, wait_until, xdo

TARGET = "Typewell Test Target"
FILL_KEYS = {"24", "23", "08", "2d", "09"}  # Home, End, Backspace, Insert, Tab
SLOTS = 60
RECORD = 200
WHITE = (255, 255, 255)


def entry_file(texts):
    """Forms.dat with {slot: ANSI bytes} and blanks elsewhere."""
    return b"".join(texts.get(slot, b"").ljust(RECORD, b" ") for slot in range(SLOTS))


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class FillTest(unittest.TestCase):
    def setUp(self):
        self.outdir = pathlib.Path(tempfile.mkdtemp(prefix="typewell-fill-"))
        self.addCleanup(shutil.rmtree, self.outdir, ignore_errors=True)

    # --- the target program ------------------------------------------------------------------

    def start_target(self, *texts, outdir=None):
        outdir = outdir or self.outdir
        target = Tool("target_gui", windows_path(outdir), *texts)
        target.__enter__()
        self.addCleanup(target.__exit__, None, None, None)
        wait_until(lambda: (outdir / "ready").exists(), timeout=30,
                   what="target_gui to be ready")
        return target

    def fields(self, outdir=None):
        """{1: text, ..., 4: text, "focus": n}; {} while the file is being replaced."""
        try:
            lines = ((outdir or self.outdir) / "fields.txt").read_text("utf-8").splitlines()
        except FileNotFoundError:
            return {}
        result = {}
        for line in lines:
            key, _, value = line.partition("\t")
            result[int(key) if key.isdigit() else key] = unescape(value)
        if "focus" in result:
            result["focus"] = int(result["focus"])
        return result

    def keys(self, outdir=None):
        path = (outdir or self.outdir) / "keys.log"
        return path.read_text().splitlines() if path.exists() else []

    def fill_keys(self, outdir=None):
        return [line for line in self.keys(outdir) if line.split()[1] in FILL_KEYS]

    def wait_fill_keys(self, count=10):
        """The fill's key lines once count of them are logged: the Tab is not waited for, so
        its key-up may still be on its way when the field has the focus."""
        wait_until(lambda: len(self.fill_keys()) >= count,
                   what=f"{count} key lines of the fill; logged: {self.keys()}")
        return self.fill_keys()

    def field_centre(self, index, outdir=None):
        rects = dict(line.split("\t") for line in
                     ((outdir or self.outdir) / "rects.txt").read_text().splitlines())
        x, y, w, h = (int(v) for v in rects[str(index)].split())
        return x + w // 2, y + h // 2

    @staticmethod
    def settled(tw):
        """Waits until Typewell's start-up activation is complete, down to the X input focus:
        Wine gives an unmanaged window the X focus only when it reads its map notice, and a
        click into another program before that would lose that program's activation again."""
        wait_until(lambda: tw.info()["foreground"], what="Typewell in the foreground")
        window = tw.wait_window()
        wait_until(lambda: xdo("getwindowfocus").strip() == str(window),
                   what="Typewell's window to hold the X input focus")
        return tw

    def click_field(self, index, outdir=None):
        xdo("mousemove", *self.field_centre(index, outdir), "click", 1)
        wait_until(lambda: self.fields(outdir).get("focus") == index, timeout=10,
                   what=f"field {index} of the target to have the focus")

    def wait_fields(self, expected, outdir=None, what=None):
        """Waits until the target's fields include every item of expected."""
        def matches():
            current = self.fields(outdir)
            return all(current.get(k) == v for k, v in expected.items())
        try:
            wait_until(matches, timeout=15, what=what or f"the target's fields {expected}")
        except AssertionError as error:
            raise AssertionError(f"{error}; fields now {self.fields(outdir)}, "
                                 f"keys {self.keys(outdir)}") from None

    # --- tests ---------------------------------------------------------------------------------

    def test_insert_replaces_the_line_moves_on_and_leaves_the_entry_on_the_clipboard(self):
        self.start_target("old text", "second")
        with Typewell(files={"Forms.dat": entry_file({4: b"Hello entry"})}) as tw:
            self.settled(tw)
            self.click_field(1)
            tw.click("FillBtn", 4)
            self.wait_fields({1: "Hello entry", "focus": 2, 2: "second"})
            tw.screenshot("fill_one_field")
            self.assertEqual(len(self.wait_fill_keys()), 10, self.keys())

            # Pasting anywhere afterwards gives the entry.
            self.click_field(3)
            xdo("key", "shift+Insert")
            self.wait_fields({3: "Hello entry"}, what="the clipboard pasted into field 3")

    def test_three_fields_in_a_row_by_left_right_and_a_release_outside(self):
        self.start_target("a", "b", "c")
        entries = {0: b"first", 1: b"second", 2: b"third"}
        with Typewell(files={"Forms.dat": entry_file(entries)}) as tw:
            self.settled(tw)
            self.click_field(1)
            tw.click("FillBtn", 0, button=1)
            self.wait_fields({1: "first", "focus": 2})
            tw.click("FillBtn", 1, button=3)
            self.wait_fields({2: "second", "focus": 3})
            # The button keeps the mouse: released far outside, it still fills.
            tw.press("FillBtn", 2, button=1)
            tw.move_to(1100, 950, steps=5)
            tw.release(button=1)
            self.wait_fields({1: "first", 2: "second", 3: "third", "focus": 4})
            tw.screenshot("fill_three_fields")
            downs = [line for line in self.fill_keys() if line.startswith("down 09")]
            self.assertEqual(len(downs), 3, self.keys())

    def test_key_syntax_characters_ansi_text_and_a_line_break_arrive_unchanged(self):
        self.start_target("x", "y")
        entries = {0: b"+^%~{}", 1: b"M\xfcller \x80", 2: b"first line\r\nsecond line"}
        with Typewell(files={"Forms.dat": entry_file(entries)}) as tw:
            self.settled(tw)
            self.click_field(1)
            tw.click("FillBtn", 0)
            self.wait_fields({1: "+^%~{}", "focus": 2})
            tw.click("FillBtn", 1)
            self.wait_fields({2: "Müller €", "focus": 3})

            self.click_field(4)
            before = len(self.keys())
            tw.click("FillBtn", 2)
            wait_until(lambda: self.fields().get(4, "").startswith("first line\r\nsecond line"),
                       timeout=15, what="the two lines in the multi-line field")
            # Tab still follows the paste (the multi-line field takes it as a character).
            wait_until(lambda: "down 09 shift=0 ctrl=0 alt=0" in self.keys()[before:],
                       what="Tab after the paste")
            self.assertIn(self.fields()[4], ("first line\r\nsecond line",
                                              "first line\r\nsecond line\t"))
            tw.screenshot("fill_special_text")

    def test_a_clipboard_held_for_a_moment_by_another_program_still_fills_once(self):
        self.start_target("old text")
        with Typewell(files={"Forms.dat": entry_file({0: b"after the lock"})}) as tw:
            self.settled(tw)
            self.click_field(1)
            with Tool("clipboard_locker", 300, windows_path(self.outdir)) as locker:
                wait_until(lambda: (self.outdir / "held").exists(), timeout=30,
                           what="the clipboard to be held")
                tw.click("FillBtn", 0)
                self.wait_fields({1: "after the lock", "focus": 2})
                self.assertEqual(locker.wait_exit(timeout=30), 0)
            self.assertTrue((self.outdir / "released").exists())
            homes = [line for line in self.keys() if line.startswith("down 24")]
            self.assertEqual(len(homes), 1, self.keys())
            self.assertEqual(len(self.wait_fill_keys()), 10, self.keys())

    def test_a_held_ctrl_never_reaches_the_target_with_the_fills_keys(self):
        self.start_target("keep this line", "")
        with Typewell(files={"Forms.dat": entry_file({0: b"no ctrl"})}) as tw:
            self.settled(tw)
            self.click_field(1)
            xdo("keydown", "ctrl")
            self.addCleanup(xdo, "keyup", "ctrl", check=False)
            tw.click("FillBtn", 0)
            self.wait_fields({1: "no ctrl", "focus": 2})
            xdo("keyup", "ctrl")
            fill_keys = self.wait_fill_keys()
            self.assertEqual(len(fill_keys), 10, self.keys())
            self.assertTrue(all("ctrl=0" in line and "alt=0" in line for line in fill_keys),
                            self.keys())

    def test_a_closed_target_gets_nothing_and_typewell_keeps_working(self):
        closed_dir = self.outdir / "closed"
        closed_dir.mkdir()
        with Typewell(files={"Forms.dat": entry_file({0: b"entry"})}) as tw:
            self.settled(tw)
            self.start_target("witness")  # lies below the other target, never in front
            closed = self.start_target("untouched", outdir=closed_dir)
            self.click_field(1, outdir=closed_dir)
            # A press on Typewell while it is inactive records the target and activates it.
            xdo("mousemove", *tw.centre("Label1"), "click", 1)
            wait_until(lambda: tw.info()["foreground"], what="Typewell in the foreground")
            closed.__exit__(None, None, None)
            wait_until(lambda: len(find_x_windows(f"^{TARGET}$")) == 1,
                       what="one target left after the other closed")

            tw.click("FillBtn", 0)
            self.assertTrue(tw.info()["foreground"])
            self.assertEqual(self.keys(), [])
            self.assertEqual(self.fields()[1], "witness")

            # Typewell kept answering: the next fill goes into the live window, once.
            self.click_field(1)
            tw.click("FillBtn", 0)
            self.wait_fields({1: "entry", "focus": 2})
            self.assertEqual(len(self.wait_fill_keys()), 10, self.keys())

    def test_fills_wines_own_notepad_whose_window_covers_typewell(self):
        # Notepad opens over the whole screen, Typewell's window included: Typewell must stay in
        # front when the user clicks into Notepad, or the click on "Insert" lands in Notepad.
        for name, value in (("iWindowPosX", 0), ("iWindowPosY", 0), ("iWindowPosDX", 1280),
                            ("iWindowPosDY", 1000)):
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Microsoft\Notepad", "/v", name,
                            "/t", "REG_DWORD", "/d", str(value), "/f"], check=True,
                           capture_output=True, stdin=subprocess.DEVNULL, timeout=60)
        notepad = subprocess.Popen(["wine", "notepad"], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (notepad.kill(), notepad.wait(timeout=30)))
        title = "Untitled - Notepad"
        left, top, width, height = wait_until(lambda: probe(title), timeout=60,
                                              what="Notepad's window")[:4]

        def notepad_text():
            result = run_tool("read_text", title)
            self.assertEqual(result.returncode, 0, "read_text found no edit in Notepad")
            return result.stdout

        with Typewell(files={"Forms.dat": entry_file({0: b"Filled by Typewell"})}) as tw:
            self.settled(tw)
            info = tw.info()
            self.assertTrue(left <= info["left"] and info["left"] + info["width"] <= left + width,
                            f"Notepad {left, top, width, height} does not cover Typewell {info}")
            # Into Notepad's text, beside Typewell's window, which stays in front.
            x = left + 40 if info["left"] > left + 80 else left + width - 40
            xdo("mousemove", x, top + height - 40, "click", 1)
            wait_until(lambda: probe(title)[7] == 1, what="Notepad in the foreground")
            xdo("type", "--delay", 20, "--", "old line")
            wait_until(lambda: notepad_text() == "old line", what="the typed line in Notepad")
            self.assertTrue(tw.info()["topmost"], "Typewell is not topmost")
            # Notepad came up over Typewell on the screen; within a tick Typewell is back on
            # top: the "Page" label shows its face colour where Notepad is white.
            page = tw.centre("Label1")
            wait_until(lambda: pixel(tw.screenshot("typewell_over_notepad"), *page) != WHITE,
                       what="Typewell's window on the screen above Notepad's")

            tw.click("FillBtn", 0)
            # Notepad takes the Tab as a character: the line is the entry and a tab.
            try:
                wait_until(lambda: notepad_text() == "Filled by Typewell\t", timeout=15,
                           what="Notepad's text to be the entry followed by the tab")
            except AssertionError as error:
                raise AssertionError(f"{error}; Notepad holds {notepad_text()!r}") from None
            self.assertEqual(probe(title)[7], 1, "Notepad no longer in front after the fill")
            self.assertTrue(tw.info()["topmost"], "Typewell is not topmost after the fill")
            wait_until(lambda: pixel(tw.screenshot("fill_notepad"), *page) != WHITE,
                       what="Typewell's window on the screen above Notepad's after the fill")


if __name__ == "__main__":
    unittest.main()
