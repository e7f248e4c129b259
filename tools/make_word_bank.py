#!/usr/bin/env python3
"""Turns data/word_bank.tsv, data/categories.txt and data/joined_meanings.txt (UTF-8) into the
constant GBK tables the program is built with: the rows with their further right answers and
whether their "/" joins meanings asked for together, and the twelve categories in the order the
category filter lists them.

Usage: make_word_bank.py WORD_BANK_TSV CATEGORIES_TXT JOINED_MEANINGS_TXT OUTPUT_TABLE_CPP
                         OUTPUT_CATEGORIES_CPP

The joined-meanings list holds one row index a line, in increasing order; each row's answer holds
a "/" (在夜里/中午: at night/noon, both asked for). Every other "/" joins forms right alone.

The build fails, naming the line, when a file is malformed: a wrong header, a row that does not
have five fields or stands out of index order, an empty, repeated or space-padded further answer, a category that is not one of the twelve, text with
no GBK form, a row count other than 1754; a category list that does not name twelve different
categories, or names one that no row has. Fields are taken verbatim (no trimming, no quoting).
"""
import sys

ROWS = 1754
CATEGORY_COUNT = 12
HEADER = "index\tcategory\tanswer\tprompt\talso"
ALSO_SEPARATOR = "|"


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


def read_lines(path):
    with open(path, "rb") as handle:
        raw = handle.read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        fail(path, raw[: error.start].count(b"\n") + 1, "not UTF-8")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


# The filter list's entries that are no category: every row (全选), the rows answered wrong (错题).
FILTER_NAMES = ("全选", "错题")


def read_categories(path):
    categories = read_lines(path)
    for line_no, category in enumerate(categories, start=1):
        if category == "" or "\r" in category or "\t" in category:
            fail(path, line_no, f"{category!r} is no category name")
        if category in FILTER_NAMES:
            fail(path, line_no, f"{category!r} names a filter of its own, not a category")
        if category in categories[: line_no - 1]:
            fail(path, line_no, f"category {category!r} named twice")
    if len(categories) != CATEGORY_COUNT:
        fail(path, len(categories), f"{len(categories)} categories, want {CATEGORY_COUNT}")
    return categories


def read_joined(path, rows):
    joined = []
    for line_no, line in enumerate(read_lines(path), start=1):
        if not line.isdigit() or int(line) >= len(rows) or str(int(line)) != line:
            fail(path, line_no, f"{line!r} is no row index")
        if joined and int(line) <= joined[-1]:
            fail(path, line_no, f"row {line} out of increasing order")
        if "/" not in rows[int(line)]:
            fail(path, line_no, f"row {line}'s answer has no \"/\" to join meanings")
        joined.append(int(line))
    return set(joined)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as handle:
        handle.write(text)


def main():
    if len(sys.argv) != 6:
        sys.stderr.write(__doc__)
        return 2
    path, categories_path, joined_path, output, categories_output = sys.argv[1:]
    categories = read_categories(categories_path)
    lines = read_lines(path)
    if not lines or lines[0] != HEADER:
        fail(path, 1, "the header must be index<TAB>category<TAB>answer<TAB>prompt<TAB>also")
    rows = []
    answers = []
    also_texts = []
    for line_no, line in enumerate(lines[1:], start=2):
        if "\r" in line:
            fail(path, line_no, "carriage return in a row (LF line ends only)")
        fields = line.split("\t")
        if len(fields) != 5:
            fail(path, line_no, f"{len(fields)} fields, want 5")
        index, category, answer, prompt, also = fields
        if index != str(len(rows)):
            fail(path, line_no, f"index {index!r}, want {len(rows)}")
        if category not in categories:
            fail(path, line_no, f"category {category!r} is not one of the twelve")
        alternatives = also.split(ALSO_SEPARATOR) if also else []
        for text in alternatives:
            if text == "" or text != text.strip():
                fail(path, line_no, f"further answer {text!r} is empty or has spaces at its ends")
            if text == answer or alternatives.count(text) > 1:
                fail(path, line_no, f"further answer {text!r} repeats the answer or another one")
        also_span = f"{{kAlso + {len(also_texts)}, {len(alternatives)}}}" if alternatives else "{}"
        also_texts += [gbk_literal(path, line_no, text) for text in alternatives]
        answers.append(answer)
        rows.append((gbk_literal(path, line_no, answer), gbk_literal(path, line_no, prompt),
                     gbk_literal(path, line_no, category), also_span))
    if len(rows) != ROWS:
        fail(path, len(lines), f"{len(rows)} rows, want {ROWS}")
    joined = read_joined(joined_path, answers)
    used = {fields.split("\t")[1] for fields in lines[1:]}
    for line_no, category in enumerate(categories, start=1):
        if category not in used:
            fail(categories_path, line_no, f"no row has the category {category!r}")

    body = "\n".join(f"    {{{a}, {p}, {c}, {s}, {'true' if i in joined else 'false'}}},  // {i}"
                     for i, (a, p, c, s) in enumerate(rows))
    also_body = "\n".join(f"    {t}," for t in also_texts) or "    {},"
    write(output,
          "// Generated from data/word_bank.tsv by tools/make_word_bank.py. Do not edit.\n"
          '#include "data/word_bank.h"\n\n'
          "namespace zembra {\n\n"
          "namespace {\n\n"
          "// Every row's further right answers, one after the other; a row points at its own.\n"
          "constexpr std::string_view kAlso[] = {\n"
          f"{also_body}\n"
          "};\n\n"
          "}  // namespace\n\n"
          "const WordRow kWordRows[kBankRows] = {\n"
          f"{body}\n"
          "};\n\n"
          "}  // namespace zembra\n")
    names = "\n".join(f"    {gbk_literal(categories_path, i, c)},  // {c}"
                      for i, c in enumerate(categories, start=1))
    write(categories_output,
          "// Generated from data/categories.txt by tools/make_word_bank.py. Do not edit.\n"
          '#include "data/word_bank.h"\n\n'
          "namespace zembra {\n\n"
          "const std::string_view kCategories[kCategoryCount] = {\n"
          f"{names}\n"
          "};\n\n"
          "}  // namespace zembra\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
