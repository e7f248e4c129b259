// The answer spoken: once after each submission, again with 听一听, silenced as the dialog moves
// on, and nothing of it where no English voice can speak.
#include <gtest/gtest.h>

#include "drill/read_aloud.h"
#include "tests/support/drill_fixture.h"
#include "ui/texts.h"

namespace zembra::testing {
namespace {

constexpr int kListen = 1085;

class Speaking : public DrillTest {
protected:
    // A new window and a silent voice, for the next case of a table.
    void Restart() {
        m_speech.Clear();
        m_window = MemoryDialog{MainDialogTemplate(), MainDialogComboLists()};
    }
    std::vector<std::string> ReadingOf(int row) const { return {ReadAloud(AnswerOf(row))}; }
};

TEST_F(Speaking, NothingIsSaidBeforeASubmissionAndTheButtonWaitsForOne) {
    Start();
    EXPECT_EQ(m_speech.Starts(), 1);
    EXPECT_TRUE(m_speech.Spoken().empty());
    EXPECT_FALSE(Enabled(kListen));
    EXPECT_TRUE(Visible(kListen));
    m_window.Click(kListen);  // a disabled button's click never reaches the dialog, but a stray one says nothing
    EXPECT_TRUE(m_speech.Spoken().empty());
}

TEST_F(Speaking, RightOrWrongTheBankAnswerIsSaidOnce) {
    for (const bool right : {true, false}) {
        Restart();
        StartWithOnlyUnmastered({1, 2});
        const int row = Row();
        Answer(right ? AnswerOf(row) : "xyz");
        EXPECT_EQ(m_speech.Spoken(), ReadingOf(row)) << right;
        EXPECT_TRUE(Enabled(kListen));
        EXPECT_EQ(m_dialog->Mark(row), right ? FirstMastery() : "0");
        EXPECT_TRUE(m_dialog->AnswerShown());
    }
}

TEST_F(Speaking, ListenSaysItAgainAndEnterMovesOnInSilence) {
    StartWithOnlyUnmastered({0, 1, 2});
    Answer("wrong");
    m_window.Click(kListen);
    const int row = Row();
    EXPECT_EQ(m_speech.Spoken(), (std::vector<std::string>{ReadingOf(row)[0], ReadingOf(row)[0]}));
    EXPECT_EQ(m_window.Focus(), kListen);
    // Enter keeps its meaning with the focus on 听一听: the next row, not the answer again.
    m_speech.Clear();
    m_now += 1;
    m_window.PressKey(Key::Enter);
    EXPECT_TRUE(m_speech.Spoken().empty());
    EXPECT_TRUE(m_speech.Silent());
    EXPECT_FALSE(Enabled(kListen));
    EXPECT_TRUE(Enabled(1068));
    EXPECT_EQ(m_window.Focus(), 1035);
    EXPECT_FALSE(m_dialog->AnswerShown());
}

TEST_F(Speaking, EveryWayOnSilencesTheAnswer) {
    struct Way {
        const char* name;
        std::function<void()> act;
        bool listenAfter;
    };
    const Way ways[] = {
        {"next", [this] { m_window.Click(1070); }, false},
        {"filter", [this] { ChooseCategory(1); }, false},
        {"reset", [this] { m_window.AnswerNextQuestion(true), m_window.Click(1084); }, true},
        {"reset refused", [this] { m_window.AnswerNextQuestion(false), m_window.Click(1084); }, true},
        {"close box", [this] { m_window.CloseBox(); }, true},
        {"escape", [this] { m_window.PressKey(Key::Escape); }, true},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        Restart();
        StartWithOnlyUnmastered({0, 1, 2, 700});
        Answer("wrong");
        ASSERT_FALSE(m_speech.Silent());
        way.act();
        EXPECT_TRUE(m_speech.Silent());
        EXPECT_EQ(m_speech.Spoken().size(), 1u) << "nothing is said for the next row";
        EXPECT_EQ(Enabled(kListen), way.listenAfter);
    }
}

TEST_F(Speaking, TheCongratulationIsNotSaid) {
    StartWithOnlyUnmastered({7});
    Answer(AnswerOf(7));
    m_window.PressKey(Key::Enter);
    EXPECT_EQ(Row(), -1);
    m_window.Click(1068);
    m_window.PressKey(Key::Enter);
    EXPECT_EQ(m_speech.Spoken(), ReadingOf(7));
    EXPECT_FALSE(Enabled(kListen));
}

TEST_F(Speaking, WithoutAVoiceTheButtonExplainsAndTheDrillIsUnchanged) {
    m_speech = RecordingSpeech(RecordingSpeech::AtStart::Missing);
    StartWithOnlyUnmastered({0, 1});
    const std::string line = G("本机没有英语语音：no voice in this test\n");
    EXPECT_NE(m_output.find(line), std::string::npos) << GbkToUtf8(m_output);
    EXPECT_EQ(m_window.Control(kListen).toolTip, G("本机没有英语语音"));
    const int row = Row();
    Answer(AnswerOf(row));
    EXPECT_EQ(m_dialog->Mark(row), FirstMastery());
    EXPECT_FALSE(Enabled(kListen));
    EXPECT_TRUE(Visible(kListen));
    m_window.PressKey(Key::Enter);
    Answer("wrong");
    EXPECT_TRUE(Visible(1075));
    EXPECT_TRUE(m_speech.Spoken().empty());
    EXPECT_EQ(m_output.find(line), m_output.rfind(line)) << "one line only";
}

TEST_F(Speaking, AVoiceFoundLateSpeaksTheFirstAnswerAndOneLostLateDisablesTheButton) {
    m_speech = RecordingSpeech(RecordingSpeech::AtStart::Later);
    StartWithOnlyUnmastered({0, 1});
    EXPECT_EQ(m_window.Control(kListen).toolTip, "");
    Answer("wrong");
    EXPECT_EQ(m_speech.Spoken(), ReadingOf(Row()));  // the front end says it once it can
    EXPECT_TRUE(Enabled(kListen));
    m_speech.BecomeReady(false);
    EXPECT_FALSE(Enabled(kListen));
    EXPECT_EQ(m_window.Control(kListen).toolTip, G("本机没有英语语音"));
    EXPECT_NE(m_output.find(G("本机没有英语语音：the service went away\n")), std::string::npos);
}

// A voice found that fails to speak (no audio device, a broken engine), at the first answer or at
// 听一听: one line, the button disabled with its tip, never enabled and silent, and the focus on
// 下一题 rather than nowhere.
TEST_F(Speaking, AVoiceThatFailsToSpeakDisablesTheButtonAndTheFocusMovesOn) {
    for (const bool atListen : {false, true}) {
        SCOPED_TRACE(atListen ? "at 听一听" : "at the answer");
        Restart();
        m_speech = RecordingSpeech();
        m_output.clear();
        StartWithOnlyUnmastered({0, 1, 2});
        if (!atListen) m_speech.FailToSpeak();
        Answer("wrong");
        if (atListen) {
            m_speech.FailToSpeak();
            m_window.Click(kListen);
            EXPECT_EQ(m_window.Focus(), 1070);
        }
        EXPECT_FALSE(Enabled(kListen));
        EXPECT_EQ(m_window.Control(kListen).toolTip, G("本机没有英语语音"));
        const std::string line = G("本机没有英语语音：the voice failed to speak\n");
        EXPECT_NE(m_output.find(line), std::string::npos) << GbkToUtf8(m_output);
        EXPECT_EQ(m_output.find(line), m_output.rfind(line));
        m_window.PressKey(Key::Enter);
        EXPECT_TRUE(Enabled(1068)) << "Enter asks the next row";
    }
}

TEST(SpeakingWithoutSpeech, ADialogGivenNoSpeechHasNoVoice) {
    TempDir dir;
    MemoryDialog window{MainDialogTemplate(), MainDialogComboLists()};
    std::string output;
    PracticeDialog dialog(window, DrillEnvironment{dir / "p.zb", [] { return 1700000000; },
                                                   [&](std::string_view line) { output += line; }});
    window.Start(dialog);
    window.Type(1035, "x");
    window.Click(1068);
    EXPECT_FALSE(window.Control(kListen).enabled);
    EXPECT_EQ(window.Control(kListen).toolTip, G("本机没有英语语音"));
    EXPECT_NE(output.find(G("本机没有英语语音：")), std::string::npos);
}

}  // namespace
}  // namespace zembra::testing
