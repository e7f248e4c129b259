// The dialog's two steps on the progress file: loading at start-up, saving at the close request.
#include "drill/practice_dialog.h"

namespace zembra {

void PracticeDialog::LoadProgress() {
    const LoadedProgress loaded = m_progressFile.Load(m_builtIn.marks);
    m_runCounter = loaded.runCounter;
    m_markLineCount = loaded.markLineCount;
    m_masteredCount = loaded.masteredCount;
}

void PracticeDialog::SaveProgress() {
    // One more run. The file decides the counter when the start-up could not read it whole.
    const std::optional<std::int32_t> saved =
        m_progressFile.Save(m_runCounter, m_builtIn.MarksInUse(), m_resetInSession);
    m_runCounter = saved.value_or(NextRunCounter(m_runCounter));
}

}  // namespace zembra
