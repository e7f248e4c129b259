// The built-in word bank: its shape, the GBK bytes of its special characters, and the rows whose
// exact texts a careless edit of the data file would break.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "data/word_bank.h"
#include "framework/code_page.h"
#include "ui/main_dialog_template.h"

namespace zembra {
namespace {

std::string G(const char* utf8) { return Utf8ToGbk(utf8); }
std::string_view Answer(int row) { return kWordRows[row].answer; }
std::string_view Prompt(int row) { return kWordRows[row].prompt; }
std::string_view Category(int row) { return kWordRows[row].category; }

struct CategoryRun {
    const char* name;
    int first, last;
    std::size_t comboEntry;  // counts "全选" as entry 1
};

constexpr CategoryRun kRuns[] = {
    {"单词", 0, 667, 2},          {"常用短语", 668, 921, 3},   {"特殊疑问词", 922, 943, 9},
    {"缩写", 944, 966, 8},        {"过去式", 967, 1044, 5},    {"第三人称单数", 1045, 1162, 4},
    {"现在分词", 1163, 1280, 10}, {"名词复数", 1281, 1342, 7}, {"形容词→副词", 1343, 1403, 11},
    {"介词短语", 1404, 1533, 6},  {"比较级", 1534, 1643, 12},  {"最高级", 1644, 1753, 13},
};

TEST(WordBankShape, CategoriesAreContiguousRunsInBankOrder) {
    int next = 0;
    for (const CategoryRun& run : kRuns) {
        SCOPED_TRACE(run.name);
        EXPECT_EQ(run.first, next);
        for (int row = run.first; row <= run.last; ++row) ASSERT_EQ(Category(row), G(run.name)) << "row " << row;
        next = run.last + 1;
    }
    EXPECT_EQ(next, kBankRows);
}

TEST(WordBankShape, ComboEntriesSpellTheCategoriesExactly) {
    const auto entries = CategoryComboEntries();
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries[0], G("全选"));
    for (const CategoryRun& run : kRuns) EXPECT_EQ(entries[run.comboEntry - 1], G(run.name)) << run.name;
    // The first and the last two entries are filters of their own, never a category of the bank.
    EXPECT_EQ(entries[13], G("错题"));
    EXPECT_EQ(entries[14], G("复习"));
    for (int row = 0; row < kBankRows; ++row) {
        ASSERT_NE(Category(row), G("全选"));
        ASSERT_NE(Category(row), G("错题"));
        ASSERT_NE(Category(row), G("复习"));
    }
}

TEST(WordBankShape, EveryRowHasAnAnswerAndAPrompt) {
    for (int row = 0; row < kBankRows; ++row) {
        EXPECT_FALSE(Answer(row).empty()) << row;
        EXPECT_FALSE(Prompt(row).empty()) << row;
    }
}

// A pupil is marked by the answer alone, so what they type must be decidable from the prompt:
// an answer carries no invisible space at its ends and no unclosed bracket, and within a category
// one prompt stands for one answer. The two pairs below share a prompt by design.
TEST(WordBankShape, EveryPromptTellsItsAnswer) {
    std::map<std::pair<std::string_view, std::string_view>, std::set<int>> rowsByPrompt;
    for (int row = 0; row < kBankRows; ++row) {
        const std::string_view a = Answer(row);
        EXPECT_TRUE(a.front() != ' ' && a.back() != ' ') << "row " << row << " answer has a space at its end";
        EXPECT_EQ(std::count(a.begin(), a.end(), '('), std::count(a.begin(), a.end(), ')')) << "row " << row;
        rowsByPrompt[{Category(row), Prompt(row)}].insert(row);
    }
    const std::set<std::set<int>> sharedByDesign = {{926, 929}, {246, 268}};
    for (const auto& [key, rows] : rowsByPrompt) {
        std::set<std::string_view> answers;
        for (int row : rows) answers.insert(Answer(row));
        if (answers.size() > 1) {
            EXPECT_TRUE(sharedByDesign.count(rows)) << "rows from " << *rows.begin();
        }
    }
}

TEST(WordBankShape, PairedCategoriesSharePrompts) {
    for (int k = 0; k < 118; ++k) EXPECT_EQ(Prompt(1045 + k), Prompt(1163 + k)) << "third person / participle " << k;
    for (int k = 0; k < 110; ++k) EXPECT_EQ(Prompt(1534 + k), Prompt(1644 + k)) << "comparative / superlative " << k;
}

// The category 形容词→副词 shows the adjective (a gloss in full-width brackets may follow) and asks
// for the adverb.
TEST(WordBankShape, AdverbAnswersFollowTheirRule) {
    for (int row = 1343; row <= 1403; ++row) {
        const std::string_view prompt = Prompt(row);
        const std::string p(prompt.substr(0, prompt.find("\xA3\xA8")));  // before "（"
        std::string want;
        if (row <= 1376)
            want = p + "ly";
        else if (row <= 1389)
            want = p.substr(0, p.size() - 1) + "ily";
        else if (row <= 1395)
            want = p;
        else
            want = p.substr(0, p.size() - 1) + "y";
        EXPECT_EQ(Answer(row), want) << row;
    }
}

TEST(WordBankShape, RepeatedAnswersAndIdenticalRows) {
    std::set<std::string_view> distinct;
    for (int row = 0; row < kBankRows; ++row) distinct.insert(Answer(row));
    EXPECT_EQ(distinct.size(), 1644u);
    // Rows identical in all three columns stay separate units of mastery.
    EXPECT_EQ(Answer(1071), Answer(1078));
    EXPECT_EQ(Prompt(1071), Prompt(1078));
    for (int row : {828, 906}) {
        EXPECT_EQ(Answer(row), Answer(670));
        EXPECT_EQ(Prompt(row), Prompt(670));
    }
    EXPECT_EQ(Prompt(1331), G("mouse（老鼠）"));
    EXPECT_EQ(Prompt(1339), Prompt(1331));
}

struct GbkByteCase {
    const char* name;
    int row;
    char column;  // 'a'nswer, 'p'rompt or 'c'ategory
    std::string bytes;
};

class WordBankGbk : public ::testing::TestWithParam<GbkByteCase> {};

TEST_P(WordBankGbk, SpecialCharactersHaveTheirGbkCodes) {
    const GbkByteCase& c = GetParam();
    const std::string_view text = c.column == 'a' ? Answer(c.row) : c.column == 'c' ? Category(c.row) : Prompt(c.row);
    EXPECT_NE(text.find(c.bytes), std::string_view::npos) << c.name << " in row " << c.row;
}

INSTANTIATE_TEST_SUITE_P(Codes, WordBankGbk,
                         ::testing::Values(GbkByteCase{"left_double_quote", 967, 'p', "\xA1\xB0"},
                                           GbkByteCase{"right_double_quote", 968, 'p', "\xA1\xB1"},
                                           GbkByteCase{"ellipsis", 849, 'p', "\xA1\xAD\xA1\xAD"},
                                           GbkByteCase{"arrow_in_category", 1343, 'c', "\xA1\xFA"},
                                           GbkByteCase{"full_width_brackets_open", 104, 'p', "\xA3\xA8"},
                                           GbkByteCase{"full_width_brackets_close", 104, 'p', "\xA3\xA9"},
                                           GbkByteCase{"full_width_comma", 655, 'p', "\xA3\xAC"},
                                           GbkByteCase{"full_width_slash_1464", 1464, 'p', "\xA3\xAF"},
                                           GbkByteCase{"full_width_slash_1494", 1494, 'p', "\xA3\xAF"},
                                           GbkByteCase{"full_width_semicolon_prompt", 1495, 'p', "\xA3\xBB"},
                                           GbkByteCase{"han_character_for_t", 196, 'p', "\x81\x42"}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(WordBankGbk, AsciiAndFullWidthBracketsDiffer) {
    EXPECT_EQ(Prompt(95), G("妈妈(口语)"));
    EXPECT_EQ(Prompt(104), G("（外）祖母"));
    EXPECT_EQ(Prompt(196).substr(0, 2), "\x81\x42");
}

struct ExactRow {
    int row;
    const char* answer;
    const char* prompt;          // nullptr: not checked
    const char* also = nullptr;  // the further answers joined by "|"; nullptr: not checked
};

class WordBankExact : public ::testing::TestWithParam<ExactRow> {};

TEST_P(WordBankExact, StoredAsWritten) {
    const ExactRow& r = GetParam();
    EXPECT_EQ(Answer(r.row), G(r.answer)) << r.row;
    if (r.prompt) {
        EXPECT_EQ(Prompt(r.row), G(r.prompt)) << r.row;
    }
    if (r.also) {
        std::string joined;
        for (std::string_view text : kWordRows[r.row].also) joined.append(joined.empty() ? "" : "|").append(text);
        EXPECT_EQ(joined, G(r.also)) << r.row;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeRows, WordBankExact,
    ::testing::Values(
        ExactRow{655, "for", "给，为了，作为"}, ExactRow{656, "to", nullptr}, ExactRow{577, "buy", nullptr},
        ExactRow{581, "go", nullptr}, ExactRow{168, "dinner/supper", "晚餐", "dinner|supper|supper/dinner"},
        ExactRow{886, "in the east/south/west/north", nullptr, "in the east / south / west / north"},
        ExactRow{1434, "in no time", nullptr}, ExactRow{1445, "a bit", nullptr, "a bit of|a little"},
        ExactRow{1452, "on the left", "在左边"}, ExactRow{1533, "at most", "至多", "at the most"},
        ExactRow{301, "police station", nullptr}, ExactRow{0, "pen", "钢笔", ""},
        ExactRow{1495, "on the one hand, on the other hand", "一方面……；（但是）另一方面......"},
        ExactRow{8, "Chinese book", nullptr}, ExactRow{92, "Mr.", nullptr}, ExactRow{550, "I", nullptr},
        ExactRow{945, "it's", "it is", "It's"}, ExactRow{966, "No.", "number "}, ExactRow{946, "he's", "he is "},
        ExactRow{951, "isn't", "is not "}, ExactRow{406, "west", "西"}, ExactRow{564, "skate", "滑冰"},
        ExactRow{1014, "meant", nullptr}, ExactRow{1420, "for example", nullptr}, ExactRow{1122, "loves", "love"},
        ExactRow{1137, "uses", "use"}, ExactRow{926, "when", "什么时候", "what time"},
        ExactRow{929, "what time", "什么时候", "when"}, ExactRow{246, "present", "礼物"}, ExactRow{268, "gift", "礼物"},
        ExactRow{859, "at home", "在家"}, ExactRow{1459, "at home", "在家"}, ExactRow{1340, "geese", "goose（ 鹅）"},
        ExactRow{967, "was", "am/is动词“是”"}, ExactRow{989, "flew", "fly放（风筝）"},
        ExactRow{1596, "farther/further", "far（远的）"}, ExactRow{1390, "late", "late（晚的，迟的）"},
        ExactRow{1343, "quickly", "quick（快的）"},
        ExactRow{755, "do one's homework", "做（某人的）作业",
                 "do my homework|do your homework|do his homework|do her homework|do our homework|do their homework"}),
    [](const auto& test) { return "row_" + std::to_string(test.param.row); });

TEST(WordBankExact, AnswersWithSlashes) {
    const std::set<int> expected{168, 227, 228,  250,  343,  344,  347,  401,  458,  497,  515, 653,
                                 801, 886, 1007, 1412, 1423, 1451, 1494, 1596, 1602, 1706, 1712};
    std::set<int> found;
    for (int row = 0; row < kBankRows; ++row) {
        if (Answer(row).find('/') != std::string_view::npos) found.insert(row);
    }
    EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace zembra
