#!/usr/bin/env python3
"""Checks that Windows programs load on the oldest systems they are for.

    tools/check-imports.py [--list FILE] PROGRAM.exe...

Every function a program imports must be in the list of the Windows API
(tools/imports/win-api-minimum.txt) and be there on the program's oldest
systems:

  32-bit (i386) programs:  Windows 98 SE and Windows NT 4.0, both of them;
                           the function's 9x column is 95, 95OSR2, 98 or
                           98SE, and its NT column is NT4.
  64-bit (x86-64) programs: Windows XP x64 Edition; the NT column is NT4,
                           2000, XP or XPx64.

The header's subsystem version must be one those systems' loaders accept:
at most 4.0 for the 32-bit program (NT 4 and 98 refuse 5.0) and at most 5.2
for the 64-bit one. A function imported by ordinal cannot be checked and
fails. Prints every import that fails and why, and exits 1 when one does.
"""
import argparse
import os
import re
import subprocess
import sys

NINE_X = ["95", "95OSR2", "98", "98SE", "Me"]
NT = ["NT4", "2000", "XP", "XPx64", "Vista", "7", "8", "8.1", "10"]
NONE = "-"

TARGETS = {
    # PE magic: (name, newest 9x system allowed or None, newest NT allowed,
    #            newest subsystem version)
    "010b": ("Windows 98 SE and NT 4", "98SE", "NT4", (4, 0)),
    "020b": ("Windows XP x64", None, "XPx64", (5, 2)),
}

DEFAULT_LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "imports",
                            "win-api-minimum.txt")


def read_list(path):
    """{(dll, function): (nine_x, nt)}; raises ValueError on a bad line."""
    table = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            text = line.split("#", 1)[0].split()
            if not text:
                continue
            where = f"{path}:{number}"
            if len(text) != 4:
                raise ValueError(f"{where}: want DLL FUNCTION 9X NT, got {line.strip()!r}")
            dll, function, nine_x, nt = text
            if nine_x != NONE and nine_x not in NINE_X:
                raise ValueError(f"{where}: unknown 9x system {nine_x!r}")
            if nt != NONE and nt not in NT:
                raise ValueError(f"{where}: unknown NT system {nt!r}")
            key = (dll.lower(), function)
            if key in table:
                raise ValueError(f"{where}: {dll} {function} is listed twice")
            table[key] = (nine_x, nt)
    return table


def read_program(objdump, program):
    """(magic, (major, minor) subsystem version, [(dll, function or None, hint)])."""
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    magic = re.search(r"^Magic\s+([0-9a-f]{4})", text, re.M)
    major = re.search(r"^MajorSubsystemVersion\s+(\d+)", text, re.M)
    minor = re.search(r"^MinorSubsystemVersion\s+(\d+)", text, re.M)
    if not (magic and major and minor):
        raise ValueError(f"{program}: no PE header in objdump's answer")
    imports = []
    dll = None
    in_table = False
    for line in text.splitlines():
        if line.startswith("The Import Tables"):
            in_table = True
            continue
        if not in_table:
            continue
        if line.startswith("The "):  # the next section of the dump
            break
        m = re.match(r"^\tDLL Name: (\S+)", line)
        if m:
            dll = m.group(1)
            continue
        m = re.match(r"^\t[0-9a-f]+\t\s*(\d+)(?:\s+(\S+))?\s*$", line)
        if m and dll:
            imports.append((dll, m.group(2), m.group(1)))
    return magic.group(1), (int(major.group(1)), int(minor.group(1))), imports


def verdict(entry, target):
    """None when the function is there on every system of the target, else why not."""
    _, newest_9x, newest_nt, _ = target
    nine_x, nt = entry
    missing = []
    if newest_9x is not None:
        if nine_x == NONE:
            missing.append("not on Windows 9x")
        elif NINE_X.index(nine_x) > NINE_X.index(newest_9x):
            missing.append(f"9x from {nine_x}")
    if nt == NONE:
        missing.append("not on Windows NT")
    elif NT.index(nt) > NT.index(newest_nt):
        missing.append(f"NT from {nt}")
    return ", ".join(missing) or None


def check(objdump, program, table):
    magic, subsystem, imports = read_program(objdump, program)
    if magic not in TARGETS:
        print(f"{program}: unknown PE magic {magic}")
        return False
    target = TARGETS[magic]
    failures = []
    if subsystem > target[3]:
        failures.append(f"subsystem version {subsystem[0]}.{subsystem[1]} is newer than "
                        f"{target[3][0]}.{target[3][1]}")
    for dll, function, hint in imports:
        if function is None:
            failures.append(f"{dll} ordinal {hint}: imported by ordinal, cannot be checked")
            continue
        entry = table.get((dll.lower(), function))
        if entry is None:
            failures.append(f"{dll} {function}: not in the list")
            continue
        why = verdict(entry, target)
        if why:
            failures.append(f"{dll} {function}: {why}")
    dlls = len({dll.lower() for dll, _, _ in imports})
    state = "ok" if not failures else f"{len(failures)} FAILED"
    print(f"{program}: {target[0]}: {len(imports)} imports from {dlls} DLLs, "
          f"subsystem {subsystem[0]}.{subsystem[1]}: {state}")
    for failure in failures:
        print(f"  {failure}")
    return not failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--list", default=DEFAULT_LIST)
    parser.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    try:
        table = read_list(args.list)
    except (OSError, ValueError) as e:
        print(f"check-imports: {e}")
        return 2
    ok = True
    for program in args.programs:
        if not os.path.isfile(program):
            print(f"{program}: missing")
            ok = False
            continue
        ok = check(args.objdump, program, table) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
