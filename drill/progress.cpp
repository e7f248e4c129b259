// The dialog's two steps on the progress file: loading at start-up, saving at the close request.
#include "drill/practice_dialog.h"

namespace zembra {

void PracticeDialog::LoadProgress() {
    const LoadedProgress loaded = m_progressFile.Load(m_marks);
    m_runCounter = loaded.runCounter;
    m_markLineCount = loaded.markLineCount;
    m_masteredCount = loaded.masteredCount;
}

void PracticeDialog::SaveProgress() {
    // One more run; the counter wraps in 32 bits rather than overflowing.
    m_runCounter = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_runCounter) + 1u);
    m_progressFile.Save(m_runCounter,
                        std::span<const std::string>(m_marks.data(), static_cast<std::size_t>(m_bankSize)));
}

}  // namespace zembra
