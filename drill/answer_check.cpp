#include "drill/answer_check.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/typed_text.h"

namespace zembra {
namespace {

// A part of a reading.
struct Piece {
    const std::int32_t* codes = nullptr;
    std::size_t size = 0;
};

// One form of a text with "/": the words before the "/"-group, one of its words, the words after.
struct Form {
    std::array<Piece, 3> pieces;

    std::size_t Size() const { return pieces[0].size + pieces[1].size + pieces[2].size; }
    std::int32_t At(std::size_t i) const {
        for (const Piece& piece : pieces) {
            if (i < piece.size) return piece.codes[i];
            i -= piece.size;
        }
        return 0;
    }
};

bool IsOnePiece(const Form& form) { return form.pieces[1].size == 0 && form.pieces[2].size == 0; }

bool SameForm(const Form& a, const Form& b, bool openEnds) {
    if (IsOnePiece(a) && IsOnePiece(b)) {  // the common case: two whole texts
        Piece x = a.pieces[0];
        Piece y = b.pieces[0];
        if (openEnds) {
            for (Piece* piece : {&x, &y}) {
                if (piece->size > 0 && piece->codes[0] == kEllipsisMark) ++piece->codes, --piece->size;
                if (piece->size > 0 && piece->codes[piece->size - 1] == kEllipsisMark) --piece->size;
            }
        }
        return x.size == y.size && std::equal(x.codes, x.codes + x.size, y.codes);
    }
    std::size_t aBegin = 0, aEnd = a.Size(), bBegin = 0, bEnd = b.Size();
    if (openEnds) {
        if (aEnd > aBegin && a.At(aBegin) == kEllipsisMark) ++aBegin;
        if (aEnd > aBegin && a.At(aEnd - 1) == kEllipsisMark) --aEnd;
        if (bEnd > bBegin && b.At(bBegin) == kEllipsisMark) ++bBegin;
        if (bEnd > bBegin && b.At(bEnd - 1) == kEllipsisMark) --bEnd;
    }
    if (aEnd - aBegin != bEnd - bBegin) return false;
    for (std::size_t i = 0; i < aEnd - aBegin; ++i) {
        if (a.At(aBegin + i) != b.At(bBegin + i)) return false;
    }
    return true;
}

Form Whole(const TypedReading& reading) { return {{{{reading.codes.data(), reading.size}, {}, {}}}}; }

constexpr std::size_t kMostForms = 8;

// The forms of a reading, split at its "/"s.
struct Forms {
    std::array<Form, kMostForms> forms;
    std::size_t count = 0;
};

bool HasSpace(Piece piece) { return std::find(piece.codes, piece.codes + piece.size, ' ') != piece.codes + piece.size; }

// Split at "/": either each part a whole form (sharing false), or the words before and after the
// "/"-group shared by its single words ("in the east/south": "in the east", "in the south"). False
// when the text has more parts than kMostForms, or the shared reading does not apply.
bool SplitForms(const TypedReading& reading, bool sharing, Forms& out) {
    std::array<Piece, kMostForms> parts;
    std::size_t count = 0;
    const std::int32_t* begin = reading.codes.data();
    const std::int32_t* const end = begin + reading.size;
    for (;;) {
        const std::int32_t* slash = std::find(begin, end, '/');
        if (count == kMostForms) return false;
        parts[count++] = {begin, static_cast<std::size_t>(slash - begin)};
        if (slash == end) break;
        begin = slash + 1;
    }
    out.count = count;
    if (!sharing || count == 1) {
        for (std::size_t k = 0; k < count; ++k) out.forms[k] = {{parts[k], {}, {}}};
        return true;
    }
    for (std::size_t k = 1; k + 1 < count; ++k) {
        if (HasSpace(parts[k]) || parts[k].size == 0) return false;
    }
    const Piece first = parts[0];
    const Piece last = parts[count - 1];
    std::size_t before = first.size;  // the shared words before: up to the first part's last space
    while (before > 0 && first.codes[before - 1] != ' ') --before;
    std::size_t after = 0;  // the shared words after: from the last part's first space
    while (after < last.size && last.codes[after] != ' ') ++after;
    const Piece prefix{first.codes, before};
    const Piece suffix{last.codes + after, last.size - after};
    for (std::size_t k = 0; k < count; ++k) {
        Piece word = parts[k];
        if (k == 0) word = {first.codes + before, first.size - before};
        if (k == count - 1) word = {last.codes, after};
        if (word.size == 0) return false;
        out.forms[k] = {{prefix, word, suffix}};
    }
    return true;
}

// A stored text's forms: it shares the words around its "/"-group unless every part is a phrase.
bool StoredForms(const TypedReading& reading, Forms& out) {
    if (!SplitForms(reading, false, out)) return false;
    const bool allPhrases = std::all_of(out.forms.begin(), out.forms.begin() + static_cast<std::ptrdiff_t>(out.count),
                                        [](const Form& form) { return HasSpace(form.pieces[0]); });
    return allPhrases || SplitForms(reading, true, out);
}

// The row's stored texts, each read in turn.
class StoredTexts {
public:
    StoredTexts(std::string_view answer, std::span<const std::string> also) : m_answer(answer), m_also(also) {}
    std::size_t Count() const { return m_also.size() + 1; }
    bool Read(std::size_t k, TypedReading& reading) const {
        return ReadTypedText(k == 0 ? m_answer : std::string_view(m_also[k - 1]), reading);
    }

private:
    std::string_view m_answer;
    std::span<const std::string> m_also;
};

// Whether each typed form is a form of one of the stored texts, for either reading of the typed
// text. Each stored text is read once.
bool AreAllStoredForms(const std::array<Forms, 2>& typed, const std::array<bool, 2>& valid, const StoredTexts& stored,
                       bool openEnds) {
    std::array<std::uint32_t, 2> found{};
    TypedReading reading;
    Forms forms;
    for (std::size_t k = 0; k < stored.Count(); ++k) {
        if (!stored.Read(k, reading) || !StoredForms(reading, forms)) continue;
        for (std::size_t p = 0; p < typed.size(); ++p) {
            for (std::size_t t = 0; valid[p] && t < typed[p].count; ++t) {
                for (std::size_t f = 0; !(found[p] >> t & 1u) && f < forms.count; ++f) {
                    if (SameForm(typed[p].forms[t], forms.forms[f], openEnds)) found[p] |= 1u << t;
                }
            }
        }
    }
    for (std::size_t p = 0; p < typed.size(); ++p) {
        if (valid[p] && found[p] == (1u << typed[p].count) - 1) return true;
    }
    return false;
}

// Whether the typed forms are the row's meanings, one each, in some order. Meaning m is the m-th
// form of the answer or of a further answer with as many forms.
bool AreAllMeanings(const Forms& typed, const StoredTexts& stored, bool openEnds) {
    TypedReading reading;
    Forms forms;
    if (!stored.Read(0, reading) || !StoredForms(reading, forms) || forms.count != typed.count) return false;
    const std::size_t meanings = forms.count;
    if (meanings > 4) return false;  // no row asks for more; the bits below hold four by four
    std::uint32_t found = 0;         // bit t*8+m: typed form t is meaning m
    for (std::size_t k = 0; k < stored.Count(); ++k) {
        if (!stored.Read(k, reading) || !StoredForms(reading, forms) || forms.count != meanings) continue;
        for (std::size_t t = 0; t < meanings; ++t) {
            for (std::size_t m = 0; m < meanings; ++m) {
                if (SameForm(typed.forms[t], forms.forms[m], openEnds)) found |= 1u << (t * kMostForms + m);
            }
        }
    }
    // Each typed form a different meaning: a small search over the assignments.
    const auto assign = [&](auto& self, std::size_t t, std::uint32_t used) -> bool {
        if (t == meanings) return true;
        for (std::size_t m = 0; m < meanings; ++m) {
            if ((found >> (t * kMostForms + m) & 1u) && !(used >> m & 1u) && self(self, t + 1, used | 1u << m))
                return true;
        }
        return false;
    };
    return assign(assign, 0, 0);
}

// Compares a stored text that holds no mark (no dot, "/", …, ideographic space or full-width slash:
// most of them) with the typed reading as it walks it, with no reading of its own: 1 when they read
// the same, 0 when not, -1 when the text holds a mark after all and must be read in full.
int ComparePlain(std::string_view text, Piece typed) {
    const auto isMark = [&](std::size_t i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        return byte == '.' || byte == '/' || byte == 0xA1 ||
               (byte == 0xA3 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xAF);
    };
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t j = 0;
    std::size_t parted = std::string_view::npos;  // where the texts part
    while (i < text.size()) {
        if (isMark(i)) return -1;
        const auto byte = static_cast<unsigned char>(text[i]);
        std::int32_t code = byte;
        std::size_t size = 1;
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < text.size()) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            const int ascii = AsciiReadingOf(byte, trail);
            code = ascii >= 0 ? ascii : 0x10000 + byte * 0x100 + trail;
            size = 2;
        }
        if (parted == std::string_view::npos) {
            if (j < typed.size && typed.codes[j] == code) {
                ++j;
            } else {
                parted = i;
            }
        }
        i += size;
    }
    if (j != typed.size) return 0;
    if (parted == std::string_view::npos) return 1;
    const auto rest = text.substr(parted);
    return rest.find_first_not_of(" \t") == std::string_view::npos ? 1 : 0;
}

}  // namespace

AnswerShape ShapeOfRow(std::string_view prompt, bool joinedMeanings) {
    TypedReading reading;
    ReadTypedText(prompt, reading);
    const auto end = reading.codes.begin() + static_cast<std::ptrdiff_t>(reading.size);
    return {std::find(reading.codes.begin(), end, kEllipsisMark) != end, joinedMeanings};
}

// The common case first: the typed text is one of the stored texts as written. Only where a "/"
// is typed or stored are the texts split into forms.
bool IsRightAnswer(std::string_view typed, std::string_view answer, std::span<const std::string> also,
                   AnswerShape shape) {
    TypedReading typedReading;
    if (!ReadTypedText(typed, typedReading) || typedReading.size == 0) return false;
    const Form typedWhole = Whole(typedReading);
    const StoredTexts stored(answer, also);
    Piece typedCore = typedWhole.pieces[0];  // the typed reading, its frame dots dropped where open
    if (shape.openEnds) {
        if (typedCore.size > 0 && typedCore.codes[0] == kEllipsisMark) ++typedCore.codes, --typedCore.size;
        if (typedCore.size > 0 && typedCore.codes[typedCore.size - 1] == kEllipsisMark) --typedCore.size;
    }
    TypedReading reading;
    bool slashStored = false;
    for (std::size_t k = 0; k < stored.Count(); ++k) {
        const int plain = ComparePlain(k == 0 ? answer : std::string_view(also[k - 1]), typedCore);
        if (plain == 1) return true;
        if (plain == 0) continue;
        if (!stored.Read(k, reading)) continue;
        if (SameForm(typedWhole, Whole(reading), shape.openEnds)) return true;
        const auto end = reading.codes.begin() + static_cast<std::ptrdiff_t>(reading.size);
        slashStored = slashStored || std::find(reading.codes.begin(), end, '/') != end;
    }
    const auto typedEnd = typedReading.codes.begin() + static_cast<std::ptrdiff_t>(typedReading.size);
    if (!slashStored && std::find(typedReading.codes.begin(), typedEnd, '/') == typedEnd) return false;

    // A typed text with "/" may be meant either way: "at night/at noon" whole, "at noon/night" shared.
    std::array<Forms, 2> typedForms;
    std::array<bool, 2> valid{};
    for (std::size_t p = 0; p < typedForms.size(); ++p) {
        valid[p] = SplitForms(typedReading, p == 1, typedForms[p]);
        if (valid[p] && shape.joinedMeanings && AreAllMeanings(typedForms[p], stored, shape.openEnds)) return true;
    }
    if (shape.joinedMeanings) return false;
    return AreAllStoredForms(typedForms, valid, stored, shape.openEnds);
}

}  // namespace zembra
