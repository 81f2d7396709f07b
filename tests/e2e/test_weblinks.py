"""The Tutorial and Web Site buttons of the real Typewell.exe: a stand-in browser
(fake_browser.exe, kept in a folder with blanks in its name) is registered for ".htm" files in
the test's Wine prefix; a real click on each button starts it with a quoted command line, and
Typewell's window is minimised. The placeholder "~.htm" is left in the program folder."""

import pathlib
import shutil
import subprocess
import tempfile
import unittest

from harness import Typewell, tools_dir, wait_until

# Wine reads file types from the machine's classes only (it does not merge the user's into
# HKEY_CLASSES_ROOT), so the stand-in is registered there, in the test's own Wine prefix.
CLASSES = r"HKLM\Software\Classes"
PROG_ID = "TypewellTest.Page"


def wine(*args, check=True):
    result = subprocess.run(["wine", *args], capture_output=True, text=True, timeout=60,
                            stdin=subprocess.DEVNULL)
    if check and result.returncode != 0:
        raise AssertionError(f"wine {args} exited with {result.returncode}: {result.stderr}")
    return result


def windows_path(path):
    return subprocess.run(["winepath", "-w", str(path)], capture_output=True, text=True,
                          check=True, timeout=60).stdout.strip()


def website_address():
    """The address built into the program, from the build's CMake cache."""
    cache = (tools_dir().parent / "CMakeCache.txt").read_text()
    for line in cache.splitlines():
        if line.startswith("TYPEWELL_WEBSITE_URL:"):
            return line.split("=", 1)[1]
    raise AssertionError("TYPEWELL_WEBSITE_URL is not in the CMake cache")


class RegisteredBrowser:
    """fake_browser.exe registered as the program for ".htm" files while the block runs; the
    previous registration is put back afterwards."""

    def __enter__(self):
        self._root = pathlib.Path(tempfile.mkdtemp(prefix="typewell-browser-"))
        folder = self._root / "Program Files" / "Fake Browser"
        folder.mkdir(parents=True)
        shutil.copy2(tools_dir() / "fake_browser.exe", folder)
        self.log = folder / "browser.log"
        self.exe = windows_path(folder / "fake_browser.exe")
        query = wine("reg", "query", rf"{CLASSES}\.htm", "/ve", check=False)
        self._previous = None
        if query.returncode == 0:
            for line in query.stdout.splitlines():
                if "REG_SZ" in line:
                    self._previous = line.split("REG_SZ", 1)[1].strip()
        try:
            wine("reg", "add", rf"{CLASSES}\{PROG_ID}\shell\open\command", "/ve", "/d",
                 f'"{self.exe}" "%1"', "/f")
            wine("reg", "add", rf"{CLASSES}\.htm", "/ve", "/d", PROG_ID, "/f")
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        try:
            if self._previous is None:
                wine("reg", "delete", rf"{CLASSES}\.htm", "/f", check=False)
            else:
                wine("reg", "add", rf"{CLASSES}\.htm", "/ve", "/d", self._previous, "/f",
                     check=False)
            wine("reg", "delete", rf"{CLASSES}\{PROG_ID}", "/f", check=False)
        finally:
            shutil.rmtree(self._root, ignore_errors=True)
        return False

    def lines(self):
        if not self.log.is_file():
            return []
        return self.log.read_bytes().decode("cp1252").splitlines()


class BrowserLaunch(unittest.TestCase):
    def test_tutorial_and_web_site_start_the_registered_browser_quoted_and_minimise(self):
        with RegisteredBrowser() as browser, Typewell() as tw:
            self.assertFalse(tw.info()["minimized"])
            tw.click("Command1")
            lines = wait_until(lambda: browser.lines(), timeout=15,
                               what="the browser to be started by Tutorial")
            folder = windows_path(tw.folder)
            self.assertEqual(lines, [f'"{browser.exe}" "{folder}\\tutorial/tutorial.htm"'])
            wait_until(lambda: tw.info()["minimized"], timeout=10,
                       what="the main window to be minimised after Tutorial")
            placeholder = tw.path("~.htm")
            self.assertTrue(placeholder.is_file())
            self.assertEqual(placeholder.read_bytes(), b"")
            self.assertTrue((tw.folder / "tutorial" / "tutorial.htm").is_file(),
                            "the tutorial page ships beside the exe")

            tw.winctl("restore")
            wait_until(lambda: not tw.info()["minimized"], timeout=10,
                       what="the main window to be restored")
            tw.click("WebsiteBtn")
            lines = wait_until(lambda: browser.lines()[1:], timeout=15,
                               what="the browser to be started by Web Site")
            self.assertEqual(lines, [f'"{browser.exe}" "{website_address()}"'])
            wait_until(lambda: tw.info()["minimized"], timeout=10,
                       what="the main window to be minimised after Web Site")
            self.assertEqual(placeholder.read_bytes(), b"")


if __name__ == "__main__":
    unittest.main()
