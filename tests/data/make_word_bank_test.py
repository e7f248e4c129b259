#!/usr/bin/env python3
"""The word-bank generator refuses a malformed data file or category list and names the offending
line."""
import os
import subprocess
import sys
import tempfile

GENERATOR, BANK, CATEGORIES = sys.argv[1:4]
lines = open(BANK, encoding="utf-8").read().split("\n")[:-1]
categories = open(CATEGORIES, encoding="utf-8").read().split("\n")[:-1]
JOINED = os.path.join(os.path.dirname(BANK), "joined_meanings.txt")
joined = open(JOINED, encoding="utf-8").read().split("\n")[:-1]


def run(rows, category_lines=categories, joined_lines=joined):
    with tempfile.TemporaryDirectory() as folder:
        inputs = []
        for name, content in (("bank.tsv", rows), ("categories.txt", category_lines), ("joined.txt", joined_lines)):
            inputs.append(os.path.join(folder, name))
            with open(inputs[-1], "w", encoding="utf-8", newline="\n") as handle:
                handle.write("\n".join(content) + "\n")
        outputs = [os.path.join(folder, "table.cpp"), os.path.join(folder, "categories.cpp")]
        result = subprocess.run([sys.executable, GENERATOR, *inputs, *outputs], capture_output=True, text=True)
        return result.returncode, result.stderr, any(os.path.exists(out) for out in outputs)


def replace(line_no, text):
    changed = list(lines)
    changed[line_no - 1] = text
    return changed


cases = [
    ("wrong row count", lines[:-1], ":1754:", "1753 rows"),
    ("unknown category", replace(10, "8\t单字\tChinese book\t语文书\t"), ":10:", "not one of the twelve"),
    ("no GBK form", replace(20, "18\t单词\tmath book\t数学书😀\t"), ":20:", "no GBK form"),
    ("no GBK form in a further answer", replace(20, "18\t单词\tmath book\t数学书\tmaths book😀"), ":20:", "no GBK form"),
    ("four fields", replace(5, "3\t单词\truler\t尺子"), ":5:", "4 fields"),
    ("empty further answer", replace(5, "3\t单词\truler\t尺子\trule||line"), ":5:", "empty"),
    ("padded further answer", replace(5, "3\t单词\truler\t尺子\t rule"), ":5:", "spaces"),
    ("further answer repeats the answer", replace(5, "3\t单词\truler\t尺子\truler"), ":5:", "repeats"),
    ("further answer twice", replace(5, "3\t单词\truler\t尺子\trule|rule"), ":5:", "repeats"),
    ("out of order", replace(7, lines[7]), ":7:", "index"),
    ("bad header", replace(1, "index\tcategory\tanswer\tprompt"), ":1:", "header"),
]
category_cases = [
    ("category named twice", categories[:5] + categories[2:3] + categories[6:], ":6:", "named twice"),
    ("eleven categories", categories[:-1], ":11:", "11 categories"),
    ("category named as the missed-rows filter", categories[:3] + ["错题"] + categories[4:], ":4:", "filter"),
]
cases += [(name, lines, where, what, listed) for name, listed, where, what in category_cases]
joined_cases = [
    ("joined row without a slash", joined[:1] + ["1413"] + joined[1:], ":2:", "no \"/\""),
    ("joined rows out of order", joined[1:2] + joined[:1] + joined[2:], ":2:", "order"),
    ("joined row past the bank", joined + ["1754"], f":{len(joined) + 1}:", "no row index"),
]
cases += [(name, lines, where, what, categories, listed) for name, listed, where, what in joined_cases]
# The superlatives turned into comparatives: the last category of the list has no row left.
no_superlatives = [line.replace("\t最高级\t", "\t比较级\t") for line in lines]
cases.append(("category without rows", no_superlatives, ":12:", "no row has"))
failures = 0
for name, rows, where, what, *listed in cases:
    code, err, wrote = run(rows, *listed)
    if code == 0 or where not in err or what not in err or wrote:
        print(f"FAIL {name}: exit {code}, output {err!r}")
        failures += 1
code, err, wrote = run(lines)
if code != 0 or not wrote:
    print(f"FAIL the real bank: exit {code}, {err!r}")
    failures += 1
print(f"{len(cases) + 1 - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
