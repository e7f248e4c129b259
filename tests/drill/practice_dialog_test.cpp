// The drill through its handlers on the in-memory backend: selection, checking, retry, reset,
// filtering (by category and by the missed rows), the congratulations and the counters.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "drill/read_aloud.h"
#include "tests/support/drill_fixture.h"
#include "ui/texts.h"

namespace zembra::testing {
namespace {

constexpr int kWordsEntry = 1;          // "单词" in the combo list
constexpr int kPrepPhrasesEntry = 5;    // "介词短语"
constexpr int kSuperlativesEntry = 12;  // "最高级"
constexpr int kMissedEntry = 13;        // "错题"
constexpr int kReviewEntry = 14;        // "复习"
constexpr int kAllEntry = 0;

using Selection = DrillTest;

TEST_F(Selection, FirstStartAsksARowWithAnEmptyAnswerBox) {
    Start();
    ASSERT_GE(Row(), 0);
    EXPECT_EQ(Text(1003), AnswerOf(Row()));
    EXPECT_FALSE(Visible(1003));
    EXPECT_EQ(Text(1002), PromptOf(Row()));
    EXPECT_EQ(Text(1001), std::string(kWordRows[Row()].category));
    EXPECT_TRUE(Visible(1035));
    EXPECT_EQ(Text(1035), "");
    for (int id = 1036; id <= 1066; ++id) ASSERT_FALSE(Visible(id)) << id;
    for (int id = 1004; id <= 1034; ++id) ASSERT_FALSE(Visible(id)) << id;
    EXPECT_EQ(Text(1073), "");
    EXPECT_FALSE(Visible(1074));
    EXPECT_FALSE(Visible(1075));
    EXPECT_TRUE(Enabled(1068));
    EXPECT_EQ(Text(1079), "1754");
    EXPECT_EQ(Text(1080), "0");
    EXPECT_EQ(m_window.Repaints(), 1);
}

TEST_F(Selection, TheDialogsBankHoldsEveryColumnOfTheBuiltInRows) {
    Start();
    const WordBank& bank = m_dialog->Bank();
    for (std::size_t row = 0; row < kRowCapacity; ++row) {
        const bool filled = row < static_cast<std::size_t>(kBankRows);
        const WordRow none{};
        const WordRow& r = filled ? kWordRows[row] : none;
        ASSERT_EQ(bank.answers[row], r.answer) << row;
        ASSERT_EQ(bank.prompts[row], r.prompt) << row;
        ASSERT_EQ(bank.categories[row], r.category) << row;
        ASSERT_TRUE(std::equal(bank.also[row].begin(), bank.also[row].end(), r.also.begin(), r.also.end())) << row;
    }
    EXPECT_EQ(bank.also[1533], std::vector<std::string>{"at the most"});
}

TEST_F(Selection, AKnownSecondPicksAKnownRow) {
    // Seed 1700000000: the first draw is 28462; 28462 mod 1754 = 398, mod 668 = 406.
    Start();
    EXPECT_EQ(Row(), 398);
    ChooseCategory(kWordsEntry);
    EXPECT_EQ(Row(), 406);
}

TEST_F(Selection, TwoSelectionsInOneSecondPickTheSameRow) {
    Start();
    const int first = Row();
    m_window.Click(1070);
    EXPECT_EQ(Row(), first);
    m_now += 1;
    m_window.Click(1070);
    EXPECT_EQ(Row(), 402);  // the next second's draw, 28466 mod 1754
}

TEST_F(Selection, OnlyUnmasteredRowsOfTheFilterAreAsked) {
    StartWithOnlyUnmastered({5, 700, 1500});
    for (int second = 0; second < 40; ++second) {
        m_now = 1700000000 + second;
        m_window.Click(1070);
        ASSERT_TRUE(Row() == 5 || Row() == 700 || Row() == 1500) << Row();
    }
    ChooseCategory(kPrepPhrasesEntry);
    EXPECT_EQ(Row(), 1500);
}

TEST_F(Selection, DiagnosticLineNamesTheRow) {
    StartWithOnlyUnmastered({0});
    EXPECT_NE(m_output.find(G("0:pen→钢笔; crtRsl=.\n")), std::string::npos) << GbkToUtf8(m_output);
}

using Checking = DrillTest;

TEST_F(Checking, RightAnswerMarksTheRowAndShowsTheTick) {
    StartWithOnlyUnmastered({0, 1});
    const int row = Row();
    Answer(AnswerOf(row));
    EXPECT_EQ(m_dialog->Mark(row), FirstMastery());
    EXPECT_EQ(Text(1080), "1753");
    EXPECT_TRUE(Visible(1074));
    EXPECT_FALSE(Visible(1075));
    EXPECT_EQ(Text(1073), "");
    EXPECT_FALSE(Enabled(1068));
    EXPECT_EQ(Row(), row);  // no new row until asked
    EXPECT_NE(m_output.find("The new Rst is:" + FirstMastery() + "\n"), std::string::npos);
}

// The runs of the result line: unmarked text plain, _underlined_, -struck out-, and each mark
// told by its shape and weight as well as its colour.
std::string DrawnLine(const std::vector<TextRun>& runs) {
    std::string out;
    for (const TextRun& run : runs) {
        const std::string text = GbkToUtf8(run.text);
        const bool marked = run.underline || run.strikeOut;
        EXPECT_EQ(marked, run.bold) << text;
        EXPECT_FALSE(run.underline && run.strikeOut) << text;
        out += run.underline ? "_" + text + "_" : run.strikeOut ? "-" + text + "-" : text;
    }
    return out;
}

TEST_F(Checking, WrongAnswerShowsTheCrossAndTheSlipsMarked) {
    StartWithOnlyUnmastered({0});
    Answer("Pen");
    EXPECT_EQ(GbkToUtf8(Text(1073)), "答错了。你写的是 Pen，正确的是 pen");
    const std::vector<TextRun>& runs = m_window.Control(1073).runs;
    EXPECT_EQ(DrawnLine(runs), "_P_en → _p_en");
    // The answer's own letters stay in the result line's red; the marks are in other colours.
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[4].colour, Rgb(255, 0, 0));
    EXPECT_NE(runs[0].colour, runs[1].colour);
    EXPECT_NE(runs[3].colour, runs[4].colour);
    EXPECT_TRUE(Visible(1075));
    EXPECT_FALSE(Visible(1074));
    EXPECT_FALSE(Enabled(1068));
    EXPECT_EQ(m_dialog->Mark(0), "0");  // missed: unmastered, and one of the 错题
    EXPECT_EQ(Text(1080), "1753");
    EXPECT_EQ(m_output.find("The new Rst is:"), std::string::npos);
    // The next row's result line is plain again.
    m_window.Click(1070);
    EXPECT_EQ(Text(1073), "");
    EXPECT_TRUE(m_window.Control(1073).runs.empty());
}

struct MissCase {
    const char* name;
    friend void PrintTo(const MissCase& c, std::ostream* out) { *out << c.name; }
    int row;
    const char* typed;
    const char* drawn;  // empty: the answer alone, as plain text
};

class MissShown : public DrillTest, public ::testing::WithParamInterface<MissCase> {};

TEST_P(MissShown, MarksTheSlipsOrShowsTheAnswerAlone) {
    const MissCase& c = GetParam();
    StartWithOnlyUnmastered({c.row});
    Answer(G(c.typed));
    if (*c.drawn == '\0') {
        EXPECT_EQ(Text(1073), AnswerOf(c.row) + "  ");
        EXPECT_TRUE(m_window.Control(1073).runs.empty());
    } else {
        EXPECT_EQ(DrawnLine(m_window.Control(1073).runs), c.drawn);
    }
    EXPECT_EQ(m_dialog->Mark(c.row), "0");
}

INSTANTIATE_TEST_SUITE_P(Rows, MissShown,
                         ::testing::Values(MissCase{"swapped_letters", 0, "pne", "p_ne_ → p_en_"},
                                           MissCase{"missing_space", 8, "Chinesebook", "Chinesebook → Chinese_ _book"},
                                           MissCase{"extra_space", 0, "p en", "p- -en → pen"},
                                           MissCase{"wrong_letter", 989, "flaw", "fl-a-w → fl_e_w"},
                                           MissCase{"closest_further_answer", 1445, "a bit off",
                                                    "a bit o-f-f → a bit of"},
                                           MissCase{"far_off", 0, "dog", ""}, MissCase{"nothing_typed", 0, "", ""}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(Checking, EmptyAnswerIsWrong) {
    StartWithOnlyUnmastered({0});
    Answer("");
    EXPECT_EQ(Text(1073), "pen  ");
    EXPECT_TRUE(Visible(1075));
}

struct ExactCase {
    const char* name;
    int row;
    const char* typed;
    bool right;
    // After a miss near a right answer: the one shown, closest to what was typed.
    const char* shown = nullptr;
};

class ExactComparison : public DrillTest, public ::testing::WithParamInterface<ExactCase> {};

// Right marks the row; wrong shows what was typed against the closest right answer.
TEST_P(ExactComparison, JudgesTheTypedText) {
    const ExactCase& c = GetParam();
    StartWithOnlyUnmastered({c.row});
    ASSERT_EQ(Row(), c.row);
    Answer(G(c.typed));
    EXPECT_EQ(m_dialog->Mark(c.row) == FirstMastery(), c.right);
    EXPECT_EQ(Visible(1074), c.right);
    if (c.right) {
        EXPECT_EQ(Text(1073), "");
    } else {
        ASSERT_NE(c.shown, nullptr);
        EXPECT_EQ(GbkToUtf8(Text(1073)), std::string("答错了。你写的是 ") + c.typed + "，正确的是 " + c.shown);
    }
    EXPECT_EQ(Text(1003), AnswerOf(c.row));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExactComparison,
    ::testing::Values(
        ExactCase{"mended_trailing_space", 655, "for", true}, ExactCase{"trailing_space", 655, "for ", true},
        ExactCase{"outer_spaces", 0, "  pen ", true}, ExactCase{"ideographic_spaces", 0, "　pen　", true},
        ExactCase{"full_width_letters", 0, "ｐｅｎ", true},
        ExactCase{"capital_needed", 8, "chinese book", false, "Chinese book"},
        ExactCase{"capital_not_asked", 0, "Pen", false, "pen"}, ExactCase{"capital", 945, "It's", true},
        ExactCase{"curly_apostrophe", 945, "It’s", true}, ExactCase{"ideographic_full_stop", 92, "Mr。", true},
        ExactCase{"full_width_semicolon", 1495, "on the one hand；on the other hand", true},
        ExactCase{"ascii_semicolon", 1495, "on the one hand;on the other hand", true},
        ExactCase{"inner_space_missing", 8, "Chinesebook", false, "Chinese book"},
        ExactCase{"inner_space_doubled", 8, "Chinese  book", false, "Chinese book"},
        ExactCase{"answer_of_a_row_with_further_answers", 1445, "a bit", true},
        ExactCase{"further_answer", 1445, "a bit of", true},
        ExactCase{"further_answer_full_width", 1533, "ａｔ the most ", true},
        ExactCase{"brackets_typed", 1445, "a bit (of)", false, "a bit of"},
        ExactCase{"wrong_form", 989, "flied", false, "flew"},
        ExactCase{"both_alternatives", 168, "dinner/supper", true}, ExactCase{"mended_spelling", 406, "west", true},
        ExactCase{"old_misspelling_now_wrong", 406, "est", false, "west"},
        ExactCase{"spaced_slashes", 886, "in the east / south / west / north", true},
        ExactCase{"uneven_spaces_around_slashes", 886, "in the east / south / west /north", true},
        ExactCase{"joined_meanings_reordered", 1412, "at noon/at night", true},
        ExactCase{"one_of_joined_meanings", 1412, "at night", false, "at night/noon"},
        ExactCase{"frame_dots_where_the_prompt_shows_them", 547, "next to…", true},
        ExactCase{"shared_prompt_either_answer", 929, "when", true}, ExactCase{"one_form_of_two", 168, "supper", true},
        ExactCase{"other_order", 1451, "on/at the weekend", true},
        ExactCase{"possessive_for_ones", 1413, "with her help", true},
        ExactCase{"ones_kept", 1413, "with one's help", true}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(Checking, TypedTextWithoutAGbkFormIsJustWrong) {
    StartWithOnlyUnmastered({0});
    Answer(std::string("pen") + kNoGbkForm);
    EXPECT_EQ(m_dialog->Mark(0), "0");
    EXPECT_TRUE(Visible(1075));
}

TEST_F(Checking, IdenticalRowsAreSeparateUnits) {
    StartWithOnlyUnmastered({1071, 1078});
    const int first = Row();
    Answer("flies");
    EXPECT_EQ(m_dialog->Mark(first), FirstMastery());
    m_window.Click(1070);
    EXPECT_EQ(Row(), first == 1071 ? 1078 : 1071);
    EXPECT_EQ(Text(1002), Utf8ToGbk("fly"));
}

TEST_F(Checking, SubmittingTwiceIsNotPossible) {
    StartWithOnlyUnmastered({0});
    Answer("pen");
    m_window.Click(1068);  // disabled: takes no click
    EXPECT_EQ(Text(1080), "1754");
}

using Retry = DrillTest;

TEST_F(Retry, BeforeSubmittingItEmptiesTheAnswer) {
    StartWithOnlyUnmastered({0});
    m_window.Type(1035, "pe");
    m_window.Click(1069);
    EXPECT_EQ(Text(1035), "");
    EXPECT_TRUE(Enabled(1068));
    EXPECT_TRUE(m_window.Questions().empty());
    Answer("pen");
    EXPECT_EQ(m_dialog->Mark(0), FirstMastery());
}

TEST_F(Retry, AfterSubmittingItIsRefusedWithABox) {
    StartWithOnlyUnmastered({0});
    Answer("dog");
    for (bool yes : {true, false}) {
        m_window.AnswerNextQuestion(yes);
        m_window.Click(1069);
    }
    ASSERT_EQ(m_window.Questions().size(), 2u);
    EXPECT_EQ(m_window.Questions()[0].text, texts::kRetryRefused);
    EXPECT_EQ(m_window.Questions()[0].caption, texts::kRetryRefusedCaption);
    EXPECT_EQ(Text(1035), "dog");
    EXPECT_EQ(Text(1073), "pen  ");
    EXPECT_TRUE(Visible(1075));
    EXPECT_FALSE(Enabled(1068));
}

using Reset = DrillTest;

TEST_F(Reset, ConfirmedItEmptiesEveryMarkAndKeepsTheRow) {
    StartWithOnlyUnmastered({0});
    m_window.AnswerNextQuestion(true);
    m_window.Click(1084);
    ASSERT_EQ(m_window.Questions().size(), 1u);
    EXPECT_EQ(m_window.Questions()[0].text, texts::kResetQuestion);
    EXPECT_EQ(m_window.Questions()[0].caption, texts::kResetQuestionCaption);
    for (int row = 0; row < kBankRows; ++row) ASSERT_EQ(m_dialog->Mark(row), "") << row;
    EXPECT_EQ(Text(1080), "0");
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Text(1079), "1754");
    Answer("pen");  // still submittable
    EXPECT_EQ(Text(1080), "1");
}

TEST_F(Reset, NoChangesNothing) {
    StartWithOnlyUnmastered({0});
    m_window.AnswerNextQuestion(false);
    m_window.Click(1084);
    EXPECT_EQ(m_dialog->Mark(1), ScheduleForUnknownMark(1, Today()));
    EXPECT_EQ(Text(1080), "1753");
}

TEST_F(Reset, InTheFinishedStateTheCongratulationStaysUntilTheNextRow) {
    StartWithOnlyUnmastered({});
    m_window.AnswerNextQuestion(true);
    m_window.Click(1084);
    EXPECT_EQ(Text(1073), texts::kCongratulationsAll);
    EXPECT_EQ(Row(), -1);
    m_window.Click(1070);
    EXPECT_GE(Row(), 0);
    EXPECT_EQ(Text(1073), "");
}

using Filter = DrillTest;

TEST_F(Filter, ACategoryCountsItsRowsAndItsMasteredRows) {
    StartWithOnlyUnmastered({3, 700});
    ChooseCategory(kWordsEntry);
    EXPECT_EQ(Text(1001), G("单词"));
    EXPECT_EQ(m_dialog->Filter(), G("单词"));
    EXPECT_EQ(Text(1079), "668");
    EXPECT_EQ(Text(1080), "667");
    EXPECT_EQ(Row(), 3);
    ChooseCategory(kAllEntry);
    EXPECT_EQ(Text(1079), "1754");
    EXPECT_EQ(Text(1080), "1752");
}

TEST_F(Filter, AMasteredCategoryIsCongratulated) {
    StartWithOnlyUnmastered({700});
    ChooseCategory(kWordsEntry);
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Text(1073), G("恭喜，你已经掌握了所有的单词！"));
    EXPECT_EQ(Text(1001), G("单词"));
    EXPECT_EQ(Text(1079), "668");
    EXPECT_EQ(Text(1080), "668");
}

TEST_F(Filter, SameRowInTwoCategoriesBelongsToItsOwn) {
    StartWithOnlyUnmastered({859, 1459});
    ChooseCategory(kPrepPhrasesEntry);
    EXPECT_EQ(Row(), 1459);
    Answer(G("at home"));
    m_window.Click(1070);
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Text(1073), G("恭喜，你已经掌握了所有的介词短语！"));
    EXPECT_EQ(m_dialog->Mark(859), "");
}

TEST_F(Filter, AfterASubmissionTheNewRowWaitsForNext) {
    StartWithOnlyUnmastered({0, 1, 2});
    Answer("wrong");
    ChooseCategory(kWordsEntry);
    EXPECT_GE(Row(), 0);
    EXPECT_FALSE(Enabled(1068));
    m_window.Click(1070);
    EXPECT_TRUE(Enabled(1068));
}

TEST_F(Filter, NoSelectionKeepsTheFilter) {
    Start();
    m_dialog->OnFilterChange();  // the combo list has no selection yet
    EXPECT_EQ(m_dialog->Filter(), texts::kAllCategories);
}

// 错题: the rows answered wrong and not since answered right, whatever their category.
using Missed = DrillTest;

TEST_F(Missed, TheRowsAnsweredWrongAreDrilledOnTheirOwnUntilAnsweredRight) {
    StartWithOnlyUnmastered({5, 700, 1500, 1700});
    // Three rows missed, each asked through its own category; one of them then answered right.
    for (const auto& [entry, row] :
         {std::pair{kWordsEntry, 5}, {kPrepPhrasesEntry, 1500}, {kSuperlativesEntry, 1700}}) {
        ChooseCategory(entry);
        m_window.Click(1070);  // after a submission the new row waits for 下一题
        ASSERT_EQ(Row(), row);
        Answer("wrong");
        EXPECT_EQ(m_dialog->Mark(row), "0");
    }
    ChooseCategory(kWordsEntry);
    m_window.Click(1070);
    ASSERT_EQ(Row(), 5);
    Answer(AnswerOf(5));
    EXPECT_EQ(m_dialog->Mark(5), FirstMastery());

    ChooseCategory(kMissedEntry);
    EXPECT_EQ(m_dialog->Filter(), G("错题"));
    EXPECT_EQ(Text(1079), "2");
    EXPECT_EQ(Text(1080), "0");
    std::set<int> drawn;
    for (int second = 0; second < 40; ++second, ++m_now) {
        m_window.Click(1070);
        drawn.insert(Row());
        // The caption shows the row's own category, as for any row.
        ASSERT_EQ(Text(1001), std::string(kWordRows[Row()].category)) << Row();
    }
    EXPECT_EQ(drawn, (std::set<int>{1500, 1700}));
    EXPECT_NE(m_output.find("; crtRsl=0.\n"), std::string::npos);

    const int first = Row();
    const int second = first == 1500 ? 1700 : 1500;
    Answer(AnswerOf(first));
    EXPECT_EQ(Text(1080), "1");
    m_window.Click(1070);
    ASSERT_EQ(Row(), second);
    Answer("wrong again");  // still missed: asked again
    EXPECT_EQ(m_dialog->Mark(second), "0");
    EXPECT_EQ(Text(1080), "1");
    m_window.Click(1070);
    ASSERT_EQ(Row(), second);
    Answer(AnswerOf(second));
    EXPECT_EQ(Text(1080), "2");
    m_window.Click(1070);
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Text(1073), G("恭喜，你已经掌握了所有的错题！"));
    EXPECT_EQ(Text(1079), "2");
    EXPECT_EQ(m_dialog->Mark(700), "");  // never answered: not missed, not mastered
}

TEST_F(Missed, TheFileKeepsAMissAsZeroAndAMasteryAsOne) {
    StartWithOnlyUnmastered({5, 700, 1500, 1700});
    for (const int entry : {kWordsEntry, kPrepPhrasesEntry, kSuperlativesEntry}) {
        ChooseCategory(entry);
        m_window.Click(1070);
        Answer("wrong");
    }
    ChooseCategory(kSuperlativesEntry);
    m_window.Click(1070);
    Answer(AnswerOf(1700));
    m_window.CloseBox();
    EXPECT_TRUE(ReadBytes(m_file) ==
                Rescheduled(ProgressFileWithMarks(4, {{5, "0"}, {700, ""}, {1500, "0"}, {1700, FirstMastery()}})));
}

// A file with misses, as this program or a hand wrote it, starts with them under 错题; a reset
// empties them with every other mark.
TEST_F(Missed, AFileWithMissesStartsWithThemAndAResetEmptiesThem) {
    Start(ProgressFileWithMarks(3, {{5, "0"}, {700, ""}, {1500, "0"}}));
    EXPECT_EQ(Text(1080), std::to_string(kBankRows - 3));
    ChooseCategory(kMissedEntry);
    EXPECT_EQ(Text(1079), "2");
    EXPECT_TRUE(Row() == 5 || Row() == 1500) << Row();
    m_window.AnswerNextQuestion(true);
    m_window.Click(1084);
    ChooseCategory(kMissedEntry);
    EXPECT_EQ(Text(1079), "0");
    EXPECT_EQ(Text(1080), "0");
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Text(1073), G("恭喜，你已经掌握了所有的错题！"));
}

TEST_F(Missed, NoRowEverMissedIsCongratulatedAtOnce) {
    Start();
    ChooseCategory(kMissedEntry);
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Text(1073), G("恭喜，你已经掌握了所有的错题！"));
    EXPECT_EQ(Text(1001), G("错题"));
    EXPECT_EQ(Text(1079), "0");
    EXPECT_EQ(Text(1080), "0");
    ChooseCategory(kAllEntry);  // back to the whole bank, where every row is open
    EXPECT_EQ(Text(1079), "1754");
    EXPECT_GE(Row(), 0);
}

// 复习: the mastered rows whose review day has come, on a fixed clock that the tests move on.
class Review : public DrillTest {
protected:
    void NextDay(int days = 1) { m_now += 86400 * days; }
    // Chooses 复习 and answers every row drawn until it is congratulated; returns the rows asked.
    std::vector<int> ReviewAll(bool right = true) {
        ChooseCategory(kReviewEntry);
        m_window.Click(1070);  // after a submission the new row waits for 下一题
        std::vector<int> asked;
        for (; Row() >= 0 && asked.size() < 100; ++m_now, m_window.Click(1070)) {
            asked.push_back(Row());
            Answer(right ? AnswerOf(Row()) : "wrong");
            EXPECT_EQ(Text(1080), std::to_string(right ? asked.size() : 0));
        }
        EXPECT_EQ(Text(1073), G("恭喜，今天要复习的词都复习完了！"));
        return asked;
    }
};

// Mastered today, due tomorrow: asked there (with its own category and mark on the diagnostic
// line), then not again until its next day; a miss sends it to 错题, and right there it starts over.
TEST_F(Review, AMasteredRowComesBackOnItsDaysAndAMissSendsItToTheMissedRows) {
    Start();
    const int row = Row();
    Answer(AnswerOf(row));
    EXPECT_TRUE(ReviewAll().empty());
    EXPECT_EQ(Text(1079), "0");
    const std::string mastered = m_dialog->Mark(row);
    NextDay();
    EXPECT_EQ(ReviewAll(), std::vector<int>{row});
    EXPECT_EQ(Text(1079), "1");
    EXPECT_NE(m_output.find("; crtRsl=" + mastered + ".\n"), std::string::npos);
    EXPECT_EQ(Text(1001), std::string(kWordRows[row].category));
    NextDay();
    EXPECT_TRUE(ReviewAll().empty());
    NextDay();
    EXPECT_EQ(ReviewAll(false), std::vector<int>{row});
    EXPECT_EQ(m_dialog->Mark(row), "0");
    ChooseCategory(kAllEntry);
    EXPECT_EQ(Text(1080), "0");
    ChooseCategory(kMissedEntry);
    m_window.Click(1070);
    ASSERT_EQ(Row(), row);
    Answer(AnswerOf(row));
    EXPECT_EQ(m_dialog->Mark(row), FirstMastery());
}

// A file of bare "1" marks (an earlier version's): due on the next 30 days, a thirtieth of the rows
// each day, and saved with those days.
TEST_F(Review, BareMarksAreSpreadOverTheNextThirtyDays) {
    StartWithOnlyUnmastered({});
    EXPECT_EQ(Text(1073), texts::kCongratulationsAll);  // nothing due today
    for (int day = 1; day <= 30; ++day) {
        NextDay();
        ChooseCategory(kReviewEntry);
        // Rows 0 to 13 of each 30 fall on the first 14 days: 59 rows a day then, 58 after.
        ASSERT_EQ(Text(1079), std::to_string(day <= 14 ? 59 * day : 59 * 14 + 58 * (day - 14))) << day;
    }
    m_window.CloseBox();
    NextDay(-30);
    EXPECT_EQ(ReadBytes(m_file), Rescheduled(ProgressFileAllMasteredBut(4, {})));
}

// Rows due today, before, and (clock set back) years ahead are told at start-up, above the first
// question, and drilled under 复习; the saved marks count mastered by the rule every version reads
// ("not empty, no 0") as this version counts them.
TEST_F(Review, RowsDueAreToldAtStartUpAndTheSavedMarksCountAsBefore) {
    Start(ProgressFileOf(3, {{1, WriteSchedule({2, Today()})},
                             {2, WriteSchedule({2, Today() - 5})},
                             {3, WriteSchedule({5, Today() + 2000})},
                             {4, WriteSchedule({2, Today() + 60})},
                             {5, "2"},
                             {6, "0"}}));
    EXPECT_EQ(Text(1073), G("今天有 3 个词要复习：选“复习”。"));
    EXPECT_EQ(Text(1002), PromptOf(Row()));
    m_window.Click(1070);
    EXPECT_EQ(Text(1073), "");
    std::vector<int> asked = ReviewAll();
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(m_dialog->Mark(5), ScheduleForUnknownMark(5, Today()));
    m_window.CloseBox();
    int mastered = 0;
    const std::string saved = ReadBytes(m_file);
    for (std::size_t at = saved.find("\r\n") + 2, end; at < saved.size(); at = end + 2) {
        end = saved.find("\r\n", at);
        mastered += end > at && saved.substr(at, end - at).find('0') == std::string::npos;
    }
    EXPECT_EQ(mastered, 5);
    Start();
    EXPECT_EQ(Text(1080), "5");
    EXPECT_EQ(Text(1073), "");  // nothing due: nothing said
}

using Finished = DrillTest;

TEST_F(Finished, EverythingMasteredAtStartUp) {
    StartWithOnlyUnmastered({});
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Text(1073), texts::kCongratulationsAll);
    EXPECT_EQ(Text(1001), texts::kAllCategories);
    EXPECT_EQ(Text(1002), texts::kPromptPlaceholder);
    EXPECT_EQ(m_window.Repaints(), 0);
    EXPECT_EQ(Text(1080), "1754");
}

TEST_F(Finished, SubmitDoesNothingNextCongratulatesAgainRetryClears) {
    StartWithOnlyUnmastered({});
    m_window.Click(1068);
    EXPECT_TRUE(Enabled(1068));
    EXPECT_FALSE(Visible(1075));
    m_window.Click(1070);
    EXPECT_EQ(Text(1073), texts::kCongratulationsAll);
    m_window.Click(1069);
    EXPECT_EQ(Text(1073), "");
}

TEST_F(Finished, TheLastRowAnsweredThenNext) {
    StartWithOnlyUnmastered({42});
    Answer(AnswerOf(42));
    EXPECT_TRUE(Visible(1074));
    m_window.Click(1070);
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Text(1073), texts::kCongratulationsAll);
    EXPECT_TRUE(Visible(1074));
    EXPECT_EQ(Text(1002), PromptOf(42));
    EXPECT_TRUE(Visible(1035));
    EXPECT_EQ(Text(1035), "");
    EXPECT_EQ(m_window.Focus(), 1035);
    EXPECT_TRUE(Enabled(1068));
}

using Counting = DrillTest;

TEST_F(Counting, OnlyTheBanksRowsCountAtStartUpAndInTheFilter) {
    // 1800 mark lines: the 46 beyond the bank belong to no row, so they are never counted, asked
    // or written.
    std::string bytes = ProgressFileAllMasteredBut(7, {}, 1800);
    Start(bytes);
    EXPECT_EQ(Text(1080), "1754");
    EXPECT_EQ(Row(), -1);
    ChooseCategory(kAllEntry);
    EXPECT_EQ(Text(1080), "1754");
    m_window.CloseBox();
    EXPECT_EQ(ReadBytes(m_file), Rescheduled(ProgressFileAllMasteredBut(8, {})));
}

// A mark counts as mastered when it is not empty and holds no '0', whatever else it holds: rows 0
// to 7 carry one mark of each kind, every other row "1". Only the rows with the unmastered kinds
// are counted out and asked, in the whole bank and in their category.
TEST_F(Counting, EveryKindOfMarkIsToldMasteredOrNot) {
    const char* const marks[] = {"", "1", "0", "10", "01", " ", "2", "\xB5\xA5"};
    const std::set<int> unmastered = {0, 2, 3, 4};
    std::string bytes = "3\r\n";
    for (int row = 0; row < kBankRows; ++row) bytes += std::string(row < 8 ? marks[row] : "1") + "\r\n";
    Start(bytes);
    EXPECT_EQ(Text(1080), std::to_string(kBankRows - 4));
    ChooseCategory(kWordsEntry);  // the first rows are words
    EXPECT_EQ(m_dialog->MasteredCount(), m_dialog->PoolSize() - 4);
    for (int draw = 0; draw < 40; ++draw, ++m_now) {
        m_window.Click(1070);
        EXPECT_TRUE(unmastered.count(Row())) << "row " << Row() << " is mastered";
    }
    // The missed kinds are those that hold a '0': the empty mark was never answered wrong.
    ChooseCategory(kMissedEntry);
    EXPECT_EQ(m_dialog->PoolSize(), 3);
    EXPECT_EQ(m_dialog->MasteredCount(), 0);
    for (int draw = 0; draw < 40; ++draw, ++m_now) {
        m_window.Click(1070);
        EXPECT_TRUE(Row() >= 2 && Row() <= 4) << "row " << Row() << " is not missed";
    }
}

// 听写: each row is said as it is asked and its prompt kept back until the submission.
class Dictation : public DrillTest {
protected:
    static constexpr int kBox = 1104;
    static constexpr int kListen = 1085;
    std::string Reading(int row) const { return ReadAloud(AnswerOf(row)); }
    std::string ListenLine() const { return G("请听读音，写出英语"); }
};

TEST_F(Dictation, OffAtStartAndOnlyWithAVoice) {
    Start();
    EXPECT_FALSE(m_window.Control(kBox).checked);
    EXPECT_TRUE(Enabled(kBox));
    EXPECT_EQ(Text(1002), PromptOf(Row()));
    for (const auto atStart : {RecordingSpeech::AtStart::Missing, RecordingSpeech::AtStart::Later}) {
        m_window = MemoryDialog{MainDialogTemplate(), MainDialogComboLists()};
        m_speech = RecordingSpeech(atStart);
        Start();
        EXPECT_FALSE(Enabled(kBox));
        EXPECT_EQ(m_window.Control(kBox).toolTip,
                  atStart == RecordingSpeech::AtStart::Missing ? G("本机没有英语语音") : "");
    }
    m_speech.BecomeReady(true);
    EXPECT_TRUE(Enabled(kBox));
}

TEST_F(Dictation, EachRowIsSaidAsItIsAskedAndItsPromptWaitsForTheSubmission) {
    StartWithOnlyUnmastered({0, 1, 2, 3});
    const int first = Row();
    m_window.Click(kBox);
    EXPECT_TRUE(m_dialog->Dictating());
    EXPECT_EQ(Text(1002), ListenLine());
    EXPECT_NE(Text(1001), ListenLine());  // the category caption stays
    EXPECT_EQ(m_speech.Spoken(), std::vector<std::string>{Reading(first)});
    EXPECT_EQ(m_window.Focus(), 1035) << "the box keeps no focus from the answer";
    EXPECT_TRUE(Enabled(kListen));
    m_window.Click(kListen);
    EXPECT_EQ(m_speech.Spoken().size(), 2u);

    Answer("wrong");
    EXPECT_EQ(Text(1002), PromptOf(first));
    EXPECT_EQ(m_dialog->Mark(first), "0");
    EXPECT_EQ(m_speech.Spoken().back(), Reading(first));
    EXPECT_TRUE(Enabled(kListen));

    // The next row: the voice is stopped, then the new row said at once, its prompt kept back.
    m_speech.Clear();
    m_now += 1;
    m_window.PressKey(Key::Enter);
    const int second = Row();
    EXPECT_EQ(Text(1002), ListenLine());
    ASSERT_FALSE(m_speech.Calls().empty());
    EXPECT_EQ(m_speech.Calls().front(), "stop");
    EXPECT_EQ(m_speech.Calls().back(), "speak:" + Reading(second));
    EXPECT_TRUE(Enabled(kListen));

    // A right answer in 听写 counts as any other.
    Answer(AnswerOf(second));
    EXPECT_EQ(m_dialog->Mark(second), FirstMastery());
    EXPECT_EQ(Text(1080), std::to_string(kBankRows - 3));
    EXPECT_EQ(Text(1002), PromptOf(second));
}

TEST_F(Dictation, TurningItOffShowsThePromptAtOnceAndChangesNoCount) {
    StartWithOnlyUnmastered({0, 1, 2});
    const int row = Row();
    const std::string mastered = Text(1080);
    const std::string total = Text(1079);
    m_window.Click(kBox);
    m_window.Click(kBox);
    EXPECT_FALSE(m_dialog->Dictating());
    EXPECT_EQ(Text(1002), PromptOf(row));
    EXPECT_FALSE(Enabled(kListen)) << "outside 听写 the answer is not said before the submission";
    EXPECT_EQ(Row(), row);
    EXPECT_EQ(Text(1080), mastered);
    EXPECT_EQ(Text(1079), total);
    EXPECT_EQ(m_dialog->Mark(row), "");
    // Turned on after a submission: nothing is hidden or said until the next row.
    Answer("wrong");
    m_speech.Clear();
    m_window.Click(kBox);
    EXPECT_EQ(Text(1002), PromptOf(row));
    EXPECT_TRUE(m_speech.Spoken().empty());
    EXPECT_EQ(m_window.Focus(), 1070);
}

TEST_F(Dictation, AFilterChangeSaysTheNewRowAndALostVoiceEndsIt) {
    StartWithOnlyUnmastered({0, 1, 2, 700, 701});
    m_window.Click(kBox);
    m_speech.Clear();
    ChooseCategory(2);  // 常用短语
    EXPECT_EQ(m_speech.Calls().front(), "stop");
    EXPECT_EQ(m_speech.Calls().back(), "speak:" + Reading(Row()));
    EXPECT_EQ(Text(1002), ListenLine());
    // The voice fails at 听一听: 听写 ends, the prompt is shown, the box disabled with its tip.
    m_speech.FailToSpeak();
    m_window.Click(kListen);
    EXPECT_FALSE(m_dialog->Dictating());
    EXPECT_FALSE(m_window.Control(kBox).checked);
    EXPECT_FALSE(Enabled(kBox));
    EXPECT_EQ(m_window.Control(kBox).toolTip, G("本机没有英语语音"));
    EXPECT_EQ(Text(1002), PromptOf(Row()));
    EXPECT_TRUE(Enabled(1068));
}

}  // namespace
}  // namespace zembra::testing
