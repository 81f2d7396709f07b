"""End-to-end harness: Typewell as shipped (the zip of TYPEWELL_PACKAGE) under Wine, driven by
real X11 input; e2e_helper.exe (TYPEWELL_TOOLS) reads windows and plays other programs;
screenshots go to TYPEWELL_E2E_OUT. Every wait polls a condition with a time bound."""

import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import time
import zipfile

TITLE, DIALOG = " Typewell", " Typewell Options"
WINDOW_KEYS = ("left", "top", "width", "height", "clientleft", "clienttop", "minimized",
               "foreground", "topmost", "focus", "dragging", "above", "enabled")
# The control IDs of Typewell's windows (src/ui/layout.h); an index counts from the first.
IDS = {"editBox": 100, "tutorialButton": 101, "optionsButton": 102, "pageLabel": 104,
       "webSiteButton": 105, "minimizeButton": 106, "pageTab": 120,
       "insertButton": 200, "entryLabel": 300, "okButton": 405, "fontOption": 410,
       "colourOption": 420, "closeWithoutSaving": 1001}


def env_path(name):
    if not os.environ.get(name):
        raise RuntimeError(f"{name} is not set: run the tests through scripts/test.sh")
    return pathlib.Path(os.environ[name])


def wait_until(condition, what, timeout=15):
    """Polls condition() until it returns a true value, which it returns."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.05)
    return value


def run(*args, timeout=60):
    """Runs a command to its end; returns its standard output as bytes."""
    return subprocess.run([str(a) for a in args], capture_output=True, timeout=timeout,
                          stdin=subprocess.DEVNULL).stdout


def xdo(*args):
    return run("xdotool", *args).decode()


def helper_exe():
    return env_path("TYPEWELL_TOOLS") / "e2e_helper.exe"


def helper(*args):
    return run("wine", helper_exe(), *args)


def read_text(title):
    """The texts of the window's edit controls."""
    return helper("read-text", title).decode("utf-16-le").split("\0")[:-1]


def names(title, *ids):
    """The accessible names of the window's controls of those IDs, as a screen reader reads them."""
    return helper("names", title, *ids).decode("utf-16-le").split("\0")[:-1]


def spawn(test, *args, cwd=None):
    """Starts a Windows program, killed at the end of the test."""
    process = subprocess.Popen(["wine", *[str(a) for a in args]], cwd=cwd,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)

    def end():
        process.kill()
        process.wait(60)
        wait_until(lambda: not x_windows(pid=process.pid), "the windows of a killed program")

    test.addCleanup(end)
    return process


def x_windows(name=None, pid=None):
    """The shown X windows of that name pattern, or of that process."""
    return xdo("search", "--onlyvisible", *(["--name", name] if name else ["--pid", pid])).split()


def probe(title, *ids):
    """{"window": {WINDOW_KEYS: int}, id: (left, top, width, height, visible, enabled)}; None
    without the window."""
    lines = helper("probe", title, *ids).decode().splitlines()
    if not lines:
        return None
    found = {"window": dict(zip(WINDOW_KEYS, map(int, lines[0].split())))}
    for control, *values in (line.split() for line in lines[1:]):
        found[int(control)] = tuple(map(int, values))
    return found


def winpath(path):
    return "Z:" + str(path).replace("/", "\\")


def screenshot(name):
    path = env_path("TYPEWELL_E2E_OUT") / f"{name}.png"
    path.parent.mkdir(parents=True, exist_ok=True)
    run("import", "-window", "root", path)
    return path


def colour(png, x, y, w=1, h=1):
    """The mean (r, g, b) of a rectangle of a picture, 0..255 each; one pixel by default."""
    text = run("convert", png, "-crop", f"{w}x{h}+{x}+{y}", "-scale", "1x1!", "-depth", "8",
               "txt:-").decode()
    return tuple(map(int, re.search(r"\(\s*(\d+),\s*(\d+),\s*(\d+)", text).groups()))


def entries(texts, tail=b""):
    """Forms.dat: sixty records of 200 bytes with {slot: text}, blank elsewhere."""
    return b"".join(texts.get(slot, b"").ljust(200) for slot in range(60)) + tail


# A folder whose name the ANSI code page of a Western system cannot write, with blanks.
FOLDER = "Загрузки Дмитрий"


class Typewell:
    """Typewell.exe of the package unpacked into <tmp>/Program Files/<FOLDER>/, with the files
    given ({name: bytes, or None for a folder}), started for the test."""

    def __init__(self, test, files=None):
        root = pathlib.Path(tempfile.mkdtemp(prefix="typewell-e2e-")) / "Program Files"
        test.addCleanup(shutil.rmtree, root.parent, ignore_errors=True)
        with zipfile.ZipFile(env_path("TYPEWELL_PACKAGE")) as package:
            package.extractall(root / FOLDER)
        (self.folder,) = (root / FOLDER).iterdir()
        test.assertEqual(sorted(p.name for p in self.folder.iterdir()),
                         ["README.txt", "Typewell.exe", "tutorial"], "the package's listing")
        for name, content in (files or {}).items():
            path = self.folder / name
            path.mkdir() if content is None else path.write_bytes(content)
        self.process = spawn(test, self.folder / "Typewell.exe", cwd=self.folder)
        wait_until(lambda: probe(TITLE), "Typewell's window", 60)

    def read(self, name):
        path = self.folder / name
        return path.read_bytes() if path.is_file() else None

    def info(self):
        return probe(TITLE)["window"]

    def state(self, name, index=0, title=TITLE):
        """(left, top, width, height, visible, enabled); hidden for a page's control not made."""
        control = IDS[name] + index
        return probe(title, control).get(control, (0, 0, 0, 0, 0, 0))

    def centre(self, name, index=0, title=TITLE):
        left, top, width, height = self.state(name, index, title)[:4]
        return left + width // 2, top + height // 2

    def click(self, name, index=0, button=1, title=TITLE):
        xdo("mousemove", *self.centre(name, index, title), "click", button)

    def settled(self):
        """Waits until Typewell is active down to the X input focus: Wine gives an unmanaged
        window the focus when it reads its map notice, and a click into another program before
        that would lose that program's activation again."""
        wait_until(lambda: self.info()["foreground"], "Typewell in the foreground")
        window = x_windows(name=f"^{TITLE}$")[0]
        wait_until(lambda: xdo("getwindowfocus").strip() == window, "Typewell's X input focus")
