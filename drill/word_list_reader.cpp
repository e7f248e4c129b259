#include "drill/word_list_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <type_traits>

#include "framework/code_page.h"
#include "framework/typed_text.h"

namespace zembra {
namespace {

// A text typed by hand holds none of these; a few stray ones (a form feed, an escape pasted in)
// are left to the lines holding them, more than this shows a binary file.
constexpr int kMostStrayControls = 8;

constexpr unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// Control characters other than those a text file has: TAB, CR, LF, and DOS's end-of-file mark
// 0x1A, which an old editor may leave at the end.
template <typename Unit>
bool IsStrayControl(Unit unit) {
    const auto c = static_cast<std::make_unsigned_t<Unit>>(unit);
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != 0x1A) || c == 0x7F;
}

template <typename Unit>
bool LooksBinary(std::basic_string_view<Unit> units) {
    int strays = 0;
    for (const Unit unit : units) {
        if (unit == 0) return true;
        if (IsStrayControl(unit) && ++strays > kMostStrayControls) return true;
    }
    return false;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF. A GBK text of Chinese is
// practically never valid UTF-8, so this tells the two apart.
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = Byte(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t more = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, code = lead & 0x1Fu, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, code = lead & 0x0Fu, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, code = lead & 0x07u, least = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i - 1 < more) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const unsigned char next = Byte(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += more + 1;
    }
    return true;
}

// GBK as code page 936 has it: ASCII, or a lead 0x81..0xFE with a trail 0x40..0xFE but 0x7F. Every
// other byte above ASCII becomes kNoGbkForm, so the line holding it is refused: GB18030's four-byte
// sequences (a lead, then a digit), a lead before a line end, 0x80, 0xFF. A line end is never a
// trail, so the lines stay where they were.
std::string WithInvalidGbkMarked(std::string_view text) {
    std::string marked(text);
    for (std::size_t i = 0; i < marked.size();) {
        const unsigned char lead = Byte(marked[i]);
        if (lead < 0x80) {
            ++i;
        } else if (lead >= 0x81 && lead <= 0xFE && i + 1 < marked.size() && Byte(marked[i + 1]) >= 0x40 &&
                   Byte(marked[i + 1]) != 0x7F && Byte(marked[i + 1]) != 0xFF) {
            i += 2;
        } else {
            marked[i++] = kNoGbkForm;
        }
    }
    return marked;
}

// The file's text in GBK, converted whole; nullopt for a binary file. A GBK file goes there and
// back through UTF-16 too, so that a pair that code page 936 leaves unassigned is marked like a
// character GBK cannot show, and the copy made of the list reads back the same.
std::optional<std::string> TextInGbk(std::string_view bytes) {
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (littleEndian || bytes.starts_with("\xFE\xFF")) {
        std::u16string units;
        units.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<char16_t>(Byte(bytes[i]));
            const auto second = static_cast<char16_t>(Byte(bytes[i + 1]));
            units.push_back(littleEndian ? static_cast<char16_t>(first | second << 8)
                                         : static_cast<char16_t>(first << 8 | second));
        }
        if (bytes.size() % 2 != 0) units.push_back(u'\uFFFD');  // half a character at the end
        if (LooksBinary(std::u16string_view(units))) return std::nullopt;
        return Utf16ToGbk(units);
    }
    if (LooksBinary(bytes)) return std::nullopt;
    if (bytes.starts_with("\xEF\xBB\xBF")) return Utf8ToGbk(bytes.substr(3));
    if (IsUtf8(bytes)) return Utf8ToGbk(bytes);
    return Utf16ToGbk(GbkToUtf16(WithInvalidGbkMarked(bytes)));
}

// One character of a line. `ascii` is what it reads as in an English part: ASCII itself (TAB
// included), or what an input method types in its place; 0 for a Chinese character.
struct Character {
    std::uint32_t begin = 0;
    std::uint8_t size = 1;
    char ascii = 0;
    bool control = false;     // C0 but TAB, or DEL
    bool unshowable = false;  // a control character, kNoGbkForm, a lead byte cut off
};

char AsciiOf(unsigned char lead, unsigned char trail) {
    // Besides the full-width forms and the ideographic space: the curly apostrophes of "don’t", and
    // the long dash of "apple—苹果", which joins or separates as "-" does.
    if (lead == 0xA1 && (trail == 0xAE || trail == 0xAF)) return '\'';
    if (lead == 0xA1 && trail == 0xAA) return '-';
    if (lead == 0xA1 && trail != 0xA1 && trail != 0xE7 && trail != 0xAB) return 0;  // not 。 nor “ ”
    const int ascii = AsciiReadingOf(lead, trail);
    return ascii > 0 ? static_cast<char>(ascii) : 0;
}

void SplitCharacters(std::string_view line, std::vector<Character>& characters) {
    characters.clear();
    for (std::size_t at = 0; at < line.size();) {
        Character character;
        character.begin = static_cast<std::uint32_t>(at);
        const unsigned char lead = Byte(line[at]);
        if (lead < 0x80) {
            character.control = lead != '\t' && (lead < 0x20 || lead == 0x7F);
            character.unshowable = character.control;
            character.ascii = character.control ? 0 : static_cast<char>(lead);
        } else if (lead >= 0x81 && lead <= 0xFE && at + 1 < line.size()) {
            character.size = 2;
            character.ascii = AsciiOf(lead, Byte(line[at + 1]));
        } else {
            character.unshowable = true;
        }
        at += character.size;
        characters.push_back(character);
    }
}

bool IsSpace(const Character& c) { return c.ascii == ' ' || c.ascii == '\t'; }
bool IsSeparator(const Character& c) { return IsSpace(c) || c.ascii == ',' || c.ascii == '-'; }
bool IsEnglish(const Character& c) { return c.ascii != 0; }
bool IsDigit(const Character& c) { return c.ascii >= '0' && c.ascii <= '9'; }

// A range of characters of the line, [begin, end).
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool Empty() const { return begin >= end; }
};

template <typename Drop>
Span Trimmed(const std::vector<Character>& chars, Span span, Drop drop) {
    while (!span.Empty() && drop(chars[span.begin])) ++span.begin;
    while (!span.Empty() && drop(chars[span.end - 1])) --span.end;
    return span;
}

bool AllEnglish(const std::vector<Character>& chars, Span span) {
    return std::all_of(chars.begin() + static_cast<std::ptrdiff_t>(span.begin),
                       chars.begin() + static_cast<std::ptrdiff_t>(span.end), IsEnglish);
}

// "3. " "3、" "3)" "3）" "3．" "3\t" "3," before the row, and the spaces after it.
std::size_t AfterNumber(std::string_view line, const std::vector<Character>& chars, std::size_t at, std::size_t end) {
    std::size_t i = at;
    while (i < end && IsDigit(chars[i])) ++i;
    if (i == at || i == end) return at;
    const Character& mark = chars[i];
    const bool ideographicComma = line.substr(mark.begin, mark.size) == "\xA1\xA2";  // 、
    if (!ideographicComma && mark.ascii != '.' && mark.ascii != ')' && mark.ascii != ',' && mark.ascii != '\t')
        return at;
    ++i;
    while (i < end && IsSpace(chars[i])) ++i;
    return i;
}

struct Split {
    Span english;
    Span chinese;
    bool separated = false;  // a separator stood between the parts
};

// English first: the run of English at the start. When it runs straight into the Chinese part,
// the word touching it belongs to that part ("T-shirt T恤衫"), unless it is the only word.
std::optional<Split> EnglishFirst(const std::vector<Character>& chars, Span line) {
    std::size_t k = line.begin;
    while (k < line.end && IsEnglish(chars[k])) ++k;
    if (k == line.begin || k == line.end) return std::nullopt;
    if (IsSeparator(chars[k - 1])) return Split{{line.begin, k}, {k, line.end}, true};
    for (std::size_t j = k; j-- > line.begin;) {
        if (IsSeparator(chars[j])) return Split{{line.begin, j}, {j + 1, line.end}, true};
    }
    return Split{{line.begin, k}, {k, line.end}, false};
}

// Chinese first: the same from the end ("卡拉OK karaoke").
std::optional<Split> ChineseFirst(const std::vector<Character>& chars, Span line) {
    std::size_t m = line.end;
    while (m > line.begin && IsEnglish(chars[m - 1])) --m;
    if (m == line.end || m == line.begin) return std::nullopt;
    if (IsSeparator(chars[m])) return Split{{m, line.end}, {line.begin, m}, true};
    for (std::size_t j = m; j < line.end; ++j) {
        if (IsSeparator(chars[j])) return Split{{j, line.end}, {line.begin, j}, true};
    }
    return Split{{m, line.end}, {line.begin, m}, false};
}

std::optional<Split> SplitRun(const std::vector<Character>& chars, Span line) {
    const std::optional<Split> english = EnglishFirst(chars, line);
    const std::optional<Split> chinese = ChineseFirst(chars, line);
    if (english && chinese) return !english->separated && chinese->separated ? chinese : english;
    return english ? english : chinese;
}

// CSV's quotes around a field, and its doubled quotes inside.
std::string WithoutQuotes(std::string text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return text;
    std::string inner;
    inner.reserve(text.size() - 2);
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        inner += text[i];
        if (text[i] == '"' && text[i + 1] == '"' && i + 2 < text.size()) ++i;
    }
    return inner;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) quoted.append(c == '"' ? 2 : 1, c);
    return quoted + "\"";
}

bool WrappedInQuotes(std::string_view text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }

// The answer as the bank writes answers: ASCII, one space between words, none around "/", no
// separator at either end.
std::string AnswerOf(const std::vector<Character>& chars, Span span) {
    span = Trimmed(chars, span, IsSeparator);
    std::string typed;
    typed.reserve(span.end - span.begin);
    for (std::size_t i = span.begin; i < span.end; ++i) typed += chars[i].ascii == '\t' ? ' ' : chars[i].ascii;
    typed = WithoutQuotes(std::move(typed));
    std::string answer;
    answer.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c == ' ' || c == '\t') {
            const bool lastSpace = i + 1 == typed.size() || typed[i + 1] == ' ' || typed[i + 1] == '\t';
            if (lastSpace || answer.empty() || answer.back() == '/' || typed[i + 1] == '/') continue;
            answer += ' ';
        } else {
            answer += c;
        }
    }
    const auto separator = [](char c) { return c == ' ' || c == ',' || c == '-'; };
    const auto first = std::find_if_not(answer.begin(), answer.end(), separator);
    const auto last = std::find_if_not(answer.rbegin(), answer.rend(), separator).base();
    return first < last ? std::string(first, last) : std::string();
}

// GBK bytes, so trimming walks characters rather than bytes: a trail byte may look like ASCII.
std::string PromptOf(std::string_view line, const std::vector<Character>& chars, Span span) {
    const auto drop = [](const Character& c) { return IsSpace(c) || (c.ascii == ',' && c.size == 1); };
    span = Trimmed(chars, span, drop);
    if (span.Empty()) return {};
    const std::size_t begin = chars[span.begin].begin;
    const std::size_t end = chars[span.end - 1].begin + chars[span.end - 1].size;
    std::string prompt = WithoutQuotes(std::string(line.substr(begin, end - begin)));
    if (prompt.size() == end - begin) return prompt;
    std::vector<Character> inner;
    SplitCharacters(prompt, inner);
    const Span kept = Trimmed(inner, {0, inner.size()}, drop);
    if (kept.Empty()) return {};
    const std::size_t from = inner[kept.begin].begin;
    return prompt.substr(from, inner[kept.end - 1].begin + inner[kept.end - 1].size - from);
}

bool HasLetter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

// Header words of either column, and of a leading number column, in GBK; ASCII ones in lower case.
constexpr std::array<std::string_view, 15> kHeaderWords = {
    "english",
    "chinese",
    "word",
    "words",
    "meaning",
    "meanings",
    "\xD3\xA2\xCE\xC4",                  // 英文
    "\xD3\xA2\xD3\xEF",                  // 英语
    "\xB5\xA5\xB4\xCA",                  // 单词
    "\xD6\xD0\xCE\xC4",                  // 中文
    "\xBA\xBA\xD3\xEF",                  // 汉语
    "\xD2\xE2\xCB\xBC",                  // 意思
    "\xCA\xCD\xD2\xE5",                  // 释义
    "\xB4\xCA\xD2\xE5",                  // 词义
    "\xD6\xD0\xCE\xC4\xD2\xE2\xCB\xBC",  // 中文意思
};
constexpr std::array<std::string_view, 4> kNumberHeaderWords = {
    "no.", "no",
    "\xD0\xF2\xBA\xC5",  // 序号
    "\xB1\xE0\xBA\xC5",  // 编号
};

bool IsHeaderLine(std::string_view line) {
    std::vector<Character> chars;
    SplitCharacters(line, chars);
    std::array<std::string, 3> words;
    std::size_t count = 0;
    bool inWord = false;
    for (const Character& c : chars) {
        if (IsSeparator(c) || c.ascii == '"') {
            inWord = false;
            continue;
        }
        if (!inWord && count++ == words.size()) return false;
        inWord = true;
        for (std::size_t i = 0; i < c.size; ++i) {
            const char byte = line[c.begin + i];
            words[count - 1] += c.size == 1 && byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
        }
    }
    const auto among = [](const auto& list, const std::string& word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    std::size_t first = 0;
    if (count == 3 && among(kNumberHeaderWords, words[0])) first = 1;
    return count - first == 2 && among(kHeaderWords, words[first]) && among(kHeaderWords, words[first + 1]);
}

class ListReader {
public:
    explicit ListReader(WordListReading& reading) : m_reading(reading) {}

    void Read(std::string_view text) {
        std::size_t lineEnds = 1;
        for (const char c : text) lineEnds += c == '\n' || c == '\r';
        m_reading.rows.reserve(std::min<std::size_t>(lineEnds, kListRowLimit));
        int number = 0;
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find_first_of("\r\n", at);
            if (end == std::string_view::npos) end = text.size();
            ReadLine(text.substr(at, end - at), ++number);
            at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
    }

private:
    void ReadLine(std::string_view line, int number) {
        SplitCharacters(line, m_chars);
        const auto blank = [](const Character& c) { return IsSpace(c) || c.control; };
        const Span all = Trimmed(m_chars, {0, m_chars.size()}, blank);
        if (all.Empty() || m_chars[all.begin].ascii == '#') return;
        if (!m_pastHeader) {
            m_pastHeader = true;
            if (IsHeaderLine(line)) return;
        }
        const auto fault = Take(line, all);
        if (fault) m_reading.problems.push_back({number, *fault});
    }

    std::optional<ListLineFault> Take(std::string_view line, Span all) {
        const auto first = m_chars.begin() + static_cast<std::ptrdiff_t>(all.begin);
        const auto last = m_chars.begin() + static_cast<std::ptrdiff_t>(all.end);
        if (std::any_of(first, last, [](const Character& c) { return c.unshowable; })) return ListLineFault::NoGbkForm;
        const Span rest{AfterNumber(line, m_chars, all.begin, all.end), all.end};
        const std::optional<Split> split = SplitParts(rest);
        if (!split)
            return AllEnglish(m_chars, rest) && !rest.Empty() ? ListLineFault::NoChinese : ListLineFault::NoEnglish;
        WordListRow row{AnswerOf(m_chars, split->english), PromptOf(line, m_chars, split->chinese)};
        if (!HasLetter(row.answer)) return ListLineFault::NoEnglish;
        if (std::none_of(row.prompt.begin(), row.prompt.end(), [](char c) { return Byte(c) >= 0x80; }))
            return ListLineFault::NoChinese;
        if (row.answer.size() > kListAnswerLimit || row.prompt.size() > kListPromptLimit) return ListLineFault::TooLong;
        if (m_reading.rows.size() == kListRowLimit) return ListLineFault::PastRowLimit;
        m_reading.rows.push_back(std::move(row));
        return std::nullopt;
    }

    // A line with tabs is a spreadsheet's: its first two columns that are not empty are the parts,
    // the English one holding nothing but English; the others are left out. Any other line is read
    // as one run.
    std::optional<Split> SplitParts(Span rest) {
        const auto tab = [&](std::size_t i) { return m_chars[i].ascii == '\t'; };
        std::array<Span, 2> columns;
        std::size_t count = 0;
        bool tabbed = false;
        for (std::size_t begin = rest.begin; begin < rest.end && count < columns.size();) {
            std::size_t end = begin;
            while (end < rest.end && !tab(end)) ++end;
            tabbed = tabbed || end < rest.end;
            const Span column = Trimmed(m_chars, {begin, end}, IsSpace);
            if (!column.Empty()) columns[count++] = column;
            begin = end + 1;
        }
        if (count == 0) return std::nullopt;
        if (!tabbed || count == 1) return SplitRun(m_chars, columns[0]);
        const bool firstEnglish = AllEnglish(m_chars, columns[0]);
        const bool secondEnglish = AllEnglish(m_chars, columns[1]);
        if (firstEnglish == secondEnglish) return std::nullopt;
        return firstEnglish ? Split{columns[0], columns[1], true} : Split{columns[1], columns[0], true};
    }

    WordListReading& m_reading;
    std::vector<Character> m_chars;
    bool m_pastHeader = false;
};

}  // namespace

WordListReading ReadWordList(std::string_view bytes) {
    WordListReading reading;
    if (bytes.size() > kListFileLimit) {
        reading.refusal = ListRefusal::TooLarge;
        return reading;
    }
    const std::optional<std::string> text = TextInGbk(bytes);
    if (!text) {
        reading.refusal = ListRefusal::NotText;
        return reading;
    }
    ListReader(reading).Read(*text);
    if (reading.rows.empty()) {
        reading.refusal = ListRefusal::NoUsableLine;
        reading.problems.clear();
    }
    return reading;
}

std::string FormatWordList(std::span<const WordListRow> rows) {
    std::string text;
    std::size_t size = 0;
    for (const WordListRow& row : rows) size += row.answer.size() + row.prompt.size() + 8;
    text.reserve(size);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const WordListRow& row = rows[i];
        // A number column keeps an answer's own leading digits or "#" from being read as a number
        // or a comment, and a first row of header words from being skipped.
        const char first = row.answer.empty() ? ' ' : row.answer.front();
        if ((first >= '0' && first <= '9') || first == '#' || (i == 0 && IsHeaderLine(row.answer + '\t' + row.prompt)))
            text += "1\t";
        text += WrappedInQuotes(row.answer) ? Quoted(row.answer) : row.answer;
        text += '\t';
        text += WrappedInQuotes(row.prompt) ? Quoted(row.prompt) : row.prompt;
        text += '\n';
    }
    return GbkToUtf8(text);
}

}  // namespace zembra
