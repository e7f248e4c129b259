#include "drill/practice_dialog.h"

namespace zembra {

// Copies the built-in rows into the bank's columns; rows past the bank stay empty.
void PracticeDialog::FillWordBank() {
    for (std::size_t i = 0; i < static_cast<std::size_t>(kBankRows); ++i) {
        m_builtIn.rows.answers[i] = kWordRows[i].answer;
        m_builtIn.rows.prompts[i] = kWordRows[i].prompt;
        m_builtIn.rows.categories[i] = kWordRows[i].category;
        m_builtIn.rows.also[i].assign(kWordRows[i].also.begin(), kWordRows[i].also.end());
        m_builtIn.rows.joinedMeanings[i] = kWordRows[i].joinedMeanings;
    }
}

}  // namespace zembra
