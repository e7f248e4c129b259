// Any bytes as a word list file: reading never crashes, takes at most the row limit, each row
// within the limits of its parts, reports its problems in line order and within the file, refuses
// with nothing taken, and the copy the program keeps of what it took reads back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "drill/word_list_reader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zembra::ListRefusal;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zembra::WordListReading reading = zembra::ReadWordList(bytes);
    if (reading.refusal != ListRefusal::None) {
        Check(reading.rows.empty() && reading.problems.empty());
        return 0;
    }
    Check(!reading.rows.empty() && reading.rows.size() <= static_cast<std::size_t>(zembra::kListRowLimit));
    for (const zembra::WordListRow& row : reading.rows) {
        Check(!row.answer.empty() && row.answer.size() <= zembra::kListAnswerLimit);
        Check(!row.prompt.empty() && row.prompt.size() <= zembra::kListPromptLimit);
    }
    // Every line but the last ends in a CR or an LF, in any of the encodings.
    const auto lines = 1 + std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; });
    int last = 0;
    for (const zembra::ListLineProblem& problem : reading.problems) {
        Check(problem.line > last && problem.line <= lines);
        last = problem.line;
    }
    const zembra::WordListReading copy = zembra::ReadWordList(zembra::FormatWordList(reading.rows));
    Check(copy.refusal == ListRefusal::None && copy.rows == reading.rows && copy.problems.empty());
    return 0;
}
