#!/usr/bin/env python3
"""The layer check passes a tree whose includes go the allowed way and fails, naming the file and
the line, on each kind of wrong include planted into it."""
import os
import subprocess
import sys
import tempfile

CHECKER = sys.argv[1]

# A small tree in the project's shape whose includes are all allowed.
CLEAN = {
    "framework/dialog.h": '#include <string>\n',
    "framework/system/windows/file_io.cpp": '#include <windows.h>\n#include "framework/dialog.h"\n',
    "framework/qt/qt_dialog.h": '#include <QWidget>\n#include "framework/dialog.h"\n',
    "framework/win32/dialog_host.h": '#include <windows.h>\n#include "dialog_host.h"\n',
    "data/word_bank.h": '#include <array>\n',
    "ui/texts.h": '#include "framework/dialog.h"\n#include "data/word_bank.h"\n',
    "drill/practice_dialog.h": '#include "ui/texts.h"\n#include "version.h"\n',
    "app/qt/main.cpp": '#include <QApplication>\n#include "framework/qt/qt_dialog.h"\n#include "drill/practice_dialog.h"\n',
    "app/win32/main.cpp": '#include <windows.h>\n#include "framework/win32/dialog_host.h"\n',
    "tests/drill/test.cpp": '#include <windows.h>\n#include "app/qt/main.cpp"\n',
}

# Each wrong include: the file it is added to, the line, and what the report must say.
PLANTED = [
    ("framework up to ui", "framework/dialog.h", '#include "ui/texts.h"', "of the layer ui"),
    ("framework by a relative path", "framework/dialog.h", '#include "../drill/practice_dialog.h"',
     "of the layer drill"),
    ("one backend into the other", "framework/qt/qt_dialog.h", '#include "framework/win32/dialog_host.h"',
     "of the layer framework/win32"),
    ("system code up to data", "framework/system/windows/file_io.cpp", '#include "data/word_bank.h"',
     "of the layer data"),
    ("ui up to drill", "ui/texts.h", '#include "drill/practice_dialog.h"', "which ui may not use"),
    ("data to the framework", "data/word_bank.h", '#include <framework/dialog.h>', "of the layer framework"),
    ("the Qt program into Win32", "app/qt/main.cpp", '#include "framework/win32/dialog_host.h"',
     "of the layer framework/win32"),
    ("Win32 in the core", "drill/practice_dialog.h", '#include <windows.h>', "Win32 belongs to"),
    ("a Win32 header other than windows.h", "ui/texts.h", '#include <windowsx.h>', "Win32 belongs to"),
    ("Qt in the Win32 backend", "framework/win32/dialog_host.h", '#  include <QString>', "Qt belongs to"),
]


def check(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as handle:
                handle.write(text)
        result = subprocess.run([sys.executable, CHECKER, root], capture_output=True, text=True)
        return result.returncode, result.stdout


failures = 0
code, out = check(CLEAN)
if code != 0 or "0 wrong includes" not in out:
    print(f"FAIL the clean tree: exit {code}, {out!r}")
    failures += 1
for name, path, line, what in PLANTED:
    files = dict(CLEAN)
    files[path] += line + "\n"
    where = f"{path}:{files[path].count(chr(10))}:"
    code, out = check(files)
    if code != 1 or where not in out or what not in out or out.splitlines()[-1:] != ["1 wrong include"]:
        print(f"FAIL {name}: exit {code}, want {where} ... {what}; got {out!r}")
        failures += 1
print(f"{len(PLANTED) + 1 - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
