// A pupil's word list read from the bytes a parent's editor or spreadsheet saves: one named case per
// way of writing a row, an encoding, a line that is left out or a file that is refused; the three
// sample files; the copy the program keeps.
#include "drill/word_list_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "framework/code_page.h"
#include "tests/support/temp_dir.h"

namespace zembra {

inline void PrintTo(const WordListRow& row, std::ostream* out) { *out << row.answer << '=' << GbkToUtf8(row.prompt); }
inline void PrintTo(const ListLineProblem& problem, std::ostream* out) {
    *out << "line " << problem.line << " fault " << static_cast<int>(problem.fault);
}

namespace {

using F = ListLineFault;
using R = ListRefusal;
constexpr F kPast = F::PastRowLimit;

enum class As { Utf8, Utf8Bom, Utf16Le, Utf16Be, Gbk };

// The bytes of a UTF-8 text as a file in `as`; the text's characters all have GBK forms but where
// they are written as bytes.
std::string Encoded(const std::string& utf8, As as) {
    if (as == As::Utf8) return utf8;
    if (as == As::Utf8Bom) return "\xEF\xBB\xBF" + utf8;
    if (as == As::Gbk) return Utf8ToGbk(utf8);
    std::string bytes = as == As::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : GbkToUtf16(Utf8ToGbk(utf8))) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += as == As::Utf16Le ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

// "answer=prompt|answer=prompt" in UTF-8.
std::vector<WordListRow> Rows(const std::string& text) {
    std::vector<WordListRow> rows;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('|', at), text.size());
        const std::size_t equals = text.find('=', at);
        rows.push_back({Utf8ToGbk(text.substr(at, equals - at)), Utf8ToGbk(text.substr(equals + 1, end - equals - 1))});
        at = end + 1;
    }
    return rows;
}

// A literal's bytes, NULs included.
template <std::size_t N>
std::string B(const char (&bytes)[N]) {
    return std::string(bytes, N - 1);
}

std::string A(std::size_t count) { return std::string(count, 'a'); }

std::string Times(int count, const std::string& text) {
    std::string all;
    for (int i = 0; i < count; ++i) all += text;
    return all;
}

struct ListCase {
    const char* name;
    friend void PrintTo(const ListCase& c, std::ostream* out) { *out << c.name; }
    std::string text;  // UTF-8, or the file's bytes as they stand
    std::string rows;
    std::vector<ListLineProblem> problems = {};
    R refusal = R::None;
    As as = As::Utf8;
};

class WordListLines : public ::testing::TestWithParam<ListCase> {};

// Every reading is also written as the program's copy, which reads back the same.
TEST_P(WordListLines, ReadAsAParentMeantThem) {
    const ListCase& c = GetParam();
    const WordListReading reading = ReadWordList(Encoded(c.text, c.as));
    EXPECT_EQ(reading.refusal, c.refusal);
    EXPECT_EQ(reading.rows, Rows(c.rows));
    EXPECT_EQ(reading.problems, c.problems);
    if (reading.rows.empty()) return;
    const WordListReading copy = ReadWordList(FormatWordList(reading.rows));
    EXPECT_EQ(copy.rows, reading.rows);
    EXPECT_TRUE(copy.problems.empty());
}

const std::string kLines = "# 第一单元\r\napple\t苹果\r\n\r\nlook at\t看\r\n苹果树\r\n";
const std::string kLinesRows = "apple=苹果|look at=看";
const std::vector<ListLineProblem> kLinesProblems = {{5, F::NoEnglish}};

const ListCase kCases[] = {
    {"Tab", "apple\t苹果", "apple=苹果"},
    {"Comma", "look at,看", "look at=看"},
    {"FullWidthCommaChineseFirst", "苹果，apple", "apple=苹果"},
    {"SpaceChineseFirst", "苹果 apple", "apple=苹果"},
    {"TabChineseFirst", "苹果\tapple", "apple=苹果"},
    {"Dash", "apple - 苹果", "apple=苹果"},
    {"LongDashes", "apple——苹果", "apple=苹果"},
    {"FullWidthDash", "apple－苹果", "apple=苹果"},
    {"SeveralSeparators", "apple , - 苹果", "apple=苹果"},
    {"NoSeparator", "apple苹果", "apple=苹果"},
    {"AsciiStartingTheChinese", "T-shirt T恤衫", "T-shirt=T恤衫"},
    {"AsciiStartingTheChineseFirst", "CD机 CD player", "CD player=CD机"},
    {"AsciiEndingTheChineseFirst", "卡拉OK karaoke", "karaoke=卡拉OK"},
    {"EllipsisInTheChinese", "做…… do", "do=做……"},
    {"Apostrophe", "don't 不要", "don't=不要"},
    {"Abbreviation", "Mr. 先生", "Mr.=先生"},
    {"Forms", "have breakfast/lunch 吃早饭/午饭", "have breakfast/lunch=吃早饭/午饭"},
    {"SlashAndSpaces", "apple  / pear   tree 苹果", "apple/pear tree=苹果"},
    {"FullWidthAnswer", "ｌｏｏｋ　ａｔ，看", "look at=看"},
    {"CurlyApostrophe", "don’t 不要", "don't=不要"},
    {"FullWidthKeptInThePrompt", "apple 苹果（ｎ．）", "apple=苹果（ｎ．）"},
    {"CsvQuotes", "\"look at\",看", "look at=看"},
    {"CsvQuotedParts", "\"Yes, I do.\",\"是的，我是。\"", "Yes, I do.=是的，我是。"},
    {"CsvDoubledQuotes", "苹果,\"say \"\"hi\"\"\"", "say \"hi\"=苹果"},
    {"SpreadsheetExtras", "apple\t苹果\tn.\npear,梨,,\n", "apple=苹果|pear=梨"},
    {"Numbers", "3. apple - 苹果\n4、pear 梨\n5,peach,桃", "apple=苹果|pear=梨|peach=桃"},
    {"NumberColumns", "6\tplum\t李子\n7)fig 无花果", "plum=李子|fig=无花果"},
    {"FullWidthNumbers", "8）lime 酸橙\n9．kiwi 猕猴桃", "lime=酸橙|kiwi=猕猴桃"},
    {"DigitsOfTheAnswer", "1st 第一", "1st=第一"},
    {"Header", "单词,中文\napple,苹果", "apple=苹果"},
    {"EnglishHeaderAfterComments", "# 词表\n\n  WORDS - Meanings\napple 苹果", "apple=苹果"},
    {"HeaderWithNumberColumn", "序号\t英文\t中文意思\n1\tapple\t苹果", "apple=苹果"},
    {"LaterHeaderWords", "a,啊\nEnglish,Chinese\n单词,中文", "a=啊", {{2, F::NoChinese}, {3, F::NoEnglish}}},
    {"FirstRowOfHeaderWordsAfterAHeader", "English\tChinese\nword\t单词", "word=单词"},
    {"Comments", "#apple 苹果\n  # pear 梨\npeach 桃", "peach=桃"},
    {"LineEnds", "a 啊\rb 不\r\n\r\n,橙\nc 从\r", "a=啊|b=不|c=从", {{4, F::NoEnglish}}},
    {"Utf8", kLines, kLinesRows, kLinesProblems},
    {"Utf8Bom", kLines, kLinesRows, kLinesProblems, R::None, As::Utf8Bom},
    {"Utf16Le", kLines, kLinesRows, kLinesProblems, R::None, As::Utf16Le},
    {"Utf16Be", kLines, kLinesRows, kLinesProblems, R::None, As::Utf16Be},
    {"Gbk", kLines, kLinesRows, kLinesProblems, R::None, As::Gbk},
    {"NoGbkFormInUtf8", "apple 苹果\nsmile 😀\n", "apple=苹果", {{2, F::NoGbkForm}}},
    {"LoneSurrogateInUtf16", B("\xFF\xFE\x61\0 \0\x3B\x9F\n\0b\0 \0\x00\xD8"), "a=鼻", {{2, F::NoGbkForm}}},
    {"Gb18030FourBytes", "b \xB2\xBB\nc \x81\x30\x81\x30\n", "b=不", {{2, F::NoGbkForm}}},
    {"InvalidGbk", "p \xC0\nb \xB2\xBB\nq \x80", "b=不", {{1, F::NoGbkForm}, {3, F::NoGbkForm}}},
    {"Controls", "\fapple 苹果\x1B\napp\x01le 苹果\r\n\x1A", "apple=苹果", {{2, F::NoGbkForm}}},
    {"NoChinese", "apple\nok 好", "ok=好", {{1, F::NoChinese}}},
    {"NoEnglish", "苹果\n123 数\nok 好", "ok=好", {{1, F::NoEnglish}, {2, F::NoEnglish}}},
    {"NoEnglishAtTheEnds", "3.\n苹果 ok 红色\nok 好", "ok=好", {{1, F::NoEnglish}, {2, F::NoEnglish}}},
    {"LongestParts", A(64) + " " + Times(20, "词"), A(64) + "=" + Times(20, "词")},
    {"TooLong", "a 啊\n" + A(65) + " 词\nb " + Times(21, "词"), "a=啊", {{2, F::TooLong}, {3, F::TooLong}}},
    {"PastRowLimit", Times(1800, "a 啊\n") + ",啊\nb 不", Times(1800, "a=啊|"), {{1801, F::NoEnglish}, {1802, kPast}}},
    {"LargestFile", "a 啊\n" + std::string(kListFileLimit - 6, ' '), "a=啊"},
    {"TooLarge", std::string(kListFileLimit + 1, '\0'), "", {}, R::TooLarge},
    {"Nul", B("a 啊\n\0"), "", {}, R::NotText},
    {"NulInUtf16", B("\xFF\xFE\x61\0\0\0"), "", {}, R::NotText},
    {"Utf16WithoutBom", B("a\0 \0\x4A\x55"), "", {}, R::NotText},
    {"ManyControls", "a 啊\n" + std::string(9, '\x02'), "", {}, R::NotText},
    {"FewControls", "a 啊\n" + std::string(8, '\x02'), "a=啊"},
    {"Empty", "", "", {}, R::NoUsableLine},
    {"OnlyCommentsAndHeader", "# 词表\n单词\t中文\n\n", "", {}, R::NoUsableLine},
    {"OnlyBadLines", "苹果\n,梨\n" + A(65) + " 词", "", {}, R::NoUsableLine},
};

INSTANTIATE_TEST_SUITE_P(Lines, WordListLines, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(WordListFiles, ReadToTheirRows) {
    const std::filesystem::path folder = ZEMBRA_LIST_FILES;
    const auto read = [&](const char* name) { return ReadWordList(testing::ReadBytes(folder / name)); };
    const WordListReading notepad = read("Unit 1 Notepad.txt");
    EXPECT_EQ(notepad.rows,
              Rows("pen=钢笔|pencil=铅笔|ruler=尺子|eraser=橡皮|crayon=蜡笔|bag=书包|book=书|pencil box=铅笔盒"));
    EXPECT_TRUE(notepad.problems.empty());
    const WordListReading spreadsheet = read("Unit 2 spreadsheet.csv");
    EXPECT_EQ(spreadsheet.rows,
              Rows("red=红色|green=绿色|yellow=黄色|blue=蓝色|black=黑色|brown=棕色|white=白色|orange=橙色"));
    EXPECT_EQ(spreadsheet.problems, (std::vector<ListLineProblem>{{10, F::NoEnglish}}));
    const WordListReading unicode = read("Unit 3 Unicode.txt");
    EXPECT_EQ(unicode.rows,
              Rows("face=脸|ear=耳朵|eye=眼睛|nose=鼻子|mouth=嘴|arm=胳膊|hand=手|head=头|body=身体|leg=腿|foot=脚"));
    EXPECT_TRUE(unicode.problems.empty());
}

// UTF-8 lines of answer and prompt; a number column where the answer's start would read as a
// number or a comment, or the first row as a header; quotes where reading would take them off.
TEST(WordListCopy, IsOneTabbedLinePerRow) {
    const std::vector<WordListRow> rows =
        Rows("word=单词|apple=苹果|3D=三维|#tag=标签|\"OK\"=\"好\"|say \"hi\"=说\"你好\"");
    EXPECT_EQ(FormatWordList(rows),
              "1\tword\t单词\napple\t苹果\n1\t3D\t三维\n1\t#tag\t标签\n\"\"\"OK\"\"\"\t\"\"\"好\"\"\"\nsay "
              "\"hi\"\t说\"你好\"\n");
    EXPECT_EQ(ReadWordList(FormatWordList(rows)).rows, rows);
}

}  // namespace
}  // namespace zembra
