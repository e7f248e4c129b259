// GBK to and from UTF-16 and UTF-8 for the texts the program shows and reads. The same cases run
// against the iconv conversion on Linux and the code page 936 conversion on Windows.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "framework/code_page.h"

namespace zembra {
namespace {

struct Both {
    const char* name;
    friend void PrintTo(const Both& c, std::ostream* out) { *out << c.name; }
    std::string gbk;
    std::u16string utf16;
    std::string utf8;
};

class CodePageRoundTrip : public ::testing::TestWithParam<Both> {};

TEST_P(CodePageRoundTrip, ConvertsBothWays) {
    const Both& c = GetParam();
    EXPECT_EQ(GbkToUtf16(c.gbk), c.utf16);
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
    EXPECT_EQ(Utf16ToGbk(c.utf16), c.gbk);
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
}

const Both kCodePageRoundTripCases[] = {
    Both{"Empty", "", u"", ""},
    // Answers end with a space at times; nothing is trimmed.
    Both{"AsciiWithTrailingSpace", "pen ", u"pen ", "pen "},
    Both{"Chinese", "\xB8\xD6\xB1\xCA", u"钢笔", "钢笔"},
    Both{"QuotationMarks", "\xA1\xB0\xA1\xB1", u"“”", "“”"},
    Both{"Ellipsis", "\xA1\xAD", u"…", "…"},
    Both{"Arrow", "\xA1\xFA", u"→", "→"},
    Both{"FullWidthPunctuation", "\xA3\xA8\xA3\xA9\xA3\xAC\xA3\xAF\xA3\xBB", u"（），／；", "（），／；"},
    // A character of the GBK extension, outside GB2312.
    Both{"ExtensionCharacter", "\x81\x42", u"丅", "丅"},
    Both{"EmDash", "\xA1\xAA", u"—", "—"},
    Both{"MiddleDot", "\xA1\xA4", u"·", "·"},
    Both{"PinyinLetter", "\xA8\xA6", u"é", "é"},
    Both{"Mixed", "I'm \xB8\xD6\xB1\xCA\xA3\xAC ok", u"I'm 钢笔， ok", "I'm 钢笔， ok"},
};

INSTANTIATE_TEST_SUITE_P(Texts, CodePageRoundTrip, ::testing::ValuesIn(kCodePageRoundTripCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct NoGbkForm {
    const char* name;
    friend void PrintTo(const NoGbkForm& c, std::ostream* out) { *out << c.name; }
    const char16_t* utf16;  // the text in each form it has, else nullptr
    const char* utf8;
    std::string gbk;
};

class CodePageNoGbkForm : public ::testing::TestWithParam<NoGbkForm> {};

TEST_P(CodePageNoGbkForm, BecomesTheByteFF) {
    const NoGbkForm& c = GetParam();
    if (c.utf16 != nullptr) {
        EXPECT_EQ(Utf16ToGbk(c.utf16), c.gbk);
    }
    if (c.utf8 != nullptr) {
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
    }
}

const NoGbkForm kCodePageNoGbkFormCases[] = {
    NoGbkForm{"Thai", u"p\u0E01n", "p\u0E01n", "p\xFFn"},
    // One 0xFF per UTF-16 unit, from either form: a character outside the BMP gives two.
    NoGbkForm{"Emoji", u"a\U0001F600z", "a\U0001F600z", "a\xFF\xFFz"},
    NoGbkForm{"LoneSurrogate", u"a\xD800z", nullptr, "a\xFFz"},
    // No best-fit guess: a look-alike letter could match a stored answer.
    NoGbkForm{"LetterWithoutBestFit", u"w\u0175", "w\u0175", "w\xFF"},
    NoGbkForm{"InvalidUtf8", nullptr, "a\x80z", "a\xFFz"},
    NoGbkForm{"AmongChinese", u"钢\u0E01笔", "钢\u0E01笔", "\xB8\xD6\xFF\xB1\xCA"},
};

INSTANTIATE_TEST_SUITE_P(Characters, CodePageNoGbkForm, ::testing::ValuesIn(kCodePageNoGbkFormCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(CodePage, LongTextsConvertWhole) {
    // Longer than any conversion buffer.
    std::string gbk;
    std::u16string utf16;
    for (int i = 0; i < 3000; ++i) {
        gbk += "\xB5\xA5\xB4\xCAz";
        utf16 += u"单词z";
    }
    EXPECT_EQ(GbkToUtf16(gbk), utf16);
    EXPECT_EQ(Utf16ToGbk(utf16), gbk);
    EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
}

TEST(CodePage, StandardOutputGetsGbkOnWindowsAndUtf8Elsewhere) {
    const std::string line = "3:ruler\xA1\xFA\xB3\xDF\n";  // 3:ruler→尺
#ifdef _WIN32
    EXPECT_EQ(GbkForStandardOutput(line), line);
#else
    EXPECT_EQ(GbkForStandardOutput(line), "3:ruler→尺\n");
#endif
}

#ifndef _WIN32
// Windows converts these bytes through its own table and default character, so only the iconv
// conversion promises U+FFFD for them.
struct InvalidGbk {
    const char* name;
    friend void PrintTo(const InvalidGbk& c, std::ostream* out) { *out << c.name; }
    std::string gbk;
    std::u16string utf16;
};

class CodePageInvalidGbk : public ::testing::TestWithParam<InvalidGbk> {};

TEST_P(CodePageInvalidGbk, BecomesReplacementCharacters) {
    EXPECT_EQ(GbkToUtf16(GetParam().gbk), GetParam().utf16);
    // U+FFFD in UTF-8, once per replaced byte as in UTF-16.
    std::string utf8;
    for (char16_t c : GetParam().utf16)
        utf8 += c == u'\xFFFD' ? std::string("\xEF\xBF\xBD") : std::string(1, static_cast<char>(c));
    EXPECT_EQ(GbkToUtf8(GetParam().gbk), utf8);
}

const InvalidGbk kCodePageInvalidGbkCases[] = {
    InvalidGbk{"ByteFF", "a\xFFz", u"a\uFFFDz"},
    InvalidGbk{"LeadByteAtTheEnd", "a\x81", u"a\uFFFD"},
    // The trail byte that does not fit is read again on its own.
    InvalidGbk{"LeadByteBeforeASpace", "\x81 b", u"\uFFFD b"},
    InvalidGbk{"LeadByteBeforeDel", "\x81\x7F", u"\uFFFD\x7F"},
};

INSTANTIATE_TEST_SUITE_P(Bytes, CodePageInvalidGbk, ::testing::ValuesIn(kCodePageInvalidGbkCases),
                         [](const auto& test) { return std::string(test.param.name); });
#endif

}  // namespace
}  // namespace zembra
