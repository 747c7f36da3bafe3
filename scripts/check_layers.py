#!/usr/bin/env python3
"""Checks that the layers of the tree point only down, and that source file
names are unique across the tree.

The layers, bottom to top:
  shared    include/q64/base.h (Q2Value and the export mark)
  platform  operating-system services and the time stamps
  profiler  the call-count profiler (include/q64/profiler.h)
  numlib    the library modules, lowest first: _0_ _2_ _1_ _3_ _9_ _4_ _a_ _b_ _c_
            (folders numlib/m0_... and headers include/q64/m0_....h, and so on)
  primetable, primequery   module _5_ (include/q64/m5_primetable.h, m5_primequery.h)
  umbrella  include/q64/q64.h, which gathers every public header
  console   start-up, menus and dialogs

A source file may include headers of its own layer or below. Within the
number library the module order above is the layer order. CMake targets of a
layer link only targets of lower layers. Clients (tests, benchmarks, the
reference methods, the examples) may include any layer, but benchmarks and
reference methods include nothing from tests/.

Usage: check_layers.py [ROOT]; prints every offending edge and exits 1 if
there is one.
"""
import os
import re
import sys

MODULE_ORDER = ["m0", "m2", "m1", "m3", "m9", "m4", "ma", "mb", "mc"]
RANK = {"shared": 0, "platform": 1, "profiler": 2}
for i, m in enumerate(MODULE_ORDER):
    RANK["numlib." + m] = 3 + i
RANK.update({"primetable": 20, "primequery": 21, "umbrella": 22, "console": 23})
CLIENTS = ("tests", "bench", "reference", "examples", "fuzz")
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cpp", ".cc", ".def", ".py", ".sh")


def layer_of(path):
    """The layer of a repository-relative path, or None for clients and the rest."""
    parts = path.split("/")
    if parts[0] == "include" and len(parts) == 3 and parts[1] == "q64":
        name = parts[2][:-2]
        if name == "base":
            return "shared"
        if name == "q64":
            return "umbrella"
        if name == "profiler":
            return "profiler"
        if name.startswith("m5_"):
            return name[3:]
        return "numlib." + name[:2]
    if parts[0] == "numlib" and len(parts) > 2:
        return "numlib." + parts[1][:2]
    if parts[0] in ("platform", "profiler", "primetable", "primequery", "console"):
        return parts[0]
    return None


def included_paths(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
            if m:
                yield number, m.group(1)


def resolve(root, source, include):
    """Repository-relative path of an include, as the build's search order finds it."""
    for base in (os.path.dirname(source), "include", ""):
        candidate = os.path.normpath(os.path.join(base, include))
        if os.path.exists(os.path.join(root, candidate)):
            return candidate
    return None


def walk(root):
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        dirs[:] = [d for d in dirs if not d.startswith((".", "build"))]
        for name in files:
            yield os.path.normpath(os.path.join(rel, name))


def check_includes(root, files, problems):
    for source in files:
        if not source.endswith(SOURCE_SUFFIXES[:6]):
            continue
        own = layer_of(source)
        client = source.split("/")[0] in CLIENTS
        for number, include in included_paths(os.path.join(root, source)):
            target = resolve(root, source, include)
            if target is None:
                continue  # a generated header or one of the system's
            if client:
                if source.split("/")[0] in ("bench", "reference") and target.startswith("tests/"):
                    problems.append(f"{source}:{number}: includes test source {target}")
                continue
            theirs = layer_of(target)
            if own is None or theirs is None:
                if own is not None and target.split("/")[0] in CLIENTS:
                    problems.append(f"{source}:{number}: includes {target}, outside the layers")
                continue
            if RANK[theirs] > RANK[own]:
                problems.append(f"{source}:{number}: {own} includes {target} of the higher layer {theirs}")


TARGET_LAYER = {"q64_platform": "platform", "q64_profiler": "profiler", "q64_numlib": "numlib.m0",
                "q64_primetable": "primetable", "q64_primequery": "primequery",
                "q64_console": "console"}


def check_targets(root, problems):
    for folder in ("platform", "profiler", "numlib", "primetable", "primequery", "console"):
        path = os.path.join(root, folder, "CMakeLists.txt")
        if not os.path.exists(path):
            continue
        text = open(path, encoding="utf-8").read()
        for m in re.finditer(r"target_link_libraries\(\s*(\S+)([^)]*)\)", text):
            own = TARGET_LAYER.get(m.group(1))
            if own is None:
                continue
            for linked in m.group(2).split():
                theirs = TARGET_LAYER.get(linked)
                if theirs is not None and coarse(theirs) >= coarse(own) and linked != m.group(1):
                    problems.append(f"{folder}/CMakeLists.txt: {m.group(1)} links {linked} of a layer not below it")


def coarse(layer):
    # The number library is one CMake target: its modules count as one layer.
    return RANK["numlib.m0"] if layer.startswith("numlib.") else RANK[layer]


def check_unique_names(files, problems):
    seen = {}
    for path in files:
        if path.endswith(SOURCE_SUFFIXES):
            seen.setdefault(os.path.basename(path), []).append(path)
    for name, paths in sorted(seen.items()):
        if len(paths) > 1:
            problems.append(f"file name {name} is used {len(paths)} times: {', '.join(sorted(paths))}")


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    files = sorted(walk(root))
    problems = []
    check_includes(root, files, problems)
    check_targets(root, problems)
    check_unique_names(files, problems)
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} problem(s)")
        return 1
    print(f"layers point down; {len(files)} files checked")
    return 0


if __name__ == "__main__":
    sys.exit(main())
