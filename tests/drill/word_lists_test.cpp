// The pupil's word lists: the entry's name, the marks a list imported again keeps, the message
// after an import, and a list imported, drilled, saved, found again and removed through the dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "drill/import_report.h"
#include "drill/word_lists.h"
#include "tests/support/drill_fixture.h"
#include "ui/texts.h"

namespace zembra::testing {
namespace {

TEST(WordListName, IsTheFileNameMadeDistinctFromTheBuiltInEntries) {
    const std::string all = G("全选"), words = G("单词");
    const std::string_view taken[] = {all, words};
    EXPECT_EQ(ListNameFor(std::filesystem::path(u"/home/pupil/三年级 Unit 1.txt"), taken), G("三年级 Unit 1"));
    EXPECT_EQ(ListNameFor(std::filesystem::path(u"单词.csv"), taken), G("单词 (2)"));
    EXPECT_EQ(ListNameFor(std::filesystem::path(u"全选"), taken), G("全选 (2)"));
    // What GBK cannot show is replaced (each half of a surrogate pair); a name of nothing has one.
    EXPECT_EQ(ListNameFor(std::filesystem::path(u"Unit \U0001F600.txt"), taken), "Unit __");
    EXPECT_EQ(ListNameFor(std::filesystem::path(u"/lists/.txt"), taken), ".txt");
    EXPECT_EQ(ListNameFor(std::filesystem::path(u"/lists/"), taken), G("词表"));
    // A very long name is cut at a character's end.
    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "字";
    EXPECT_EQ(ListNameFor(std::filesystem::path(std::u16string(100, u'字') + u".txt"), taken), G(thirty));
}

TEST(WordListMarks, ImportedAgainARowKeepsItsMarkOnlyWhenAnswerAndPromptAreUnchanged) {
    RowBank old;
    old.size = 3;
    const std::pair<const char*, const char*> rows[] = {{"pen", "A"}, {"pencil", "B"}, {"ruler", "C"}};
    for (int row = 0; row < 3; ++row) {
        old.rows.answers[static_cast<std::size_t>(row)] = rows[row].first;
        old.rows.prompts[static_cast<std::size_t>(row)] = rows[row].second;
    }
    old.Mark(0) = "a31467";
    old.Mark(1) = "0";
    old.Mark(2) = "b31468";
    const WordListRow again[] = {{"ruler", "C"}, {"pencil", "B2"}, {"book", "D"}, {"pen", "A"}};
    EXPECT_EQ(CarryMarks(old, again), (std::vector<std::string>{"b31468", "", "", "a31467"}));
}

struct ReportCase {
    const char* name;
    ImportOutcome::Fault fault;
    ListRefusal refusal;
    int rows;
    std::vector<int> problemLines;
    const char* utf8;
};

class ImportMessage : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ImportMessage, SaysWhatWasTakenAndWhatWasLeftOut) {
    const ReportCase& c = GetParam();
    ImportOutcome outcome;
    outcome.fault = c.fault;
    outcome.reading.refusal = c.refusal;
    outcome.reading.rows.resize(static_cast<std::size_t>(c.rows));
    const ListLineFault faults[] = {ListLineFault::NoEnglish, ListLineFault::NoChinese, ListLineFault::NoGbkForm,
                                    ListLineFault::TooLong, ListLineFault::PastRowLimit};
    for (std::size_t i = 0; i < c.problemLines.size(); ++i) {
        outcome.reading.problems.push_back({c.problemLines[i], faults[i % std::size(faults)]});
    }
    outcome.list = c.fault == ImportOutcome::Fault::None && c.refusal == ListRefusal::None ? 0 : -1;
    EXPECT_EQ(GbkToUtf8(ImportReport(outcome)), c.utf8);
}

using F = ImportOutcome::Fault;
using R = ListRefusal;
INSTANTIATE_TEST_SUITE_P(
    Cases, ImportMessage,
    ::testing::Values(
        ReportCase{"AllTaken", F::None, R::None, 8, {}, "导入了 8 个词。"},
        ReportCase{"SomeLeftOut",
                   F::None,
                   R::None,
                   8,
                   {10, 12},
                   "导入了 8 个词。\n有 2 行没有导入：\n第 10 行：没有英语\n第 12 行：没有中文"},
        ReportCase{
            "ManyLeftOut",
            F::None,
            R::None,
            1800,
            {3, 4, 5, 6, 1900, 1901, 1902},
            "导入了 1800 个词。\n有 7 行没有导入：\n第 3 行：没有英语\n第 4 行：没有中文\n第 5 行：有显示不了的字\n"
            "第 6 行：太长\n第 1900 行：超过了 1800 个词\n……还有 2 行。"},
        ReportCase{"TooLarge", F::None, R::TooLarge, 0, {}, "这个文件没有导入：它超过了 1 MB。"},
        ReportCase{"Binary", F::None, R::NotText, 0, {}, "这个文件没有导入：它不是文本文件。"},
        ReportCase{"NoRow", F::None, R::NoUsableLine, 0, {}, "这个文件没有导入：里面没有一行是“英语 中文”这样的词。"},
        ReportCase{"Unreadable", F::Unreadable, R::None, 0, {}, "这个文件没有导入：它读不出来。"},
        ReportCase{"NotStored",
                   F::NotStored,
                   R::None,
                   3,
                   {},
                   "这个文件没有导入：词表存不进数据文件夹（磁盘满了，或没有权限）。"}),
    [](const auto& test) { return std::string(test.param.name); });

class WordListDrill : public DrillTest {
protected:
    static constexpr int kFirstList = 15;
    const std::string kStationery = "pen 钢笔\r\npencil - 铅笔\r\nruler,尺子\r\n";

    std::vector<std::string> Entries() const { return m_window.ComboItems(ids::kCategoryCombo); }
    static std::vector<std::string> WithBuiltIn(std::initializer_list<std::string> lists) {
        std::vector<std::string> entries(CategoryComboEntries().begin(), CategoryComboEntries().end());
        entries.insert(entries.end(), lists);
        return entries;
    }
    std::string Selected() const { return m_window.GetComboSelectionText(ids::kCategoryCombo).value_or("-"); }
    // Answers the asked row of the list right, from its prompt.
    void AnswerRight() {
        const RowBank& rows = m_dialog->Rows();
        Answer(rows.Answer(Row()));
    }
    std::string LastMessage() const {
        return m_window.Messages().empty() ? std::string() : GbkToUtf8(m_window.Messages().back().text);
    }
};

TEST_F(WordListDrill, AnImportedListIsChosenDrilledSavedAndFoundAgain) {
    Start();
    EXPECT_TRUE(Enabled(ids::kImportList));
    EXPECT_FALSE(Enabled(ids::kRemoveList));
    const std::size_t outputBefore = m_output.size();
    Import("Stationery.txt", kStationery);
    // A new list has no marks file yet, and that is no fault to report.
    EXPECT_EQ(m_output.find(texts::kOpenFailed, outputBefore), std::string::npos);
    ASSERT_EQ(m_window.FileDialogs().size(), 1u);
    EXPECT_EQ(GbkToUtf8(m_window.FileDialogs()[0].text), "词表文件 *.txt *.csv *.tsv");
    EXPECT_EQ(LastMessage(), "导入了 3 个词。");
    ASSERT_EQ(Entries().size(), 16u);
    EXPECT_EQ(Entries().back(), "Stationery");
    EXPECT_EQ(Selected(), "Stationery");
    EXPECT_EQ(Text(ids::kCategoryCaption), "Stationery");
    EXPECT_EQ(Text(ids::kTotalCount), "3");
    EXPECT_EQ(Text(ids::kMasteredCount), "0");
    EXPECT_TRUE(Enabled(ids::kRemoveList));
    EXPECT_EQ(m_window.Focus(), ids::kAnswerBox);
    const std::vector<std::string> prompts{G("钢笔"), G("铅笔"), G("尺子")};
    EXPECT_NE(std::find(prompts.begin(), prompts.end(), Text(ids::kPromptLine)), prompts.end());

    // Answered right with the forgiving rules of every row; a miss shows the list's answer.
    const std::string answer = m_dialog->Rows().Answer(Row());
    Answer("  " + answer + " ");
    EXPECT_TRUE(Visible(ids::kRightMark));
    EXPECT_EQ(Text(ids::kMasteredCount), "1");
    m_window.PressKey(Key::Enter);
    Answer("zzzz");
    EXPECT_TRUE(Visible(ids::kWrongMark));
    EXPECT_EQ(Text(ids::kResultLine), m_dialog->Rows().Answer(Row()) + "  ");
    m_window.CloseBox();

    // The copy in UTF-8 and the marks beside it, the folder the user's own; the built-in file as ever.
    EXPECT_EQ(ReadBytes(m_lists / "Stationery.txt"), "pen\t钢笔\npencil\t铅笔\nruler\t尺子\n");
    const std::string marks = ReadBytes(m_lists / "Stationery.zb");
    EXPECT_EQ(std::count(marks.begin(), marks.end(), '\n'), 4);
    EXPECT_NE(marks.find(FirstMastery() + "\r\n"), std::string::npos);
    EXPECT_NE(marks.find("\r\n0\r\n"), std::string::npos);
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(m_lists).permissions(), std::filesystem::perms::owner_all);
#endif
    EXPECT_EQ(ReadBytes(m_file).substr(0, 3), "2\r\n");

    // The next run lists it after the built-in entries, and its marks are found again.
    m_window = MemoryDialog(MainDialogTemplate(), MainDialogComboLists());
    Start();
    ASSERT_EQ(Entries().size(), 16u);
    EXPECT_EQ(Entries()[kFirstList], "Stationery");
    ChooseCategory(kFirstList);
    EXPECT_EQ(Text(ids::kTotalCount), "3");
    EXPECT_EQ(Text(ids::kMasteredCount), "1");
    for (int i = 0; i < 2; ++i) {
        AnswerRight();
        m_window.PressKey(Key::Enter);
    }
    EXPECT_EQ(Text(ids::kResultLine), G("恭喜，你已经掌握了Stationery！"));
    // The built-in entries drill the built-in bank as before.
    ChooseCategory(0);
    EXPECT_EQ(Text(ids::kTotalCount), std::to_string(kBankRows));
    EXPECT_FALSE(Enabled(ids::kRemoveList));
}

TEST_F(WordListDrill, ImportingTheSameFileAgainReplacesTheListAndKeepsTheMarksOfUnchangedRows) {
    Start();
    Import("Unit 1.txt", kStationery);
    while (m_dialog->Rows().Answer(Row()) != "ruler") {
        ChooseCategory(kFirstList);
        ++m_now;
    }
    AnswerRight();
    // Named as the list but for the case of its letters, which names one file on Windows.
    Import("unit 1.txt", "ruler 尺子\r\npen 钢笔\r\neraser 橡皮\r\n");
    EXPECT_EQ(LastMessage(), "导入了 3 个词。");
    EXPECT_EQ(Entries(), WithBuiltIn({"Unit 1"}));
    EXPECT_EQ(Text(ids::kTotalCount), "3");
    EXPECT_EQ(Text(ids::kMasteredCount), "1");
    m_window.CloseBox();
    EXPECT_EQ(ReadBytes(m_lists / "Unit 1.zb"), "2\r\n" + FirstMastery() + "\r\n\r\n\r\n");
}

TEST_F(WordListDrill, AFileThatIsNoListChangesNothing) {
    Start();
    const std::string asked = Text(ids::kPromptLine);
    Import("photo.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    EXPECT_EQ(LastMessage(), "这个文件没有导入：它不是文本文件。");
    Import("empty.txt", "# nothing yet\r\n\r\n");
    EXPECT_EQ(LastMessage(), "这个文件没有导入：里面没有一行是“英语 中文”这样的词。");
    // Cancelled: no message.
    m_window.ChooseNextFile(std::nullopt);
    m_window.Click(ids::kImportList);
    EXPECT_EQ(m_window.Messages().size(), 2u);
    EXPECT_EQ(Entries().size(), 15u);
    EXPECT_EQ(Text(ids::kPromptLine), asked);
    // The keys go back to the drill, not to the command.
    EXPECT_EQ(m_window.Focus(), ids::kAnswerBox);
    EXPECT_FALSE(std::filesystem::exists(m_lists / "photo.txt"));
}

TEST_F(WordListDrill, ARemovedListTakesItsMarksWithIt) {
    Start();
    Import("Stationery.txt", kStationery);
    AnswerRight();
    m_window.AnswerNextQuestion(false);
    m_window.Click(ids::kRemoveList);
    EXPECT_EQ(GbkToUtf8(m_window.Questions().back().text), "要删除词表“Stationery”吗？它的练习记录也会一起删除。");
    EXPECT_EQ(Entries().size(), 16u);
    m_window.AnswerNextQuestion(true);
    m_window.Click(ids::kRemoveList);
    EXPECT_EQ(Entries().size(), 15u);
    EXPECT_EQ(Selected(), G("全选"));
    EXPECT_EQ(Text(ids::kTotalCount), std::to_string(kBankRows));
    EXPECT_FALSE(Enabled(ids::kRemoveList));
    EXPECT_FALSE(std::filesystem::exists(m_lists / "Stationery.txt"));
    EXPECT_FALSE(std::filesystem::exists(m_lists / "Stationery.zb"));
    m_window.CloseBox();
    EXPECT_FALSE(std::filesystem::exists(m_lists / "Stationery.zb"));
}

TEST_F(WordListDrill, ResetInAListStartsTheListAgainAndLeavesTheBuiltInBank) {
    StartWithOnlyUnmastered({5});
    Import("Stationery.txt", kStationery);
    AnswerRight();
    m_window.AnswerNextQuestion(true);
    m_window.Click(ids::kResetAll);
    EXPECT_EQ(Text(ids::kMasteredCount), "0");
    m_window.CloseBox();
    EXPECT_EQ(ReadBytes(m_lists / "Stationery.zb"), "2\r\n\r\n\r\n\r\n");
    EXPECT_EQ(ReadBytes(m_file), Rescheduled(ProgressFileAllMasteredBut(4, {5})));
}

}  // namespace
}  // namespace zembra::testing
