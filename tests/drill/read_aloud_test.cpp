// How answers are read aloud: the rules on examples, and every answer of the bank read without a
// symbol's name and without losing a word.
#include "drill/read_aloud.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "data/word_bank.h"
#include "framework/code_page.h"

namespace zembra {
namespace {

struct Reading {
    const char* answer;  // UTF-8
    const char* spoken;
};

class ReadAloudRules : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadAloudRules, ReadsAsATeacherWould) {
    EXPECT_EQ(ReadAloud(Utf8ToGbk(GetParam().answer)), GetParam().spoken) << GetParam().answer;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ReadAloudRules,
    ::testing::Values(Reading{"pen", "pen"}, Reading{"What's your name?", "What's your name?"},
                      Reading{"fall/autumn", "fall or autumn"},
                      Reading{"by bike/air/train/bus", "by bike or air or train or bus"},
                      Reading{"in the east / south / west /north", "in the east or south or west or north"},
                      Reading{"a bit (of)", "a bit of"}, Reading{"at (the) most", "at the most"},
                      Reading{"in no time (in a minute)", "in no time in a minute"},
                      Reading{"pencil-case", "pencil case"},
                      Reading{"one/a hundred and thirty-six", "one or a hundred and thirty six"},
                      Reading{"on the one hand；on the other hand", "on the one hand, on the other hand"},
                      Reading{"help sb. do sth.", "help somebody do something"},
                      Reading{"give sth to sb", "give something to somebody"}, Reading{"sb's", "somebody's"},
                      Reading{"not only…but also…", "not only, but also"}, Reading{"so...that...", "so, that"},
                      Reading{"as ... as", "as, as"}, Reading{"Mr.", "Mister"}, Reading{"Sept.", "September"},
                      Reading{"No.", "number"}, Reading{"no", "no"}, Reading{"TV room", "T V room"},
                      Reading{"China/PRC", "China or P R C"}, Reading{"I am OK.", "I am O K."},
                      Reading{"on September 1st", "on September 1st"}, Reading{"rock & roll", "rock and roll"},
                      Reading{"\"Hello!\"", "Hello!"}, Reading{"（a）ｂｉｇ", "a big"},
                      Reading{"Yes, I do.", "Yes, I do."}, Reading{"…", ""}, Reading{"/", "or"}, Reading{"汉字", ""}));

// What an English voice would name rather than read: every character but letters, digits, the
// apostrophe and the sentence marks.
bool NamesASymbol(const std::string& spoken) {
    for (const char c : spoken) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == ' ' || c == '\'' || c == ',' || c == '.' || c == '?' || c == '!') continue;
        return true;
    }
    return false;
}

// The answer's words in lower case, the spoken text's likewise, each with a space either side.
std::string Words(const std::string& text) {
    std::string words = " ";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        words += std::isalnum(byte) || c == '\'' ? static_cast<char>(std::tolower(byte)) : ' ';
    }
    return words + " ";
}

TEST(ReadAloudBank, EveryAnswerIsReadInWordsWithoutASymbol) {
    for (int row = 0; row < kBankRows; ++row) {
        const std::string answer(kWordRows[row].answer);
        const std::string spoken = ReadAloud(answer);
        SCOPED_TRACE("row " + std::to_string(row) + ": " + GbkToUtf8(answer) + " -> " + spoken);
        ASSERT_FALSE(spoken.empty());
        EXPECT_FALSE(NamesASymbol(spoken));
        EXPECT_EQ(spoken.find("  "), std::string::npos);
        EXPECT_NE(spoken.front(), ' ');
        EXPECT_NE(spoken.back(), ' ');
        EXPECT_NE(spoken.front(), ',');
        // Every word of the answer is said, but for the abbreviations said in full and the
        // words of capitals said letter by letter.
        const std::string said = Words(spoken);
        std::string lower = answer;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string word;
        for (const char c : Words(answer)) {
            if (c != ' ') {
                word += c;
                continue;
            }
            if (!word.empty() && said.find(" " + word + " ") == std::string::npos) {
                std::string upper = word;
                for (char& letter : upper) letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
                const bool abbreviation = Words(answer).find(" " + word + " ") != std::string::npos &&
                                          lower.find(word + ".") != std::string::npos;
                const bool capitals = answer.find(upper) != std::string::npos;
                EXPECT_TRUE(abbreviation || capitals || word == "sb" || word == "sth") << "lost: " << word;
            }
            word.clear();
        }
    }
}

}  // namespace
}  // namespace zembra
