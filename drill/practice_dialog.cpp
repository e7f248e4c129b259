// The drill: one row at a time, drawn at random among the unmastered rows of the chosen filter
// (a category, 全选 or 错题) or, in 复习, among the mastered rows due for review
// (drill/review_schedule.h), checked against the typed answer (drill/answer_check.h). See
// docs/DESIGN.md for the flow of one answer.
#include "drill/practice_dialog.h"

#include <cstdarg>
#include <ctime>
#include <optional>

#include "drill/answer_alignment.h"
#include "drill/answer_check.h"
#include "drill/formatted.h"
#include "drill/miss_line.h"
#include "drill/read_aloud.h"
#include "drill/review_schedule.h"
#include "framework/diagnostics.h"
#include "framework/local_day.h"
#include "ui/control_ids.h"
#include "ui/texts.h"

namespace zembra {

DrillEnvironment DrillEnvironment::ForProgressFile(std::filesystem::path file) {
    return {std::move(file), [] { return static_cast<std::int64_t>(std::time(nullptr)); }, WriteDiagnostic};
}

PracticeDialog::PracticeDialog(ControlHost& host, DrillEnvironment environment, Speech* speech)
    : Dialog(host),
      m_environment(std::move(environment)),
      m_progressFile(m_environment.progressFile, m_environment.diagnostics),
      m_lists(m_environment.savingRefused ? std::filesystem::path() : m_environment.listsFolder,
              m_environment.diagnostics),
      m_speech(speech) {}

template <typename Visit>
void PracticeDialog::ForEachRowInFilter(Visit visit) const {
    // 全选 is told once per scan: comparing it per row was most of a selection's time.
    const RowBank& bank = *m_rows;
    if (m_filter == texts::kAllCategories) {
        for (int row = 0; row < bank.size; ++row) visit(row);
        return;
    }
    // 错题 is no category: its rows are those whose mark says they were answered wrong.
    if (m_filter == texts::kMissedWords) {
        for (int row = 0; row < bank.size; ++row) {
            if (IsMissed(bank.Mark(row))) visit(row);
        }
        return;
    }
    // 复习 is none either: its rows are the mastered ones due today or before.
    if (Reviewing()) {
        const DueOn due(Today());
        for (int row = 0; row < bank.size; ++row) {
            if (due(bank.Mark(row))) visit(row);
        }
        return;
    }
    const std::string_view category = m_filter;
    for (int row = 0; row < bank.size; ++row) {
        if (bank.Category(row) == category) visit(row);
    }
}

bool PracticeDialog::Reviewing() const { return m_filter == texts::kReview; }

std::int64_t PracticeDialog::Today() const { return LocalDay(m_environment.clock()); }

void PracticeDialog::SetNumber(int id, std::int32_t value) { Host().SetItemText(id, std::to_string(value)); }

void PracticeDialog::Diagnostic(const char* format, ...) const {
    va_list arguments;
    va_start(arguments, format);
    const std::string line = FormattedList(format, arguments);
    va_end(arguments);
    m_environment.diagnostics(line);
}

void PracticeDialog::SelectNextRow() {
    ControlHost& host = Host();
    for (int id = ids::kAnswerHolder; id <= ids::kLastLetterStatic; ++id) {
        host.ShowItem(id, false);
        host.SetItemText(id, "");
    }
    for (int id = ids::kAnswerBox; id <= ids::kLastAnswerEdit; ++id) {
        host.ShowItem(id, false);
        host.SetItemText(id, "");
    }
    host.ShowItem(ids::kAnswerBox, true);
    host.SetItemFocus(ids::kAnswerBox);
    // After the focus has left it: a button disabled with the focus would leave the focus nowhere.
    SilenceAnswer();

    // A fixed array: a selection allocates nothing per row. 复习 asks mastered rows, every other
    // filter unmastered ones.
    std::array<std::int16_t, kRowCapacity> candidates;
    int count = 0;
    const bool reviewing = Reviewing();
    ForEachRowInFilter([&](int row) {
        if (reviewing || !IsMastered(m_rows->Mark(row))) {
            candidates[static_cast<std::size_t>(count++)] = static_cast<std::int16_t>(row);
        }
    });

    if (count == 0) {
        std::string congratulation;
        if (m_filter == texts::kAllCategories) {
            congratulation = texts::kCongratulationsAll;
        } else if (reviewing) {
            congratulation = texts::kReviewDone;
        } else if (m_rows != &m_builtIn) {
            congratulation.append(texts::kListCongratulationsPrefix)
                .append(m_filter)
                .append(texts::kCongratulationsSuffix);
        } else {
            congratulation.append(texts::kCongratulationsPrefix).append(m_filter).append(texts::kCongratulationsSuffix);
        }
        host.SetItemText(ids::kResultLine, congratulation);
        m_currentRow = -1;
        return;
    }

    m_random.Seed(static_cast<std::uint32_t>(m_environment.clock()));
    m_currentRow = candidates[static_cast<std::size_t>(m_random.Draw() % count)];
    const RowBank& bank = *m_rows;
    host.SetItemText(ids::kAnswerHolder, bank.Answer(m_currentRow));
    ShowPrompt(m_dictating);
    host.SetItemText(ids::kCategoryCaption, bank.Category(m_currentRow));
    Diagnostic(texts::kSelectionFormat, m_currentRow, bank.Answer(m_currentRow).c_str(),
               bank.Prompt(m_currentRow).c_str(), bank.Mark(m_currentRow).c_str());

    host.SetItemText(ids::kResultLine, "");
    host.ShowItem(ids::kWrongMark, false);
    host.ShowItem(ids::kRightMark, false);
    host.RepaintDialog();
    // Once the row is on the screen.
    if (m_dictating) SayRowAsked();
}

void PracticeDialog::OnNext() {
    SelectNextRow();
    Host().EnableItem(ids::kSubmit, true);
}

void PracticeDialog::OnSubmit() {
    if (m_currentRow == -1) return;
    ControlHost& host = Host();
    std::string result;
    // Made while the texts it is cut from live.
    std::optional<MissLine> miss;
    for (int k = 0; k < ids::kAnswerEditCount; ++k) {
        if (!host.IsItemVisible(ids::kAnswerBox + k)) continue;
        const std::string expected = host.GetItemText(ids::kAnswerHolder + k);
        const std::string typed = host.GetItemText(ids::kAnswerBox + k);
        // The row's further right answers belong to its one answer, the first box's.
        const std::span<const std::string> also = k == 0 ? m_rows->Also(m_currentRow) : std::span<const std::string>();
        const AnswerShape shape =
            k == 0 ? ShapeOfRow(m_rows->Prompt(m_currentRow), m_rows->JoinedMeanings(m_currentRow)) : AnswerShape();
        if (IsRightAnswer(typed, expected, also, shape)) continue;
        const AnswerAlignment alignment = k == 0 ? AlignAnswer(typed, expected, also) : AnswerAlignment();
        if (alignment.shown) miss = MakeMissLine(alignment);
        result += (alignment.shown ? std::string(alignment.answer) : expected) + "  ";
    }
    if (m_dictating) ShowPrompt(false);
    if (result.empty()) {
        host.SetItemText(ids::kResultLine, "");
        host.ShowItem(ids::kWrongMark, false);
        host.ShowItem(ids::kRightMark, true);
        SetNumber(ids::kMasteredCount, ++m_masteredCount);
        std::string& mark = m_rows->Mark(m_currentRow);
        mark = MarkAfterRightAnswer(mark, Reviewing(), Today());
        Diagnostic(texts::kNewMarkFormat, mark.c_str());
    } else {
        // Near the answer, the slips are marked; far from it, the answer alone is shown.
        if (miss) {
            host.SetItemMarkedText(ids::kResultLine, miss->text, miss->runs);
        } else {
            host.SetItemText(ids::kResultLine, result);
        }
        host.ShowItem(ids::kWrongMark, true);
        host.ShowItem(ids::kRightMark, false);
        // Unmastered and missed: the row joins 错题 until it is answered right.
        m_rows->Mark(m_currentRow) = "0";
    }
    host.EnableItem(ids::kSubmit, false);
    SayAnswer();
}

void PracticeDialog::OnRetry() {
    ControlHost& host = Host();
    if (!host.IsItemEnabled(ids::kSubmit)) {
        host.AskYesNo(texts::kRetryRefused, texts::kRetryRefusedCaption);
        return;
    }
    for (int id = ids::kAnswerBox; id <= ids::kLastAnswerEdit; ++id) host.SetItemText(id, "");
    host.EnableItem(ids::kSubmit, true);
    host.SetItemText(ids::kResultLine, "");
    host.ShowItem(ids::kWrongMark, false);
    host.ShowItem(ids::kRightMark, false);
}

void PracticeDialog::OnResetAll() {
    if (m_speech) m_speech->Stop();
    if (!Host().AskYesNo(texts::kResetQuestion, texts::kResetQuestionCaption)) return;
    // The bank being drilled starts again: the built-in one, or the chosen list.
    for (int row = 0; row < m_rows->size; ++row) m_rows->Mark(row).clear();
    if (const int list = ChosenList(); list >= 0) {
        m_lists.MarkReset(list);
    } else {
        m_resetInSession = true;
    }
    m_masteredCount = 0;
    SetNumber(ids::kMasteredCount, 0);
}

void PracticeDialog::OnFilterChange() {
    // Choosing in the list always leaves an item selected; without one the filter stays.
    std::optional<std::string> chosen = Host().GetComboSelectionText(ids::kCategoryCombo);
    if (!chosen) return;
    m_filter = std::move(*chosen);
    Host().SetItemText(ids::kCategoryCaption, m_filter);
    // A list's rows are its own bank; every other entry drills the built-in one.
    const int list = ChosenList();
    m_rows = list >= 0 ? &m_lists.Rows(list) : &m_builtIn;
    Host().EnableItem(ids::kRemoveList, list >= 0);
    m_poolSize = 0;
    m_masteredCount = 0;
    // In 复习 every row is mastered: the count starts at 0 and grows with the rows reviewed.
    const bool reviewing = Reviewing();
    ForEachRowInFilter([&](int row) {
        ++m_poolSize;
        if (!reviewing && IsMastered(m_rows->Mark(row))) ++m_masteredCount;
    });
    SetNumber(ids::kTotalCount, m_poolSize);
    SetNumber(ids::kMasteredCount, m_masteredCount);
    SelectNextRow();
}

void PracticeDialog::OnListen() {
    if (!m_answerShown) {
        if (m_dictating && Asking()) SayRowAsked();
        return;
    }
    SayAnswer();
    // A voice that failed to speak has just disabled the button under the focus: the focus goes
    // on to 下一题, so that the keys still reach the dialog.
    if (m_voice == Voice::Missing) Host().SetItemFocus(ids::kNext);
}

void PracticeDialog::StartSpeech() {
    if (!m_speech) {
        OnSpeechReady(false, "no speech output");
        return;
    }
    m_speech->Start([this](bool available, std::string_view why) { OnSpeechReady(available, why); });
}

void PracticeDialog::OnSpeechReady(bool available, std::string_view why) {
    m_voice = available ? Voice::Ready : Voice::Missing;
    Host().EnableItem(ids::kDictation, available);
    if (!available) {
        Host().SetItemToolTip(ids::kListen, texts::kNoEnglishVoice);
        Host().SetItemToolTip(ids::kDictation, texts::kNoEnglishVoice);
        Diagnostic(texts::kNoEnglishVoiceFormat, std::string(why).c_str());
        // A voice lost in 听写 ends it: the pupil sees the prompt again.
        if (m_dictating) {
            Host().CheckItem(ids::kDictation, false);
            m_dictating = false;
            if (Asking()) ShowPrompt(false);
        }
    }
    UpdateListenButton();
}

void PracticeDialog::OnDictation() {
    ControlHost& host = Host();
    m_dictating = host.IsItemChecked(ids::kDictation) && m_voice != Voice::Missing;
    // Marks and counters stay; only the row being asked changes how it is asked.
    if (Asking()) {
        ShowPrompt(m_dictating);
        if (m_dictating) SayRowAsked();
    }
    UpdateListenButton();
    // The box takes no keys of the drill.
    ReturnFocusToDrill();
}

void PracticeDialog::ReturnFocusToDrill() { Host().SetItemFocus(Asking() ? ids::kAnswerBox : ids::kNext); }

bool PracticeDialog::Asking() const { return m_currentRow >= 0 && !m_answerShown; }

void PracticeDialog::ShowPrompt(bool kept) {
    if (m_currentRow < 0) return;
    Host().SetItemText(ids::kPromptLine, kept ? std::string(texts::kListenForTheWord) : m_rows->Prompt(m_currentRow));
}

void PracticeDialog::SayRowAsked() {
    if (m_currentRow < 0 || !m_speech || m_voice == Voice::Missing) return;
    m_speech->Speak(ReadAloud(m_rows->Answer(m_currentRow)));
    UpdateListenButton();
}

// The row's answer as the word bank has it, whatever was typed, read by the rules of
// drill/read_aloud.h.
void PracticeDialog::SayAnswer() {
    if (m_currentRow < 0) return;
    m_answerShown = true;
    if (m_speech && m_voice != Voice::Missing) {
        m_speech->Speak(ReadAloud(m_rows->Answer(m_currentRow)));
    }
    // After speaking: a voice that failed to has said so by now, and the button is not enabled.
    UpdateListenButton();
}

void PracticeDialog::SilenceAnswer() {
    m_answerShown = false;
    UpdateListenButton();
    if (m_speech) m_speech->Stop();
}

// Enabled only while a checked answer is shown and a voice may say it: while a row is asked it
// would give the answer away, except in 听写, where hearing it is the question.
void PracticeDialog::UpdateListenButton() {
    Host().EnableItem(ids::kListen, (m_answerShown || (m_dictating && Asking())) && m_voice != Voice::Missing);
}

}  // namespace zembra
