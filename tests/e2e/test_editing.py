"""Editing entries in the real Typewell.exe with real mouse and key input: the edit box over the
clicked label, the record written when the edit ends by a click elsewhere or by closing the
window, and a commit while another program holds Forms.dat locked."""

import pathlib
import shutil
import tempfile
import unittest

from harness import Tool, Typewell, find_x_windows, wait_until, winctl

RECORD = 200
MESSAGE_TITLE = "^Typewell$"  # the message box; the main window's title has a leading blank


def entry_file(texts):
    return b"".join(texts.get(slot, b"").ljust(RECORD, b" ") for slot in range(60))


def record(data, slot):
    return data[slot * RECORD:(slot + 1) * RECORD]


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def open_edit(tw, slot, button=1):
    """Clicks Names(slot) and waits for the edit box to lie over it."""
    tw.click("Names", slot, button=button)
    label = tw.rect("Names", slot)

    def over_label():
        box = tw.state("Gettext")
        # Equal in twips; the label's pixels are rounded within its page container, the box's
        # within the window, so the two may differ by one pixel.
        return (box["visible"] and abs(box["left"] - label[0]) <= 1 and
                abs(box["top"] - label[1]) <= 1 and abs(box["width"] - label[2]) <= 1)

    wait_until(over_label, timeout=10, what=f"the edit box over Names({slot})")


class EditInPlace(unittest.TestCase):
    ENTRIES = {0: b"keep me", 4: b"four"}

    def test_typed_text_is_written_when_another_label_is_clicked_and_at_close(self):
        with Typewell(files={"Forms.dat": entry_file(self.ENTRIES)}) as tw:
            open_edit(tw, 2)
            tw.type_text("typed for real")
            open_edit(tw, 4, button=3)  # the right button opens an edit too
            wait_until(lambda: record(tw.read("Forms.dat"), 2) == b"typed for real".ljust(RECORD),
                       timeout=10, what="slot 2 written")
            self.assertTrue(tw.state("FillBtn", 2)["enabled"])
            self.assertEqual(record(tw.read("Forms.dat"), 0), b"keep me".ljust(RECORD))
            tw.screenshot("editing_open")

            # Emptying slot 4 and closing the window during the edit: saved before the end.
            tw.key("End")
            tw.key(*["BackSpace"] * 4)
            tw.type_text("closing")
            tw.close()
            self.assertEqual(tw.wait_exit(timeout=20), 0)
            self.assertEqual(record(tw.read("Forms.dat"), 4), b"closing".ljust(RECORD))
            self.assertEqual(record(tw.read("Forms.dat"), 2), b"typed for real".ljust(RECORD))


class LockedEntryFile(unittest.TestCase):
    def setUp(self):
        self.outdir = pathlib.Path(tempfile.mkdtemp(prefix="typewell-locker-"))
        self.addCleanup(shutil.rmtree, self.outdir, ignore_errors=True)

    def test_a_failed_commit_is_reported_the_program_goes_on_and_a_later_commit_saves(self):
        with Typewell(files={"Forms.dat": entry_file({})}) as tw:
            forms = tw.path("Forms.dat")
            with Tool("file_locker", windows_path(forms), windows_path(self.outdir)):
                wait_until(lambda: (self.outdir / "locked").exists(), timeout=30,
                           what="Forms.dat locked by another program")
                open_edit(tw, 1)
                tw.type_text("while locked")
                tw.click("Names", 5)  # commits slot 1 and opens slot 5
                boxes = wait_until(lambda: find_x_windows(MESSAGE_TITLE, visible_only=True),
                                   timeout=20, what="the message box about Forms.dat")
                self.assertEqual(len(boxes), 1, "reported once")
                tw.screenshot("editing_locked_message")
                self.assertTrue(winctl("close", "Typewell"), "the message box closes")
                wait_until(lambda: not find_x_windows(MESSAGE_TITLE, visible_only=True),
                           timeout=10, what="the message box to close")
                (self.outdir / "unlock").touch()
                wait_until(lambda: (self.outdir / "unlocked").exists(), timeout=30,
                           what="the lock released")

            self.assertTrue(tw.running())
            self.assertEqual(tw.read("Forms.dat"), entry_file({}), "nothing was written")
            # The edit of slot 5 is open; the label of slot 1 kept the text, so the next
            # commit writes both.
            open_edit(tw, 5)
            tw.type_text("after")
            tw.click("Names", 6)
            wait_until(lambda: tw.read("Forms.dat") ==
                       entry_file({1: b"while locked", 5: b"after"}),
                       timeout=10, what="both entries written by the later commit")
            self.assertTrue(tw.state("FillBtn", 1)["enabled"])
            self.assertFalse(find_x_windows(MESSAGE_TITLE, visible_only=True))

if __name__ == "__main__":
    unittest.main()
