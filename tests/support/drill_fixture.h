// A PracticeDialog on the in-memory backend with a fixed clock, captured diagnostics and a
// progress file in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "data/word_bank.h"
#include "drill/practice_dialog.h"
#include "drill/review_schedule.h"
#include "framework/code_page.h"
#include "framework/local_day.h"
#include "tests/support/memory_dialog.h"
#include "tests/support/recording_speech.h"
#include "tests/support/temp_dir.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"

namespace zembra::testing {

inline std::string G(const std::string& utf8) { return Utf8ToGbk(utf8); }

// The bytes of a progress file that the program itself would write: the counter, then one mark
// per row, "1" for every row except the ones listed.
inline std::string ProgressFileAllMasteredBut(int runCounter, const std::set<int>& unmastered, int rows = kBankRows) {
    std::string bytes = std::to_string(runCounter) + "\r\n";
    for (int row = 0; row < rows; ++row) bytes += unmastered.count(row) ? "\r\n" : "1\r\n";
    return bytes;
}

// The same with the marks of some rows given ("" never answered right, "0" answered wrong), every
// other row "1".
inline std::string ProgressFileWithMarks(int runCounter, const std::map<int, std::string>& marks) {
    std::string bytes = std::to_string(runCounter) + "\r\n";
    for (int row = 0; row < kBankRows; ++row) {
        const auto given = marks.find(row);
        bytes += (given == marks.end() ? std::string("1") : given->second) + "\r\n";
    }
    return bytes;
}

// The bytes of a progress file with the given marks, every other row empty.
inline std::string ProgressFileOf(int runCounter, const std::map<int, std::string>& marks) {
    std::string bytes = std::to_string(runCounter) + "\r\n";
    for (int row = 0; row < kBankRows; ++row) {
        const auto given = marks.find(row);
        bytes += (given == marks.end() ? std::string() : given->second) + "\r\n";
    }
    return bytes;
}

class DrillTest : public ::testing::Test {
protected:
    void Start(const std::optional<std::string>& fileBytes = std::nullopt) {
        if (fileBytes) WriteBytes(m_file, *fileBytes);
        m_dialog = std::make_unique<PracticeDialog>(
            m_window,
            DrillEnvironment{m_file, [this] { return m_now; }, [this](std::string_view line) { m_output += line; },
                             false, m_lists},
            &m_speech);
        m_window.Start(*m_dialog);
    }
    void StartWithOnlyUnmastered(const std::set<int>& rows) { Start(ProgressFileAllMasteredBut(3, rows)); }
    // Picks an entry of the category list (0 is "全选", 13 "错题").
    void ChooseCategory(int entry) { m_window.ChooseComboItem(ids::kCategoryCombo, entry); }

    int Row() const { return m_dialog->CurrentRow(); }
    std::int64_t Today() const { return LocalDay(m_now); }
    // The mark of a row first answered right today: level 1, due tomorrow.
    std::string FirstMastery() const { return WriteSchedule({1, Today() + 1}); }
    // A progress file's bytes as the program saves them after a start-up today: each bare "1" (a
    // mastered row of no known date) has been given its review day.
    std::string Rescheduled(const std::string& bytes) const {
        std::string out;
        int row = -1;
        for (std::size_t at = 0; at < bytes.size();) {
            std::size_t end = bytes.find("\r\n", at);
            if (end == std::string::npos) end = bytes.size();
            const std::string line = bytes.substr(at, end - at);
            out += (row >= 0 && line == "1" ? ScheduleForUnknownMark(row, Today()) : line) + "\r\n";
            at = end + 2;
            ++row;
        }
        return out;
    }
    static std::string AnswerOf(int row) { return std::string(kWordRows[row].answer); }
    static std::string PromptOf(int row) { return std::string(kWordRows[row].prompt); }
    std::string Text(int id) const { return m_window.Text(id); }
    bool Visible(int id) const { return m_window.Control(id).visible; }
    bool Enabled(int id) const { return m_window.Control(id).enabled; }
    // Types into the answer box and submits with the submit button.
    void Answer(const std::string& typed) {
        m_window.Type(1035, typed);
        m_window.Click(1068);
    }

    // Writes a list file of these bytes outside the lists folder and imports it with 导入词表….
    void Import(const std::string& fileName, const std::string& bytes) {
        const std::filesystem::path file =
            m_dir / "chosen" / std::filesystem::path(std::u8string(fileName.begin(), fileName.end()));
        std::filesystem::create_directories(file.parent_path());
        WriteBytes(file, bytes);
        m_window.ChooseNextFile(file);
        m_window.Click(ids::kImportList);
    }

    TempDir m_dir;
    std::filesystem::path m_file = m_dir / "ZbXxYy.zb";
    std::filesystem::path m_lists = m_dir / "lists";
    MemoryDialog m_window{MainDialogTemplate(), MainDialogComboLists()};
    std::int64_t m_now = 1700000000;
    std::string m_output;
    RecordingSpeech m_speech;
    std::unique_ptr<PracticeDialog> m_dialog;
};

}  // namespace zembra::testing
