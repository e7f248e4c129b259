// Where a wrong answer differs from the right one, as a teacher marks it: the typed text and the
// right answer lined up character by character, each side cut into spans of one kind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zembra {

enum class SlipKind : std::uint8_t {
    Same,     // the same character on both sides
    Wrong,    // a different character in its place
    Extra,    // typed, and not in the answer (a space too)
    Missing,  // in the answer, and not typed (a space too)
    Case,     // the same letter in the other case
    Swapped,  // two neighbours typed the other way round
};

// A run of characters of one kind: byte offsets into its text.
struct SlipSpan {
    SlipKind kind;
    std::uint16_t begin;
    std::uint16_t length;
};

struct AnswerAlignment {
    // Texts longer than this many characters are not aligned (no answer of the bank is).
    static constexpr std::size_t kMostCharacters = 96;
    // Whether the alignment is worth showing: false when the texts are far apart (under a third of
    // the answer's characters matched), nothing was typed, or a text is too long.
    bool shown = false;
    // The right answer aligned against: 0 the row's answer, k its further answer k - 1.
    std::size_t answerIndex = 0;
    // The typed text without the spaces before and after it, and the chosen answer.
    std::string_view typed;
    std::string_view answer;
    std::array<SlipSpan, kMostCharacters> typedSpans;
    std::size_t typedCount = 0;
    std::array<SlipSpan, kMostCharacters> answerSpans;
    std::size_t answerCount = 0;

    std::span<const SlipSpan> TypedSpans() const { return {typedSpans.data(), typedCount}; }
    std::span<const SlipSpan> AnswerSpans() const { return {answerSpans.data(), answerCount}; }
};

// Aligns the typed GBK text against the row's answer and its further answers and keeps the
// closest, the answer first among equals. A two-byte character is one unit and never split; a
// full-width form counts as the ASCII it reads as (framework/typed_text.h). A wrong capital costs
// less than a wrong letter, so that it is told as such; a swap of two neighbours costs as one wrong
// letter. The texts must outlive the result. Allocates nothing.
AnswerAlignment AlignAnswer(std::string_view typed, std::string_view answer, std::span<const std::string> also);

}  // namespace zembra
