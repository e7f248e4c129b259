// The main dialog's behaviour: the practice state, the drill's handlers, the start-up order and
// the progress file. It draws nothing itself; every effect on the screen goes through the
// control operations of its ControlHost, so it runs the same on Win32, Qt and in tests.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "data/word_bank.h"
#include "drill/progress_file.h"
#include "drill/row_bank.h"
#include "drill/word_lists.h"
#include "framework/dialog.h"
#include "framework/seed_draw.h"
#include "framework/speech.h"

namespace zembra {

// What the dialog takes from its owner instead of reading globals, so tests can fix them.
struct DrillEnvironment {
    std::filesystem::path progressFile;
    // Seconds since the epoch; seeds the generator before every draw and dates the reviews.
    std::function<std::int64_t()> clock;
    // Receives each diagnostic line as GBK bytes.
    std::function<void(std::string_view)> diagnostics;
    // The file is read but never written: its folder is not safe, or there is no home folder.
    // The owner has said why.
    bool savingRefused = false;
    // Where the pupil's imported word lists and their marks live; empty for none (no import).
    std::filesystem::path listsFolder = {};

    // The real clock and standard output in the platform's text encoding.
    static DrillEnvironment ForProgressFile(std::filesystem::path file);
};

class PracticeDialog : public Dialog {
public:
    // `speech` says the answers (see OnSubmit); it must outlive the dialog. Without one, as
    // without an English voice, the 听一听 button stays disabled.
    PracticeDialog(ControlHost& host, DrillEnvironment environment, Speech* speech = nullptr);
    // It points into itself (the bank being drilled).
    PracticeDialog(const PracticeDialog&) = delete;
    PracticeDialog& operator=(const PracticeDialog&) = delete;

    // Handlers the backend calls.
    bool OnInitDialog() override;
    bool PreTranslateMessage(const KeyMessage& message) override;
    void OnCommand(int id, Notification code) override;
    void OnClose() override;
    void OnEndSession() override;
    std::optional<Colour> OnCtlColor(int id) const override;

    // The drill's handlers, bound to the controls by the message map.
    void OnNext();
    void OnSubmit();
    void OnRetry();
    void OnResetAll();
    void OnFilterChange();
    // 听一听: says the shown answer again, and in 听写 the row being asked.
    void OnListen();
    // 听写 turned on or off.
    void OnDictation();
    // 导入词表…: a file of the pupil's own words becomes a filter entry, chosen at once.
    void OnImportList();
    // 删除词表: the chosen list and its marks are deleted, after a question.
    void OnRemoveList();

    // Read-only views of the state, for the backends and tests.
    std::int32_t CurrentRow() const { return m_currentRow; }
    std::int32_t RunCounter() const { return m_runCounter; }
    std::int32_t MasteredCount() const { return m_masteredCount; }
    std::int32_t PoolSize() const { return m_poolSize; }
    // The rows being drilled (the built-in bank, or the chosen word list) and their marks.
    const RowBank& Rows() const { return *m_rows; }
    const std::string& Mark(int row) const { return m_rows->Mark(row); }
    const std::string& Filter() const { return m_filter; }
    const WordBank& Bank() const { return m_rows->rows; }
    // Whether the answer of a submitted row is shown (the one the 听一听 button says).
    bool AnswerShown() const { return m_answerShown; }
    // Whether 听写 is on: each row is said as it is asked, and its prompt waits for the submission.
    bool Dictating() const { return m_dictating; }

    // A mark counts as mastered when it is not empty and holds no byte '0'. Inline, and a plain
    // loop: a selection asks it for every row of the bank, and a mark is a byte or two.
    static bool IsMastered(std::string_view mark) {
        if (mark.empty()) return false;
        for (const char byte : mark) {
            if (byte == '0') return false;
        }
        return true;
    }
    // A mark counts as missed when it is not empty and holds a byte '0': the row was answered
    // wrong and not since answered right. An empty mark is neither missed nor mastered.
    static bool IsMissed(std::string_view mark) { return mark.find('0') != std::string_view::npos; }

private:
    void SelectNextRow();
    // Whether the chosen filter is 复习; the pupil's calendar day now (framework/local_day.h).
    bool Reviewing() const;
    std::int64_t Today() const;
    // At start-up: tells the pupil in the result line how many rows are due for review.
    void TellRowsDue();
    void FillWordBank();
    void LoadProgress();
    // At start-up: an entry after the built-in ones for each list in the lists folder.
    void ShowWordLists();
    // The list the chosen filter names, or -1 for the built-in bank.
    int ChosenList() const;
    // Puts the focus back where the drill's keys belong: the answer while a row is asked, else 下一题.
    void ReturnFocusToDrill();
    // Saves without asking anything; false when nothing was saved (m_progressFile.Fault() says why).
    bool SaveProgress();
    // The close box's question after a failed save: true to try again.
    bool AskToRetrySave();
    void SetFonts();
    void ChoosePosterToShow();
    void SetNumber(int id, std::int32_t value);
    // Speech: the answer is said once it is checked, and silenced as the dialog moves on.
    void StartSpeech();
    void OnSpeechReady(bool available, std::string_view why);
    void SayAnswer();
    void SilenceAnswer();
    void UpdateListenButton();
    // 听写: the row being asked is said; the prompt line shows the row's prompt, or asks to listen.
    void SayRowAsked();
    void ShowPrompt(bool kept);
    // Whether a row is asked and its answer not yet shown.
    bool Asking() const;
    // Calls visit(row) for every row being drilled in the chosen filter: the rows of a category (a
    // word list's rows all carry its name), all rows for 全选, the rows with a missed mark for 错题,
    // the mastered rows due today or before for 复习.
    template <typename Visit>
    void ForEachRowInFilter(Visit visit) const;
    // A printf-style line; the format is checked against the arguments at every call.
    [[gnu::format(printf, 2, 3)]] void Diagnostic(const char* format, ...) const;

    DrillEnvironment m_environment;
    ProgressFile m_progressFile;
    // The built-in bank, the pupil's lists, and the bank whose rows the chosen filter drills.
    RowBank m_builtIn;
    WordLists m_lists;
    RowBank* m_rows = &m_builtIn;
    std::string m_filter;
    FontHandle m_font18 = 0;
    FontHandle m_font12 = 0;
    SeedAndDraw m_random;
    Speech* m_speech;
    enum class Voice { Awaited, Ready, Missing } m_voice = Voice::Awaited;
    bool m_answerShown = false;
    bool m_dictating = false;

    std::int32_t m_currentRow = -1;
    std::int32_t m_poolSize = 0;
    std::int32_t m_masteredCount = 0;
    std::int32_t m_runCounter = 0;
    std::int32_t m_markLineCount = 0;
    // Whether the pupil cleared every mark in this run (the reset button).
    bool m_resetInSession = false;
    // Whether the built-in bank's progress was saved at the end of the run (the lists' saves may
    // still be tried again).
    bool m_builtInSaved = false;
    // Whether the run's one save at its end has been made: the close request and the session's
    // end may both come, and the counter grows once.
    bool m_endSaved = false;
};

}  // namespace zembra
