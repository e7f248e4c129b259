#include "drill/read_aloud.h"

#include <cctype>
#include <cstddef>

#include "framework/typed_text.h"

namespace zembra {
namespace {

struct Expansion {
    std::string_view written;
    std::string_view spoken;
};

// Compared with the whole word, case and final full stop included: "No." is "number", "no" is
// "no".
constexpr Expansion kExpansions[] = {
    {"sb.", "somebody"},   {"sb", "somebody"},   {"sb's", "somebody's"}, {"sb.'s", "somebody's"}, {"sth.", "something"},
    {"sth", "something"},  {"Mr.", "Mister"},    {"Mrs.", "Missis"},     {"Ms.", "Miz"},          {"Dr.", "Doctor"},
    {"No.", "number"},     {"St.", "Street"},    {"etc.", "et cetera"},  {"e.g.", "for example"}, {"i.e.", "that is"},
    {"Jan.", "January"},   {"Feb.", "February"}, {"Mar.", "March"},      {"Apr.", "April"},       {"Jun.", "June"},
    {"Jul.", "July"},      {"Aug.", "August"},   {"Sep.", "September"},  {"Sept.", "September"},  {"Oct.", "October"},
    {"Nov.", "November"},  {"Dec.", "December"}, {"Mon.", "Monday"},     {"Tue.", "Tuesday"},     {"Tues.", "Tuesday"},
    {"Wed.", "Wednesday"}, {"Thu.", "Thursday"}, {"Thur.", "Thursday"},  {"Thurs.", "Thursday"},  {"Fri.", "Friday"},
    {"Sat.", "Saturday"},  {"Sun.", "Sunday"},
};

constexpr char kPause = ',';

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

// The answer in ASCII: the full-width forms of ASCII as ASCII, the Chinese pauses as commas and
// "…" as "...", every other character of two bytes as a space.
std::string Ascii(std::string_view gbk) {
    std::string text;
    text.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            text += static_cast<char>(lead);
            continue;
        }
        if (lead == 0x80 || lead == 0xFF || i + 1 == gbk.size()) {
            text += ' ';
            continue;
        }
        const auto trail = static_cast<unsigned char>(gbk[++i]);
        if (lead == 0xA1 && trail == 0xAD) {
            text += "...";  // …
        } else if (lead == 0xA1 && (trail == 0xA2 || trail == 0xA3)) {
            text += kPause;  // 、 。
        } else if (const int ascii = AsciiReadingOf(lead, trail); ascii >= 0) {
            text += static_cast<char>(ascii);  // as a typed answer reads it: "；" is ';'
        } else {
            text += ' ';
        }
    }
    return text;
}

// Every symbol as the words or pause it is read as, or a space.
std::string WordsAndPauses(std::string_view ascii) {
    std::string text;
    text.reserve(ascii.size() + 8);
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        const char c = ascii[i];
        if (IsLetter(c) || (c >= '0' && c <= '9') || c == '\'' || c == '?' || c == '!' || c == ',') {
            text += c;
        } else if (c == '.') {
            std::size_t dots = 1;
            while (i + dots < ascii.size() && ascii[i + dots] == '.') ++dots;
            if (dots == 1) {
                text += c;  // a full stop, or part of an abbreviation looked up below
            } else {
                text += ' ';
                text += kPause;
                text += ' ';
                i += dots - 1;
            }
        } else if (c == '/') {
            text += " or ";
        } else if (c == ';' || c == ':') {
            text += kPause;
            text += ' ';
        } else if (c == '&') {
            text += " and ";
        } else if (c == '+') {
            text += " plus ";
        } else if (c == '%') {
            text += " percent ";
        } else {
            text += ' ';  // brackets, hyphens, quotes, dashes, underscores and the rest
        }
    }
    return text;
}

// One word as it is read: an expansion, capitals letter by letter, or the word itself. A comma,
// question or exclamation mark after the word stays after what it becomes.
void AppendWord(std::string_view word, std::string& out) {
    std::string_view tail;
    while (!word.empty() && (word.back() == ',' || word.back() == '?' || word.back() == '!')) {
        tail = std::string_view(word.data() + word.size() - 1, tail.size() + 1);
        word.remove_suffix(1);
    }
    // Commas alone (a pause from a symbol) join the word before them.
    if (word.empty()) {
        if (!out.empty() && out.back() != kPause) out += tail;
        return;
    }
    if (!out.empty() && out.back() != ' ') out += ' ';
    bool expanded = false;
    for (const Expansion& expansion : kExpansions) {
        if (word == expansion.written) {
            out += expansion.spoken;
            expanded = true;
            break;
        }
    }
    if (!expanded) {
        // A full stop after capitals ends the sentence ("I am OK.").
        const std::string_view letters = word.back() == '.' ? word.substr(0, word.size() - 1) : word;
        bool capitals = letters.size() >= 2;
        for (const char c : letters) capitals = capitals && IsUpper(c);
        if (capitals) {
            for (std::size_t k = 0; k < letters.size(); ++k) {
                if (k > 0) out += ' ';
                out += letters[k];
            }
            out += word.substr(letters.size());
        } else {
            out += word;
        }
    }
    out += tail;
}

}  // namespace

std::string ReadAloud(std::string_view answer) {
    const std::string text = WordsAndPauses(Ascii(answer));
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        while (start < text.size() && text[start] == ' ') ++start;
        std::size_t end = start;
        while (end < text.size() && text[end] != ' ') ++end;
        if (end > start) AppendWord(std::string_view(text).substr(start, end - start), out);
        start = end;
    }
    // A pause at either end is nothing to read; one between words is a comma and a space.
    while (!out.empty() && (out.back() == kPause || out.back() == ' ')) out.pop_back();
    std::string tidy;
    tidy.reserve(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == kPause && (tidy.empty() || tidy.back() == kPause)) continue;
        tidy += out[i];
        if (out[i] == kPause && i + 1 < out.size() && out[i + 1] != ' ') tidy += ' ';
    }
    return tidy;
}

}  // namespace zembra
