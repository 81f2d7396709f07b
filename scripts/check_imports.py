#!/usr/bin/env python3
"""Checks that the shipped exes start on the oldest Windows that the README names (Windows 7 SP1,
without later updates): lists the functions each exe imports, per DLL (from mingw-w64's objdump -p),
and fails when

- the exe is not of its architecture (PE32 for i386, PE32+ for x86-64),
- its header asks for a newer Windows than 6.1 (operating system or subsystem version),
- it has delay-loaded imports (they would not be checked here),
- it imports from a DLL that is not one of Windows' own listed below, or
- it imports a function that scripts/windows7-imports.txt does not list for its architecture,
- its embedded manifest (RT_MANIFEST 1) names another processor architecture than the PE
  machine's, lacks a supportedOS entry of Windows 7, 8, 8.1 or 10/11, or does not ask for the
  common controls 6, or
- its icon (RT_GROUP_ICON 1) lacks one of the sizes Windows asks for (ICON_SIZES).

Each exe is given as the exe itself or as a release zip that holds one Typewell.exe:

    scripts/check_imports.py [--win32 EXE_OR_ZIP]... [--win64 EXE_OR_ZIP]...

Without arguments it checks the two zips that scripts/package.sh makes in dist/. Prints the
imports and a line per exe; exits with 1 when any check failed."""

import argparse
import pathlib
import re
import struct
import subprocess
import sys
import tempfile
import textwrap
import zipfile
from xml.etree import ElementTree

ROOT = pathlib.Path(__file__).resolve().parent.parent
KNOWN_LIST = ROOT / "scripts" / "windows7-imports.txt"
OLDEST = (6, 1)  # Windows 7 (SP1 changes no version number here)

# Windows' own DLLs that a Typewell.exe may import from (compared without regard to case).
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll",
                "shell32.dll", "advapi32.dll"}

# Per architecture: the PE machine, the optional header's magic, the manifest's processor
# architecture and the objdump to read it.
ARCHES = {
    "win32": {"tag": "x86", "machine": 0x14C, "magic": 0x10B, "format": "PE32",
              "manifest": "x86", "objdump": "i686-w64-mingw32-objdump"},
    "win64": {"tag": "x64", "machine": 0x8664, "magic": 0x20B, "format": "PE32+",
              "manifest": "amd64", "objdump": "x86_64-w64-mingw32-objdump"},
}

RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24
ASM = "{urn:schemas-microsoft-com:asm.v1}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
# The supportedOS IDs that Microsoft's documentation of application manifests gives.
SUPPORTED_OS = {
    "35138b9a-5d96-4fbd-8e2d-a2440225f93a": "7",
    "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38": "8",
    "1f676c76-80e1-4239-95bb-83d0f6d0da78": "8.1",
    "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a": "10/11",
}
COMMON_CONTROLS = ("Microsoft.Windows.Common-Controls", "6.0.0.0", "6595b64144ccf1df")
# The small and the large icon at 100 % to 200 % (16 to 40, 32 to 64), and the shell's 256.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def load_known(path):
    """{(dll in lower case, function): set of arch tags, empty for both}. A line is
    DLL!Function, optionally followed by x86 or x64; '#' starts a comment."""
    known = {}
    for number, raw in enumerate(path.read_text().splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        words = line.split()
        if "!" not in words[0] or len(words) > 2 or (len(words) == 2 and
                                                     words[1] not in ("x86", "x64")):
            raise SystemExit(f"{path.name}:{number}: expected DLL!Function [x86|x64]: {raw}")
        dll, function = words[0].split("!", 1)
        known.setdefault((dll.lower(), function), set()).update(words[1:])
    return known


def pe_header(data):
    """(machine, magic, (os major, minor), (subsystem major, minor), delay import (rva, size))."""
    if data[:2] != b"MZ":
        raise ValueError("not an exe (no MZ header)")
    (pe,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    (machine,) = struct.unpack_from("<H", data, pe + 4)
    optional = pe + 24
    (magic,) = struct.unpack_from("<H", data, optional)
    os_version = struct.unpack_from("<HH", data, optional + 40)
    subsystem_version = struct.unpack_from("<HH", data, optional + 48)
    directories = optional + (96 if magic == 0x10B else 112)
    (count,) = struct.unpack_from("<I", data, directories - 4)
    delay = struct.unpack_from("<II", data, directories + 13 * 8) if count > 13 else (0, 0)
    return machine, magic, os_version, subsystem_version, delay


def resources(data):
    """{(type, id): bytes} of the exe's resources with numeric type and id, the first language
    of each, read from the resource directory (data directory 2)."""
    (pe,) = struct.unpack_from("<I", data, 0x3C)
    section_count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    (magic,) = struct.unpack_from("<H", data, optional)
    root_rva, _ = struct.unpack_from("<II", data, optional + (96 if magic == 0x10B else 112) + 16)
    sections = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i)
                for i in range(section_count)]

    def offset(rva):
        for size, address, raw_size, raw in sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"resource address {rva:#x} lies in no section")

    root = offset(root_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, root + directory + 12)
        for i in range(named, named + numbered):  # the named entries come first
            yield struct.unpack_from("<II", data, root + directory + 16 + 8 * i)

    found = {}
    for kind, names in entries(0):
        for name, languages in entries(names & 0x7FFFFFFF):
            _, leaf = next(entries(languages & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, root + leaf)
            found[(kind, name)] = data[offset(rva):offset(rva) + size]
    return found


def check_resources(data, target):
    """Prints a line per fact of the embedded manifest and icon; returns the problems."""
    found = resources(data)
    problems = []
    if (manifest := found.get((RT_MANIFEST, 1))) is None:
        problems.append("has no manifest (RT_MANIFEST 1)")
    else:
        root = ElementTree.fromstring(manifest)
        identity = root.find(f"{ASM}assemblyIdentity")
        arch = None if identity is None else identity.get("processorArchitecture")
        print(f"  manifest: processorArchitecture {arch} (the PE machine's: {target['manifest']})")
        if arch != target["manifest"]:
            problems.append(f"its manifest names processorArchitecture {arch}, not "
                            f"{target['manifest']} as its PE machine")
        ids = {entry.get("Id", "").strip("{}").lower()
               for entry in root.iter(f"{COMPATIBILITY}supportedOS")}
        print("  manifest: supportedOS Windows " + ", ".join(
            name for guid, name in SUPPORTED_OS.items() if guid in ids))
        for guid, name in SUPPORTED_OS.items():
            if guid not in ids:
                problems.append(f"its manifest has no supportedOS entry of Windows {name}")
        wanted = [tuple(a.get(k) for k in ("name", "version", "publicKeyToken"))
                  for a in root.iterfind(f"{ASM}dependency/{ASM}dependentAssembly/"
                                         f"{ASM}assemblyIdentity")]
        print(f"  manifest: depends on {'; '.join(' '.join(map(str, w)) for w in wanted)}")
        if COMMON_CONTROLS not in wanted:
            problems.append(f"its manifest does not ask for {' '.join(COMMON_CONTROLS)}")
    if (group := found.get((RT_GROUP_ICON, 1))) is None:
        return problems + ["has no icon (RT_GROUP_ICON 1)"]
    pictures = []
    for i in range(struct.unpack_from("<H", group, 4)[0]):
        width, _, _, _, _, bits, _, icon = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        picture = found.get((RT_ICON, icon), b"")
        pictures.append((width or 256, "PNG" if picture[:4] == b"\x89PNG" else f"{bits}-bit"))
        if not picture:
            problems.append(f"its icon names picture {icon}, which it lacks")
    print("  icon 1: " + ", ".join(f"{size} ({kind})" for size, kind in pictures))
    if missing := sorted(set(ICON_SIZES) - {size for size, _ in pictures}):
        problems.append(f"its icon lacks the sizes {', '.join(map(str, missing))}")
    return problems


def imports(objdump, exe):
    """[(dll as written in the exe, function or #ordinal)] from objdump's import tables."""
    text = subprocess.run([objdump, "-p", str(exe)], check=True, capture_output=True,
                          text=True).stdout
    found, dll = [], None
    for line in text.splitlines():
        if match := re.match(r"\s*DLL Name: (\S+)", line):
            dll = match.group(1)
        elif not line.strip():
            dll = None
        elif dll and (match := re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)", line)):
            ordinal, name = match.groups()
            found.append((dll, f"#{ordinal}" if name == "<none>" else name))
    return found


def exe_of(path, scratch):
    """The exe to check: the file itself, or the one Typewell.exe of a zip, unpacked."""
    if not zipfile.is_zipfile(path):
        return path, path.name
    with zipfile.ZipFile(path) as package:
        members = [n for n in package.namelist() if pathlib.PurePosixPath(n).name == "Typewell.exe"]
        if len(members) != 1:
            raise ValueError(f"{len(members)} Typewell.exe in the zip, not one")
        return pathlib.Path(package.extract(members[0], scratch)), f"{path.name}:{members[0]}"


def check(arch, path, known):
    """Prints the imports of one exe and returns its problems."""
    target = ARCHES[arch]
    with tempfile.TemporaryDirectory() as scratch:
        try:
            exe, label = exe_of(path, scratch)
            data = exe.read_bytes()
            machine, magic, os_version, subsystem, delay = pe_header(data)
        except (OSError, ValueError, struct.error, zipfile.BadZipFile) as error:
            return [f"{path}: {error}"]
        if (machine, magic) != (target["machine"], target["magic"]):
            return [f"{label}: not a {target['format']} exe for {arch} (machine {machine:#x}, "
                    f"magic {magic:#x})"]
        problems = []
        for what, version in (("operating system", os_version), ("subsystem", subsystem)):
            if tuple(version) > OLDEST:
                problems.append(f"asks for {what} version {version[0]}.{version[1]}, newer than "
                                f"Windows 7 ({OLDEST[0]}.{OLDEST[1]})")
        if delay != (0, 0):
            problems.append("has delay-loaded imports, which this check does not read")
        found = imports(target["objdump"], exe)

    print(f"{label}: {target['format']}, operating system {os_version[0]}.{os_version[1]}, "
          f"subsystem {subsystem[0]}.{subsystem[1]}")
    by_dll = {}
    for dll, function in found:
        by_dll.setdefault(dll, []).append(function)
    for dll, functions in by_dll.items():
        print(textwrap.fill(" ".join(functions), 100, subsequent_indent="    ",
                            initial_indent=f"  {dll} ({len(functions)}): "))
        if dll.lower() not in ALLOWED_DLLS:
            problems.append(f"imports from {dll}, which is not one of Windows' own DLLs allowed "
                            f"here ({', '.join(sorted(ALLOWED_DLLS))})")
            continue
        for function in functions:
            tags = known.get((dll.lower(), function))
            if tags is None or (tags and target["tag"] not in tags):
                problems.append(f"imports {dll}!{function}, which {KNOWN_LIST.name} does not "
                                f"list as present on Windows 7 SP1 for {target['tag']}")
    if not found:
        problems.append("imports nothing, so objdump's output was not understood")
    try:
        problems += check_resources(data, target)
    except (ValueError, IndexError, StopIteration, struct.error, ElementTree.ParseError) as error:
        problems.append(f"its resources cannot be read: {error!r}")
    summary = f"{len(found)} imports from {len(by_dll)} DLLs"
    print(f"  {'FAILED' if problems else 'ok'}: {summary}"
          + ("" if problems else ", all known on Windows 7 SP1; manifest and icon as required"))
    return [f"{label}: {problem}" for problem in problems]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--win32", action="append", type=pathlib.Path, default=[],
                        help="a 32-bit exe, or a zip that holds one")
    parser.add_argument("--win64", action="append", type=pathlib.Path, default=[],
                        help="a 64-bit exe, or a zip that holds one")
    args = parser.parse_args()
    if not args.win32 and not args.win64:
        args.win32 = [ROOT / "dist" / "Typewell-1.0.0.zip"]
        args.win64 = [ROOT / "dist" / "Typewell-1.0.0-x64.zip"]
    known = load_known(KNOWN_LIST)
    problems = []
    for arch in ARCHES:
        for path in getattr(args, arch):
            problems += check(arch, path, known)
    for problem in problems:
        print(f"check_imports: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
