#!/usr/bin/env python3
"""Checks that a shared libq64 exports exactly the installed interface: the
declarations marked Q64_API in include/q64/, which must name every routine of
the profiler's routine-name list.

Usage: check_exports.py LIBQ64_SO ROOT. Prints the differences and exits 1
when there is one; otherwise prints the number of exported names.
"""
import os
import re
import subprocess
import sys

# Names the toolchain itself defines in every shared library or a sanitizer
# adds to it; they are not part of any interface.
TOOLCHAIN = {"_init", "_fini", "_edata", "_end", "__bss_start"}
TOOLCHAIN_PREFIXES = ("__odr_asan", "__asan", "__ubsan", "__sanitizer", "__lsan")


def interface(root):
    names = {}
    folder = os.path.join(root, "include", "q64")
    for header in sorted(os.listdir(folder)):
        text = open(os.path.join(folder, header), encoding="utf-8").read()
        text = re.sub(r"/\*.*?\*/|//[^\n]*|#define[^\n]*", " ", text, flags=re.S)
        for m in re.finditer(r"\bQ64_API\b([^;{]*?)\b([A-Za-z_]\w*)\s*[(\[;]", text):
            names[m.group(2)] = header
    return names


def listed_routines(root):
    text = open(os.path.join(root, "profiler", "routines.def"), encoding="utf-8").read()
    return set(re.findall(r"^PRF_ROUTINE\((\w+)\)", text, flags=re.M))


def exported(library):
    out = subprocess.run(["nm", "-D", "--defined-only", library], check=True,
                         capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        fields = line.split()
        if len(fields) >= 3:
            name = fields[2].split("@")[0]
            if name not in TOOLCHAIN and not name.startswith(TOOLCHAIN_PREFIXES):
                names.add(name)
    return names


def main():
    library, root = sys.argv[1], sys.argv[2]
    declared = interface(root)
    have = exported(library)
    problems = []
    for name in sorted(listed_routines(root) - set(declared)):
        problems.append(f"listed routine {name} is not declared with Q64_API in include/q64/")
    for name in sorted(set(declared) - have):
        problems.append(f"{name} ({declared[name]}) is declared but not exported")
    for name in sorted(have - set(declared)):
        problems.append(f"{name} is exported but not part of the interface")
    for p in problems:
        print(p)
    if problems:
        return 1
    print(f"{len(have)} names exported, exactly the interface")
    return 0


if __name__ == "__main__":
    sys.exit(main())
