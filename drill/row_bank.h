// The rows being drilled and their marks, from one bank: the built-in word bank with its progress
// file, or a pupil's imported word list with a marks file of its own. The drill asks, checks,
// speaks and counts through this, whichever bank the rows come from; a bank's rows all carry the
// category that the filter names (a list's rows carry the list's name).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "data/word_bank.h"

namespace zembra {

struct RowBank {
    WordBank rows;
    // One mark per row, as its file holds it (see PracticeDialog::IsMastered).
    std::array<std::string, kRowCapacity> marks;
    // Rows 0..size-1 are filled.
    std::int32_t size = 0;

    const std::string& Answer(int row) const { return rows.answers[Index(row)]; }
    const std::string& Prompt(int row) const { return rows.prompts[Index(row)]; }
    const std::string& Category(int row) const { return rows.categories[Index(row)]; }
    std::span<const std::string> Also(int row) const { return rows.also[Index(row)]; }
    bool JoinedMeanings(int row) const { return rows.joinedMeanings[Index(row)]; }
    std::string& Mark(int row) { return marks[Index(row)]; }
    const std::string& Mark(int row) const { return marks[Index(row)]; }
    // The marks of the rows in use, as a file holds them.
    std::span<const std::string> MarksInUse() const { return {marks.data(), static_cast<std::size_t>(size)}; }

private:
    static std::size_t Index(int row) { return static_cast<std::size_t>(row); }
};

}  // namespace zembra
