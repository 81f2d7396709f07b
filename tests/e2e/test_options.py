"""The options dialog of the real Typewell.exe, driven by real clicks: it opens over the main
window's corner and keeps the main window from taking input; a release over "Yellow" colours
the entry labels at once and is in Typewell.ini before the dialog closes; "Bold" and "Normal"
change the weight of every caption of both windows; the close box and "OK" close it."""

import subprocess
import unittest

from harness import Typewell, pixel, probe, wait_until, winctl

DIALOG = " Typewell Options"
SLOTS = 60
RECORD = 200
YELLOW = (255, 255, 0)
WHITE = (255, 255, 255)

TEXTS = {7: b"Jane Example", 9: b"42 Sample Road", 12: b"jane@example.com", 14: b"Thank you!"}


def entry_file():
    return b"".join(TEXTS.get(s, b"").ljust(RECORD, b" ") for s in range(SLOTS))


def settings_field(data, offset):
    return int.from_bytes(data[offset:offset + 2], "little", signed=True)


def crop_mean(png, rect):
    """Mean brightness (0..1) of rect (x, y, w, h) of a picture: bold text is darker."""
    x, y, w, h = rect
    out = subprocess.run(["convert", str(png), "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                          "-colorspace", "Gray", "-format", "%[fx:mean]", "info:"],
                         capture_output=True, text=True, check=True, timeout=60).stdout
    return float(out)


def crops_equal(png_a, png_b, rect):
    x, y, w, h = rect
    result = subprocess.run(["compare", "-metric", "AE", "(", str(png_a), "-crop",
                             f"{w}x{h}+{x}+{y}", "+repage", ")", "(", str(png_b), "-crop",
                             f"{w}x{h}+{x}+{y}", "+repage", ")", "null:"],
                            capture_output=True, text=True, timeout=60)
    return result.stderr.strip().split()[0] == "0"


def text_part(rect, skip_left=0):
    """The inside of a control's rectangle, without its border and (for option buttons) the
    round mark on the left."""
    x, y, w, h = rect
    return x + 2 + skip_left, y + 2, w - 4 - skip_left, h - 4


class OptionsDialog(unittest.TestCase):
    def open_dialog(self, tw):
        tw.click("OptionsBtn")
        return wait_until(lambda: probe(DIALOG), timeout=15, what="the options dialog to open")

    def wait_closed(self, tw):
        wait_until(lambda: probe(DIALOG) is None, timeout=15, what="the options dialog to close")
        self.assertTrue(tw.running(), "closing the dialog must not end Typewell")

    def visible_below(self, tw, dialog_bottom):
        """Main-window controls with a caption that the dialog does not cover."""
        controls = [("Names", s) for s in TEXTS] + [("FillBtn", s) for s in range(7, 15)]
        controls += [("Label1", None), ("Page", 0), ("Page", 1), ("Page", 2), ("Page", 3),
                     ("WebsiteBtn", None), ("MinimizeBtn", None)]
        return [(c, i) for c, i in controls if tw.rect(c, i)[1] > dialog_bottom]

    def test_colour_is_applied_and_saved_while_the_dialog_is_open(self):
        with Typewell(files={"Forms.dat": entry_file()}) as tw:
            main = tw.info()
            box = self.open_dialog(tw)
            self.assertEqual((box[0], box[1]), (main["left"], main["top"]),
                             "the dialog opens at the main window's top-left corner")
            dialog_bottom = box[1] + box[3]

            # The dialog is modal: a click on an entry label of the main window opens no edit.
            tw.click("Names", 12)
            self.assertFalse(tw.state("Gettext")["visible"])

            x, y = tw.centre("ColorOption", 3, title=DIALOG)
            tw.click_at(x, y)
            ini = tw.path("Typewell.ini")
            wait_until(lambda: len(ini.read_bytes()) == 12 and
                       settings_field(ini.read_bytes(), 6) == 3, timeout=10,
                       what="ColorChoice 3 in Typewell.ini")
            self.assertIsNotNone(probe(DIALOG), "the choice is saved before the dialog closes")
            saved = ini.read_bytes()
            self.assertEqual(settings_field(saved, 0), 0, "FontChoice untouched")

            shot = tw.screenshot("options_yellow")
            for slot in range(7, 15):  # below the dialog; empty and filled labels alike
                lx, ly, lw, lh = tw.rect("Names", slot)
                if ly <= dialog_bottom:
                    continue
                with self.subTest(slot=slot):
                    self.assertEqual(pixel(shot, lx + lw - 4, ly + lh // 2), YELLOW)

            self.assertTrue(winctl("close", DIALOG))  # the close box
            self.wait_closed(tw)
            self.assertEqual(ini.read_bytes(), saved, "closing writes nothing")
            after = tw.screenshot("options_closed", crop=True)
            lx, ly, lw, lh = tw.rect("Names", 0)
            info = tw.info()
            self.assertEqual(pixel(after, lx - info["left"] + lw - 4,
                                   ly - info["top"] + lh // 2), YELLOW)

    def test_bold_and_normal_change_every_caption_of_both_windows(self):
        with Typewell(files={"Forms.dat": entry_file()}) as tw:
            box = self.open_dialog(tw)
            main_controls = self.visible_below(tw, box[1] + box[3])
            self.assertGreater(len(main_controls), 10)
            dialog_texts = [("Label1", 0, 0), ("Label1", 1, 0), ("OKBtn", None, 0)]
            dialog_texts += [("ColorOption", i, 18) for i in range(4)]
            dialog_texts += [("FontOption", i, 18) for i in range(2)]

            def main_rects():
                return {(c, i): text_part(tw.rect(c, i)) for c, i in main_controls}

            def dialog_rects():
                return {(c, i): text_part(tw.rect(c, i, title=DIALOG), skip)
                        for c, i, skip in dialog_texts}

            normal = tw.screenshot("options_normal")
            ini = tw.path("Typewell.ini")
            tw.click("FontOption", 1, title=DIALOG)
            wait_until(lambda: ini.is_file() and len(ini.read_bytes()) == 12 and
                       settings_field(ini.read_bytes(), 0) == 1, timeout=10,
                       what="FontChoice 1 in Typewell.ini")

            def all_darker(before, after, rects):
                return all(crop_mean(after, r) < crop_mean(before, r) for r in rects.values())

            rects = {**main_rects(), **dialog_rects()}
            bold = wait_until(lambda: (lambda shot: shot if all_darker(normal, shot, rects)
                                       else None)(tw.screenshot("options_bold")),
                              timeout=10, what="every caption to turn bold")
            for key, r in rects.items():
                with self.subTest(control=key):
                    self.assertLess(crop_mean(bold, r), crop_mean(normal, r))

            tw.click("FontOption", 0, title=DIALOG)
            wait_until(lambda: settings_field(ini.read_bytes(), 0) == 0, timeout=10,
                       what="FontChoice 0 in Typewell.ini")
            back = wait_until(lambda: (lambda shot: shot if all(
                crops_equal(normal, shot, r) for r in main_rects().values()) else None)(
                    tw.screenshot("options_normal_again")), timeout=10,
                what="the main window's captions to look as before")
            for key, r in dialog_rects().items():
                with self.subTest(control=key):
                    self.assertAlmostEqual(crop_mean(back, r), crop_mean(normal, r), places=3)

            tw.click("OKBtn", title=DIALOG)
            self.wait_closed(tw)
            self.assertEqual(settings_field(ini.read_bytes(), 0), 0)


if __name__ == "__main__":
    unittest.main()
