"""End-to-end harness: the real Typewell.exe under Wine, driven by real X11 input.

Every test runs Typewell in a fresh temporary program folder (a copy of the exe and the
tutorial folder, plus the files the test gives), finds its controls' screen rectangles with
probe.exe, presses and releases real mouse buttons and keys with xdotool, reads the files
Typewell writes and takes screenshots. Every wait polls a condition with a time bound and
fails with a message that says what did not happen.

    from harness import Typewell, Tool, wait_until, out_path, pixel, xdo

    with Typewell(files={"Forms.dat": entries}) as tw:
        tw.rect("Names", 3)              # (x, y, w, h) in screen pixels
        tw.state("FillBtn", 3)           # {"left":..,"top":..,"width":..,"height":..,
                                         #  "visible": True, "enabled": False}
        tw.info()                        # the main window: rectangle, client origin, flags
        tw.click("Names", 3)             # left click at the centre of Names(3)
        tw.type_text("hello"); tw.key("Tab")
        tw.press("Names", 3); tw.move_to(x, y, steps=5); tw.release()
        wait_until(lambda: tw.read("Forms.dat")[600:605] == b"hello", what="entry saved")
        shot = tw.screenshot("after_edit")  # TYPEWELL_E2E_OUT/after_edit.png
        pixel(shot, x, y)                # (r, g, b)
        tw.close(); tw.wait_exit(timeout=10)

    with Tool("target_gui", outdir, "first field") as target:
        ...                              # a helper program of tests/e2e/tools, ended on exit

The environment comes from the test command (scripts/test.sh): WINEPREFIX, WINEDEBUG and
DISPLAY of a virtual screen with a persistent wineserver; TYPEWELL_EXE, TYPEWELL_TOOLS,
TYPEWELL_E2E_OUT and TYPEWELL_SOURCE from ctest.
"""

import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import time

TITLE = " Typewell"
TITLE_PATTERN = "^ Typewell$"

# Bounds for the waits, in seconds: generous, since the machine may be busy with a build.
START_TIMEOUT = 60
COMMAND_TIMEOUT = 60


def _env_path(name):
    value = os.environ.get(name)
    if not value:
        raise RuntimeError(f"{name} is not set: run the end-to-end tests through ctest "
                           "inside the Wine environment of scripts/test.sh")
    return pathlib.Path(value)


def exe_path():
    """The exe under test: the shipped release build when the test command names it
    (TYPEWELL_SHIPPED_EXE), else the one built beside the tests."""
    shipped = os.environ.get("TYPEWELL_SHIPPED_EXE")
    return pathlib.Path(shipped) if shipped else _env_path("TYPEWELL_EXE")


def tools_dir():
    return _env_path("TYPEWELL_TOOLS")


def source_dir():
    return _env_path("TYPEWELL_SOURCE")


def out_path(name):
    """A path in the screenshots folder (TYPEWELL_E2E_OUT), created when needed."""
    out = _env_path("TYPEWELL_E2E_OUT")
    out.mkdir(parents=True, exist_ok=True)
    return out / name


def wait_until(condition, timeout=10, what="the condition", interval=0.05):
    """Polls condition() until it returns a true value, which it returns; raises
    AssertionError naming `what` when `timeout` seconds pass first."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def _run(args, timeout=COMMAND_TIMEOUT, check=True):
    try:
        result = subprocess.run(args, capture_output=True, text=True, timeout=timeout,
                                stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired as error:
        raise AssertionError(f"{args[0]} did not finish within {timeout} s: {args}") from error
    if check and result.returncode != 0:
        raise AssertionError(f"{args} exited with {result.returncode}: {result.stderr.strip()}")
    return result


def xdo(*args, check=True):
    """Runs xdotool with the arguments; returns its standard output."""
    return _run(["xdotool", *[str(a) for a in args]], check=check).stdout


def find_x_windows(name_pattern, visible_only=False):
    """X window ids whose name matches the regular expression (xdotool's search)."""
    shown = ["--onlyvisible"] if visible_only else []
    result = _run(["xdotool", "search", *shown, "--name", name_pattern], check=False)
    return [int(line) for line in result.stdout.split()]


def x_windows_of_process(pid):
    """X window ids of a Windows process (Wine sets _NET_WM_PID), visible ones only."""
    result = _run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False)
    return [int(line) for line in result.stdout.split()]


def x_window_name(window_id):
    return _run(["xdotool", "getwindowname", str(window_id)], check=False).stdout.rstrip("\n")


def pointer_location():
    """(x, y) of the pointer on the screen."""
    values = dict(item.split(":") for item in xdo("getmouselocation").split())
    return int(values["x"]), int(values["y"])


def screenshot(name, rect=None):
    """Saves the screen (or only rect = (x, y, w, h) of it) as TYPEWELL_E2E_OUT/<name>.png and
    returns the path."""
    path = out_path(f"{name}.png")
    crop = [] if rect is None else ["-crop", "{2}x{3}+{0}+{1}".format(*rect), "+repage"]
    _run(["import", "-window", "root", *crop, str(path)])
    return path


def pixel(png_path, x, y):
    """(r, g, b) of one pixel of a picture, 0..255 each."""
    text = _run(["convert", str(png_path), "-crop", f"1x1+{x}+{y}", "-depth", "8",
                 "txt:-"]).stdout
    match = re.search(r"^0,0:\s*\(\s*(\d+),\s*(\d+),\s*(\d+)", text, re.MULTILINE)
    if not match:
        raise AssertionError(f"no pixel at ({x}, {y}) in {png_path}: {text!r}")
    return tuple(int(v) for v in match.groups())


def run_tool(name, *args, timeout=COMMAND_TIMEOUT):
    """Runs tests/e2e/tools/<name>.exe under Wine to its end; returns the CompletedProcess."""
    return _run(["wine", str(tools_dir() / f"{name}.exe"), *[str(a) for a in args]],
                timeout=timeout, check=False)


def probe(title, control=None, index=None):
    """The numbers probe.exe prints for a window (or one of its controls), or None when the
    window or control does not exist."""
    args = [title]
    if control is not None:
        args.append(control)
        if index is not None:
            args.append(index)
    result = run_tool("probe", *args)
    if result.returncode == 2:
        return None
    if result.returncode != 0:
        raise AssertionError(f"probe {args} exited with {result.returncode}: "
                             f"{result.stderr.strip()}")
    return [int(v) for v in result.stdout.split()]


def winctl(action, title):
    """restore|minimize|close|foreground a window by title; False when it does not exist."""
    result = run_tool("winctl", action, title)
    if result.returncode not in (0, 2):
        raise AssertionError(f"winctl {action} {title!r} exited with {result.returncode}: "
                             f"{result.stderr.strip()}")
    return result.returncode == 0


class _WineProcess:
    """A Windows program started under Wine; the Unix process is the Windows process."""

    def __init__(self, args, cwd, log_path):
        self._log = open(log_path, "wb")
        self.args = [str(a) for a in args]
        self.popen = subprocess.Popen(["wine", *self.args], cwd=cwd, stdin=subprocess.DEVNULL,
                                      stdout=self._log, stderr=subprocess.STDOUT)

    @property
    def pid(self):
        return self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired as error:
            raise AssertionError(f"{self.args[0]} still runs after {timeout} s") from error

    def kill(self):
        if self.running():
            self.popen.kill()
            self.popen.wait(timeout=COMMAND_TIMEOUT)
        self._log.close()


class Tool:
    """A helper program of tests/e2e/tools run under Wine for the length of a with block."""

    def __init__(self, name, *args):
        self.name = name
        self.args = args
        self._folder = None
        self.process = None

    def __enter__(self):
        self._folder = tempfile.mkdtemp(prefix=f"typewell-{self.name}-")
        self.process = _WineProcess([tools_dir() / f"{self.name}.exe", *self.args],
                                    cwd=self._folder,
                                    log_path=os.path.join(self._folder, "output.log"))
        return self

    def output(self):
        with open(os.path.join(self._folder, "output.log"), "rb") as log:
            return log.read().decode("utf-8", "replace")

    def wait_exit(self, timeout=10):
        return self.process.wait(timeout)

    def __exit__(self, *exc):
        try:
            self.process.kill()
        finally:
            shutil.rmtree(self._folder, ignore_errors=True)
        return False


class Typewell:
    """The real Typewell.exe in a fresh program folder, for the length of a with block.

    files: {"Forms.dat": bytes, ...} written into the folder before the start; a value of None
    makes a folder of that name instead (a path that cannot be opened as a file).
    wait_window: wait until the main window exists (else call wait_window() or watch the
    process yourself, as a test of a failed start does)."""

    def __init__(self, files=None, wait_window=True, start_timeout=START_TIMEOUT):
        self.files = files or {}
        self.wait_for_window = wait_window
        self.start_timeout = start_timeout
        self._root = None
        self.folder = None
        self.process = None
        self._x_window = None

    # --- life -----------------------------------------------------------------------------

    def __enter__(self):
        self._root = pathlib.Path(tempfile.mkdtemp(prefix="typewell-e2e-"))
        try:
            self.folder = self._root / "Typewell"
            self._prepare_folder()
            self.start()
            if self.wait_for_window:
                self.wait_window()
        except BaseException:
            self._end()
            raise
        return self

    def __exit__(self, *exc):
        self._end()
        return False

    def _prepare_folder(self):
        self.folder.mkdir()
        shutil.copy2(exe_path(), self.folder / "Typewell.exe")
        tutorial = source_dir() / "tutorial"
        if tutorial.is_dir() and any(tutorial.iterdir()):
            shutil.copytree(tutorial, self.folder / "tutorial")
        for name, content in self.files.items():
            if content is None:
                (self.folder / name).mkdir()
            else:
                (self.folder / name).write_bytes(content)

    def start(self):
        self.process = _WineProcess([self.folder / "Typewell.exe"], cwd=self.folder,
                                    log_path=self._root / "wine.log")

    def _end(self):
        try:
            if self.process is not None:
                pid = self.process.pid
                self.process.kill()
                # The windows go with the process; the next test must not find them.
                wait_until(lambda: not x_windows_of_process(pid), timeout=10,
                           what="Typewell's windows to disappear after its end")
        finally:
            if self._root is not None:
                shutil.rmtree(self._root, ignore_errors=True)

    def wait_window(self):
        """Waits until the main window exists and is shown; returns its X window id."""

        def shown():
            if not self.process.running():
                raise AssertionError(f"Typewell ended with {self.process.popen.returncode} "
                                     f"before its window appeared; output: {self.output()}")
            windows = find_x_windows(TITLE_PATTERN, visible_only=True)
            return windows[0] if windows else None

        self._x_window = wait_until(shown, timeout=self.start_timeout,
                                    what="the window \" Typewell\" to be shown")
        return self._x_window

    def output(self):
        """What Wine and the program printed."""
        return (self._root / "wine.log").read_bytes().decode("utf-8", "replace")

    def running(self):
        return self.process.running()

    def close(self):
        """Closes the main window as its close box would (WM_CLOSE)."""
        if not winctl("close", TITLE):
            raise AssertionError("no window \" Typewell\" to close")

    def wait_exit(self, timeout=10):
        """Waits until the process ends; returns its exit code."""
        return self.process.wait(timeout)

    def winctl(self, action):
        """restore|minimize|close|foreground the main window."""
        if not winctl(action, TITLE):
            raise AssertionError(f"winctl {action}: no window \" Typewell\"")

    # --- files ----------------------------------------------------------------------------

    def path(self, name):
        return self.folder / name

    def read(self, name):
        return (self.folder / name).read_bytes()

    # --- controls -------------------------------------------------------------------------

    def state(self, control, index=None, title=TITLE):
        """{"left", "top", "width", "height", "visible", "enabled"} of a control's window."""
        values = probe(title, control, index)
        if values is None:
            raise AssertionError(f"probe found no {control}({index}) in {title!r}")
        keys = ("left", "top", "width", "height", "visible", "enabled")
        state = dict(zip(keys, values))
        state["visible"] = bool(state["visible"])
        state["enabled"] = bool(state["enabled"])
        return state

    def rect(self, control, index=None, title=TITLE):
        """(x, y, w, h) of a control in screen pixels."""
        s = self.state(control, index, title)
        return s["left"], s["top"], s["width"], s["height"]

    def centre(self, control, index=None, title=TITLE):
        x, y, w, h = self.rect(control, index, title)
        return x + w // 2, y + h // 2

    def info(self, title=TITLE):
        """The window: {"left", "top", "width", "height", "clientleft", "clienttop",
        "minimized", "foreground", "topmost" (the real WS_EX_TOPMOST bit), "focus" (the
        control ID of the focused control: 1000 + its position in the form, 0 for none)}."""
        values = probe(title)
        if values is None:
            raise AssertionError(f"probe found no window {title!r}")
        keys = ("left", "top", "width", "height", "clientleft", "clienttop", "minimized",
                "foreground", "topmost", "focus")
        info = dict(zip(keys, values))
        for flag in ("minimized", "foreground", "topmost"):
            info[flag] = bool(info[flag])
        return info

    # --- input ----------------------------------------------------------------------------

    def click(self, control, index=None, button=1, title=TITLE):
        """Moves the pointer to the centre of the control and clicks the button there."""
        x, y = self.centre(control, index, title)
        self.click_at(x, y, button)

    @staticmethod
    def click_at(x, y, button=1):
        xdo("mousemove", x, y, "click", button)

    def press(self, control, index=None, button=1, title=TITLE):
        """Moves the pointer to the centre of the control and holds the button down."""
        x, y = self.centre(control, index, title)
        xdo("mousemove", x, y, "mousedown", button)

    @staticmethod
    def move_to(x, y, steps=5):
        """Moves the pointer in `steps` equal steps to (x, y), as a hand would."""
        start_x, start_y = pointer_location()
        for step in range(1, steps + 1):
            xdo("mousemove", round(start_x + (x - start_x) * step / steps),
                round(start_y + (y - start_y) * step / steps))

    @staticmethod
    def release(button=1):
        xdo("mouseup", button)

    @staticmethod
    def type_text(text):
        """Types the text with real key events into the window that has the focus."""
        xdo("type", "--delay", 20, "--", text)

    @staticmethod
    def key(*keys):
        """Presses keys by their X names, e.g. key("Tab"), key("ctrl+a")."""
        xdo("key", "--", *keys)

    def park_pointer(self):
        """Moves the pointer to the screen corner farthest from the main window and waits until
        no tooltip of Typewell is shown, so that a screenshot shows the window as it rests."""
        info = self.info()
        screen_w, screen_h = (int(v) for v in xdo("getdisplaygeometry").split())
        x = 0 if info["left"] + info["width"] // 2 > screen_w // 2 else screen_w - 1
        y = 0 if info["top"] + info["height"] // 2 > screen_h // 2 else screen_h - 1
        xdo("mousemove", x, y)
        # Tooltips are the process's X windows without a name.
        wait_until(lambda: all(x_window_name(w) for w in x_windows_of_process(self.process.pid)),
                   timeout=10, what="Typewell's tooltip to disappear")

    # --- pictures -------------------------------------------------------------------------

    def screenshot(self, name, crop=False):
        """Saves the screen, or with crop=True only the main window, as
        TYPEWELL_E2E_OUT/<name>.png; returns the path."""
        if not crop:
            return screenshot(name)
        info = self.info()
        return screenshot(name, (info["left"], info["top"], info["width"], info["height"]))
