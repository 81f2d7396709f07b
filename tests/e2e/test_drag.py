"""Moving an entry by dragging its label with the real mouse: over a page tab onto an empty slot
of another page (only the two records of Forms.dat change), onto a filled label and outside
the window (nothing changes), and the outline that follows the pointer during the drag."""

import re
import subprocess
import unittest

from harness import Typewell, pixel, wait_until, xdo

RECORD = 200
# An entry without blanks, so that every byte of both records changes when it moves.
MOVED = (b"0123456789" * 20)
OUTLINE = (64, 64, 64)  # the frame of the drag outline


def entries(slots, tail=b""):
    data = bytearray(b" " * (60 * RECORD))
    for slot, text in slots.items():
        data[slot * RECORD:slot * RECORD + len(text)] = text
    return bytes(data) + tail


def differing_offsets(a, b):
    return [i for i in range(max(len(a), len(b))) if a[i:i + 1] != b[i:i + 1]]


def ink(shot, rect):
    """How many pixels along the middle row of a label are darker than its white ground."""
    x, y, w, h = rect
    text = subprocess.run(["convert", str(shot), "-crop", f"{w - 4}x1+{x + 2}+{y + h // 2}",
                           "-depth", "8", "txt:-"], capture_output=True, text=True,
                          check=True).stdout
    levels = re.findall(r"^\d+,\d+:\s*\(\s*(\d+),\s*(\d+),\s*(\d+)", text, re.MULTILINE)
    assert len(levels) == w - 4, text
    return sum(1 for rgb in levels if max(int(v) for v in rgb) < 160)


class DragTest(unittest.TestCase):
    ORIGINAL = entries({0: b"first", 3: MOVED, 7: b"filled"}, tail=b"kept beyond the records")

    def start_drag(self, tw, slot):
        """Presses on the label, moves by 2 pixels (more than 10 twips) and waits until the
        drag has begun; returns the pointer position where it began."""
        x, y = tw.centre("Names", slot)
        xdo("mousemove", x, y, "mousedown", 1)
        xdo("mousemove", x, y + 2)
        wait_until(lambda: tw.state("Dragbox")["visible"], what="the drag to begin")
        return x, y + 2

    @staticmethod
    def painted_screenshot(tw, empty_label):
        """A screenshot taken once the window is painted: the empty label is white."""

        def shot():
            path = tw.screenshot("drag_before")
            return path if ink(path, empty_label) == 0 else None

        return wait_until(shot, what="the window to be painted")

    def assert_untouched(self, tw):
        self.assertEqual(tw.read("Forms.dat"), self.ORIGINAL)
        self.assertTrue(tw.state("FillBtn", 3)["enabled"])
        self.assertTrue(tw.state("FillBtn", 7)["enabled"])
        self.assertFalse(tw.state("Gettext")["visible"], "the release opened the edit box")

    def test_drag_over_a_tab_moves_the_entry_to_another_page(self):
        with Typewell(files={"Forms.dat": self.ORIGINAL}) as tw:
            lx, ly, lw, lh = tw.rect("Names", 3)
            empty = tw.rect("Names", 5)
            before = self.painted_screenshot(tw, empty)
            start = self.start_drag(tw, 3)

            # The outline starts exactly over the label (its height is the proxy's).
            def outline_at(dx, dy, name):
                shot = tw.screenshot(name)
                edge = [pixel(shot, lx + dx + i, ly + dy) for i in (4, lw // 2, lw - 5)]
                side = pixel(shot, lx + dx, ly + dy + lh // 2)
                return shot if all(p == OUTLINE for p in edge + [side]) else None

            wait_until(lambda: outline_at(0, 0, "drag_start"), what="the outline over the label")
            # It follows the pointer: 3 rows lower it frames white labels, where there was none.
            tw.move_to(start[0] + 10, start[1] + 60, steps=4)
            wait_until(lambda: outline_at(10, 60, "drag_mid"), what="the outline to follow")
            self.assertNotEqual(pixel(before, lx + 10 + lw // 2, ly + 60), OUTLINE)

            tw.move_to(*tw.centre("Page", 1), steps=6)
            wait_until(lambda: tw.state("Names", 20)["visible"], what="page 2 on show")
            self.assertFalse(tw.state("Names", 3)["visible"])
            tw.move_to(*tw.centre("Names", 20), steps=6)
            tw.release(1)
            # The target record is written last, within the same opening of the file.
            wait_until(lambda: tw.read("Forms.dat")[4000:4200] == MOVED, what="the move saved")

            after = tw.read("Forms.dat")
            self.assertEqual(differing_offsets(self.ORIGINAL, after),
                             list(range(600, 800)) + list(range(4000, 4200)))
            self.assertEqual(after[600:800], b" " * RECORD)
            self.assertEqual(after[4000:4200], MOVED)
            self.assertTrue(tw.state("FillBtn", 20)["enabled"])
            self.assertFalse(tw.state("FillBtn", 3)["enabled"])
            self.assertFalse(tw.state("Dragbox")["visible"])
            self.assertFalse(tw.state("Gettext")["visible"], "the release opened the edit box")
            self.assertTrue(tw.info()["topmost"], "Typewell is no longer topmost after a drag")
            # Slot 20 shows the text where the empty slot 5 stood before, and no outline is left.
            x, y, w, h = tw.rect("Names", 20)
            self.assertEqual((x, y, w, h), empty)
            shot = tw.screenshot("drag_after")
            self.assertGreater(ink(shot, empty), 10)
            self.assertNotEqual(pixel(shot, x + w // 2, y), OUTLINE)
            tw.click("Page", 0)
            wait_until(lambda: tw.state("Names", 3)["visible"], what="page 1 on show again")
            self.assertFalse(tw.state("FillBtn", 3)["enabled"])

    def test_a_drop_on_a_filled_label_changes_nothing(self):
        with Typewell(files={"Forms.dat": self.ORIGINAL}) as tw:
            self.start_drag(tw, 3)
            tw.move_to(*tw.centre("Names", 7), steps=5)
            tw.release(1)
            wait_until(lambda: not tw.state("Dragbox")["visible"], what="the drop to run")
            self.assert_untouched(tw)

    def test_a_drop_outside_the_window_changes_nothing(self):
        with Typewell(files={"Forms.dat": self.ORIGINAL}) as tw:
            info = tw.info()
            right = info["left"] + info["width"]
            outside_x = right + 100 if right + 120 < 1280 else info["left"] - 100
            self.start_drag(tw, 3)
            tw.move_to(outside_x, info["top"] + info["height"] // 2, steps=8)
            tw.release(1)
            # Input is handled in order: once a later click has switched the page, the release
            # before it has been handled too.
            tw.click("Page", 2)
            wait_until(lambda: tw.state("Names", 30)["visible"], what="a click after the drop")
            self.assert_untouched(tw)


if __name__ == "__main__":
    unittest.main()
