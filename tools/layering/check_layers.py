#!/usr/bin/env python3
"""Checks that no include runs from a lower layer of the tree to a higher one.

The layers, from the bottom: the platform, the zip component, then the program's forms, context,
modules (scan, script, capture, restore), main window (frame), Qt views (gui) and program (app).
The native backend's own headers (platform/native) are for the platform (the Win32 backend in
platform/win32 uses its backend-neutral units too) and for the programs that build machines
(tools, bench, test fixtures) only. Tests may reach any layer of the program,
but not the native backend unless they test the platform itself.

Usage: check_layers.py SOURCE_DIR; prints each offending include and exits 1 when there is one.
"""
import pathlib
import re
import sys

RANKS = {
    "platform": 0, "component": 1, "forms": 2, "context": 3, "scan": 4, "script": 5,
    "capture": 6, "restore": 7, "frame": 8, "gui": 9, "app": 10,
}
MIGRATION_LAYERS = [name for name in RANKS if RANKS[name] >= RANKS["forms"]]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".c"}


def layer_of_file(relative):
    parts = relative.parts
    if parts[0] == "platform" and parts[1] in ("include", "src", "native", "win32"):
        return "platform"
    if parts[0] == "parcelon" and parts[1] in ("include", "src", "host", "tool"):
        return "component"
    if parts[0] == "migration" and parts[1] in MIGRATION_LAYERS and "tests" not in parts:
        return parts[1]
    return None  # tests, fixtures, tools, benchmarks


def may_use_native(relative):
    parts = relative.parts
    return (parts[0] in ("tools", "bench") or parts[:2] in (("platform", "native"),
            ("platform", "win32"), ("platform", "tests"), ("platform", "testing")))


def index_bare_headers(root):
    """Headers that are included by their bare name, by the layer that owns them."""
    bare = {}
    for folder, owner in (("platform/native", "native"), ("parcelon/src", "component"),
                          ("parcelon/host", "component")):
        for header in (root / folder).glob("*.h"):
            bare[header.name] = owner
    return bare


def layer_of_include(name, bare):
    first = name.split("/")[0]
    if first == "platform":
        return "platform"
    if first == "parcelon":
        return "component"
    if first in MIGRATION_LAYERS:
        return first
    return bare.get(name)


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    bare = index_bare_headers(root)
    problems = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or "build" in path.relative_to(root).parts[:1]:
            continue
        relative = path.relative_to(root)
        if relative.parts[0] not in ("platform", "parcelon", "migration", "tools", "bench"):
            continue
        own = layer_of_file(relative)
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = layer_of_include(match.group(1), bare)
            where = f"{relative}:{number}: {match.group(1)}"
            if target == "native" and not may_use_native(relative):
                problems.append(f"{where} (the native backend is the platform's own)")
            elif own and target in RANKS and RANKS[target] > RANKS[own]:
                problems.append(f"{where} ({own} reaches up to {target})")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
