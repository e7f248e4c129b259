// The dialog's two steps on the progress file: loading at start-up, saving at the close request;
// and what the loaded marks tell the pupil at start-up.
#include <string>

#include "drill/formatted.h"
#include "drill/practice_dialog.h"
#include "drill/review_schedule.h"
#include "ui/control_ids.h"
#include "ui/texts.h"

namespace zembra {

void PracticeDialog::LoadProgress() {
    const LoadedProgress loaded = m_progressFile.Load(m_builtIn.marks);
    m_runCounter = loaded.runCounter;
    m_markLineCount = loaded.markLineCount;
    m_masteredCount = loaded.masteredCount;
    // A mastered row of no known date (an earlier version's "1") gets one, so that it comes back
    // for review; spread over a month, not all on the first day.
    const std::int64_t today = Today();
    for (int row = 0; row < kBankRows; ++row) {
        std::string& mark = m_builtIn.Mark(row);
        if (IsMastered(mark) && !ReadSchedule(mark)) mark = ScheduleForUnknownMark(row, today);
    }
}

void PracticeDialog::TellRowsDue() {
    const DueOn isDue(Today());
    int due = 0;
    for (int row = 0; row < m_builtIn.size; ++row) due += isDue(m_builtIn.Mark(row)) ? 1 : 0;
    if (due == 0) return;
    Host().SetItemText(ids::kResultLine, Formatted(texts::kReviewDueFormat, due));
}

bool PracticeDialog::SaveProgress() {
    if (m_environment.savingRefused) return false;
    if (!m_builtInSaved) {
        // One more run. The file decides the counter when the start-up could not read it whole.
        const std::optional<std::int32_t> saved =
            m_progressFile.Save(m_runCounter, m_builtIn.MarksInUse(), m_resetInSession);
        // A failed save leaves the counter, so that trying again writes the same run.
        if (saved) m_runCounter = *saved;
        m_builtInSaved = saved.has_value();
    }
    const bool listsSaved = m_lists.Save();
    return m_builtInSaved && listsSaved;
}

bool PracticeDialog::AskToRetrySave() {
    const char* reason = texts::kReasonNotWritten;
    switch (m_progressFile.Fault()) {
        case ProgressFault::NotAFile:
            reason = texts::kReasonNotAFile;
            break;
        case ProgressFault::TooLarge:
            reason = texts::kReasonTooLarge;
            break;
        case ProgressFault::Unreadable:
            reason = texts::kReasonUnreadable;
            break;
        case ProgressFault::None:
        case ProgressFault::NotWritten:
            break;
    }
    return Host().AskYesNo(Formatted(texts::kSaveFailedQuestionFormat, reason), texts::kSaveFailedCaption);
}

}  // namespace zembra
