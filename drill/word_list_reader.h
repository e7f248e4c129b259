// A pupil's word list as a parent types it in Notepad or saves it from a spreadsheet: one English
// answer and its Chinese meaning per line, read from the file's bytes into GBK rows. Pure: no
// files, no clock; the caller reads the bytes and reports what this finds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zembra {

// A file larger than this is refused whole; a list holds at most this many rows (the rest of its
// lines are left out, each reported).
inline constexpr std::size_t kListFileLimit = 1 << 20;
inline constexpr int kListRowLimit = 1800;
// The longest answer and prompt a list row may have, in GBK bytes: what the answer box and the
// prompt line show in full.
inline constexpr std::size_t kListAnswerLimit = 64;
inline constexpr std::size_t kListPromptLimit = 40;

struct WordListRow {
    std::string answer;  // GBK, as the bank's answers: a "/" joins forms that are each right
    std::string prompt;  // GBK
    bool operator==(const WordListRow&) const = default;
};

// Why a line was not taken.
enum class ListLineFault {
    NoEnglish,    // no English part
    NoChinese,    // no Chinese part
    NoGbkForm,    // a character that GBK cannot show, a byte that is no GBK, a control character
    TooLong,      // the answer or the prompt is longer than the limits above
    PastRowLimit  // the list already holds kListRowLimit rows
};

struct ListLineProblem {
    int line = 0;  // counted from 1, as an editor numbers them
    ListLineFault fault = ListLineFault::NoEnglish;
    bool operator==(const ListLineProblem&) const = default;
};

// Why a file was refused whole; nothing of it is taken.
enum class ListRefusal {
    None,
    TooLarge,     // more than kListFileLimit bytes
    NotText,      // a binary file: a NUL character, or more than 8 control characters besides TAB, CR,
                  // LF and 0x1A
    NoUsableLine  // not one line is a row
};

struct WordListReading {
    ListRefusal refusal = ListRefusal::None;
    std::vector<WordListRow> rows;
    // Every line that was neither taken nor skipped (empty, "#" comment, a header line), in order.
    std::vector<ListLineProblem> problems;
};

// Reads a list file's bytes. Encodings: UTF-8 with or without BOM, UTF-16 LE or BE with BOM,
// otherwise GBK (a GB18030 four-byte character is one GBK cannot show); line ends CR LF, LF or CR.
// A row is one English answer and its Chinese meaning in either order, separated by a tab, an
// ASCII or full-width comma, spaces, a colon or dashes, with an optional leading number ("3."
// "3、" "3)"): "3. apple - 苹果", "苹果，apple". The English part is the run of ASCII (full-width
// forms read as ASCII) at the start or the end; the word of it that touches a Chinese character
// belongs to the Chinese part ("T-shirt T恤衫"). A line with tabs is read by its columns, the
// English one holding nothing but English; in a line of commas the Chinese part ends at its next
// comma: further columns are left out. CSV quotes around a part are taken off. The answer is read
// as the bank writes answers (one space between words, none around "/"); the prompt is kept as
// typed. Empty lines, lines starting with "#" and a header line (English,Chinese; 序号,单词,中文
// ...) are skipped, as are control characters at the ends of a line (a DOS end-of-file mark).
WordListReading ReadWordList(std::string_view bytes);

// The copy the program keeps of an imported list: UTF-8, one "answer<TAB>prompt" line per row, LF
// line ends; ReadWordList reads it back into the same rows. Where a line would read otherwise it
// starts with a number column "1<TAB>" (an answer starting with a digit or "#", a first row of
// header words), and a part wrapped in quotes is quoted again.
std::string FormatWordList(std::span<const WordListRow> rows);

}  // namespace zembra
