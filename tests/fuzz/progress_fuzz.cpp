// Any bytes as the content of a progress file: reading never crashes, stores at most the capacity,
// counts mastered marks consistently, reads the counter as atoi would, and what is saved from the
// result reads back the same.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/word_bank.h"
#include "drill/practice_dialog.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static Marks marks;
    for (std::string& mark : marks) mark.clear();

    zembra::TextReader reader = zembra::TextReader::OverBytes(bytes);
    const zembra::LoadedProgress loaded = zembra::ReadProgress(reader, marks);
    Check(!reader.Failed());
    Check(loaded.markLineCount >= 0 && loaded.markLineCount <= zembra::kRowCapacity);

    std::int32_t mastered = 0;
    for (std::size_t row = 0; row < marks.size(); ++row) {
        const std::string& mark = marks[row];
        if (static_cast<std::int32_t>(row) >= loaded.markLineCount) {
            Check(mark.empty());
            continue;
        }
        Check(mark.find('\n') == std::string::npos && mark.find('\x1A') == std::string::npos);
        if (zembra::PracticeDialog::IsMastered(mark)) ++mastered;
    }
    Check(loaded.masteredCount == mastered);

    // No line at all (empty data, or 0x1A first) starts at 1; otherwise the line's atoi value.
    const bool noLine = bytes.empty() || bytes.front() == '\x1A';
    Check(loaded.runCounter == (noLine ? 1 : ReferenceCounter(bytes)));

    // What a save writes from this reads back as the counter and the bank's marks.
    const std::span<const std::string> bankRows(marks.data(), static_cast<std::size_t>(zembra::kBankRows));
    const std::string saved = zembra::FormatProgress(loaded.runCounter, bankRows);
    static Marks reread;
    for (std::string& mark : reread) mark.clear();
    zembra::TextReader again = zembra::TextReader::OverBytes(saved);
    const zembra::LoadedProgress reloaded = zembra::ReadProgress(again, reread);
    Check(reloaded.runCounter == loaded.runCounter);
    Check(reloaded.markLineCount == zembra::kBankRows);
    for (std::size_t row = 0; row < marks.size(); ++row) {
        Check(reread[row] == (row < bankRows.size() ? marks[row] : std::string()));
    }
    return 0;
}
