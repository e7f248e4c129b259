// An edit-distance alignment with swaps of neighbours (the restricted Damerau form), over GBK
// characters, in fixed arrays: one table per candidate answer, traced back once for the closest.
#include "drill/answer_alignment.h"

#include <algorithm>
#include <limits>

#include "framework/typed_text.h"

namespace zembra {
namespace {

constexpr std::size_t kMost = AnswerAlignment::kMostCharacters;

// Costs in halves: a wrong capital is half a wrong letter, so a slip of case is never told as a
// letter left out and another put in.
constexpr int kCaseCost = 1;
constexpr int kWrongCost = 2;
constexpr int kGapCost = 2;
constexpr int kSwapCost = 2;

// A text's characters: what each reads as, the same folded to lower case, and its bytes.
struct Units {
    std::array<std::int32_t, kMost> code;
    std::array<std::int32_t, kMost> folded;
    std::array<std::uint16_t, kMost> begin;
    std::array<std::uint16_t, kMost> length;
    std::size_t size = 0;
};

bool IsLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// The text without ASCII spaces, tabs and ideographic spaces at its ends, as the check reads it.
std::string_view Trimmed(std::string_view text) {
    auto isSpaceAt = [&](std::size_t i) { return text[i] == ' ' || text[i] == '\t'; };
    auto isIdeographicSpaceAt = [&](std::size_t i) {
        return i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xA1 &&
               static_cast<unsigned char>(text[i + 1]) == 0xA1;
    };
    std::size_t begin = 0;
    for (;;) {
        if (begin < text.size() && isSpaceAt(begin)) {
            ++begin;
        } else if (isIdeographicSpaceAt(begin)) {
            begin += 2;
        } else {
            break;
        }
    }
    // Walked forward: a space byte ends the text only where it is not a character's second byte.
    std::size_t end = begin;
    for (std::size_t i = begin; i < text.size();) {
        const bool twoBytes = IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        const std::size_t next = i + (twoBytes ? 2 : 1);
        if (!(twoBytes ? isIdeographicSpaceAt(i) : isSpaceAt(i))) end = next;
        i = next;
    }
    return text.substr(begin, end - begin);
}

bool IsLetter(std::int32_t code) { return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z'); }

// Splits a GBK text into characters; false when it has more than kMost.
bool Split(std::string_view text, Units& out) {
    out.size = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (out.size == kMost) return false;
        const auto lead = static_cast<unsigned char>(text[i]);
        std::int32_t code = lead;
        std::uint16_t length = 1;
        if (IsLead(lead) && i + 1 < text.size()) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            const int ascii = AsciiReadingOf(lead, trail);
            code = ascii >= 0 ? ascii : 0x10000 + (lead << 8) + trail;
            length = 2;
        }
        const std::size_t k = out.size++;
        out.code[k] = code;
        out.folded[k] = IsLetter(code) ? (code | 0x20) : code;
        out.begin[k] = static_cast<std::uint16_t>(i);
        out.length[k] = length;
        i += length;
    }
    return true;
}

// 0 for the same character, kCaseCost for the same letter in the other case, else kWrongCost.
int SubstitutionCost(const Units& typed, std::size_t i, const Units& answer, std::size_t j) {
    if (typed.code[i] == answer.code[j]) return 0;
    return typed.folded[i] == answer.folded[j] ? kCaseCost : kWrongCost;
}

// The cost table of turning the typed units into the answer's: cost[i][j] for the first i typed
// and the first j answer characters.
struct Table {
    std::array<std::array<std::uint16_t, kMost + 1>, kMost + 1> cost;

    int Fill(const Units& typed, const Units& answer) {
        const std::size_t n = typed.size;
        const std::size_t m = answer.size;
        for (std::size_t i = 0; i <= n; ++i) cost[i][0] = static_cast<std::uint16_t>(i * kGapCost);
        for (std::size_t j = 0; j <= m; ++j) cost[0][j] = static_cast<std::uint16_t>(j * kGapCost);
        for (std::size_t i = 1; i <= n; ++i) {
            const std::int32_t a = typed.code[i - 1];
            const std::int32_t folded = typed.folded[i - 1];
            // The character before, where it differs: a swap with this one is possible.
            const std::int32_t before = i >= 2 && typed.code[i - 2] != a ? typed.code[i - 2] : -2;
            const std::uint16_t* above = cost[i - 1].data();
            std::uint16_t* row = cost[i].data();
            // Two passes, so that the first has no chain from cell to cell: the diagonal, the cell
            // above and the swap, then the characters lacking, from left to right.
            const std::uint16_t* twoAbove = i >= 2 ? cost[i - 2].data() : above;
            for (std::size_t j = 1; j <= m; ++j) {
                const std::int32_t b = answer.code[j - 1];
                int best = above[j - 1] + (a == b ? 0 : folded == answer.folded[j - 1] ? kCaseCost : kWrongCost);
                best = std::min(best, above[j] + kGapCost);
                if (before == b && j >= 2 && a == answer.code[j - 2])
                    best = std::min(best, twoAbove[j - 2] + kSwapCost);
                row[j] = static_cast<std::uint16_t>(best);
            }
            int left = row[0];
            for (std::size_t j = 1; j <= m; ++j) {
                left = std::min(left + kGapCost, static_cast<int>(row[j]));
                row[j] = static_cast<std::uint16_t>(left);
            }
        }
        return cost[n][m];
    }

    // Typed characters i-2, i-1 are answer characters j-1, j-2, and differ.
    static bool IsSwap(const Units& typed, const Units& answer, std::size_t i, std::size_t j) {
        if (i < 2 || j < 2) return false;
        const std::int32_t a0 = typed.code[i - 2], a1 = typed.code[i - 1];
        return a0 != a1 && a0 == answer.code[j - 1] && a1 == answer.code[j - 2];
    }
};

// Appends character k of `units` as `kind`, joining it to the last span when that is of its kind.
void Append(std::array<SlipSpan, kMost>& spans, std::size_t& count, SlipKind kind, const Units& units, std::size_t k) {
    if (count > 0 && spans[count - 1].kind == kind) {
        spans[count - 1].length = static_cast<std::uint16_t>(spans[count - 1].length + units.length[k]);
        return;
    }
    spans[count++] = {kind, units.begin[k], units.length[k]};
}

}  // namespace

AnswerAlignment AlignAnswer(std::string_view typedText, std::string_view answer, std::span<const std::string> also) {
    AnswerAlignment result;
    result.typed = Trimmed(typedText);
    result.answer = Trimmed(answer);
    Units typed;
    Units right;
    if (result.typed.empty() || !Split(result.typed, typed)) return result;

    // The closest right answer; a text too long to align is passed over. Two tables (19 KB each) on
    // the stack, nothing allocated: the closest so far is kept while the next is filled.
    std::array<Table, 2> tables;
    std::size_t best = 0;
    Units candidate;
    int bestCost = std::numeric_limits<int>::max();
    for (std::size_t k = 0; k <= also.size(); ++k) {
        const std::string_view text = Trimmed(k == 0 ? answer : std::string_view(also[k - 1]));
        if (text.empty() || !Split(text, candidate)) continue;
        const std::size_t next = bestCost == std::numeric_limits<int>::max() ? best : 1 - best;
        const int cost = tables[next].Fill(typed, candidate);
        if (cost < bestCost) {
            bestCost = cost;
            best = next;
            result.answerIndex = k;
            result.answer = text;
            right = candidate;
        }
    }
    if (bestCost == std::numeric_limits<int>::max()) return result;
    const Table& table = tables[best];

    // Traced back from the end, each character's kind; among equal costs the kinds a teacher would
    // name first: the same, a wrong capital, a swap, a wrong letter, then a letter too many or lacking.
    std::array<SlipKind, kMost> typedKinds;
    std::array<SlipKind, kMost> answerKinds;
    std::size_t i = typed.size;
    std::size_t j = right.size;
    while (i > 0 || j > 0) {
        const int here = table.cost[i][j];
        if (i > 0 && j > 0) {
            const int substitution = SubstitutionCost(typed, i - 1, right, j - 1);
            if (substitution < kWrongCost && here == table.cost[i - 1][j - 1] + substitution) {
                typedKinds[--i] = answerKinds[--j] = substitution == 0 ? SlipKind::Same : SlipKind::Case;
                continue;
            }
            if (Table::IsSwap(typed, right, i, j) && here == table.cost[i - 2][j - 2] + kSwapCost) {
                typedKinds[i - 1] = typedKinds[i - 2] = answerKinds[j - 1] = answerKinds[j - 2] = SlipKind::Swapped;
                i -= 2;
                j -= 2;
                continue;
            }
            if (here == table.cost[i - 1][j - 1] + substitution) {
                typedKinds[--i] = answerKinds[--j] = SlipKind::Wrong;
                continue;
            }
        }
        if (i > 0 && here == table.cost[i - 1][j] + kGapCost) {
            typedKinds[--i] = SlipKind::Extra;
        } else {
            answerKinds[--j] = SlipKind::Missing;
        }
    }

    std::size_t matched = 0;
    for (std::size_t k = 0; k < right.size; ++k) {
        const SlipKind kind = answerKinds[k];
        if (kind == SlipKind::Same || kind == SlipKind::Case || kind == SlipKind::Swapped) ++matched;
        Append(result.answerSpans, result.answerCount, kind, right, k);
    }
    for (std::size_t k = 0; k < typed.size; ++k) {
        Append(result.typedSpans, result.typedCount, typedKinds[k], typed, k);
    }
    result.shown = matched * 3 >= right.size;
    return result;
}

}  // namespace zembra
