#!/usr/bin/env python3
"""Checks that Windows programs load on the oldest systems they are for.

    tools/check-imports.py [--list FILE] [--dlls FILE] PROGRAM.exe...
    tools/check-imports.py --self-test

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
fails. Every DLL imported from must also be in the list of allowed DLLs
(tools/imports/allowed-dlls.txt): system DLLs that every one of those systems
ships. Prints every import that fails and why, and exits 1 when one does.
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
    #            newest subsystem version, objdump's name of the machine)
    "010b": ("Windows 98 SE and NT 4", "98SE", "NT4", (4, 0), "pei-i386"),
    "020b": ("Windows XP x64", None, "XPx64", (5, 2), "pei-x86-64"),
}

IMPORTS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "imports")
DEFAULT_LIST = os.path.join(IMPORTS_DIR, "win-api-minimum.txt")
DEFAULT_DLLS = os.path.join(IMPORTS_DIR, "allowed-dlls.txt")


def read_list(path):
    """{(dll, function): (nine_x, nt)}; raises ValueError on a bad line."""
    with open(path, encoding="utf-8") as f:
        return parse_list(f.read(), path)


def parse_list(text, path):
    table = {}
    for number, line in enumerate(text.splitlines(), 1):
        fields = line.split("#", 1)[0].split()
        if not fields:
            continue
        where = f"{path}:{number}"
        if len(fields) != 4:
            raise ValueError(f"{where}: want DLL FUNCTION 9X NT, got {line.strip()!r}")
        dll, function, nine_x, nt = fields
        if nine_x != NONE and nine_x not in NINE_X:
            raise ValueError(f"{where}: unknown 9x system {nine_x!r}")
        if nt != NONE and nt not in NT:
            raise ValueError(f"{where}: unknown NT system {nt!r}")
        key = (dll.lower(), function)
        if key in table:
            raise ValueError(f"{where}: {dll} {function} is listed twice")
        table[key] = (nine_x, nt)
    return table


def read_dlls(path):
    """The allowed DLL names, in lower case: one a line, # starts a comment."""
    with open(path, encoding="utf-8") as f:
        return {line.split("#", 1)[0].strip().lower()
                for line in f if line.split("#", 1)[0].strip()}


def read_program(objdump, program):
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    return parse_dump(text, program)


def parse_dump(text, program):
    """(magic, (major, minor) subsystem version, [(dll, function or None, hint)],
    file format) from the answer of `objdump -p`."""
    magic = re.search(r"^Magic\s+([0-9a-f]{4})", text, re.M)
    file_format = re.search(r"file format (\S+)", text)
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
    return (magic.group(1), (int(major.group(1)), int(minor.group(1))), imports,
            file_format.group(1) if file_format else None)


def verdict(entry, target):
    """None when the function is there on every system of the target, else why not."""
    _, newest_9x, newest_nt, _, _ = target
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


def failures_of(dump, table, allowed_dlls):
    """(target, [why each import fails]) for a parsed dump."""
    magic, subsystem, imports, file_format = dump
    if magic not in TARGETS:
        return None, [f"unknown PE magic {magic}"]
    target = TARGETS[magic]
    failures = []
    if file_format != target[4]:
        failures.append(f"machine {file_format}, not {target[4]}")
    if subsystem > target[3]:
        failures.append(f"subsystem version {subsystem[0]}.{subsystem[1]} is newer than "
                        f"{target[3][0]}.{target[3][1]}")
    for dll in sorted({dll.lower() for dll, _, _ in imports} - allowed_dlls):
        failures.append(f"{dll}: not an allowed DLL")
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
    return target, failures


def check(objdump, program, table, allowed_dlls):
    dump = read_program(objdump, program)
    target, failures = failures_of(dump, table, allowed_dlls)
    _, subsystem, imports, _ = dump
    dlls = sorted({dll for dll, _, _ in imports}, key=str.lower)
    state = "ok" if not failures else f"{len(failures)} FAILED"
    name = target[0] if target else "no target"
    print(f"{program}: {name}: {len(imports)} imports from {len(dlls)} DLLs, "
          f"subsystem {subsystem[0]}.{subsystem[1]}: {state}")
    print(f"  DLLs: {' '.join(dlls)}")
    for failure in failures:
        print(f"  {failure}")
    return not failures


SAMPLE_LIST = """
KERNEL32.dll  GetTickCount      95    NT4   # both families
KERNEL32.dll  GetDiskFreeSpaceExA 95OSR2 NT4
KERNEL32.dll  GetFileSizeEx     -     2000
KERNEL32.dll  TryEnterCriticalSection - NT4
USER32.dll    GetMenuInfo       98    2000
USER32.dll    NewOnMe           Me    NT4
KERNEL32.dll  GetTickCount64    -     Vista
KERNEL32.dll  RtlUnwindEx       -     XPx64
"""


def sample_dump(magic, subsystem, functions, file_format=None):
    lines = [f"sample:     file format {file_format or TARGETS[magic][4]}", "",
             f"Magic\t\t\t{magic}", f"MajorSubsystemVersion\t{subsystem[0]}",
             f"MinorSubsystemVersion\t{subsystem[1]}", "",
             "The Import Tables (interpreted .idata section contents)"]
    for dll, function in functions:
        lines.append(f"\tDLL Name: {dll}")
        lines.append(f"\tvma:  Hint/Ord Member-Name Bound-To")
        lines.append(f"\t7900c\t   12  {function}" if function else "\t80000010\t   16")
    lines.append("")
    lines.append("The Function Table (interpreted .pdata section contents)")
    return parse_dump("\n".join(lines), "sample")


def self_test():
    """The rules on made-up programs; prints what goes wrong, True when nothing."""
    table = parse_list(SAMPLE_LIST, "sample")
    cases = [
        # 32-bit: both 98 SE and NT 4 must have it.
        ("010b", (4, 0), [("kernel32.DLL", "GetTickCount"),
                          ("KERNEL32.dll", "GetDiskFreeSpaceExA")], []),
        ("010b", (4, 0), [("KERNEL32.dll", "TryEnterCriticalSection")],
         ["KERNEL32.dll TryEnterCriticalSection: not on Windows 9x"]),
        ("010b", (4, 0), [("USER32.dll", "GetMenuInfo")],
         ["USER32.dll GetMenuInfo: NT from 2000"]),
        ("010b", (4, 0), [("USER32.dll", "NewOnMe")], ["USER32.dll NewOnMe: 9x from Me"]),
        ("010b", (5, 0), [("KERNEL32.dll", "Unknown"), ("WS2_32.dll", None)],
         ["subsystem version 5.0 is newer than 4.0", "ws2_32.dll: not an allowed DLL",
          "KERNEL32.dll Unknown: not in the list",
          "WS2_32.dll ordinal 16: imported by ordinal, cannot be checked"]),
        # 64-bit: XP x64; the 9x column does not count.
        ("020b", (5, 2), [("KERNEL32.dll", "GetFileSizeEx"), ("KERNEL32.dll", "RtlUnwindEx")],
         []),
        ("020b", (6, 0), [("KERNEL32.dll", "GetTickCount64")],
         ["subsystem version 6.0 is newer than 5.2",
          "KERNEL32.dll GetTickCount64: NT from Vista"]),
    ]
    ok = True
    for magic, subsystem, functions, expected in cases:
        _, got = failures_of(sample_dump(magic, subsystem, functions), table,
                             {"kernel32.dll", "user32.dll"})
        if got != expected:
            print(f"{magic} {functions}: expected {expected}, got {got}")
            ok = False
    # A 32-bit header on another machine's code.
    _, got = failures_of(sample_dump("010b", (4, 0), [], "pei-arm-wince-little"), table, set())
    if got != ["machine pei-arm-wince-little, not pei-i386"]:
        print(f"a 32-bit ARM program: got {got}")
        ok = False
    for bad in ("K.dll F 96 NT4", "K.dll F 95 NT3", "K.dll F 95", "K.dll F 95 NT4\nk.DLL F 98 NT4"):
        try:
            parse_list(bad, "bad")
            print(f"accepted a bad list: {bad!r}")
            ok = False
        except ValueError:
            pass
    print("self-test", "ok" if ok else "FAILED")
    return ok


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--list", default=DEFAULT_LIST)
    parser.add_argument("--dlls", default=DEFAULT_DLLS)
    parser.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    parser.add_argument("--self-test", action="store_true",
                        help="check the rules on made-up programs")
    parser.add_argument("programs", nargs="*")
    args = parser.parse_args()
    if args.self_test:
        return 0 if self_test() else 1
    if not args.programs:
        parser.error("no program to check")
    try:
        table = read_list(args.list)
        allowed_dlls = read_dlls(args.dlls)
    except (OSError, ValueError) as e:
        print(f"check-imports: {e}")
        return 2
    ok = True
    for program in args.programs:
        if not os.path.isfile(program):
            print(f"{program}: missing")
            ok = False
            continue
        ok = check(args.objdump, program, table, allowed_dlls) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
