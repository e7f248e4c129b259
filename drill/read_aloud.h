// How an answer of the word bank is read aloud, as a teacher would read it to the class: the
// text given to an English voice for an answer (both GBK; the reading is plain ASCII).
#pragma once

#include <string>
#include <string_view>

namespace zembra {

// The answer as words and pauses an English voice reads without naming a symbol:
//  - "/" between forms is read "or";
//  - brackets go and their content is read as plain words; a hyphen is a space;
//  - "sb."/"sth." are "somebody"/"something", and the bank's abbreviations ("Mr.", "Jan.",
//    "No.") their full words;
//  - "…", "...", ";" and ":" are a pause (a comma), as are the full-width "；", "，" and "、";
//  - a word of capitals ("TV", "USA") is spelt letter by letter;
//  - "&", "+" and "%" are "and", "plus" and "percent"; any other symbol, and any character that
//    is not ASCII, is dropped.
// Letters, digits, apostrophes and the sentence marks . , ? ! are kept as they are.
std::string ReadAloud(std::string_view answer);

}  // namespace zembra
