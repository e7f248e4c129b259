// Whether a typed answer is right for a row of the word bank.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zembra {

// What a row's prompt says about the form of its answer.
struct AnswerShape {
    // The prompt shows a frame's dots (在……旁边, 一杯……): dots at the ends of an answer may be typed
    // or left out ("next to", "next to...").
    bool openEnds = false;
    // The answer's "/" joins meanings that the prompt asks for together (在夜里/中午: at night/noon):
    // every meaning must be typed. Otherwise a "/" joins forms that are each right alone.
    bool joinedMeanings = false;
};

// The shape of a row with this GBK prompt; joinedMeanings comes from the bank.
AnswerShape ShapeOfRow(std::string_view prompt, bool joinedMeanings);

// Right when the typed GBK text reads the same as the row's answer or as one of its further right
// answers (ReadTypedText, framework/typed_text.h: full-width forms read as ASCII, spaces at the
// ends dropped, an ellipsis in any form, no spaces around "/", U.S.A. as USA), with the dots at
// the ends left open where the shape says so. A "/" in a text joins forms: "have supper/dinner" is
// "have supper" and "have dinner" (a "/" between single words shares the words around it; between
// phrases, as in "at night/at noon", it joins whole forms). Where a row's forms are alternatives,
// any of them is right, or several joined by "/" in any order; where they are joined meanings,
// all of them, in any order, short or in full. Allocates nothing.
bool IsRightAnswer(std::string_view typed, std::string_view answer, std::span<const std::string> also,
                   AnswerShape shape = {});

}  // namespace zembra
