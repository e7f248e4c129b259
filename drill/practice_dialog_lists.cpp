// The dialog's two commands on the pupil's word lists and the list entries of the filter. A list
// is one more bank (drill/word_lists.h): once chosen, the drill runs on its rows as on a category's.
#include <array>
#include <string_view>

#include "drill/formatted.h"
#include "drill/import_report.h"
#include "drill/practice_dialog.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"
#include "ui/texts.h"

namespace zembra {
namespace {

constexpr std::array<std::string_view, 3> kListPatterns{"*.txt", "*.csv", "*.tsv"};

// The combo index of a list's entry: after the built-in entries.
int EntryOf(int list) { return static_cast<int>(CategoryComboEntries().size()) + list; }

}  // namespace

void PracticeDialog::ShowWordLists() {
    m_lists.ReadFolder(CategoryComboEntries());
    for (int list = 0; list < m_lists.Count(); ++list) Host().AddComboItem(ids::kCategoryCombo, m_lists.Name(list));
    Host().EnableItem(ids::kImportList, m_lists.Enabled());
    Host().EnableItem(ids::kRemoveList, false);
}

int PracticeDialog::ChosenList() const { return m_lists.Find(m_filter); }

void PracticeDialog::OnImportList() {
    ControlHost& host = Host();
    const std::optional<std::filesystem::path> file =
        host.AskFileToOpen(texts::kImportListTitle, texts::kListFileFilter, kListPatterns);
    if (!file) {
        ReturnFocusToDrill();
        return;
    }
    const ImportOutcome outcome = m_lists.Import(*file, CategoryComboEntries());
    host.Tell(ImportReport(outcome), texts::kImportListTitle);
    if (!outcome.Imported()) {
        ReturnFocusToDrill();
        return;
    }
    if (!outcome.replaced) host.AddComboItem(ids::kCategoryCombo, m_lists.Name(outcome.list));
    host.SelectComboItem(ids::kCategoryCombo, EntryOf(outcome.list));
    OnFilterChange();
}

void PracticeDialog::OnRemoveList() {
    const int list = ChosenList();
    if (list < 0) return;
    ControlHost& host = Host();
    const std::string& name = m_lists.Name(list);
    if (!host.AskYesNo(Formatted(texts::kRemoveListQuestionFormat, name.c_str()), texts::kResetQuestionCaption)) {
        ReturnFocusToDrill();
        return;
    }
    // The list's rows are about to go: nothing may point at them.
    m_rows = &m_builtIn;
    m_currentRow = -1;
    if (!m_lists.Remove(list)) {
        host.Tell(texts::kListNotRemoved, texts::kRemoveListTitle);
        OnFilterChange();
        return;
    }
    host.RemoveComboItem(ids::kCategoryCombo, EntryOf(list));
    host.SelectComboItem(ids::kCategoryCombo, 0);
    OnFilterChange();
}

}  // namespace zembra
