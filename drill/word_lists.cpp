#include "drill/word_lists.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "framework/code_page.h"
#include "framework/file_io.h"

namespace zembra {
namespace {

constexpr char kUnnamedList[] = "\xB4\xCA\xB1\xED";  // 词表
constexpr char kSecondName[] = " (2)";
// A combo entry stays readable: a longer file name is cut, at a character's end.
constexpr std::size_t kLongestName = 60;
constexpr char kCopyExtension[] = ".txt";
constexpr char kMarksExtension[] = ".zb";

// A file's bytes, up to one byte past `limit` (so that a larger file shows as larger); nothing when
// it cannot be read.
std::optional<std::string> ReadUpTo(const std::filesystem::path& path, std::size_t limit) {
    RawFile file;
    if (file.OpenReadOnly(path) != OpenStatus::Opened) return std::nullopt;
    std::string bytes;
    char buffer[16384];
    while (bytes.size() <= limit) {
        const long read = file.Read(buffer, sizeof buffer);
        if (read < 0) return std::nullopt;
        if (read == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(read));
    }
    return bytes;
}

// A file name's GBK form: what GBK cannot show, and control characters, become "_".
std::string GbkName(const std::filesystem::path& stem) {
    std::string name;
    try {
        name = Utf16ToGbk(stem.u16string());
    } catch (const std::exception&) {
        // A name that is not in the system's encoding.
        return {};
    }
    std::string shown;
    for (std::size_t i = 0; i < name.size() && shown.size() < kLongestName; ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < name.size()) {
            if (shown.size() + 2 > kLongestName) break;
            shown.append(name, i, 2);
            ++i;
        } else {
            shown += byte < 0x20 || byte >= 0x7F ? '_' : name[i];
        }
    }
    return shown;
}

void FillRows(RowBank& bank, const std::string& name, std::span<const WordListRow> rows) {
    bank.size = static_cast<std::int32_t>(std::min<std::size_t>(rows.size(), kRowCapacity));
    for (int row = 0; row < bank.size; ++row) {
        const auto index = static_cast<std::size_t>(row);
        bank.rows.answers[index] = rows[index].answer;
        bank.rows.prompts[index] = rows[index].prompt;
        bank.rows.categories[index] = name;
        bank.rows.also[index].clear();
        bank.rows.joinedMeanings[index] = false;
        bank.Mark(row).clear();
    }
}

// Windows takes file names that differ only in the case of their letters for one file, so lists do
// everywhere: "unit 1.txt" imported again is the list "Unit 1". A GBK character's second byte may
// look like a letter and is compared exactly.
bool SameListName(std::string_view first, std::string_view second) {
    if (first.size() != second.size()) return false;
    for (std::size_t i = 0; i < first.size(); ++i) {
        const auto a = static_cast<unsigned char>(first[i]);
        const auto b = static_cast<unsigned char>(second[i]);
        if (a >= 0x81 && a <= 0xFE && i + 1 < first.size()) {
            if (a != b || first[i + 1] != second[i + 1]) return false;
            ++i;
        } else if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

std::string RowKey(std::string_view answer, std::string_view prompt) {
    std::string key(answer);
    key += '\t';
    key += prompt;
    return key;
}

}  // namespace

std::string ListNameFor(const std::filesystem::path& file, std::span<const std::string_view> taken) {
    std::string name = GbkName(file.stem());
    if (name.empty()) name = kUnnamedList;
    if (std::find(taken.begin(), taken.end(), name) != taken.end()) name += kSecondName;
    return name;
}

std::vector<std::string> CarryMarks(const RowBank& old, std::span<const WordListRow> rows) {
    std::unordered_map<std::string, const std::string*> marks;
    for (int row = 0; row < old.size; ++row) marks.emplace(RowKey(old.Answer(row), old.Prompt(row)), &old.Mark(row));
    std::vector<std::string> carried;
    carried.reserve(rows.size());
    for (const WordListRow& row : rows) {
        const auto found = marks.find(RowKey(row.answer, row.prompt));
        carried.push_back(found == marks.end() ? std::string() : *found->second);
    }
    return carried;
}

struct WordLists::List {
    std::string name;
    // Both null until the list is first read.
    std::unique_ptr<RowBank> rows;
    std::unique_ptr<ProgressFile> marks;
    std::int32_t runCounter = 1;
    bool reset = false;
    bool saved = false;
};

WordLists::WordLists(std::filesystem::path folder, ProgressFile::Diagnostics diagnostics)
    : m_folder(std::move(folder)), m_diagnostics(std::move(diagnostics)) {}

WordLists::~WordLists() = default;

std::filesystem::path WordLists::CopyOf(std::string_view name) const {
    return m_folder / std::filesystem::path(GbkToUtf16(std::string(name) + kCopyExtension));
}

std::filesystem::path WordLists::MarksOf(std::string_view name) const {
    return m_folder / std::filesystem::path(GbkToUtf16(std::string(name) + kMarksExtension));
}

void WordLists::ReadFolder(std::span<const std::string_view> taken) {
    m_lists.clear();
    if (!Enabled()) return;
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(m_folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& path = entries->path();
        std::error_code statusError;
        if (path.extension() != kCopyExtension || !entries->is_regular_file(statusError)) continue;
        std::string name = GbkName(path.stem());
        // Only a name that reads back as this file's, and is no built-in entry, is a list.
        if (name.empty() || CopyOf(name) != path) continue;
        if (std::find(taken.begin(), taken.end(), name) != taken.end()) continue;
        if (std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameListName(n, name); }))
            continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names) {
        auto list = std::make_unique<List>();
        list->name = std::move(name);
        m_lists.push_back(std::move(list));
    }
}

const std::string& WordLists::Name(int list) const { return m_lists.at(static_cast<std::size_t>(list))->name; }

int WordLists::Find(std::string_view name) const {
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        if (SameListName(m_lists[i]->name, name)) return static_cast<int>(i);
    }
    return -1;
}

RowBank& WordLists::Rows(int list) { return *Read(list).rows; }

WordLists::List& WordLists::Read(int index) {
    List& list = *m_lists.at(static_cast<std::size_t>(index));
    if (list.rows) return list;
    list.rows = std::make_unique<RowBank>();
    const std::optional<std::string> bytes = ReadUpTo(CopyOf(list.name), kListFileLimit);
    if (bytes) {
        const WordListReading reading = ReadWordList(*bytes);
        FillRows(*list.rows, list.name, reading.rows);
    }
    list.marks = std::make_unique<ProgressFile>(MarksOf(list.name), m_diagnostics);
    const std::span<std::string> marks(list.rows->marks.data(), static_cast<std::size_t>(list.rows->size));
    list.runCounter = list.marks->Load(marks).runCounter;
    return list;
}

ImportOutcome WordLists::Import(const std::filesystem::path& file, std::span<const std::string_view> taken) {
    ImportOutcome outcome;
    const std::optional<std::string> bytes = ReadUpTo(file, kListFileLimit);
    if (!bytes) {
        outcome.fault = ImportOutcome::Fault::Unreadable;
        return outcome;
    }
    outcome.reading = ReadWordList(*bytes);
    if (outcome.reading.refusal != ListRefusal::None) return outcome;
    const std::span<const WordListRow> rows = outcome.reading.rows;

    std::string name = ListNameFor(file, taken);
    const int existing = Find(name);
    if (existing >= 0) {
        // The list keeps its name; its old rows and marks are read before the new copy replaces them.
        name = Name(existing);
        Read(existing);
    }

    std::error_code error;
    if (std::filesystem::create_directories(m_folder, error)) {
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, error);
    }
    std::optional<FileIdentity> written;
    if (!WriteInPlaceOf(CopyOf(name), FormatWordList(rows), written)) {
        outcome.fault = ImportOutcome::Fault::NotStored;
        return outcome;
    }
    RemoveLeftoverTemporaries(CopyOf(name));

    if (existing >= 0) {
        List& list = *m_lists[static_cast<std::size_t>(existing)];
        const std::vector<std::string> carried = CarryMarks(*list.rows, rows);
        FillRows(*list.rows, name, rows);
        for (int row = 0; row < list.rows->size; ++row) list.rows->Mark(row) = carried[static_cast<std::size_t>(row)];
        list.saved = false;
        outcome.list = existing;
        outcome.replaced = true;
        return outcome;
    }
    // Marks left by a list of this name whose removal was cut short are not this list's.
    RemoveFileIfPresent(MarksOf(name));
    auto list = std::make_unique<List>();
    list->name = name;
    list->rows = std::make_unique<RowBank>();
    FillRows(*list->rows, name, rows);
    // No marks file yet: the first save finds none and writes one.
    list->marks = std::make_unique<ProgressFile>(MarksOf(name), m_diagnostics);
    m_lists.push_back(std::move(list));
    outcome.list = Count() - 1;
    return outcome;
}

bool WordLists::Remove(int index) {
    const List& list = *m_lists.at(static_cast<std::size_t>(index));
    if (!RemoveFileIfPresent(CopyOf(list.name))) return false;
    RemoveFileIfPresent(MarksOf(list.name));
    m_lists.erase(m_lists.begin() + index);
    return true;
}

void WordLists::MarkReset(int list) { Read(list).reset = true; }

bool WordLists::Save() {
    bool allSaved = true;
    for (const std::unique_ptr<List>& list : m_lists) {
        if (!list->rows || list->saved) continue;
        const std::optional<std::int32_t> counter =
            list->marks->Save(list->runCounter, list->rows->MarksInUse(), list->reset);
        if (counter) {
            list->runCounter = *counter;
            list->saved = true;
        } else {
            allSaved = false;
        }
    }
    return allSaved;
}

}  // namespace zembra
