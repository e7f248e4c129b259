// Text-mode reading and writing: CR LF and LF end lines, a lone CR stays, 0x1A ends the data,
// lines of any length; the same result however the bytes arrive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "framework/file_faults.h"
#include "framework/text_file.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zembra {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::size_t kBuffer = 4096;  // the reader's buffer
const std::string kEndOfData = "\x1A";

std::vector<std::string> ReadAll(TextReader& reader) {
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    EXPECT_FALSE(reader.ReadLine(line)) << "the end must stay the end";
    EXPECT_TRUE(line.empty());
    return lines;
}

// A source that gives at most `chunk` bytes per call, as a pipe or a slow disk might.
TextReader OverChunks(const std::string& bytes, std::size_t chunk) {
    return TextReader([bytes, chunk, at = std::size_t{0}](char* buffer, std::size_t size) mutable {
        const std::size_t n = std::min({size, chunk, bytes.size() - at});
        std::memcpy(buffer, bytes.data() + at, n);
        at += n;
        return static_cast<long>(n);
    });
}

struct ReadCase {
    const char* name;
    friend void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }
    std::string bytes;
    std::vector<std::string> lines;
};

class TextModeReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(TextModeReading, GivesTheLines) {
    TextReader reader = TextReader::OverBytes(GetParam().bytes);
    EXPECT_EQ(ReadAll(reader), GetParam().lines);
    EXPECT_FALSE(reader.Failed());
}

TEST_P(TextModeReading, GivesTheSameLinesOneByteAtATime) {
    // Every line end and every CR then falls on a refill.
    TextReader reader = OverChunks(GetParam().bytes, 1);
    EXPECT_EQ(ReadAll(reader), GetParam().lines);
}

std::string Xs(std::size_t n) { return std::string(n, 'x'); }

const ReadCase kTextModeReadingCases[] = {
    ReadCase{"Empty", "", {}},
    ReadCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
    ReadCase{"LfOnly", "a\nb\n", {"a", "b"}},
    ReadCase{"MixedEnds", "a\nb\r\nc\n", {"a", "b", "c"}},
    ReadCase{"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
    ReadCase{"EmptyLinesCount", "\r\n\n\r\n", {"", "", ""}},
    ReadCase{"SpacesKept", " a \r\n \r\n", {" a ", " "}},
    ReadCase{"LoneCrInsideKept", "a\rb\r\n", {"a\rb"}},
    ReadCase{"CrCrLfKeepsOneCr", "a\r\r\n", {"a\r"}},
    ReadCase{"LoneCrLine", "\r\n\r\r\n", {"", "\r"}},
    ReadCase{"LoneCrAtTheEnd", "a\r\nb\r", {"a", "b\r"}},
    ReadCase{"LfCrIsTwoEnds", "a\n\rb\n", {"a", "\rb"}},
    ReadCase{"EndOfDataEndsTheLastLine", "a\r\nb" + kEndOfData + "c\r\nd\r\n", {"a", "b"}},
    ReadCase{"EndOfDataAtALineStart", "a\r\n" + kEndOfData + "b\r\n", {"a"}},
    ReadCase{"EndOfDataFirst", kEndOfData + "a\r\n", {}},
    ReadCase{"CrBeforeEndOfData", "a\r\x1A\n", {"a\r"}},
    ReadCase{"EndOfDataBetweenCrAndLf", "a\r\nb\r\x1A\nc", {"a", "b\r"}},
    ReadCase{"OtherBytesPassUnchanged",
             std::string("\xB5\xA5\xB4\xCA\r\n\0\x7F\xFF\r\n", 11),
             {"\xB5\xA5\xB4\xCA", std::string("\0\x7F\xFF", 3)}},
    // Around the buffer's end.
    ReadCase{"CrLfSplitAcrossTheBuffer", Xs(kBuffer - 1) + "\r\ny", {Xs(kBuffer - 1), "y"}},
    ReadCase{"LoneCrAtTheBufferEnd", Xs(kBuffer - 1) + "\ry\n", {Xs(kBuffer - 1) + "\ry"}},
    ReadCase{"LoneCrAtTheBufferEndIsTheLast", Xs(kBuffer - 1) + "\r", {Xs(kBuffer - 1) + "\r"}},
    ReadCase{"LfFirstInTheNextBuffer", Xs(kBuffer) + "\ny", {Xs(kBuffer), "y"}},
    ReadCase{"EndOfDataFirstInTheNextBuffer", Xs(kBuffer) + kEndOfData + "y\n", {Xs(kBuffer)}},
    ReadCase{"CrThenEndOfDataInTheNextBuffer", Xs(kBuffer - 1) + "\r\x1A\n", {Xs(kBuffer - 1) + "\r"}},
    ReadCase{"EndOfDataInALaterBuffer", "1\r\n" + Xs(3 * kBuffer) + "\r\n2\x1A\r\n3\r\n", {"1", Xs(3 * kBuffer), "2"}},
    ReadCase{"LineLongerThanTheBuffer", Xs(100000) + "\r\nend", {Xs(100000), "end"}},
    ReadCase{"ManyShortLinesOverManyBuffers",
             [] {
                 std::string bytes;
                 for (int i = 0; i < 3000; ++i) bytes += "ab\r\n";
                 return bytes;
             }(),
             std::vector<std::string>(3000, "ab")},
};

INSTANTIATE_TEST_SUITE_P(Bytes, TextModeReading, ::testing::ValuesIn(kTextModeReadingCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(TextReader, ReportsAReadErrorApartFromTheEnd) {
    int calls = 0;
    TextReader reader([&calls](char* buffer, std::size_t) -> long {
        if (++calls > 1) return -1;
        std::memcpy(buffer, "a\n", 2);
        return 2;
    });
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "a");
    EXPECT_FALSE(reader.Failed());
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.Failed());
    // After the error the source is left alone.
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_EQ(calls, 2);
}

TEST(TextReader, StopsAskingTheSourceAtEndOfData) {
    int calls = 0;
    TextReader reader([&calls](char* buffer, std::size_t) -> long {
        ++calls;
        const std::string bytes = "a" + kEndOfData + "b\n";
        std::memcpy(buffer, bytes.data(), bytes.size());
        return static_cast<long>(bytes.size());
    });
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "a");
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(calls, 1);
}

struct WriteCase {
    const char* name;
    friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }
    std::string text;
    std::string bytes;
};

class TextModeWriting : public ::testing::TestWithParam<WriteCase> {};

TEST_P(TextModeWriting, WritesEveryLfAsCrLf) { EXPECT_EQ(ToTextModeBytes(GetParam().text), GetParam().bytes); }

const WriteCase kTextModeWritingCases[] = {
    WriteCase{"Empty", "", ""},
    WriteCase{"NoLineEnd", "abc", "abc"},
    WriteCase{"Lines", "2\n\n1\n", "2\r\n\r\n1\r\n"},
    // A CR already there is not taken as part of a line end.
    WriteCase{"CrLfGetsAnotherCr", "a\r\n", "a\r\r\n"},
    WriteCase{"LoneCrUnchanged", "a\rb", "a\rb"},
    WriteCase{"OtherBytesUnchanged", "\xB5\xA5\x1A", "\xB5\xA5\x1A"},
};

INSTANTIATE_TEST_SUITE_P(Texts, TextModeWriting, ::testing::ValuesIn(kTextModeWritingCases),
                         [](const auto& test) { return std::string(test.param.name); });

class TextFileOnDisk : public ::testing::Test {
protected:
    TempDir m_dir;
    std::filesystem::path m_path = m_dir / "text.txt";
};

TEST_F(TextFileOnDisk, RoundTrip) {
    {
        TextFile file;
        ASSERT_EQ(file.CreateNew(m_path), OpenStatus::Opened);
        ASSERT_TRUE(file.WriteString("7\n"));
        ASSERT_TRUE(file.WriteString("a b\r\n\n" + Xs(10000) + "\n"));
        ASSERT_TRUE(file.Flush());
        ASSERT_TRUE(file.Close());
    }
    EXPECT_EQ(ReadBytes(m_path), "7\r\na b\r\r\n\r\n" + Xs(10000) + "\r\n");

    TextFile file;
    ASSERT_EQ(file.OpenExisting(m_path), OpenStatus::Opened);
    EXPECT_EQ(ReadAll(file.Reader()), (std::vector<std::string>{"7", "a b\r", "", Xs(10000)}));
    EXPECT_FALSE(file.Reader().Failed());
}

TEST_F(TextFileOnDisk, OpenStatuses) {
    TextFile file;
    EXPECT_EQ(file.OpenExisting(m_path), OpenStatus::NotFound);
    EXPECT_EQ(file.OpenReadOnly(m_path), OpenStatus::NotFound);
    EXPECT_EQ(file.CreateNew(m_dir / "missing" / "text.txt"), OpenStatus::NotFound);

    WriteBytes(m_path, "old\r\n");
    EXPECT_EQ(file.CreateNew(m_path), OpenStatus::Exists);
    EXPECT_EQ(ReadBytes(m_path), "old\r\n") << "creating never replaces a file";

    ASSERT_EQ(file.OpenReadOnly(m_path), OpenStatus::Opened);
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "old");
}

TEST_F(TextFileOnDisk, AReadErrorAfterSomeLinesIsNotTheEnd) {
    WriteBytes(m_path, "first\r\n" + Xs(kBuffer) + "\r\nlast\r\n");
    TextFile file;
    ASSERT_EQ(file.OpenReadOnly(m_path), OpenStatus::Opened);
    InjectedFileFaults faults(FailNth(FileOperation::Read, 2));
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "first");
    EXPECT_FALSE(file.Reader().Failed());
    // The second line runs past the first buffer: the partial line is not given as a line.
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_TRUE(file.Reader().Failed());
    EXPECT_FALSE(file.ReadLine(line));
}

#ifndef _WIN32
TEST_F(TextFileOnDisk, OnlyARegularFileIsOpened) {
    // A FIFO without a writer would block an open or a read for ever; a device may never end.
    ASSERT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
    for (const std::filesystem::path& path : {m_path, m_dir.Path(), std::filesystem::path("/dev/zero")}) {
        TextFile file;
        EXPECT_EQ(file.OpenReadOnly(path), OpenStatus::NotAFile) << path;
        EXPECT_EQ(file.OpenExisting(path), OpenStatus::NotAFile) << path;
    }
}
#else
TEST_F(TextFileOnDisk, OnlyAFileOnADiskIsOpened) {
    TextFile file;
    EXPECT_EQ(file.OpenReadOnly(L"\\\\.\\NUL"), OpenStatus::NotAFile);
    EXPECT_EQ(file.OpenExisting(L"\\\\.\\NUL"), OpenStatus::NotAFile);
}
#endif

}  // namespace
}  // namespace zembra
