// Whether a typed answer is right: the answer or a further answer of the row, with what a Chinese
// input method types in place of ASCII read as ASCII, the spaces at the ends dropped, and the
// structure of ellipses, "/" and capital abbreviations read, and nothing else forgiven. Texts are
// GBK bytes, written as such where the bytes are the point.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "data/word_bank.h"
#include "drill/answer_check.h"
#include "framework/code_page.h"

namespace zembra {
namespace {

std::string G(const char* utf8) { return Utf8ToGbk(utf8); }

struct CheckCase {
    const char* name;
    friend void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }
    std::string typed;
    std::string answer;
    std::vector<std::string> also;
    bool right;
    AnswerShape shape = {};
};

constexpr AnswerShape kOpenEnds{true, false};
constexpr AnswerShape kJoined{false, true};

class AnswerCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(AnswerCheck, IsRightOnlyForTheRowsTexts) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(IsRightAnswer(c.typed, c.answer, c.also, c.shape), c.right);
}

const CheckCase kAnswerCheckCases[] = {
    {"Answer", "a bit", "a bit", {"a bit of"}, true},
    {"FurtherAnswer", "a bit of", "a bit", {"a bit of"}, true},
    {"LastOfSeveral", "supper", "dinner/supper", {"dinner", "supper"}, true},
    {"NoneOfThem", "a bit off", "a bit", {"a bit of"}, false},
    {"BracketsTyped", "a bit (of)", "a bit", {"a bit of"}, false},
    {"Empty", "", "pen", {}, false},
    // Full-width forms read as ASCII, in the typed text and in the stored one.
    {"FullWidthLetters", G("ｐｅｎ"), "pen", {}, true},
    {"FullWidthDigitsAndFullStop", G("Ｎｏ．１"), "No.1", {}, true},
    {"FullWidthSemicolonTyped", G("on the one hand；on the other hand"), "on the one hand;on the other hand", {}, true},
    {"AsciiSemicolonForAStoredFullWidthOne",
     "on the one hand;on the other hand",
     G("on the one hand；on the other hand"),
     {},
     true},
    {"FullWidthInAFurtherAnswer", "at the most", "at most", {G("ａｔ the most")}, true},
    {"CurlyApostrophes", G("it’s Tom‘s"), "it's Tom's", {}, true},
    {"CurlyDoubleQuotes", G("“OK”"), "\"OK\"", {}, true},
    {"FullWidthApostrophe", G("it＇s"), "it's", {}, true},
    {"IdeographicFullStop", G("Mr。"), "Mr.", {}, true},
    {"DollarAndTildeWhereCodePage936HasThem", "\xA1\xE7\xA1\xAB", "$~", {}, true},  // ＄ ～
    {"YenIsNoDollar", "\xA3\xA4", "$", {}, false},                                  // ￥
    {"MacronIsNoTilde", "\xA3\xFE", "~", {}, false},                                // ￣
    {"IdeographicSpaceInside", G("ice　cream"), "ice cream", {}, true},
    // Spaces typed before and after the text.
    {"OuterSpaces", "  pen ", "pen", {}, true},
    {"OuterTabs", "\tpen\t", "pen", {}, true},
    {"OuterIdeographicSpaces", G("　pen　　"), "pen", {}, true},
    {"OnlySpaces", G(" 　 "), "pen", {}, false},
    // Case, spelling and the spaces inside stay exact.
    {"Capital", "Pen", "pen", {}, false},
    {"FullWidthCapital", G("Ｐｅｎ"), "pen", {}, false},
    {"InnerSpaceMissing", "icecream", "ice cream", {}, false},
    {"InnerSpaceDoubled", "ice  cream", "ice cream", {}, false},
    {"WrongForm", "flied", "flew", {}, false},
    {"ChineseForEnglish", G("钢笔"), "pen", {}, false},
    // Every character's second byte stays with it: 埃 (B0 A3) then 谁 (CB AD) is not B0 ＋ Ｋ (A3
    // CB) ＋ AD; B0 A3 then ； is 埃;; 81 40 is a character, not 81 then @; CB A1 then a lone A1
    // ends in no ideographic space. Bytes that are not GBK (0xFF, a lead byte at the end) are
    // compared as themselves.
    {"SecondByteIsNoFirstByte", "\xB0\xA3\xCB\xAD", "\xB0K\xAD", {}, false},
    {"SecondByteThenFullWidth", "\xB0\xA3\xA3\xBB", "\xB0\xA3;", {}, true},
    {"SecondByteLikeAscii", "\x81@", "\x81\xA3\xC0", {}, false},
    {"SecondByteBeforeALoneByte", "\xCB\xA1\xA1", "\xCB", {}, false},
    {"SecondByteBeforeALoneByteKept", "\xCB\xA1\xA1", "\xCB\xA1\xA1", {}, true},
    {"NoGbkForm", std::string("pen") + kNoGbkForm, "pen", {}, false},
    {"LeadByteAtTheEnd", "pen\xA3", "pen", {}, false},
    // An ellipsis in any form, with the spaces around it, is one mark; two dots are none.
    {"EllipsisAsOneCharacter", G("between…and…"), "between...and...", {}, true},
    {"EllipsisAsTwoCharacters", G("between……and……"), "between...and...", {}, true},
    {"EllipsisSpaced", "between . . . and . . .", "between...and...", {}, true},
    {"SpacesAroundAnEllipsis", G("between … and …"), "between...and...", {}, true},
    {"EllipsisOfIdeographicFullStops", G("from。。。to"), "from...to", {}, true},
    {"TwoDotsAreNoEllipsis", "between..and..", "between...and...", {}, false},
    {"EllipsisLeftOutInside", "between and", "between...and...", {}, false, kOpenEnds},
    // Where the prompt shows a frame's dots, the answer's ends may have them or not.
    {"FrameDotsAdded", "next to...", "next to", {}, true, kOpenEnds},
    {"FrameDotsLeftOut", "between...and", "between...and...", {}, true, kOpenEnds},
    {"FrameDotsAddedInFront", G("… next to"), "next to", {}, true, kOpenEnds},
    {"FrameDotsOnlyWhereThePromptShowsThem", "next to...", "next to", {}, false},
    {"FrameDotsAreNoWord", "next...", "next to", {}, false, kOpenEnds},
    // Spaces around "/" do not count; inside the forms they still do.
    {"SpacesAroundSlash", G("dinner / supper"), "dinner/supper", {}, true},
    {"FullWidthSlashAndSpaces", G("dinner　／supper"), "dinner/supper", {}, true},
    {"SpaceInsideAFormAfterSlash", "have supper/dinner", "have supper/dinner", {}, true},
    {"SlashSpacesAreNoWordSpaces", "havesupper/dinner", "have supper/dinner", {}, false},
    // Alternatives: any one form, or several right forms in any order.
    {"OneAlternative", "supper", "dinner/supper", {}, true},
    {"AlternativesReordered", "airplane/plane", "plane/airplane", {"aeroplane"}, true},
    {"AlternativesFromTwoTexts", "plane/aeroplane", "plane/airplane", {"aeroplane"}, true},
    {"SharedWordsAlternative", "have dinner", "have supper/dinner", {}, true},
    {"SharedWordsAlternativesReordered", "have dinner/supper", "have supper/dinner", {}, true},
    {"SharedWordsInFront", "a hundred and thirty-six", "one/a hundred and thirty-six", {}, true},
    {"SharedWordsWrittenInFull", "at the weekend/on the weekend", "at/on the weekend", {}, true},
    {"SeveralFormsOfARowWithoutSlash", "dinner/supper", "dinner", {"supper"}, true},
    {"AlternativeMisspelt", "plane/airplan", "plane/airplane", {}, false},
    {"AlternativeOfAnotherWord", "plane/car", "plane/airplane", {}, false},
    {"SharedWordAloneIsNoForm", "one", "one/a hundred and thirty-six", {}, false},
    {"HalfOfAFormIsNoForm", "have", "have supper/dinner", {}, false},
    {"EmptyAlternative", "plane/", "plane/airplane", {}, false},
    // Joined meanings: all of them, in any order, short or in full; one alone is wrong.
    {"JoinedAsStored", "at night/noon", "at night/noon", {}, true, kJoined},
    {"JoinedReordered", "at noon/night", "at night/noon", {}, true, kJoined},
    {"JoinedInFull", "at noon / at night", "at night/noon", {}, true, kJoined},
    {"JoinedFourReordered", "by bus/train/air/bike", "by bike/air/train/bus", {}, true, kJoined},
    {"JoinedWithAFurtherForm",
     "by bicycle/by air/by train/by bus",
     "by bike/air/train/bus",
     {"by bicycle/air/train/bus"},
     true,
     kJoined},
    {"JoinedOneAlone", "at night", "at night/noon", {}, false, kJoined},
    {"JoinedOneTwice", "at night/night", "at night/noon", {}, false, kJoined},
    {"JoinedOneMissing", "by bike/air/train", "by bike/air/train/bus", {}, false, kJoined},
    {"JoinedOneMore", "at night/noon/morning", "at night/noon", {}, false, kJoined},
    // Dots between the capitals of an abbreviation may be left out or added.
    {"AbbreviationDotsAdded", "U.S.A.", "USA", {}, true},
    {"AbbreviationDotsLeftOut", "PE", "P.E.", {}, true},
    {"AbbreviationLastDotLeftOut", "P.R.C", "PRC", {}, true},
    {"AbbreviationInAPhrase", "watch T.V.", "watch TV", {}, true},
    {"AbbreviationInAnAlternative", "U.S.A./America", "America/USA", {}, true},
    {"LowerCaseAbbreviationKeepsItsDots", "am", "a.m.", {}, false},
    {"AbbreviationCaseStaysExact", "u.s.a.", "USA", {}, false},
    {"DotAfterAWordStays", "Mar", "Mar.", {}, false},
    {"AbbreviationLetterMissing", "U.S.", "USA", {}, false},
};

INSTANTIATE_TEST_SUITE_P(Texts, AnswerCheck, ::testing::ValuesIn(kAnswerCheckCases),
                         [](const auto& test) { return std::string(test.param.name); });

// What a pupil types for any row: its answer or a further answer, with outer spaces, or with its
// letters, digits and punctuation in full width (ASCII 21..7E are A3A1..A3FE but for $ and ~).
TEST(AnswerCheckOfTheBank, EveryRightTextOfEveryRowIsRight) {
    const auto fullWidth = [](std::string_view text) {
        std::string wide;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char byte = text[i];
            if (static_cast<unsigned char>(byte) >= 0x81) {
                wide += text.substr(i++, 2);  // a GBK character stays as it is
            } else if (byte == '$') {
                wide += "\xA1\xE7";
            } else if (byte == '~') {
                wide += "\xA1\xAB";
            } else if (byte > ' ' && byte < 0x7F) {
                wide += '\xA3';
                wide += static_cast<char>(byte + 0x80);
            } else {
                wide += byte;
            }
        }
        return wide;
    };
    for (int row = 0; row < kBankRows; ++row) {
        const WordRow& r = kWordRows[row];
        const std::vector<std::string> also(r.also.begin(), r.also.end());
        const AnswerShape shape = ShapeOfRow(r.prompt, r.joinedMeanings);
        std::vector<std::string_view> texts{r.answer};
        texts.insert(texts.end(), r.also.begin(), r.also.end());
        for (std::string_view text : texts) {
            ASSERT_TRUE(IsRightAnswer(text, r.answer, also, shape)) << row;
            ASSERT_TRUE(IsRightAnswer(" " + std::string(text) + "\xA1\xA1", r.answer, also, shape)) << row;
            ASSERT_TRUE(IsRightAnswer(fullWidth(text), r.answer, also, shape)) << row;
        }
        ASSERT_FALSE(IsRightAnswer(std::string(r.answer) + "x", r.answer, also, shape)) << row;
    }
}

}  // namespace
}  // namespace zembra
