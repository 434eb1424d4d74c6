#!/usr/bin/env python3
"""Checks that every #include under src/ runs down the layers, never up or sideways.

Layers, lowest first; a folder may include its own files and those of lower layers only:
  0  core/access  core/text              byte access and byte order, character codec
  1  core/schema  core/io                 the field engine (definitions, encodings, values,
                                          record I/O, record counts); every system call
  2  core/lists  core/document            name lists; the open executable
  3  core/tables                          one definition per table, and the catalog of them
  4  core/image  core/demo  core/bulk     disc image, demo executable, whole tables
  5  cli  editor/toolkit                  the command line; the editor's widget toolkit
  6  editor/session                       the editing session over the document
  7  editor/pages                         pages and windows
  8  editor/app                           the composition root
Each target has one include root, its folder under src/ (src/core, src/cli, src/editor); a
file's include is looked up in its own target's root, then in src/core.
With --list, prints every include that crosses folders, by folder pair.
Exits 1 naming each include that runs the wrong way.
"""
import os
import re
import sys
from collections import defaultdict

LAYERS = [
    ["core/access", "core/text"],
    ["core/schema", "core/io"],
    ["core/lists", "core/document"],
    ["core/tables"],
    ["core/image", "core/demo", "core/bulk"],
    ["cli", "editor/toolkit"],
    ["editor/session"],
    ["editor/pages"],
    ["editor/app"],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
TARGET_ROOTS = ["src/core", "src/cli", "src/editor"]


def folder_of(src, path):
    return os.path.relpath(os.path.dirname(path), src)


def resolve(root, include, path):
    own = next(r for r in TARGET_ROOTS if os.path.relpath(path, root).startswith(r + os.sep))
    for base in dict.fromkeys([own, "src/core"]):
        candidate = os.path.join(root, base, include)
        if os.path.exists(candidate):
            return candidate
    return None


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    src = os.path.join(root, "src")
    crossings = defaultdict(list)
    wrong = []
    for dirpath, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, name)
            here = folder_of(src, path)
            with open(path, encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    m = re.match(r'\s*#include "([^"]+)"', line)
                    if not m:
                        continue
                    target = resolve(root, m.group(1), path)
                    if target is None:
                        continue
                    there = folder_of(src, target)
                    if there == here:
                        continue
                    where = f"{os.path.relpath(path, root)}:{number}: {line.strip()}"
                    crossings[(here, there)].append(where)
                    if here not in RANK or there not in RANK:
                        wrong.append(f"{where}  (folder not in any layer)")
                    elif RANK[there] >= RANK[here]:
                        wrong.append(f"{where}  ({here} may not include {there})")
    if "--list" in sys.argv:
        for (here, there), lines in sorted(crossings.items(), key=lambda kv: (RANK.get(kv[0][0], 99), kv[0])):
            print(f"{here} -> {there}")
            for line in lines:
                print(f"    {line}")
    for line in wrong:
        print(line, file=sys.stderr)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
