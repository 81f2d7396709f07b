"""The real Typewell.exe stays in front: its window has the real WS_EX_TOPMOST bit after
start-up, after a minimise and restore and after the options dialog closes, and closing the
dialog (by "OK" or by its close box) leaves Typewell active with the focus on its focus sink,
while another program's window is open beside it."""

import pathlib
import shutil
import tempfile
import unittest

from harness import Tool, Typewell, probe, wait_until, winctl

DIALOG = " Typewell Options"
FOCUS_SINK_ID = 1000  # Holdfocus is the first control of the main window


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class OnTopTest(unittest.TestCase):
    def test_topmost_after_start_restore_and_the_dialog_which_leaves_typewell_active(self):
        outdir = pathlib.Path(tempfile.mkdtemp(prefix="typewell-ontop-"))
        self.addCleanup(shutil.rmtree, outdir, ignore_errors=True)
        with Tool("target_gui", windows_path(outdir), "beside"), Typewell() as tw:
            wait_until(lambda: (outdir / "ready").exists(), timeout=30, what="the other program")
            wait_until(lambda: tw.info()["topmost"], what="Typewell topmost after start-up")

            tw.winctl("minimize")
            wait_until(lambda: tw.info()["minimized"], what="Typewell minimised")
            tw.winctl("restore")
            wait_until(lambda: not tw.info()["minimized"], what="Typewell restored")
            wait_until(lambda: tw.info()["topmost"], what="Typewell topmost after restoring")

            for how in ("OK", "close box"):
                tw.click("OptionsBtn")
                wait_until(lambda: probe(DIALOG), timeout=15, what="the options dialog")
                self.assertTrue(probe(DIALOG)[8], "the options dialog is not topmost")
                if how == "OK":
                    tw.click("OKBtn", title=DIALOG)
                else:
                    self.assertTrue(winctl("close", DIALOG))
                wait_until(lambda: probe(DIALOG) is None, what=f"the dialog closed by {how}")
                wait_until(lambda: tw.info()["foreground"] and
                           tw.info()["focus"] == FOCUS_SINK_ID,
                           what=f"Typewell active with the focus sink focused after {how}; "
                                f"now {tw.info()}")
                self.assertTrue(tw.info()["topmost"], f"not topmost after {how}")


if __name__ == "__main__":
    unittest.main()
