// Any bytes as the content of a progress file: reading never crashes, stores at most the capacity,
// counts the mastered marks of the bank's rows, reads the counter as atoi would, and what is
// saved from the result reads back the same.
#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/word_bank.h"
#include "drill/progress_file.h"
#include "framework/text_file.h"

namespace {

using Marks = std::array<std::string, zembra::kRowCapacity>;

void Check(bool condition) {
    if (!condition) std::abort();
}

// The counter line as the C library reads it, limited to 32 bits.
std::int32_t ReferenceCounter(std::string_view bytes) {
    const std::string_view line = bytes.substr(0, bytes.find_first_of(std::string_view("\n\x1A\0", 3)));
    const std::string text(line);  // ends at its first NUL for strtoll, as the parser stops there too
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// Marks reused from one input to the next: only the rows that the last reading filled are emptied
// again, so an input costs what it holds, not the 1800 rows.
class ReusedMarks {
public:
    std::span<std::string> Empty() {
        for (std::size_t row = 0; row < m_filled; ++row) m_marks[row].clear();
        m_filled = 0;
        return m_marks;
    }
    void Filled(std::int32_t rows) { m_filled = static_cast<std::size_t>(rows); }
    const Marks& All() const { return m_marks; }

private:
    Marks m_marks;
    std::size_t m_filled = 0;
};

// One CR LF per bank row: how a save writes rows with empty marks.
std::string_view EmptyLines() {
    static const std::string lines = [] {
        std::string bytes;
        for (int row = 0; row < zembra::kBankRows; ++row) bytes += "\r\n";
        return bytes;
    }();
    return lines;
}

}  // namespace

// A save of empty marks is the counter and an empty line per row, which reads back as such.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::array<std::string, zembra::kBankRows> empty;
    const std::string saved = zembra::FormatProgress(-7, empty);
    Check(saved == "-7\r\n" + std::string(EmptyLines()));
    static Marks marks;
    for (std::string& mark : marks) mark = "x";
    zembra::TextReader reader = zembra::TextReader::OverBytes(saved);
    const zembra::LoadedProgress loaded = zembra::ReadProgress(reader, marks);
    Check(loaded.readWhole && loaded.runCounter == -7 && loaded.markLineCount == zembra::kBankRows);
    for (std::size_t row = 0; row < empty.size(); ++row) Check(marks[row].empty());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static ReusedMarks read;
    zembra::TextReader reader = zembra::TextReader::OverBytes(bytes);
    const zembra::LoadedProgress loaded = zembra::ReadProgress(reader, read.Empty());
    read.Filled(loaded.markLineCount);
    const Marks& marks = read.All();
    if (loaded.tooLarge) {
        // Only a line longer than any mark, or data larger than any file of marks, gets there.
        std::size_t longest = 0;
        for (std::size_t begin = 0, end = 0; begin < bytes.size(); begin = end + 1) {
            end = std::min(bytes.find('\n', begin), bytes.size());
            longest = std::max(longest, end - begin);
        }
        Check(!loaded.readWhole && (bytes.size() > zembra::kProgressFileLimit || longest > zembra::kMarkLineLimit));
        return 0;
    }
    Check(loaded.readWhole && !reader.Failed());
    Check(loaded.markLineCount >= 0 && loaded.markLineCount <= zembra::kRowCapacity);

    std::int32_t mastered = 0;
    std::size_t filled = 0;  // the bank's rows up to the last one with a mark
    for (std::size_t row = 0; row < marks.size(); ++row) {
        const std::string& mark = marks[row];
        if (static_cast<std::int32_t>(row) >= loaded.markLineCount) {
            Check(mark.empty());
            continue;
        }
        // One pass over the bytes: no line end or end of data inside a mark; mastered as the
        // program counts it (not empty, no '0'), compared with what the program says below.
        bool zero = false;
        for (const char c : mark) {
            Check(c != '\n' && c != '\x1A');
            zero = zero || c == '0';
        }
        if (row >= static_cast<std::size_t>(zembra::kBankRows) || mark.empty()) continue;
        if (!zero) ++mastered;
        filled = row + 1;
    }
    Check(loaded.masteredCount == mastered);

    // No line at all (empty data, or 0x1A first) starts at 1; otherwise the line's atoi value.
    const bool noLine = bytes.empty() || bytes.front() == '\x1A';
    Check(loaded.runCounter == (noLine ? 1 : ReferenceCounter(bytes)));

    // What a save writes from this reads back as the counter and the bank's marks. The rows after
    // the last one with a mark are empty, so the save ends in one CR LF for each of them: that
    // tail is compared as bytes, and only the lines before it are read back (the tail alone reads
    // back as empty marks, checked once in LLVMFuzzerInitialize).
    const std::span<const std::string> bankRows(marks.data(), static_cast<std::size_t>(zembra::kBankRows));
    const std::string saved = zembra::FormatProgress(loaded.runCounter, bankRows);
    const std::size_t tail = 2 * (bankRows.size() - filled);
    Check(saved.size() >= tail && std::string_view(saved).substr(saved.size() - tail) == EmptyLines().substr(0, tail));
    static ReusedMarks reread;
    const std::string_view lines = std::string_view(saved).substr(0, saved.size() - tail);
    zembra::TextReader again = zembra::TextReader::OverBytes(lines);
    const zembra::LoadedProgress reloaded = zembra::ReadProgress(again, reread.Empty());
    reread.Filled(reloaded.markLineCount);
    Check(reloaded.readWhole && reloaded.runCounter == loaded.runCounter);
    Check(reloaded.markLineCount == static_cast<std::int32_t>(filled));
    for (std::size_t row = 0; row < marks.size(); ++row) {
        Check(row < filled ? reread.All()[row] == marks[row] : reread.All()[row].empty());
    }
    return 0;
}
