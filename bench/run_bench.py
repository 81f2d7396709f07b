#!/usr/bin/env python3
"""Typewell's benchmark: start-up time, fill latency, footprint, object growth and disk writes
of the real Typewell.exe under Wine, each against a yardstick measured in the same run.

Run through scripts/bench.sh, which builds the programs and prepares the Wine environment
(WINEPREFIX, DISPLAY, a persistent wineserver). Prints the machine, every run and the medians,
and saves the figures to <out>/results.txt and <out>/results.json."""

import argparse
import json
import os
import pathlib
import platform
import re
import shutil
import signal
import statistics
import subprocess
import tempfile
import time

TITLE = " Typewell"
MINIMAL_TITLE = " Minimal Window"
CONTROLS_TITLE = " Minimal Controls Window"
# The goals, each against a yardstick measured in the same run.
GOAL_STARTUP_RATIO = 1.3  # of the start-up of the minimal window program with the common controls
GOAL_USER = 70  # USER objects after start-up
GOAL_GDI = 80  # GDI objects after start-up
GOAL_PRIVATE_KB = 300  # private bytes above the minimal program with the common controls
GOAL_FILL_RATIO = 1.15  # of the raw floor's fill (plain Win32, nothing of Typewell's)
GOAL_EXE_KB = 300  # the shipped exe
# The private bytes of a Windows process move in the steps its heap commits memory in: one step up
# or down between two readings at rest is no growth (seen both ways over runs of 2,000 actions);
# a leak of 33 bytes an action passes it within 2,000 actions, of 7 bytes within 10,000.
HEAP_STEP_KB = 64
TARGET_TITLE = "Typewell Test Target"
FILL_TEXT = "Fill text"
BOUND = 60  # seconds for any one step


def winpath(path):
    return "Z:" + str(path).replace("/", "\\")


def wine(exe, *args, timeout=BOUND, env=None, text=True):
    result = subprocess.run(["wine", str(exe), *[str(a) for a in args]], capture_output=True,
                            text=text, timeout=timeout, stdin=subprocess.DEVNULL,
                            env={**os.environ, **env} if env else None)
    return result.returncode, result.stdout, result.stderr.strip()


def poll(condition, what, timeout=BOUND):
    end = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > end:
            raise RuntimeError(f"timed out waiting for {what}")
        time.sleep(0.05)


def entries():
    records = [b""] * 60
    records[0], records[1], records[2], records[3] = FILL_TEXT.encode(), b"one", b"two", b"Drag me"
    return b"".join(r.ljust(200, b" ") for r in records)


class Bench:
    def __init__(self, args):
        self.args = args
        self.exe = pathlib.Path(args.exe)
        self.tools = pathlib.Path(args.tools)
        self.e2e = pathlib.Path(args.e2e_tools)
        self.root = pathlib.Path(tempfile.mkdtemp(prefix="typewell-bench-"))
        self.results = {}
        self.lines = []
        self.processes = []

    def say(self, line=""):
        print(line, flush=True)
        self.lines.append(line)

    def folder(self, name, files):
        folder = self.root / name
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        for file_name, content in files.items():
            (folder / file_name).write_bytes(content)
        return folder

    # --- machine -------------------------------------------------------------------------
    def machine(self):
        model = next((line.split(":", 1)[1].strip()
                      for line in open("/proc/cpuinfo") if line.startswith("model name")), "?")
        wine_version = subprocess.run(["wine", "--version"], capture_output=True,
                                      text=True).stdout.strip()
        self.results["machine"] = {"nproc": os.cpu_count(), "cpu": model, "wine": wine_version,
                                   "kernel": platform.release()}
        self.say(f"machine: {os.cpu_count()} cores, {model}, {wine_version}, "
                 f"Linux {platform.release()}")

    # --- start-up ------------------------------------------------------------------------
    def startup(self):
        minimal = self.folder("minimal", {})
        shutil.copy2(self.tools / "minimal_window_gui.exe", minimal)
        shutil.copy2(self.tools / "minimal_controls_gui.exe", minimal)
        timer = self.tools / "launch_timer.exe"
        programs = {"minimal": ("minimal_window_gui.exe", MINIMAL_TITLE),
                    "controls": ("minimal_controls_gui.exe", CONTROLS_TITLE)}
        runs = {"typewell": [], "minimal": [], "controls": []}
        for i in range(self.args.runs):
            for name in ("minimal", "controls", "typewell"):
                park_pointer()
                if name == "typewell":
                    folder = self.folder(f"start{i}", {"Typewell.ini": b""})
                    shutil.copy2(self.exe, folder / "Typewell.exe")
                    code, out, err = wine(timer, winpath(folder / "Typewell.exe"), TITLE)
                else:
                    exe, title = programs[name]
                    code, out, err = wine(timer, winpath(minimal / exe), title)
                if code != 0:
                    raise RuntimeError(f"launch_timer {name} failed ({code}): {err}")
                runs[name].append(float(out.split()[1]))
        t, m, c = (statistics.median(runs[n]) for n in ("typewell", "minimal", "controls"))
        self.results["startup"] = {"runs_ms": runs, "typewell_median_ms": t,
                                   "minimal_median_ms": m, "controls_median_ms": c,
                                   "ratio": t / m, "ratio_controls": t / c,
                                   "goal_ratio_controls": GOAL_STARTUP_RATIO}
        self.say(f"start-up runs (ms): Typewell {fmt(runs['typewell'])}")
        self.say(f"                    minimal  {fmt(runs['minimal'])}")
        self.say(f"                    minimal with the common controls {fmt(runs['controls'])}")
        self.say(f"start-up median: Typewell {t:.1f} ms, the minimal window with the common "
                 f"controls {c:.1f} ms, ratio {t / c:.2f} (goal <= {GOAL_STARTUP_RATIO}) "
                 f"{verdict(t / c <= GOAL_STARTUP_RATIO)}")
        self.say(f"  the minimal window without them {m:.1f} ms; Typewell {t / m:.2f} x that")

    # --- the running programs ------------------------------------------------------------
    def start(self, exe, cwd, *args):
        log = open(self.root / f"{pathlib.Path(exe).stem}.log", "wb")
        process = subprocess.Popen(["wine", str(exe), *args], cwd=cwd, stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=subprocess.STDOUT)
        log.close()
        self.processes.append(process)
        return process

    def probe(self, title):
        """The window's "left top width height clientleft clienttop minimized foreground
        topmost focus" (e2e_helper's probe), or None when it does not exist."""
        code, out, _ = wine(self.e2e / "e2e_helper.exe", "probe", title)
        return [int(v) for v in out.split()] if code == 0 else None

    def target_focus(self):
        """The number of the target's focused field (its control IDs are 101 to 104)."""
        window = self.probe(TARGET_TITLE)
        return window[9] - 100 if window else None

    def click_first_field(self):
        """Back to the target's first field before a fill: a real X click the first time; after
        a fill (the focus is then in the second field, the target in front) Shift+Tab, since a
        click there after a fill sent by SendInput is not always taken under Wine."""
        if self.target_focus() == 2:
            xdo("key", "shift+Tab")
            poll(lambda: self.target_focus() == 1, "the target's first field", 5)
            return
        # The first field: 360 x 24 pixels at (10, 10) of the target's client area.
        window = self.probe(TARGET_TITLE)
        xdo("mousemove", window[4] + 190, window[5] + 22, "click", 1)
        poll(lambda: self.target_focus() == 1, "the target's first field")

    def start_target(self):
        """The other program, which the fills type into. Started first, it also keeps Wine's
        system processes running through the start-up measurements, as a running Windows keeps
        its own: with no Windows process left, Wine ends them and the next program to start
        would pay for starting them again (about a quarter of a second here)."""
        self.target_dir = self.folder("target", {})
        self.start(self.e2e / "e2e_helper.exe", self.target_dir, "target",
                   winpath(self.target_dir / "keys.log"), "old")
        poll(lambda: self.probe(TARGET_TITLE) is not None, "the target program")

    def start_typewell(self):
        self.program = self.folder("program", {"Forms.dat": entries(), "Typewell.ini": b""})
        shutil.copy2(self.exe, self.program / "Typewell.exe")
        self.typewell = self.start(self.program / "Typewell.exe", self.program)
        poll(lambda: self.footprint(TITLE) is not None, "Typewell's window")
        # Wine gives an unmanaged window the X input focus when it reads the window's map notice;
        # a click into another program before that would lose its activation again.
        window = lambda: xdo("search", "--name", f"^{TITLE}$").split()[:1]
        poll(lambda: window() and xdo("getwindowfocus") == window()[0],
             "Typewell's window to hold the X input focus")

    def footprint(self, title):
        code, out, _ = wine(self.tools / "footprint.exe", title)
        if code != 0:
            return None
        values = out.split()
        return {values[i]: (values[i + 1] if values[i] == "source" else int(values[i + 1]))
                for i in range(0, len(values), 2)}

    # --- fill latency --------------------------------------------------------------------
    def fill(self):
        """Interleaved rounds: a real X click into the target's first field, then one fill by
        Typewell (fill_timer: Insert pressed and released with SendInput, timed from the release
        to the Tab processed); the same click, then one fill by the raw floor program, whose
        field must then hold the text."""
        runs, floor, failures = [], [], []
        before = self.footprint(TITLE)
        for i in range(self.args.fills):
            self.click_first_field()
            code, out, err = wine(self.tools / "fill_timer.exe", TARGET_TITLE, 0, 1, FILL_TEXT)
            if code == 0:
                runs.append(float(re.search(r"^fill_ms (\S+)", out, re.M).group(1)))
            else:
                failures.append(f"round {i + 1}: {err}")
            self.click_first_field()
            code, out, err = wine(self.tools / "fill_floor.exe", TARGET_TITLE, FILL_TEXT, 1)
            field = wine(self.e2e / "e2e_helper.exe", "read-text", TARGET_TITLE,
                         text=False)[1].decode("utf-16-le").split("\0")[0]
            if code == 0 and field == FILL_TEXT:
                floor.append(float(out.split()[3]))
            else:
                failures.append(f"floor round {i + 1}: exit {code}, field {field!r} {err}")
        after = self.footprint(TITLE)
        result = {"runs_ms": runs, "floor_runs_ms": floor, "failures": failures,
                  "goal_ratio": GOAL_FILL_RATIO, "objects_before": before, "objects_after": after}
        self.results["fill"] = result
        self.say(f"fill runs (ms): Typewell {fmt(runs)}")
        self.say(f"                floor    {fmt(floor)}")
        for failure in failures:
            self.say(f"  failed {failure}")
        if not runs or not floor:
            self.say("fill latency: NOT MEASURED")
            return
        median, floor_median = statistics.median(runs), statistics.median(floor)
        ratio = median / floor_median
        result.update(median_ms=median, floor_median_ms=floor_median, ratio_raw_floor=ratio)
        self.say(f"fill median: {median:.1f} ms, floor {floor_median:.1f} ms, ratio {ratio:.2f} "
                 f"(goal <= {GOAL_FILL_RATIO}) {verdict(ratio <= GOAL_FILL_RATIO)}")
        self.say(f"  over {len(runs)} fills: GDI {before['gdi']} -> {after['gdi']}, USER "
                 f"{before['user']} -> {after['user']}")

    # --- footprint and growth ------------------------------------------------------------
    def resources(self):
        size = self.exe.stat().st_size
        stripped = self.root / "stripped.exe"
        subprocess.run([self.args.strip, "-o", str(stripped), str(self.exe)],
                       check=False)
        stripped_size = stripped.stat().st_size if stripped.exists() else None
        self.results["exe"] = {"bytes": size, "stripped_bytes": stripped_size,
                               "goal_bytes": GOAL_EXE_KB * 1024}
        self.say(f"exe size: {size / 1024:.0f} KB as built, {stripped_size / 1024:.0f} KB "
                 f"stripped (goal <= {GOAL_EXE_KB} KB) "
                 f"{verdict(stripped_size <= GOAL_EXE_KB * 1024)}")
        minimal_folder = self.root / "minimal"
        yardsticks = {}
        for exe, title in (("minimal_window_gui.exe", MINIMAL_TITLE),
                           ("minimal_controls_gui.exe", CONTROLS_TITLE)):
            program = self.start(minimal_folder / exe, minimal_folder)
            poll(lambda: self.footprint(title) is not None, title.strip())
            yardsticks[title] = self.footprint(title)
            program.kill()
        minimal_fp, controls_fp = yardsticks[MINIMAL_TITLE], yardsticks[CONTROLS_TITLE]
        after_start = self.startup_footprint
        own = after_start["private_kb"] - controls_fp["private_kb"]
        self.results["footprint"] = {"typewell_after_start": after_start,
                                     "minimal_window": minimal_fp,
                                     "minimal_with_common_controls": controls_fp,
                                     "private_kb_above_controls": own,
                                     "goal_private_kb_above_controls": GOAL_PRIVATE_KB,
                                     "goal_user": GOAL_USER, "goal_gdi": GOAL_GDI}
        self.say(f"footprint after start-up ({after_start['source']} counters): private "
                 f"{after_start['private_kb']} KB, working set {after_start['working_set_kb']} KB, "
                 f"GDI {after_start['gdi']}, USER {after_start['user']}")
        for name, fp in (("minimal window program", minimal_fp),
                         ("minimal with the common controls", controls_fp)):
            self.say(f"  {name}: private {fp['private_kb']} KB, working set "
                     f"{fp['working_set_kb']} KB, GDI {fp['gdi']}, USER {fp['user']}")
        self.say(f"  USER objects {after_start['user']} (goal <= {GOAL_USER}) "
                 f"{verdict(after_start['user'] <= GOAL_USER)}")
        self.say(f"  GDI objects {after_start['gdi']} (goal <= {GOAL_GDI}) "
                 f"{verdict(0 <= after_start['gdi'] <= GOAL_GDI)}")
        self.say(f"  private bytes above the minimal program with the common controls: {own} KB "
                 f"(goal <= {GOAL_PRIVATE_KB} KB) {verdict(own <= GOAL_PRIVATE_KB)}")

    def growth(self):
        # The mix repeats its state (page, option values) every 40 actions: a warm-up of 40 sets
        # the caches the program keeps (fonts, brushes of each colour); the counts after it and
        # after the whole run are then taken in the same state.
        mix = "all"
        wine(self.tools / "action_driver.exe", 40, TARGET_TITLE, mix)
        before = self.footprint(TITLE)
        started = time.monotonic()
        code, out, err = wine(self.tools / "action_driver.exe", self.args.actions, TARGET_TITLE,
                              mix, timeout=max(BOUND * 10, self.args.actions // 5))
        after = self.footprint(TITLE)
        result = {"mix": mix, "before": before, "after": after, "driver": out.strip(),
                  "seconds": time.monotonic() - started}
        self.results["growth"] = result
        if code != 0:
            result["error"] = err
            self.say(f"actions: STOPPED - {err}")
        else:
            self.say(f"actions ({mix}): {out.strip()}")
        grew = (any(after[k] > before[k] for k in ("gdi", "user"))
                or after["private_kb"] > before["private_kb"] + HEAP_STEP_KB)
        result["grew"] = grew
        self.say(f"  GDI {before['gdi']} -> {after['gdi']}, USER {before['user']} -> "
                 f"{after['user']}, private {before['private_kb']} -> {after['private_kb']} KB "
                 f"(goal: completes, no growth; private bytes within one {HEAP_STEP_KB} KB step "
                 f"of the heap) {verdict(not grew and code == 0)}")

    # --- disk writes ---------------------------------------------------------------------
    def traced(self, action, seconds=None):
        """Bytes that Typewell's process writes to files while the action runs."""
        log = self.root / "strace.log"
        tracer = subprocess.Popen(["strace", "-f", "-y", "-qq", "-e",
                                   "trace=write,pwrite64,writev,pwritev", "-o", str(log), "-p",
                                   str(self.typewell.pid)], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        poll(lambda: tracer.poll() is not None or traced_by(self.typewell.pid, tracer.pid),
             "strace to attach to every thread of Typewell", 10)
        if tracer.poll() is not None:
            raise RuntimeError("strace could not attach to Typewell")
        try:
            if seconds:
                time.sleep(seconds)
            else:
                action()
        finally:
            tracer.send_signal(signal.SIGINT)
            tracer.wait(timeout=BOUND)
        written = {}
        for line in log.read_text(errors="replace").splitlines():
            match = re.search(r"\((\d+)<(/[^>]*)>.*= (\d+)$", line)
            if match and not match.group(2).startswith(("/dev/", "/proc/")):
                written[match.group(2)] = written.get(match.group(2), 0) + int(match.group(3))
        return written

    def writes(self):
        # The timer saves the window's position once after start-up when the saved position in
        # twips maps to another pixel position; the idle minute starts after a tick that wrote
        # nothing, so that it and the figures after it hold only their own writes.
        poll(lambda: not self.traced(None, seconds=1.5), "a timer tick that writes nothing", 30)
        idle = self.traced(None, seconds=self.args.idle_seconds)
        total = sum(idle.values())
        self.results["idle"] = {"seconds": self.args.idle_seconds, "bytes": total, "files": idle}
        self.say(f"idle {self.args.idle_seconds} s: {total} bytes written {files(idle)} "
                 f"(goal 0) {verdict(total == 0)}")
        per = {}
        # Option changes: one visit of the options dialog changes the colour and the weight.
        for kind, label, count, goal in (("edits", "edit", 10, 12000), ("drags", "drop", 10, 400),
                                         ("options", "settings change", 10, 12)):
            outcome = {}

            def act():
                outcome["run"] = wine(self.tools / "action_driver.exe", count, TARGET_TITLE, kind)

            written = self.traced(act)
            code, out, err = outcome["run"]
            per[kind] = {"bytes": sum(written.values()), "actions": count, "goal": goal,
                         "files": written}
            if code != 0:
                per[kind]["error"] = err
                self.say(f"bytes per {label}: NOT MEASURED - {err}")
                continue
            each = sum(written.values()) / count
            per[kind]["per_action"] = each
            self.say(f"bytes per {label}: {each:.0f} over {count} {files(written)} (goal {goal}) "
                     f"{verdict(each == goal)}")
        self.results["writes_per_action"] = per

    # --- whole run -----------------------------------------------------------------------
    def run(self):
        try:
            self.machine()
            # An X client that stays connected: when its last client leaves, the X server
            # resets, and the parked pointer with it.
            self.processes.append(subprocess.Popen(["xdotool", "sleep", "86400"],
                                                   stdin=subprocess.DEVNULL))
            self.start_target()
            self.startup()
            self.start_typewell()
            self.startup_footprint = self.footprint(TITLE)
            self.fill()
            self.resources()
            self.writes()
            self.growth()
            self.summary()
        finally:
            for process in self.processes:
                if process.poll() is None:
                    process.kill()
                    process.wait(timeout=BOUND)
            if self.args.keep:
                print(f"work folder kept: {self.root}")
            else:
                shutil.rmtree(self.root, ignore_errors=True)
            self.save()

    def summary(self):
        """The goals, each with its figure, its yardstick and whether it is met."""
        r = self.results
        start, fp, fill, growth, exe, idle = (r.get(k, {}) for k in (
            "startup", "footprint", "fill", "growth", "exe", "idle"))
        after = fp.get("typewell_after_start", {})
        rows = [
            (f"start-up <= {GOAL_STARTUP_RATIO} x the minimal program with the common controls",
             f"{start.get('typewell_median_ms', 0):.0f} ms vs "
             f"{start.get('controls_median_ms', 0):.0f} ms = "
             f"{start.get('ratio_controls', 0):.2f} x",
             start.get("ratio_controls", 99) <= GOAL_STARTUP_RATIO),
            (f"fill <= {GOAL_FILL_RATIO} x its raw floor",
             f"{fill.get('median_ms', 0):.1f} ms vs {fill.get('floor_median_ms', 0):.1f} ms = "
             f"{fill.get('ratio_raw_floor', 0):.2f} x",
             fill.get("ratio_raw_floor", 99) <= GOAL_FILL_RATIO),
            (f"USER objects after start-up <= {GOAL_USER}", f"{after.get('user')}",
             after.get("user", 999) <= GOAL_USER),
            (f"GDI objects after start-up <= {GOAL_GDI}", f"{after.get('gdi')}",
             0 <= after.get("gdi", -1) <= GOAL_GDI),
            ("private bytes <= the minimal program with the common controls + "
             f"{GOAL_PRIVATE_KB} KB",
             f"+{fp.get('private_kb_above_controls')} KB",
             fp.get("private_kb_above_controls", 99999) <= GOAL_PRIVATE_KB),
            (f"the shipped exe <= {GOAL_EXE_KB} KB",
             f"{exe.get('stripped_bytes', 0) / 1024:.0f} KB",
             0 < exe.get("stripped_bytes", 0) <= GOAL_EXE_KB * 1024),
            ("0 bytes written idle", f"{idle.get('bytes')}", idle.get("bytes") == 0),
            ("the action run completes without growth",
             growth.get("driver") or growth.get("error", "not run"),
             "error" not in growth and growth.get("grew") is False),
        ]
        r["goals"] = [{"goal": g, "measured": m, "met": ok} for g, m, ok in rows]
        self.say("")
        self.say("goals:")
        for goal, measured, ok in rows:
            self.say(f"  {goal}: {measured} {verdict(ok)}")

    def save(self):
        out = pathlib.Path(self.args.out)
        out.mkdir(parents=True, exist_ok=True)
        (out / "results.txt").write_text("\n".join(self.lines) + "\n")
        (out / "results.json").write_text(json.dumps(self.results, indent=2) + "\n")
        print(f"saved to {out / 'results.txt'} and {out / 'results.json'}")


def park_pointer():
    """The pointer away from where the new windows open (the screen's centre): resting over a
    label it would bring up that label's tool tip during the measurement."""
    def parked():
        xdo("mousemove", 0, 0)
        return xdo("getmouselocation", "--shell").startswith("X=0\nY=0")

    poll(parked, "the pointer parked in the screen's corner", 10)


def traced_by(pid, tracer):
    """Whether every thread of the process is traced by that tracer."""
    try:
        tasks = list(pathlib.Path(f"/proc/{pid}/task").iterdir())
        return bool(tasks) and all(
            re.search(r"^TracerPid:\s*(\d+)", (task / "status").read_text(), re.M).group(1) ==
            str(tracer) for task in tasks)
    except (FileNotFoundError, ProcessLookupError, AttributeError):
        return False


def xdo(*args):
    return subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, text=True,
                          timeout=BOUND).stdout.strip()


def fmt(values):
    return " ".join(f"{v:.1f}" for v in values)


def files(written):
    return "(" + ", ".join(f"{pathlib.Path(p).name} {b}" for p, b in written.items()) + ")"


def verdict(ok):
    return "[meets the goal]" if ok else "[SHORT OF THE GOAL]"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--tools", required=True, help="folder of the bench tools")
    parser.add_argument("--e2e-tools", required=True,
                        help="folder of e2e_helper.exe, the target program and probe")
    parser.add_argument("--out", required=True)
    parser.add_argument("--strip", default="i686-w64-mingw32-strip",
                        help="the strip of the toolchain that built the exe")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--fills", type=int, default=15)
    parser.add_argument("--actions", type=int, default=400,
                        help="actions of the growth check, a multiple of 40 (10000 for the long "
                             "run)")
    parser.add_argument("--idle-seconds", type=int, default=60)
    parser.add_argument("--keep", action="store_true", help="keep the work folder and logs")
    Bench(parser.parse_args()).run()


if __name__ == "__main__":
    main()
