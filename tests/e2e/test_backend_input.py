"""Real X11 input reaches the forms toolkit through the Win32 backend.

events_gui.exe shows the main window's layout with no program behind it and logs every
toolkit event; xdotool presses, moves and releases real mouse buttons over its controls.
"""
import os
import tempfile
import unittest

from harness import Tool, pixel, probe, screenshot, wait_until, xdo

TITLE = " Typewell"
OUTLINE_GREY = (64, 64, 64)


class BackendInput(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="typewell-events-")
        cls.log_path = os.path.join(cls.folder, "events.log")
        cls.tool = Tool("events_gui", cls.log_path)
        cls.tool.__enter__()
        wait_until(lambda: "ready" in cls.lines(), timeout=60, what="events_gui to show")

    @classmethod
    def tearDownClass(cls):
        cls.tool.__exit__(None, None, None)

    @classmethod
    def lines(cls):
        try:
            with open(cls.log_path, encoding="ascii") as log:
                return [line.rstrip("\r\n") for line in log]
        except FileNotFoundError:
            return []

    def setUp(self):
        self.start = len(self.lines())

    def new_lines(self):
        return self.lines()[self.start:]

    def wait_for(self, line):
        wait_until(lambda: line in self.new_lines(), timeout=10,
                   what=f"{line!r} in the event log; got {self.new_lines()}")

    @staticmethod
    def rect(name, index):
        found = probe(TITLE, name, index)
        assert found is not None, f"{name}({index}) not found"
        return found

    def centre(self, name, index):
        x, y, w, h = self.rect(name, index)[:4]
        return x + w // 2, y + h // 2

    def test_each_button_reaches_the_pressed_control_with_its_index(self):
        x, y = self.centre("FillBtn", 3)
        for button, bit in ((1, 1), (3, 2), (2, 4)):  # X left, right, middle
            xdo("mousemove", x, y, "click", button)
            self.wait_for(f"up FillBtn 3 button={bit} shift=0")
        lines = self.new_lines()
        for bit in (1, 2, 4):
            self.assertLess(lines.index(f"down FillBtn 3 button={bit} shift=0"),
                            lines.index(f"up FillBtn 3 button={bit} shift=0"))
        self.assertEqual(lines.count("click FillBtn 3"), 1, "only the left button clicks")

        x, y = self.centre("Names", 2)
        xdo("mousemove", x, y, "click", 3)
        self.wait_for("up Names 2 button=2 shift=0")
        self.assertIn("down Names 2 button=2 shift=0", self.new_lines())

    def test_the_release_outside_belongs_to_the_pressed_control(self):
        x, y = self.centre("FillBtn", 4)
        xdo("mousemove", x, y, "mousedown", 1)
        self.wait_for("down FillBtn 4 button=1 shift=0")
        x2, y2 = self.centre("Names", 9)
        xdo("mousemove", x2, y2)
        xdo("mouseup", 1)
        self.wait_for("up FillBtn 4 button=1 shift=0")
        lines = self.new_lines()
        self.assertNotIn("click FillBtn 4", lines)
        self.assertFalse([l for l in lines if l.startswith(("down Names", "up Names"))], lines)

    def test_a_disabled_button_raises_nothing(self):
        state = self.rect("FillBtn", 5)
        self.assertEqual(state[5], 0, "FillBtn(5) is disabled")
        x, y = self.centre("FillBtn", 5)
        xdo("mousemove", x, y, "click", 1)
        # A later click shows that the first one has been processed.
        x2, y2 = self.centre("FillBtn", 6)
        xdo("mousemove", x2, y2, "click", 1)
        self.wait_for("up FillBtn 6 button=1 shift=0")
        self.assertFalse([l for l in self.new_lines() if "FillBtn 5" in l], self.new_lines())

    def test_a_drag_shows_the_outline_and_drops_on_the_label_below_the_pointer(self):
        sx, sy, sw, sh = self.rect("Names", 1)[:4]
        x, y = sx + 20, sy + sh // 2
        xdo("mousemove", x, y, "mousedown", 1)
        try:
            self.wait_for("down Names 1 button=1 shift=0")
            tx, ty, tw, th = self.rect("Names", 6)[:4]
            dx, dy = (tx + 20) - x, (ty + th // 2) - y
            path = [(x + dx * step // 5, y + dy * step // 5) for step in range(1, 6)]
            for px, py in path:
                xdo("mousemove", px, py)
            self.wait_for("dragover Names 6 source=Names 1 state=enter")

            # The drag begins at the first move, with the outline over the label; from then on
            # the outline, of the label's size, follows the pointer.
            left, top = sx + path[-1][0] - path[0][0], sy + path[-1][1] - path[0][1]
            shot = screenshot("backend_drag_outline")
            edge = [pixel(shot, left + sw // 2, row) for row in range(top - 1, top + 3)]
            self.assertIn(OUTLINE_GREY, edge, f"no outline at the top edge: {edge}")
            side = [pixel(shot, col, top + sh // 2) for col in range(left + sw - 3, left + sw + 1)]
            self.assertIn(OUTLINE_GREY, side, f"no outline at the right edge: {side}")
            inside = pixel(shot, left + sw // 2, top + sh // 2)
            self.assertNotEqual(inside, OUTLINE_GREY, "only the frame of the outline shows")
        finally:
            xdo("mouseup", 1)
        self.wait_for("drop Names 6 source=Names 1")
        self.assertNotIn("up Names 1 button=1 shift=0", self.new_lines(),
                         "the release that ends a drag is no mouse up")
        wait_until(lambda: OUTLINE_GREY not in
                   [pixel(screenshot("backend_after_drop"), left + sw // 2, row)
                    for row in range(top - 1, top + 3)],
                   timeout=10, what="the outline to disappear")


if __name__ == "__main__":
    unittest.main()
