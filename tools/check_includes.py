#!/usr/bin/env python3
"""Fails when a source file includes a folder above its own.

The order is net -> os -> platform -> features (account, servers, shop, rdpsettings) -> app,
with cli/ (the terminal client) beside app/.
Window halves (ui/ and every <folder>/gui/) follow the same order, with ui/ just above
os/; a widget-free file never includes a window half. The updater program may use the
layers up to platform/ and the toolkit, nothing of the client's features.

Usage: check_includes.py SOURCE_ROOT   (prints each offending line; exit 1 if any)
"""
import pathlib
import re
import sys

RANK = {
    "net": 0,
    "os": 1,
    "ui": 1.5,
    "platform": 2,
    "account": 3,
    "servers": 3,
    "shop": 3,
    "rdpsettings": 3,
    "app": 4,
    "cli": 4,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/([^"]*)"')


def layer_of(parts):
    """(rank, is a window half) of a path given as its parts below src/."""
    folder = parts[0]
    return RANK[folder], folder == "ui" or "gui" in parts[1:-1]


def check_file(path, rank, gui, shown):
    problems = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match or match.group(1) not in RANK:
            continue
        target = [match.group(1)] + match.group(2).split("/")
        target_rank, target_gui = layer_of(target)
        if target_rank > rank:
            problems.append(f"{shown}:{number}: includes {'/'.join(target)}, a layer above")
        elif target_gui and not gui:
            problems.append(f"{shown}:{number}: includes the window half {'/'.join(target)}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    problems = []
    src = root / "src"
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        parts = path.relative_to(src).parts
        if len(parts) == 1:  # main.cpp: the program itself, above everything
            rank, gui = max(RANK.values()), True
        else:
            rank, gui = layer_of(parts)
        problems += check_file(path, rank, gui, path.relative_to(root))
    for path in sorted((root / "updater").rglob("*")):
        if path.suffix in (".h", ".cpp"):
            problems += check_file(path, RANK["platform"], True, path.relative_to(root))
    for problem in problems:
        print(problem)
    print(f"{len(problems)} include(s) point the wrong way" if problems else "include order holds")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
