// The built-in word bank: parallel columns of GBK texts, answer, prompt, category and the further
// texts that are also right, with room for 1800 rows, of which rows 0..1753 are filled. A row is
// its index; a category is its text.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zembra {

constexpr int kRowCapacity = 1800;
constexpr std::int32_t kBankRows = 1754;

struct WordBank {
    std::array<std::string, kRowCapacity> answers;
    std::array<std::string, kRowCapacity> prompts;
    std::array<std::string, kRowCapacity> categories;
    // Each row's further right answers (WordRow::also); empty for most rows.
    std::array<std::vector<std::string>, kRowCapacity> also;
    // Whether a row's "/" joins meanings asked for together (WordRow::joinedMeanings).
    std::array<bool, kRowCapacity> joinedMeanings{};
};

// One row of the table generated from data/word_bank.tsv at build time.
struct WordRow {
    std::string_view answer;
    std::string_view prompt;
    std::string_view category;
    // Further exact texts that are right for the row ("supper" beside "dinner/supper"); the answer
    // is what a pupil is shown after a miss. Empty for most rows.
    std::span<const std::string_view> also;
    // The answer's "/" joins meanings that the prompt asks for together (在夜里/中午: at night/noon),
    // listed in data/joined_meanings.txt; otherwise a "/" joins forms that are each right alone.
    bool joinedMeanings;
};

// The generated constant table, kBankRows rows in index order.
extern const WordRow kWordRows[kBankRows];

// The category texts, generated from data/categories.txt, in the order the category filter lists
// them. Every row's category is one of them.
constexpr int kCategoryCount = 12;
extern const std::string_view kCategories[kCategoryCount];

}  // namespace zembra
