// The pupil's imported word lists. Each is one more bank of rows: a UTF-8 copy of the list
// ("<name>.txt", drill/word_list_reader.h) and its marks in a file of the progress file's form
// ("<name>.zb", one mark line per row), both in the lists folder. A list is read when it is first
// chosen, never at start-up, and its marks are saved at the end of the run like the built-in
// bank's.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drill/progress_file.h"
#include "drill/row_bank.h"
#include "drill/word_list_reader.h"

namespace zembra {

// The entry a list imported from `file` gets: the file's name without its extension, in GBK (a
// character GBK cannot show becomes "_"; no name at all becomes 词表), with " (2)" added when that
// is one of the `taken` entries.
std::string ListNameFor(const std::filesystem::path& file, std::span<const std::string_view> taken);

// The marks that the rows of a list imported again start with: a row's old mark when the old list
// had a row with the same answer and prompt, else none.
std::vector<std::string> CarryMarks(const RowBank& old, std::span<const WordListRow> rows);

struct ImportOutcome {
    enum class Fault {
        None,
        Unreadable,  // the chosen file could not be read
        NotStored,   // the list's copy could not be written into the lists folder
    } fault = Fault::None;
    // What the reader found; reading.refusal says whether the file was refused whole.
    WordListReading reading;
    // The list the file became, and whether it replaced one of the same name.
    int list = -1;
    bool replaced = false;

    bool Imported() const { return list >= 0; }
};

class WordLists {
public:
    WordLists(std::filesystem::path folder, ProgressFile::Diagnostics diagnostics);
    ~WordLists();
    WordLists(const WordLists&) = delete;
    WordLists& operator=(const WordLists&) = delete;

    // Whether lists can be kept at all (the owner gave a folder).
    bool Enabled() const { return !m_folder.empty(); }
    // Finds the lists in the folder by their copies' names, in name order, leaving out a name that is
    // one of the `taken` entries; reads none of them.
    void ReadFolder(std::span<const std::string_view> taken);
    int Count() const { return static_cast<int>(m_lists.size()); }
    const std::string& Name(int list) const;
    // The list of that name, or -1; names that differ only in the case of ASCII letters are one.
    int Find(std::string_view name) const;
    // The list's rows, each carrying its name as its category, and their marks: read when first
    // asked. A copy that cannot be read gives no rows.
    RowBank& Rows(int list);
    // Reads the file and keeps it as a list: a new one, or in place of the list of the same name,
    // whose rows keep their marks where answer and prompt are unchanged. `taken`: the entries that
    // a new list's name must not equal. Nothing changes when the file is refused or cannot be kept.
    ImportOutcome Import(const std::filesystem::path& file, std::span<const std::string_view> taken);
    // Deletes the list's copy and marks; false, with the list kept, when the copy cannot be deleted.
    bool Remove(int list);
    // The pupil cleared the list's marks in this run (see ProgressFile::Save).
    void MarkReset(int list);
    // Saves the marks of every list read in this run and not saved since; false when one could not
    // be saved (trying again saves only those).
    bool Save();

private:
    struct List;
    List& Read(int list);
    std::filesystem::path CopyOf(std::string_view name) const;
    std::filesystem::path MarksOf(std::string_view name) const;

    std::filesystem::path m_folder;
    ProgressFile::Diagnostics m_diagnostics;
    std::vector<std::unique_ptr<List>> m_lists;
};

}  // namespace zembra
