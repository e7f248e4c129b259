#!/usr/bin/env python3
"""zembra-check-answers checks each line with the program's own check and says why a line is bad."""
import subprocess
import sys

TOOL = sys.argv[1]
lines = [
    (b"1412\tat noon / at night", "right\tat night/noon"),
    (b"1412\tat night", "wrong\tat night/noon"),
    (b"344\tU.S.A.", "right\tAmerica/USA"),
    (b"651\tbetween \xe2\x80\xa6 and \xe2\x80\xa6", "right\tbetween...and..."),
    (b"2\t\xef\xbd\x90encil case", "right\tpencil case"),  # a full-width p
    (b"2\tpencil cases\r", "wrong\tpencil case"),
    (b"2 pencil case", "bad\tno tab"),
    (b"1754\tfewest", "bad\t'1754' is no row"),
    (b"-1\tpen", "bad\t'-1' is no row"),
    (b"\tpen", "bad\t'' is no row"),
    (b"2\tpencil \xff case", "bad\tthe typed text is not UTF-8"),
    (b"2\tpencil \xf0\x9f\x98\x80", "bad\tthe typed text has a character with no GBK form"),
]
result = subprocess.run([TOOL], input=b"\n".join(line for line, _ in lines), capture_output=True)
out = result.stdout.decode("utf-8").split("\n")
failures = 0
if out[-1] == "":
    out.pop()
if len(out) != len(lines):
    print(f"FAIL {len(out)} output lines for {len(lines)} input lines: {out!r}")
    failures += 1
for (line, want), got in zip(lines, out):
    if not got.startswith(want):
        print(f"FAIL {line!r}: {got!r}, want {want!r}...")
        failures += 1
if result.returncode != 1:
    print(f"FAIL exit {result.returncode} after bad lines, want 1")
    failures += 1
good = subprocess.run([TOOL], input=b"95\tmom\n", capture_output=True)
if good.returncode != 0 or good.stdout != b"right\tmom\n":
    print(f"FAIL a good line: exit {good.returncode}, {good.stdout!r}")
    failures += 1
print(f"{len(lines) + 2 - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
