#include "framework/typed_text.h"

#include <cstddef>

namespace zembra {
namespace {

// The characters of GBK row A1 that read as ASCII.
struct ReadAs {
    unsigned char trail;
    char ascii;
};
constexpr ReadAs kRowA1[] = {
    {0xA1, ' '},   // U+3000 ideographic space
    {0xA3, '.'},   // U+3002 。
    {0xAB, '~'},   // U+FF5E ～
    {0xAE, '\''},  // U+2018 ‘
    {0xAF, '\''},  // U+2019 ’
    {0xB0, '"'},   // U+201C “
    {0xB1, '"'},   // U+201D ”
    {0xE7, '$'},   // U+FF04 ＄
};

// One character of a GBK text: its bytes, and what it reads as. Two characters read the same when
// their codes are equal: a byte alone is its own value (0..0xFF), a character read as ASCII is
// that ASCII, any other two-byte character is both its bytes above 0xFFFF.
struct Character {
    std::size_t size;
    long code;
};

Character CharacterAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x81 || lead > 0xFE || at + 1 == text.size()) return {1, lead};
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    const int ascii = AsciiReadingOf(lead, trail);
    return {2, ascii >= 0 ? ascii : 0x10000L + lead * 0x100L + trail};
}

bool IsOuterSpace(long code) { return code == ' ' || code == '\t'; }

// Where the first character that is not a space starts, from `at` on (the text's size if none).
std::size_t SkipSpaces(std::string_view text, std::size_t at) {
    while (at < text.size()) {
        const Character character = CharacterAt(text, at);
        if (!IsOuterSpace(character.code)) break;
        at += character.size;
    }
    return at;
}

}  // namespace

// Code page 936 keeps U+FF01..U+FF5E at A3A1..A3FE but for two: U+FF04 ＄ is A1E7 (A3A4 is ￥
// U+FFE5) and U+FF5E ～ is A1AB (A3FE is ￣ U+FFE3); ￥ and ￣ are not read as ASCII.
int AsciiReadingOf(unsigned char lead, unsigned char trail) {
    if (lead == 0xA3) {
        if (trail < 0xA1 || trail == 0xA4 || trail == 0xFE) return -1;
        return trail - 0x80;  // A3A1 ！ .. A3FD ｝ are '!' .. '}'
    }
    if (lead == 0xA1) {
        for (const ReadAs& character : kRowA1) {
            if (character.trail == trail) return character.ascii;
        }
    }
    return -1;
}

// One pass, forwards: walking back from the end could take a character's second byte for a
// character. The texts are walked side by side from their first character that is not a space;
// where they part, they are the same when nothing but spaces follows in either.
bool SameTypedText(std::string_view first, std::string_view second) {
    std::size_t i = SkipSpaces(first, 0);
    std::size_t j = SkipSpaces(second, 0);
    while (i < first.size() && j < second.size()) {
        if (first[i] == second[j] && static_cast<unsigned char>(first[i]) < 0x80) {
            ++i;  // the same ASCII character: most of an answer
            ++j;
            continue;
        }
        const Character a = CharacterAt(first, i);
        const Character b = CharacterAt(second, j);
        if (a.code != b.code) break;
        i += a.size;
        j += b.size;
    }
    return SkipSpaces(first, i) == first.size() && SkipSpaces(second, j) == second.size();
}

}  // namespace zembra
