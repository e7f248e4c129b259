// zembra-check-answers: the program's own answer check over the built-in bank, for a teacher who
// audits the bank and for our own measures. Reads lines "row<TAB>typed text" in UTF-8 on standard
// input and writes for each line "right<TAB>answer" or "wrong<TAB>answer" (the answer the row
// shows after a miss), or "bad<TAB>why" for a line that cannot be checked. Exits 1 when a line was
// bad, so that nothing is left out unseen.
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "data/word_bank.h"
#include "drill/answer_check.h"
#include "framework/code_page.h"

namespace {

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = byte < 0x80                    ? 1
                             : byte >= 0xC2 && byte <= 0xDF ? 2
                             : byte >= 0xE0 && byte <= 0xEF ? 3
                             : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                            : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
        if ((byte == 0xE0 && second < 0xA0) || (byte == 0xED && second > 0x9F) || (byte == 0xF0 && second < 0x90) ||
            (byte == 0xF4 && second > 0x8F))
            return false;
        i += length;
    }
    return true;
}

// The verdict on one line, as written out.
std::string CheckLine(std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return "bad\tno tab between the row and the typed text";
    const std::string_view number = line.substr(0, tab);
    int row = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), row);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || row < 0 ||
        row >= zembra::kBankRows)
        return "bad\t'" + std::string(number) + "' is no row number (0 to " + std::to_string(zembra::kBankRows - 1) +
               ")";
    const std::string_view typed = line.substr(tab + 1);
    if (!IsUtf8(typed)) return "bad\tthe typed text is not UTF-8";
    const std::string gbk = zembra::Utf8ToGbk(typed);
    if (gbk.find(zembra::kNoGbkForm) != std::string::npos)
        return "bad\tthe typed text has a character with no GBK form";

    const zembra::WordRow& r = zembra::kWordRows[row];
    const std::vector<std::string> also(r.also.begin(), r.also.end());
    const bool right = zembra::IsRightAnswer(gbk, r.answer, also, zembra::ShapeOfRow(r.prompt, r.joinedMeanings));
    return (right ? "right\t" : "wrong\t") + zembra::GbkToUtf8(r.answer);
}

}  // namespace

int main() {
    bool anyBad = false;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // a file saved with CR LF
        const std::string verdict = CheckLine(line);
        anyBad = anyBad || verdict.starts_with("bad");
        std::cout << verdict << '\n';
    }
    return anyBad ? 1 : 0;
}
