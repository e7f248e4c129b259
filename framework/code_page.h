// Conversion between the GBK texts held inside the program (code page 936) and the encodings of
// the window systems and the terminal. Only the window and output boundaries call these;
// framework/system/<platform>/code_page.cpp holds each platform's implementation.
#pragma once

#include <string>
#include <string_view>

namespace zembra {

// The texts inside the program are valid GBK. Invalid bytes never fail a conversion; they become
// U+FFFD on Linux and whatever code page 936 makes of them on Windows.
std::u16string GbkToUtf16(std::string_view gbk);
std::string GbkToUtf8(std::string_view gbk);

// A character with no GBK form becomes the byte 0xFF, which no valid GBK text contains, so a
// typed answer holding one can never match a stored answer.
std::string Utf16ToGbk(std::u16string_view text);
std::string Utf8ToGbk(std::string_view utf8);

inline constexpr char kNoGbkForm = '\xFF';

// A GBK text in the encoding that standard output is read in: the GBK bytes as they are on
// Windows, UTF-8 elsewhere, so that a terminal shows it legibly.
std::string GbkForStandardOutput(std::string_view gbk);

}  // namespace zembra
