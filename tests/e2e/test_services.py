"""The window-system services between two real programs under Wine: fill_floor fills a field
of target_gui exactly as a fill does (clipboard, activation, the five key strings), with a
Ctrl key physically held, with the clipboard held by another program, and against a target
that stops answering."""

import pathlib
import shutil
import tempfile
import time
import unittest

from harness import Tool, run_tool, wait_until, xdo

TARGET = "Typewell Test Target"
TEXT = "Müller € +^%~{}"
FILL_KEYS = {"24", "23", "08", "2d", "09"}  # Home, End, Backspace, Insert, Tab


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def read_fields(outdir):
    """{1: text, ..., "focus": n} from target_gui's fields.txt (None while it is missing)."""
    try:
        lines = (outdir / "fields.txt").read_text(encoding="utf-8").splitlines()
    except FileNotFoundError:
        return None
    fields = {}
    for line in lines:
        key, _, value = line.partition("\t")
        fields[key] = value
    return {**{int(k): v for k, v in fields.items() if k.isdigit()},
            "focus": int(fields.get("focus", "-1"))}


def key_lines(outdir):
    path = outdir / "keys.log"
    return path.read_text().splitlines() if path.exists() else []


def fill_key_lines(outdir, count=10):
    """The target's log lines of the fill's keys, once all of them have arrived: the Tab is
    not waited for, so its key-up may still be on its way when the fill returns."""
    def lines():
        return [line for line in key_lines(outdir) if line.split()[1] in FILL_KEYS]
    wait_until(lambda: len(lines()) >= count, what=f"{count} key lines of the fill")
    return lines()


class ServicesTest(unittest.TestCase):
    def setUp(self):
        self.outdir = pathlib.Path(tempfile.mkdtemp(prefix="typewell-services-"))
        self.addCleanup(shutil.rmtree, self.outdir, ignore_errors=True)

    def start_target(self, *fields):
        target = Tool("target_gui", windows_path(self.outdir), *fields)
        target.__enter__()
        self.addCleanup(target.__exit__, None, None, None)
        wait_until(lambda: (self.outdir / "ready").exists(), timeout=30,
                   what="target_gui to be ready")
        return target

    def click_field(self, index):
        rects = dict(line.split("\t") for line in
                     (self.outdir / "rects.txt").read_text().splitlines())
        x, y, w, h = (int(v) for v in rects[str(index)].split())
        xdo("mousemove", x + w // 2, y + h // 2, "click", 1)
        wait_until(lambda: (read_fields(self.outdir) or {}).get("focus") == index,
                   what=f"field {index} to have the focus")

    def fill(self, text=TEXT, timeout=30):
        return run_tool("fill_floor", TARGET, text, 1, timeout=timeout)

    def assert_filled(self, text=TEXT):
        wait_until(lambda: read_fields(self.outdir)[1] == text
                   and read_fields(self.outdir)["focus"] == 2,
                   what=f"field 1 to hold {text!r} and field 2 to have the focus")

    def test_fill_replaces_the_line_and_moves_on_without_modifiers(self):
        self.start_target("old text")
        self.click_field(1)
        result = self.fill()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertRegex(result.stdout, r"fills 1 median_ms \d+\.\d+")
        self.assert_filled()
        self.assertEqual(read_fields(self.outdir)[2], "")
        fill_lines = fill_key_lines(self.outdir)
        self.assertEqual(len(fill_lines), 10, key_lines(self.outdir))
        for line in key_lines(self.outdir):
            self.assertIn("ctrl=0 alt=0", line)
        # Shift is down exactly for End and Insert.
        shifted = {line.split()[1] for line in fill_lines if "shift=1" in line}
        self.assertEqual(shifted, {"23", "2d"})

    def test_a_physically_held_ctrl_does_not_reach_the_fills_keys(self):
        self.start_target("old text", "second")
        self.click_field(1)
        xdo("keydown", "ctrl")
        try:
            wait_until(lambda: any(line.startswith("down 11") for line in key_lines(self.outdir)),
                       what="the target to see Ctrl go down")
            result = self.fill()
        finally:
            xdo("keyup", "ctrl")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assert_filled()
        self.assertEqual(read_fields(self.outdir)[2], "second")
        fill_lines = fill_key_lines(self.outdir)
        self.assertEqual(len(fill_lines), 10, key_lines(self.outdir))
        for line in fill_lines:
            self.assertIn("ctrl=0", line)

    def test_a_held_clipboard_fails_the_write_and_the_next_one_succeeds(self):
        self.start_target("old text")
        self.click_field(1)
        with Tool("clipboard_locker", 3000, windows_path(self.outdir)):
            wait_until(lambda: (self.outdir / "held").exists(), timeout=30,
                       what="the clipboard to be held")
            result = self.fill()
            self.assertEqual(result.returncode, 4, result.stderr)
            self.assertFalse((self.outdir / "released").exists(),
                             "the clipboard was released before the write was tried")
            self.assertEqual(read_fields(self.outdir)[1], "old text")
            wait_until(lambda: (self.outdir / "released").exists(), timeout=30,
                       what="the clipboard to be released")
        self.click_field(1)
        self.assertEqual(self.fill().returncode, 0)
        self.assert_filled()

    def test_a_hung_target_cannot_hang_the_sender(self):
        hung = Tool("hung_gui", windows_path(self.outdir))
        hung.__enter__()
        self.addCleanup(hung.__exit__, None, None, None)
        self.addCleanup(lambda: (self.outdir / "wake").touch())
        wait_until(lambda: (self.outdir / "ready").exists(), timeout=30,
                   what="hung_gui to be ready")
        start = time.monotonic()
        result = run_tool("fill_floor", "Typewell Hung Target", "x", 1, timeout=30)
        elapsed = time.monotonic() - start
        self.assertTrue((self.outdir / "hung").exists(), "the target never stopped answering")
        self.assertEqual(result.returncode, 3, result.stderr)
        self.assertLess(elapsed, 10)


if __name__ == "__main__":
    unittest.main()
