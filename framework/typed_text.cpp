#include "framework/typed_text.h"

#include <algorithm>

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

constexpr std::int32_t kHorizontalEllipsis = 0x10000 + 0xA1AD;  // U+2026 …

struct Character {
    std::size_t size;
    std::int32_t code;
};

Character CharacterAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x81 || lead > 0xFE || at + 1 == text.size()) return {1, lead};
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    const int ascii = AsciiReadingOf(lead, trail);
    return {2, ascii >= 0 ? ascii : 0x10000 + lead * 0x100 + trail};
}

bool IsSpace(std::int32_t code) { return code == ' ' || code == '\t'; }
bool IsCapital(std::int32_t code) { return code >= 'A' && code <= 'Z'; }
bool IsLetter(std::int32_t code) { return IsCapital(code) || (code >= 'a' && code <= 'z'); }

// The end of the ellipsis that starts at `at` (dots, spaces between dots, …), or `at` when the dots
// there are fewer than three and hold no ….
std::size_t EllipsisEnd(const std::int32_t* codes, std::size_t at, std::size_t end) {
    std::size_t dots = 0;
    bool ellipsis = false;
    std::size_t i = at;
    while (i < end) {
        if (codes[i] == '.') {
            ++dots;
        } else if (codes[i] == kHorizontalEllipsis) {
            ellipsis = true;
        } else if (!(IsSpace(codes[i]) && i + 1 < end && codes[i + 1] == '.' && codes[i - 1] == '.')) {
            break;  // a space counts only between dots: ". . ."
        }
        ++i;
    }
    return ellipsis || dots >= 3 ? i : at;
}

// The end of the capital abbreviation that starts at `at` ("U.S.A." or "U.S.A"), or `at` when
// there is none: single capitals, each but the last followed by a dot, the last dot optional.
std::size_t AbbreviationEnd(const std::int32_t* codes, std::size_t at, std::size_t end) {
    const auto single = [&](std::size_t i) {
        return i < end && IsCapital(codes[i]) && !(i + 1 < end && IsLetter(codes[i + 1]));
    };
    if ((at > 0 && IsLetter(codes[at - 1])) || !single(at) || at + 2 >= end || codes[at + 1] != '.' || !single(at + 2))
        return at;
    std::size_t i = at;
    while (single(i) && i + 1 < end && codes[i + 1] == '.') i += 2;
    return single(i) ? i + 1 : i;
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

// Two passes over the reading's own array: the characters, forwards (walking back from the end
// could take a character's second byte for a character), then the marks, written over them (a mark
// is never longer than what it reads).
bool ReadTypedText(std::string_view text, TypedReading& reading) {
    std::int32_t* codes = reading.codes.data();
    std::size_t size = 0;
    if (text.size() > 2 * TypedReading::kCapacity) return false;
    for (std::size_t at = 0; at < text.size(); ++size) {
        if (size == TypedReading::kCapacity) return false;
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {  // most of an answer
            codes[size] = byte;
            ++at;
            continue;
        }
        const Character character = CharacterAt(text, at);
        codes[size] = character.code;
        at += character.size;
    }
    std::size_t begin = 0;
    while (begin < size && IsSpace(codes[begin])) ++begin;
    while (size > begin && IsSpace(codes[size - 1])) --size;

    std::size_t out = 0;
    const auto dropSpacesBefore = [&] {
        while (out > 0 && IsSpace(codes[out - 1])) --out;
    };
    const auto skipSpacesAfter = [&](std::size_t i) {
        while (i < size && IsSpace(codes[i])) ++i;
        return i;
    };
    for (std::size_t i = begin; i < size;) {
        const std::int32_t code = codes[i];
        if (code == '.' || code == kHorizontalEllipsis) {
            const std::size_t end = EllipsisEnd(codes, i, size);
            if (end != i) {
                dropSpacesBefore();
                codes[out++] = kEllipsisMark;
                i = skipSpacesAfter(end);
                continue;
            }
        } else if (code == '/') {
            dropSpacesBefore();
            codes[out++] = '/';
            i = skipSpacesAfter(i + 1);
            continue;
        } else if (IsCapital(code)) {
            const std::size_t end = AbbreviationEnd(codes, i, size);
            if (end != i) {
                for (; i < end; ++i) {
                    if (codes[i] != '.') codes[out++] = codes[i];
                }
                continue;
            }
        }
        codes[out++] = code;
        ++i;
    }
    reading.size = out;
    return true;
}

bool SameTypedText(std::string_view first, std::string_view second) {
    TypedReading a;
    TypedReading b;
    return ReadTypedText(first, a) && ReadTypedText(second, b) && a.size == b.size &&
           std::equal(a.codes.begin(), a.codes.begin() + static_cast<std::ptrdiff_t>(a.size), b.codes.begin());
}

}  // namespace zembra
