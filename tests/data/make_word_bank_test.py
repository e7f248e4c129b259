#!/usr/bin/env python3
"""The word-bank generator refuses a malformed data file and names the offending line."""
import os
import subprocess
import sys
import tempfile

GENERATOR, BANK = sys.argv[1], sys.argv[2]
lines = open(BANK, encoding="utf-8").read().split("\n")[:-1]


def run(rows):
    with tempfile.TemporaryDirectory() as folder:
        tsv = os.path.join(folder, "bank.tsv")
        with open(tsv, "w", encoding="utf-8", newline="\n") as handle:
            handle.write("\n".join(rows) + "\n")
        out = os.path.join(folder, "table.cpp")
        result = subprocess.run([sys.executable, GENERATOR, tsv, out], capture_output=True, text=True)
        return result.returncode, result.stderr, os.path.exists(out)


def replace(line_no, text):
    changed = list(lines)
    changed[line_no - 1] = text
    return changed


cases = [
    ("wrong row count", lines[:-1], ":1754:", "1753 rows"),
    ("unknown category", replace(10, "8\t单字\tChinese book\t语文书"), ":10:", "not one of the twelve"),
    ("no GBK form", replace(20, "18\t单词\tmath book\t数学书😀"), ":20:", "no GBK form"),
    ("three fields", replace(5, "3\t单词\truler"), ":5:", "3 fields"),
    ("out of order", replace(7, lines[7]), ":7:", "index"),
    ("bad header", replace(1, "index\tanswer\tprompt\tcategory"), ":1:", "header"),
]
failures = 0
for name, rows, where, what in cases:
    code, err, wrote = run(rows)
    if code == 0 or where not in err or what not in err or wrote:
        print(f"FAIL {name}: exit {code}, output {err!r}")
        failures += 1
code, err, wrote = run(lines)
if code != 0 or not wrote:
    print(f"FAIL the real bank: exit {code}, {err!r}")
    failures += 1
print(f"{len(cases) + 1 - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
