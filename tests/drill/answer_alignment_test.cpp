// The alignment of a wrong answer against the right one, one named case per kind of slip. Each side
// is written with its spans marked: [wrong] {extra or missing} <case> ~swapped~, the same letters
// plain; texts in UTF-8 here, GBK to the code.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "drill/answer_alignment.h"
#include "framework/code_page.h"

namespace zembra {
namespace {

std::string G(const char* utf8) { return Utf8ToGbk(utf8); }

std::string Marked(std::string_view text, std::span<const SlipSpan> spans) {
    std::string out;
    for (const SlipSpan& span : spans) {
        const std::string part = GbkToUtf8(text.substr(span.begin, span.length));
        switch (span.kind) {
            case SlipKind::Same:
                out += part;
                break;
            case SlipKind::Wrong:
                out += "[" + part + "]";
                break;
            case SlipKind::Extra:
            case SlipKind::Missing:
                out += "{" + part + "}";
                break;
            case SlipKind::Case:
                out += "<" + part + ">";
                break;
            case SlipKind::Swapped:
                out += "~" + part + "~";
                break;
        }
    }
    return out;
}

struct AlignCase {
    const char* name;
    friend void PrintTo(const AlignCase& c, std::ostream* out) { *out << c.name; }
    std::string typed;
    std::string answer;
    std::vector<std::string> also;
    // Empty: no alignment is shown.
    const char* typedMarked;
    const char* answerMarked;
    std::size_t answerIndex = 0;
};

class Alignment : public ::testing::TestWithParam<AlignCase> {};

TEST_P(Alignment, MarksEachSlipOnItsSide) {
    const AlignCase& c = GetParam();
    const AnswerAlignment alignment = AlignAnswer(c.typed, c.answer, c.also);
    if (*c.typedMarked == '\0') {
        EXPECT_FALSE(alignment.shown);
        return;
    }
    ASSERT_TRUE(alignment.shown);
    EXPECT_EQ(Marked(alignment.typed, alignment.TypedSpans()), c.typedMarked);
    EXPECT_EQ(Marked(alignment.answer, alignment.AnswerSpans()), c.answerMarked);
    EXPECT_EQ(alignment.answerIndex, c.answerIndex);
    // The spans cover each text once, in order.
    for (const auto& [text, spans] :
         {std::pair{alignment.typed, alignment.TypedSpans()}, std::pair{alignment.answer, alignment.AnswerSpans()}}) {
        std::size_t at = 0;
        for (const SlipSpan& span : spans) {
            EXPECT_EQ(span.begin, at);
            at += span.length;
        }
        EXPECT_EQ(at, text.size());
    }
}

const AlignCase kAlignCases[] = {
    {"SwappedLetters", "recieve", "receive", {}, "rec~ie~ve", "rec~ei~ve"},
    {"WrongCapital", "Pen", "pen", {}, "<P>en", "<p>en"},
    {"CapitalAndSwap", "Recieve", "receive", {}, "<R>ec~ie~ve", "<r>ec~ei~ve"},
    {"MissingSpace", "icecream", "ice cream", {}, "icecream", "ice{ }cream"},
    {"ExtraSpace", "class room", "classroom", {}, "class{ }room", "classroom"},
    {"WrongLetter", "hause", "house", {}, "h[a]use", "h[o]use"},
    {"LetterLacking", "aple", "apple", {}, "aple", "a{p}ple"},
    {"LetterTooMany", "whitte", "white", {}, "whi{t}te", "white"},
    {"WrongApostrophe", "dont", "don't", {}, "dont", "don{'}t"},
    {"SeveralSlipsInAPhrase", "Look atfter", "look after", {}, "<L>ook a{t}fter", "<l>ook after"},
    // A two-byte character is one unit: its second byte (here 'B') is never a letter of its own.
    {"TwoByteCharacterNeverSplit", G("丅-shirt"), "T-shirt", {}, "[丅]-shirt", "[T]-shirt"},
    {"ChineseTypedForALetter", G("c汉t"), "cat", {}, "c[汉]t", "c[a]t"},
    {"ChineseAnswerCharacters",
     G("on the one hand,on the other hand"),
     G("on the one hand；on the other hand"),
     {},
     "on the one hand[,]on the other hand",
     "on the one hand[；]on the other hand"},
    // A full-width letter reads as its ASCII letter, as the check reads it.
    {"FullWidthLettersMatch", G("ｐｅｎｓｉｌ"), "pencil", {}, "ｐｅｎ[ｓ]ｉｌ", "pen[c]il"},
    {"SpacesAtTheEndsNotTyped", G("　 Pen "), "pen", {}, "<P>en", "<p>en"},
    {"AnswerEndingInASpace", "fro", "for ", {}, "f~ro~", "f~or~"},
    // Further right answers: the closest is shown, the answer itself among equals.
    {"ClosestFurtherAnswer", "colr", "colour", {"color"}, "colr", "col{o}r", 1},
    {"AnswerFirstAmongEquals", "centr", "centre", {"center"}, "centr", "centr{e}", 0},
    {"FurtherAnswerTooLongPassedOver", "hat", "hut", {std::string(200, 'h')}, "h[a]t", "h[u]t"},
    // A third of the answer matched is shown; less is too far to mark.
    {"AThirdMatched", "pxx", "pen", {}, "p[xx]", "p[en]"},
    {"UnderAThirdMatched", "xxx", "pen", {}, "", ""},
    {"FarOff", "dog", "elephant", {}, "", ""},
    {"NothingTyped", "", "pen", {}, "", ""},
    {"OnlySpacesTyped", "   ", "pen", {}, "", ""},
    {"TypedTooLong", std::string(97, 'a'), "a", {}, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, Alignment, ::testing::ValuesIn(kAlignCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace zembra
