#!/usr/bin/env python3
"""Checks that every #include "..." in src/ points down the layers, or stays in its own folder.

    store, services                   Forms.dat and Typewell.ini; the services' interfaces by role
    ui, model                         the main window's seam and layout; the entries, the settings
    appearance, edit, fill, weblinks  the subsystems: never one another
    app                               the program: the subsystems over the model, start-up
    win32                             implements services and ui; its WinMain calls app

Prints each include that breaks a rule and exits 1; prints one line and exits 0 when all hold."""

import pathlib
import re
import sys

RANK = {"store": 0, "services": 0, "ui": 1, "model": 1, "appearance": 2, "edit": 2, "fill": 2,
        "weblinks": 2, "app": 3}
WIN32_MAY_INCLUDE = {"win32", "services", "ui", "store"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]*"', re.MULTILINE)


def allowed(source, path, target):
    if target == source:
        return True
    if source == "win32":
        return target in WIN32_MAY_INCLUDE or (target == "app" and path.name == "main.cpp")
    return source in RANK and target in RANK and RANK[target] < RANK[source]


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else
                       pathlib.Path(__file__).resolve().parent.parent / "src")
    broken = []
    files = sorted(p for p in src.rglob("*") if p.suffix in (".h", ".cpp"))
    for path in files:
        source = path.relative_to(src).parts[0]
        if source not in RANK and source != "win32":
            broken.append(f"{path}: the folder {source} has no place in the layers")
            continue
        for target in INCLUDE.findall(path.read_text(errors="replace")):
            if not allowed(source, path, target):
                broken.append(f"{path}: {source} may not include {target}/")
    for line in broken:
        print(line)
    if broken:
        print(f"layers: {len(broken)} include(s) break the layers")
        return 1
    print(f"layers: {len(files)} files, every include points down or stays in its folder")
    return 0


if __name__ == "__main__":
    sys.exit(main())
