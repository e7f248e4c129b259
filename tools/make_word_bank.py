#!/usr/bin/env python3
"""Turns data/word_bank.tsv (UTF-8) into the constant GBK table the program is built with.

Usage: make_word_bank.py WORD_BANK_TSV OUTPUT_CPP

The build fails, naming the line, when the file is malformed: a wrong header, a row that does not
have four fields or stands out of index order, a category that is not one of the twelve, text with
no GBK form, or a row count other than 1754. Fields are taken verbatim (no trimming, no quoting).
"""
import sys

ROWS = 1754
CATEGORIES = ["单词", "常用短语", "特殊疑问词", "缩写", "过去式", "第三人称单数", "现在分词",
              "名词复数", "形容词→副词", "介词短语", "比较级", "最高级"]
HEADER = "index\tcategory\tanswer\tprompt"


def fail(path, line_no, message):
    sys.stderr.write(f"{path}:{line_no}: error: {message}\n")
    sys.exit(1)


def gbk_literal(path, line_no, text):
    try:
        data = text.encode("gbk")
    except UnicodeEncodeError as error:
        fail(path, line_no, f"{text[error.start:error.end]!r} has no GBK form")
    out = []
    hex_before = False
    for byte in data:
        char = chr(byte)
        if byte >= 0x80 or byte < 0x20:
            out.append(f"\\x{byte:02X}")
            hex_before = True
            continue
        if hex_before and char in "0123456789abcdefABCDEF":
            out.append('""')  # ends the hex escape before a hex digit
        out.append("\\" + char if char in '"\\?' else char)
        hex_before = False
    return '"' + "".join(out) + '"'


def main():
    if len(sys.argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    path, output = sys.argv[1], sys.argv[2]
    with open(path, "rb") as handle:
        raw = handle.read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        fail(path, raw[: error.start].count(b"\n") + 1, "not UTF-8")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines or lines[0] != HEADER:
        fail(path, 1, "the header must be index<TAB>category<TAB>answer<TAB>prompt")
    rows = []
    for line_no, line in enumerate(lines[1:], start=2):
        if "\r" in line:
            fail(path, line_no, "carriage return in a row (LF line ends only)")
        fields = line.split("\t")
        if len(fields) != 4:
            fail(path, line_no, f"{len(fields)} fields, want 4")
        index, category, answer, prompt = fields
        if index != str(len(rows)):
            fail(path, line_no, f"index {index!r}, want {len(rows)}")
        if category not in CATEGORIES:
            fail(path, line_no, f"category {category!r} is not one of the twelve")
        rows.append((gbk_literal(path, line_no, answer), gbk_literal(path, line_no, prompt),
                     gbk_literal(path, line_no, category)))
    if len(rows) != ROWS:
        fail(path, len(lines), f"{len(rows)} rows, want {ROWS}")

    body = "\n".join(f"    {{{a}, {p}, {c}}},  // {i}" for i, (a, p, c) in enumerate(rows))
    with open(output, "w", encoding="ascii", newline="\n") as handle:
        handle.write(
            "// Generated from data/word_bank.tsv by tools/make_word_bank.py. Do not edit.\n"
            '#include "data/word_bank.h"\n\n'
            "namespace zembra {\n\n"
            "const WordRow kWordRows[kBankRows] = {\n"
            f"{body}\n"
            "};\n\n"
            "}  // namespace zembra\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
