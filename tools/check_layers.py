#!/usr/bin/env python3
"""Checks the one allowed direction through the code: every source file of a layer includes only
headers of its own layer and of the layers below it that it may use, and a window system's
headers only where its backend or its program is.

Usage: check_layers.py [SOURCE_ROOT]     (default: the folder above tools/)

Prints each wrong include as FILE:LINE and exits 1 when there is one. Tests and benchmarks may use
every layer and are not checked. An include that names no file of the tree (a generated header,
a system header) counts only for the window-system rule.
"""
import os
import re
import sys

# The layers by folder, lowest first, and what each may include besides its own headers. A file
# belongs to the longest folder that holds it. docs/DESIGN.md shows the same table.
MAY_USE = {
    "framework": [],
    "framework/win32": ["framework"],
    "framework/qt": ["framework"],
    "data": [],
    "ui": ["framework", "data"],
    "drill": ["framework", "data", "ui"],
    "app": ["framework", "data", "ui", "drill"],
    "app/win32": ["app", "framework", "framework/win32", "data", "ui", "drill"],
    "app/qt": ["app", "framework", "framework/qt", "data", "ui", "drill"],
    "tools": ["framework", "data", "ui", "drill"],
}
# The framework core holds each platform's system code in framework/system/<platform>.
PART_OF = {"framework/system": "framework"}

# Window-system headers and the folders where they may stand.
TOOLKITS = [
    ("Win32", re.compile(r"^(windows|windowsx|win[a-z0-9]*|commctrl|commdlg|shellapi|shlobj|shlwapi|psapi|"
                         r"dwmapi|uxtheme|objbase|ole2|oleacc|initguid)\.h$", re.IGNORECASE),
     ["framework/win32", "framework/system/windows", "app/win32"]),
    ("Qt", re.compile(r"^(Q[A-Za-z0-9]+|Qt[A-Za-z]+/.*)$"), ["framework/qt", "app/qt"]),
]

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCES = (".cpp", ".h", ".hpp", ".cc")


def folder_of(path):
    return os.path.dirname(path).replace(os.sep, "/")


def within(folder, prefix):
    return folder == prefix or folder.startswith(prefix + "/")


def layer_of(path):
    folder = folder_of(path)
    for part, layer in PART_OF.items():
        if within(folder, part):
            return layer
    best = None
    for layer in MAY_USE:
        if within(folder, layer) and (best is None or len(layer) > len(best)):
            best = layer
    return best


def resolve(root, including, name):
    """The tree-relative path of an included file of ours, or None."""
    for base in (folder_of(including), ""):
        candidate = os.path.normpath(os.path.join(base, name)).replace(os.sep, "/")
        if not candidate.startswith("../") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def problems(root):
    found = []
    for top in sorted({layer.split("/")[0] for layer in MAY_USE}):
        for folder, folders, files in os.walk(os.path.join(root, top)):
            folders.sort()
            for file in sorted(files):
                if file.endswith(SOURCES):
                    path = os.path.relpath(os.path.join(folder, file), root).replace(os.sep, "/")
                    found += check_file(root, path)
    return found


def check_file(root, path):
    layer = layer_of(path)
    allowed = [layer] + MAY_USE[layer]
    found = []
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as handle:
        for line_no, line in enumerate(handle, start=1):
            match = INCLUDE.match(line)
            if not match:
                continue
            name = match.group(2)
            for toolkit, header, places in TOOLKITS:
                if header.match(name) and not any(within(folder_of(path), place) for place in places):
                    found.append(f"{path}:{line_no}: includes <{name}>: {toolkit} belongs to "
                                 f"{', '.join(places)} only")
            target = resolve(root, path, name)
            target_layer = layer_of(target) if target else None
            if target_layer and target_layer not in allowed:
                found.append(f"{path}:{line_no}: includes {target}, of the layer {target_layer}, which "
                             f"{layer} may not use (it may use: {', '.join(MAY_USE[layer]) or 'nothing'})")
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = problems(os.path.abspath(root))
    for problem in found:
        print(problem)
    print(f"{len(found)} wrong include{'' if len(found) == 1 else 's'}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
