// The window side of the dialog on the in-memory backend: start-up order, fonts, poster, text
// colours, Enter routing, the ways the dialog ends and what each leaves in the progress file.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/file_faults.h"
#include "tests/support/drill_fixture.h"
#include "ui/main_dialog_template.h"
#include "ui/poster.h"
#include "ui/text_colour.h"
#include "ui/texts.h"

namespace zembra::testing {
namespace {

using StartUp = DrillTest;

TEST_F(StartUp, FontsAreCreatedOnceAndSetInOrder) {
    Start();
    ASSERT_EQ(m_window.Fonts().size(), 2u);
    EXPECT_EQ(m_window.Fonts()[0].tenthsOfPoint, 180);
    EXPECT_EQ(m_window.Fonts()[1].tenthsOfPoint, 120);
    EXPECT_EQ(m_window.Fonts()[0].face, texts::kSongFace);
    EXPECT_EQ(m_window.Fonts()[1].face, texts::kSongFace);

    std::vector<int> expected{1001, 1002};
    for (int id = 1003; id <= 1066; ++id) expected.push_back(id);
    for (int id : {1073, 1069, 1068, 1070, 1085, 1104, 1078, 1079, 1080, 1081, 1082, 1103}) expected.push_back(id);
    EXPECT_EQ(m_window.FontOrder(), expected);
    EXPECT_TRUE(m_window.IconsSet());
}

TEST_F(StartUp, FontsMatchTheTemplateFontColumn) {
    Start();
    for (const ControlTemplate& c : MainDialogTemplate().controls) {
        if (c.id < 0) continue;
        const FontRole font = FontRoleOf(c.id);
        const FontHandle want = font == FontRole::Song18 ? 1 : font == FontRole::Song12 ? 2 : 0;
        EXPECT_EQ(m_window.Control(c.id).font, want) << c.id;
    }
}

TEST_F(StartUp, FocusIsOnTheNextButton) {
    Start();
    EXPECT_EQ(m_window.Focus(), 1070);
}

TEST_F(StartUp, NoFileGivesCounterOneAndCreatesAnEmptyFile) {
    Start();
    EXPECT_EQ(m_dialog->RunCounter(), 1);
    EXPECT_EQ(m_output.rfind(texts::kOpenFailed, 0), 0u) << "the diagnostic comes first";
    EXPECT_EQ(ReadBytes(m_file), "");
    EXPECT_TRUE(Visible(kPosterOrder[0].control));
}

class PosterAtStartUp : public DrillTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(PosterAtStartUp, ExactlyOnePosterIsShown) {
    Start(std::to_string(GetParam()) + "\r\n");
    int shown = 0;
    for (const Poster& p : kPosterOrder) shown += Visible(p.control) ? 1 : 0;
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(Visible(ChoosePoster(GetParam()).control));
}

INSTANTIATE_TEST_SUITE_P(Counters, PosterAtStartUp, ::testing::Values(1, 9, 10, 15, 16, 17, 32, 0, -5));

TEST_F(StartUp, OnlyTheResultLineAndTheCountersAreRed) {
    Start();
    for (const ControlTemplate& c : MainDialogTemplate().controls) {
        const std::optional<Colour> colour = m_dialog->OnCtlColor(c.id);
        if (c.id == 1073 || c.id == 1079 || c.id == 1080) {
            EXPECT_EQ(colour, kRed) << c.id;
        } else {
            EXPECT_FALSE(colour.has_value()) << c.id;
        }
    }
    EXPECT_FALSE(m_dialog->OnCtlColor(102).has_value());  // the dialog itself
}

using EnterKey = DrillTest;

TEST_F(EnterKey, RightAfterStartUpItPressesNextAndFocusesTheAnswerBox) {
    Start();
    m_now += 5;
    m_window.PressKey(Key::Enter);
    EXPECT_EQ(m_window.Focus(), 1035);
    EXPECT_EQ(m_dialog->MasteredCount(), 0);
    EXPECT_TRUE(Enabled(1068));
    EXPECT_EQ(m_window.Repaints(), 2);
}

TEST_F(EnterKey, AlternatelySubmitsAndAsksTheNextRow) {
    StartWithOnlyUnmastered({0, 1, 2, 3});
    m_window.Type(1035, AnswerOf(Row()));
    const int asked = Row();
    m_window.PressKey(Key::Enter);  // submits
    EXPECT_EQ(m_dialog->Mark(asked), FirstMastery());
    EXPECT_FALSE(Enabled(1068));
    EXPECT_EQ(Row(), asked) << "the same press must not also ask the next row";

    m_now += 1;
    m_window.PressKey(Key::Enter);  // asks the next row, does not submit
    EXPECT_TRUE(Enabled(1068));
    EXPECT_NE(Row(), asked);
    EXPECT_EQ(Text(1073), "");
    EXPECT_EQ(m_dialog->MasteredCount(), 1751);

    m_window.PressKey(Key::Enter);  // an empty box submitted: wrong
    EXPECT_TRUE(Visible(1075));
    EXPECT_FALSE(Enabled(1068));
}

TEST_F(EnterKey, WhileSubmittedItAsksTheNextRowWhateverHasTheFocus) {
    StartWithOnlyUnmastered({0, 1});
    m_window.Click(1068);
    m_window.SetItemFocus(1084);
    m_window.PressKey(Key::Enter);
    EXPECT_TRUE(Enabled(1068));
    EXPECT_TRUE(m_window.Questions().empty()) << "Enter must not have pressed the focused reset button";
}

TEST_F(EnterKey, WithNoRowAskedItDoesNothingOrCongratulatesAgain) {
    StartWithOnlyUnmastered({});
    m_window.SetItemFocus(1035);
    m_window.PressKey(Key::Enter);  // presses 1068: nothing happens
    EXPECT_TRUE(Enabled(1068));
    EXPECT_EQ(Text(1073), texts::kCongratulationsAll);
}

TEST_F(EnterKey, OnlyKeyDownMessagesAreRouted) {
    StartWithOnlyUnmastered({0, 1});
    m_window.Click(1068);
    EXPECT_FALSE(m_dialog->PreTranslateMessage(KeyMessage{false, Key::Enter}));
    EXPECT_FALSE(m_dialog->PreTranslateMessage(KeyMessage{true, Key::Tab}));
    EXPECT_FALSE(Enabled(1068));
    EXPECT_TRUE(m_dialog->PreTranslateMessage(KeyMessage{true, Key::Enter}));
    EXPECT_TRUE(Enabled(1068));
}

TEST_F(EnterKey, TabMovesBetweenNextAndSubmitOnly) {
    StartWithOnlyUnmastered({0, 1});
    EXPECT_EQ(m_window.Focus(), 1070);
    m_window.PressKey(Key::Tab);
    EXPECT_EQ(m_window.Focus(), 1068);
    m_window.PressKey(Key::Tab);
    EXPECT_EQ(m_window.Focus(), 1070);
    m_window.Type(1035, "x");
    m_window.PressKey(Key::Tab);
    EXPECT_EQ(m_window.Focus(), 1068);
    m_window.Click(1068);  // disabled now: Tab stays on 1070
    m_window.PressKey(Key::Tab);
    EXPECT_EQ(m_window.Focus(), 1070);
    m_window.PressKey(Key::Tab);
    EXPECT_EQ(m_window.Focus(), 1070);
}

using Ending = DrillTest;

TEST_F(Ending, TheCloseBoxSavesAFreshRunAs3511Bytes) {
    Start();
    m_window.CloseBox();
    EXPECT_EQ(m_window.EndCode(), kIdCancel);
    const std::string saved = ReadBytes(m_file);
    EXPECT_EQ(saved.size(), 3511u);
    std::string expected = "2\r\n";
    for (int row = 0; row < kBankRows; ++row) expected += "\r\n";
    EXPECT_EQ(saved, expected);
}

TEST_F(Ending, SavedProgressComesBackAtTheNextStart) {
    Start("5\r\n1\r\n\r\n1\r\n");
    EXPECT_EQ(m_dialog->RunCounter(), 5);
    EXPECT_EQ(Text(1080), "2");
    EXPECT_EQ(m_dialog->Mark(0), ScheduleForUnknownMark(0, Today()));
    EXPECT_EQ(m_dialog->Mark(2), ScheduleForUnknownMark(2, Today()));
    m_window.CloseBox();
    EXPECT_EQ(ReadBytes(m_file), Rescheduled(ProgressFileOf(6, {{0, "1"}, {2, "1"}})));
}

// Shutdown, sign-out or an update's restart: what the close box saves, with this run's marks and
// the counter one higher, once, whichever of the two comes first and however often.
TEST_F(Ending, TheSessionsEndSavesAsTheCloseBoxDoesAndOnlyOnce) {
    const std::vector<std::function<void(PracticeDialog&, MemoryDialog&)>> orders = {
        [](PracticeDialog& d, MemoryDialog&) { d.OnEndSession(); },
        [](PracticeDialog& d, MemoryDialog& w) { d.OnEndSession(), d.OnEndSession(), w.CloseBox(); },
        [](PracticeDialog& d, MemoryDialog& w) { w.CloseBox(), d.OnEndSession(); },
    };
    for (std::size_t order = 0; order < orders.size(); ++order) {
        SCOPED_TRACE(order);
        m_window = MemoryDialog{MainDialogTemplate(), MainDialogComboLists()};
        Start("5\r\n1\r\n\r\n1\r\n");
        const int row = Row();
        Answer(AnswerOf(row));
        orders[order](*m_dialog, m_window);
        EXPECT_EQ(ReadBytes(m_file), ProgressFileOf(6, {{0, ScheduleForUnknownMark(0, Today())},
                                                        {2, ScheduleForUnknownMark(2, Today())},
                                                        {row, FirstMastery()}}));
    }
}

TEST_F(Ending, EscapeLeavesTheFileAsItWas) {
    const std::string before = "12abc\n1\n10\n \nx\xB0\xA1\r";
    Start(before);
    EXPECT_EQ(m_dialog->RunCounter(), 12);
    m_window.Type(1035, "anything");
    m_window.PressKey(Key::Escape);
    EXPECT_EQ(m_window.EndCode(), kIdCancel);
    EXPECT_EQ(ReadBytes(m_file), before);
}

TEST_F(Ending, TheCounterWrapsInsteadOfOverflowing) {
    Start("2147483647\r\n");
    EXPECT_EQ(m_dialog->RunCounter(), INT32_MAX);
    m_window.CloseBox();
    EXPECT_EQ(ReadBytes(m_file).substr(0, 13), "-2147483648\r\n");
    EXPECT_EQ(ChoosePoster(INT32_MIN).control, 1086);
}

// A failed save at the close box is said in the window with its reason: 是 tries again, 否 ends
// the dialog without saving. Escape asks nothing.
TEST_F(Ending, AFailedSaveIsSaidAndEndsTheDialogWhenGivenUp) {
    m_file = m_dir / "missing-folder" / "ZbXxYy.zb";
    Start();
    m_window.AnswerNextQuestion(true);
    m_window.AnswerNextQuestion(false);
    m_window.CloseBox();
    EXPECT_EQ(m_window.EndCode(), kIdCancel);
    EXPECT_NE(m_output.find(texts::kSaveFailed), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_file));
    ASSERT_EQ(m_window.Questions().size(), 2u);
    for (const AskedQuestion& question : m_window.Questions()) {
        EXPECT_EQ(question.caption, G("保存失败"));
        EXPECT_EQ(question.text, G("进度没有保存：写不进进度文件（磁盘满了、没有权限，或文件是只读的）。\n\n点“是”重试"
                                   "，点“否”不保存退出。"));
    }
}

TEST_F(Ending, ASaveTriedAgainSavesTheRunOnce) {
    Start("5\r\n1\r\n");
    m_window.AnswerNextQuestion(true);
    {
        InjectedFileFaults faults(FailNth(FileOperation::Rename, 1));
        m_window.CloseBox();
    }
    EXPECT_EQ(m_window.Questions().size(), 1u);
    EXPECT_EQ(ReadBytes(m_file).substr(0, 3), "6\r\n");
    EXPECT_EQ(ReadBytes(m_file), Rescheduled(ProgressFileOf(6, {{0, "1"}})));
}

TEST_F(Ending, EscapeAsksNothingWhereNothingCouldBeSaved) {
    m_file = m_dir / "missing-folder" / "ZbXxYy.zb";
    Start();
    m_window.PressKey(Key::Escape);
    EXPECT_EQ(m_window.EndCode(), kIdCancel);
    EXPECT_TRUE(m_window.Questions().empty());
}

}  // namespace
}  // namespace zembra::testing
