"""Starting the real Typewell.exe: a first start (empty settings file, normal window in the
middle of the screen, the hint on page one), a start with a written settings file (minimised,
the start counted, colour, weight and place from the file), a second start that restores the
running window and touches no file, and two starts in the same moment."""

import struct
import subprocess
import unittest

from harness import (TITLE, TITLE_PATTERN, Typewell, find_x_windows, pixel, probe, wait_until,
                     x_windows_of_process)

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 1024
TWIPS_PER_PIXEL = 15
LAYOUT_CLIENT_HEIGHT = 6576  # twips; the start-up centres the window for this height
HINT = "Click to add or edit text"


def settings(font=0, top=0, left=0, colour=0, reserved=0, starts=0):
    """The 12 bytes of Typewell.ini."""
    return struct.pack("<6h", font, top, left, colour, reserved, starts)


def file_states(folder):
    """{name: (bytes, modification time)} of the files of a program folder."""
    return {p.name: (p.read_bytes(), p.stat().st_mtime_ns)
            for p in folder.iterdir() if p.is_file()}


def start_second(tw):
    """Starts a second Typewell.exe from the same folder; returns the process."""
    return subprocess.Popen(["wine", str(tw.folder / "Typewell.exe")], cwd=tw.folder,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


class FirstStart(unittest.TestCase):
    def test_leaves_an_empty_settings_file_and_opens_normal_centred_with_the_hint(self):
        with Typewell() as tw:
            ini = tw.path("Typewell.ini")
            wait_until(lambda: tw.path("Forms.dat").is_file() and ini.is_file(), timeout=10,
                       what="Forms.dat and Typewell.ini to exist")
            self.assertEqual(tw.read("Typewell.ini"), b"")

            info = tw.info()
            self.assertFalse(info["minimized"])
            self.assertLessEqual(abs(info["left"] - (SCREEN_WIDTH - info["width"]) / 2), 1)
            # Centred for the layout's height, then shortened from the bottom.
            frame = (info["clienttop"] - info["top"]) + (info["clientleft"] - info["left"])
            layout_height = LAYOUT_CLIENT_HEIGHT / TWIPS_PER_PIXEL + frame
            self.assertLessEqual(abs(info["top"] - (SCREEN_HEIGHT - layout_height) / 2), 2)
            self.assertLessEqual(abs(info["height"] - 6204 / TWIPS_PER_PIXEL), 1)

            # Resting the pointer on a label of page one shows its tool tip.
            windows_before = len(x_windows_of_process(tw.process.pid))
            x, y, w, h = tw.rect("Names", 2)
            for step in range(4):
                tw.move_to(x + w // 3 + step * 5, y + h // 2, steps=2)
            wait_until(lambda: len(x_windows_of_process(tw.process.pid)) > windows_before,
                       timeout=10, what="the hint's tool tip window")
            tw.screenshot("startup_hint")

            tw.close()
            self.assertEqual(tw.wait_exit(timeout=20), 0)
            self.assertEqual(tw.read("Typewell.ini"), b"", "nothing saved the settings")


class WrittenSettings(unittest.TestCase):
    def test_opens_minimised_counts_the_start_and_shows_green_bold_labels_at_its_place(self):
        stored = settings(font=1, top=3000, left=4500, colour=1, reserved=-7, starts=4)
        entries = b"Green and bold".ljust(200) + b" " * (59 * 200)
        with Typewell(files={"Typewell.ini": stored, "Forms.dat": entries},
                      wait_window=False) as tw:
            wait_until(lambda: probe(TITLE), timeout=60, what="the main window")
            wait_until(lambda: tw.read("Typewell.ini") != stored, timeout=10,
                       what="the counted start in Typewell.ini")
            self.assertEqual(tw.read("Typewell.ini"),
                             settings(font=1, top=3000, left=4500, colour=1, reserved=-7,
                                      starts=5))
            wait_until(lambda: tw.info()["minimized"], timeout=10,
                       what="the window shown minimised")

            tw.winctl("restore")
            wait_until(lambda: not tw.info()["minimized"], timeout=10,
                       what="the window to be restored")
            info = tw.info()
            self.assertEqual((info["left"], info["top"]), (4500 // 15, 3000 // 15))
            x, y, w, h = tw.rect("Names", 7)

            def green_picture():
                shot = tw.screenshot("startup_green_bold")
                return shot if pixel(shot, x + w - 4, y + h // 2) == (0, 255, 0) else None

            wait_until(green_picture, timeout=10, what="light green labels")
            # Nothing more was written by restoring the window where the file says it stands.
            self.assertEqual(tw.read("Typewell.ini")[10:12], struct.pack("<h", 5))


class SecondStart(unittest.TestCase):
    def test_restores_and_activates_the_running_window_and_changes_no_file(self):
        stored = settings(top=1500, left=3000, starts=20)
        with Typewell(files={"Typewell.ini": stored}, wait_window=False) as tw:
            wait_until(lambda: probe(TITLE) and tw.info()["minimized"], timeout=60,
                       what="the first window, minimised")
            wait_until(lambda: tw.path("Forms.dat").is_file() and
                       tw.path("Forms.dat").stat().st_size == 12000, timeout=10,
                       what="Forms.dat")
            before = file_states(tw.folder)

            second = start_second(tw)
            self.assertEqual(second.wait(timeout=60), 0)
            wait_until(lambda: not tw.info()["minimized"], timeout=10,
                       what="the first window to be restored")
            wait_until(lambda: tw.info()["foreground"], timeout=10,
                       what="the first window to be in front")
            self.assertTrue(tw.running())
            self.assertEqual(len(find_x_windows(TITLE_PATTERN)), 1)
            self.assertEqual(file_states(tw.folder), before)

    def test_two_starts_in_the_same_moment_leave_one_instance(self):
        with Typewell(wait_window=False) as tw:
            second = start_second(tw)
            try:
                # Whichever of the two took the folder's lock goes on; the other one waits for
                # its window, brings it up and ends without touching a file.
                wait_until(lambda: second.poll() is not None or not tw.running(), timeout=60,
                           what="one of the two starts to end")
                ended = second.returncode if second.poll() is not None else tw.wait_exit(10)
                self.assertEqual(ended, 0)
                self.assertTrue(second.poll() is None or tw.running(), "one instance runs")
                wait_until(lambda: find_x_windows(TITLE_PATTERN, visible_only=True), timeout=60,
                           what="the window of the instance that runs")
                self.assertEqual(len(find_x_windows(TITLE_PATTERN)), 1)
                wait_until(lambda: tw.path("Forms.dat").is_file() and
                           tw.path("Forms.dat").stat().st_size == 12000, timeout=10,
                           what="Forms.dat")
                self.assertEqual(tw.read("Typewell.ini"), b"")
            finally:
                if second.poll() is None:
                    second.kill()
                    second.wait(timeout=30)

if __name__ == "__main__":
    unittest.main()
