#include "drill/practice_dialog.h"

namespace zembra {

// Copies the built-in rows into the bank's columns; rows past the bank stay empty.
void PracticeDialog::FillWordBank() {
    for (std::size_t i = 0; i < static_cast<std::size_t>(kBankRows); ++i) {
        m_bank.answers[i] = kWordRows[i].answer;
        m_bank.prompts[i] = kWordRows[i].prompt;
        m_bank.categories[i] = kWordRows[i].category;
        m_bank.also[i].assign(kWordRows[i].also.begin(), kWordRows[i].also.end());
        m_bank.joinedMeanings[i] = kWordRows[i].joinedMeanings;
    }
}

}  // namespace zembra
