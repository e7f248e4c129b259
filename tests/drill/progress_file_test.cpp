// The progress file: reading the counter and the marks, the bytes a save writes, and what happens
// to a file that is missing, busy, unreadable or cannot be replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "data/word_bank.h"
#include "drill/progress_file.h"
#include "framework/file_io.h"
#include "framework/text_file.h"
#include "tests/support/drill_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/texts.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zembra::testing {
namespace {

using Marks = std::array<std::string, kRowCapacity>;
const std::string kEndOfData = "\x1A";

// A file as the program writes it: the counter, the given marks, then empty marks up to the bank.
std::string FileOf(const std::string& counter, const std::vector<std::string>& marks = {}) {
    std::string bytes = counter + "\r\n";
    for (const std::string& mark : marks) bytes += mark + "\r\n";
    for (std::size_t row = marks.size(); row < static_cast<std::size_t>(kBankRows); ++row) bytes += "\r\n";
    return bytes;
}

std::span<const std::string> BankRowsOf(const Marks& marks) {
    return {marks.data(), static_cast<std::size_t>(kBankRows)};
}

// ---------------------------------------------------------------------------------------------
// The counter line, read as atoi reads it.

struct CounterCase {
    const char* name;
    friend void PrintTo(const CounterCase& c, std::ostream* out) { *out << c.name; }
    std::string line;
    std::int32_t counter;
};

class RunCounterLine : public ::testing::TestWithParam<CounterCase> {};

TEST_P(RunCounterLine, ReadsTheLeadingInteger) { EXPECT_EQ(ParseRunCounter(GetParam().line), GetParam().counter); }

const CounterCase kRunCounterLineCases[] = {
    CounterCase{"Plain", "5", 5},
    CounterCase{"Empty", "", 0},
    CounterCase{"Letters", "abc", 0},
    CounterCase{"DigitsThenLetters", "12abc", 12},
    CounterCase{"Negative", "-3", -3},
    CounterCase{"LeadingSpaceAndPlus", "  +7", 7},
    CounterCase{"EveryWhiteSpace", "\t\n\v\f\r 42", 42},
    CounterCase{"LeadingZeros", "007", 7},
    CounterCase{"StopsAtASpace", "1 2", 1},
    CounterCase{"NoHexadecimal", "0x10", 0},
    CounterCase{"SignAlone", "-", 0},
    CounterCase{"TwoSigns", "+-3", 0},
    CounterCase{"SpaceAfterTheSign", "- 3", 0},
    CounterCase{"FullWidthDigits", "\xA3\xB1\xA3\xB2", 0},
    CounterCase{"Largest", "2147483647", INT32_MAX},
    CounterCase{"JustTooLarge", "2147483648", INT32_MAX},
    CounterCase{"FarTooLarge", "99999999999999999999999999", INT32_MAX},
    CounterCase{"Smallest", "-2147483648", INT32_MIN},
    CounterCase{"FarTooSmall", "-99999999999", INT32_MIN},
};

INSTANTIATE_TEST_SUITE_P(Lines, RunCounterLine, ::testing::ValuesIn(kRunCounterLineCases),
                         [](const auto& test) { return std::string(test.param.name); });

// ---------------------------------------------------------------------------------------------
// Reading a file's bytes.

struct ReadCase {
    const char* name;
    friend void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }
    std::string bytes;
    std::int32_t counter;
    std::vector<std::string> marks;  // every mark line read, in order
    std::int32_t mastered;
};

class ReadingProgress : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadingProgress, StoresEveryMarkLine) {
    const ReadCase& c = GetParam();
    Marks marks;
    TextReader reader = TextReader::OverBytes(c.bytes);
    const LoadedProgress loaded = ReadProgress(reader, marks);
    EXPECT_EQ(loaded.runCounter, c.counter);
    EXPECT_EQ(loaded.markLineCount, static_cast<std::int32_t>(c.marks.size()));
    EXPECT_EQ(loaded.masteredCount, c.mastered);
    EXPECT_EQ(std::vector<std::string>(marks.begin(), marks.begin() + static_cast<std::ptrdiff_t>(c.marks.size())),
              c.marks);
    for (std::size_t row = c.marks.size(); row < marks.size(); ++row) ASSERT_EQ(marks[row], "") << "row " << row;
}

const ReadCase kReadingProgressCases[] = {
    ReadCase{"EmptyFileStartsAtOne", "", 1, {}, 0},
    ReadCase{"CounterOnly", "7\r\n", 7, {}, 0},
    ReadCase{"CrLf", "5\r\n1\r\n\r\n1\r\n", 5, {"1", "", "1"}, 2},
    ReadCase{"LfOnly", "5\n1\n\n1\n", 5, {"1", "", "1"}, 2},
    ReadCase{"LastMarkWithoutLineEnd", "5\r\n\r\n1", 5, {"", "1"}, 1},
    ReadCase{"LettersFirst", "abc\r\n1\r\n", 0, {"1"}, 1},
    // Marks are kept byte for byte; mastered means non-empty without a '0' byte.
    ReadCase{"UnusualMarks",
             "2\r\n10\r\n \r\n\xB5\xA5\r\n0\r\nx\ry\r\n\r\r\n2\r\n",
             2,
             {"10", " ", "\xB5\xA5", "0", "x\ry", "\r", "2"},
             5},
    // The bytes before 0x1A on its line are the last mark; nothing after it is read.
    ReadCase{"EndOfDataInsideAMark", "4\r\n1\r\n1" + kEndOfData + "1\r\n1\r\n", 4, {"1", "1"}, 2},
    ReadCase{"EndOfDataAtALineStart", "4\r\n1\r\n" + kEndOfData + "1\r\n", 4, {"1"}, 1},
    ReadCase{"EndOfDataInTheCounter", "4" + kEndOfData + "2\r\n1\r\n", 4, {}, 0},
    ReadCase{"EndOfDataFirst", kEndOfData + "4\r\n1\r\n", 1, {}, 0},
};

INSTANTIATE_TEST_SUITE_P(Files, ReadingProgress, ::testing::ValuesIn(kReadingProgressCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReadingCapacity, StoresAtMostTheCapacityAndCountsOnlyThose) {
    // 2000 mark lines: every third of the first 1800 mastered, all 200 beyond them mastered too.
    std::string bytes = "9\r\n";
    for (int line = 0; line < 2000; ++line) bytes += (line % 3 == 0 || line >= kRowCapacity) ? "1\r\n" : "\r\n";
    Marks marks;
    TextReader reader = TextReader::OverBytes(bytes);
    const LoadedProgress loaded = ReadProgress(reader, marks);
    EXPECT_EQ(loaded.runCounter, 9);
    EXPECT_EQ(loaded.markLineCount, kRowCapacity);
    EXPECT_EQ(loaded.masteredCount, 600);
    EXPECT_EQ(marks[1797], "1");
    EXPECT_EQ(marks[1799], "");
}

// ---------------------------------------------------------------------------------------------
// The bytes of a save.

TEST(FormattingProgress, AFreshFileIsTheCounterAndEmptyLines) {
    const Marks marks;
    const std::string bytes = FormatProgress(2, BankRowsOf(marks));
    EXPECT_EQ(bytes.size(), 3511u);
    std::string expected = "2\r\n";
    for (int row = 0; row < 1754; ++row) expected += "\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(FormattingProgress, CounterAsPercentD) {
    const Marks marks;
    EXPECT_EQ(FormatProgress(-2, BankRowsOf(marks)).substr(0, 4), "-2\r\n");
    EXPECT_EQ(FormatProgress(INT32_MIN, BankRowsOf(marks)).substr(0, 13), "-2147483648\r\n");
    EXPECT_EQ(FormatProgress(0, BankRowsOf(marks)).substr(0, 3), "0\r\n");
}

TEST(FormattingProgress, WhatIsWrittenReadsBackTheSame) {
    Marks marks;
    marks[0] = "1";
    marks[1] = "\r";  // written as CR CR LF, read back as the lone CR
    marks[2] = "a\rb";
    marks[3] = " ";
    marks[4] = "\xB5\xA5\xB4\xCA";
    marks[1753] = "10";
    const std::string bytes = FormatProgress(-7, BankRowsOf(marks));
    TextReader reader = TextReader::OverBytes(bytes);
    Marks read;
    const LoadedProgress loaded = ReadProgress(reader, read);
    EXPECT_EQ(loaded.runCounter, -7);
    EXPECT_EQ(loaded.markLineCount, kBankRows);
    EXPECT_EQ(read, marks);
}

// ---------------------------------------------------------------------------------------------
// Loading and saving a real file.

class ProgressOnDisk : public ::testing::Test {
protected:
    LoadedProgress Load() { return m_file.Load(m_marks); }
    bool Save(std::int32_t counter) { return m_file.Save(counter, BankRowsOf(m_marks)); }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir m_dir;
    std::filesystem::path m_path = m_dir / "ZbXxYy.zb";
    std::string m_output;
    ProgressFile m_file{m_path, [this](std::string_view line) { m_output += line; }};
    Marks m_marks;
};

TEST_F(ProgressOnDisk, MissingFileIsCreatedEmptyThenSavedFresh) {
    const LoadedProgress loaded = Load();
    EXPECT_EQ(m_output, texts::kOpenFailed);
    EXPECT_EQ(m_output, G("打开文件失败。\n"));
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(loaded.markLineCount, 0);
    EXPECT_EQ(loaded.masteredCount, 0);
    ASSERT_TRUE(std::filesystem::exists(m_path));
    EXPECT_EQ(ReadBytes(m_path), "");

    m_output.clear();
    ASSERT_TRUE(Save(loaded.runCounter + 1));
    EXPECT_EQ(ReadBytes(m_path), FileOf("2"));
    EXPECT_EQ(std::filesystem::file_size(m_path), 3511u);
    EXPECT_EQ(m_output, "");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"}) << "no temporary file is left";
}

struct LoadSaveCase {
    const char* name;
    friend void PrintTo(const LoadSaveCase& c, std::ostream* out) { *out << c.name; }
    std::string bytes;
    std::int32_t counter;
    std::int32_t mastered;
    std::string saved;  // after a save with the counter one higher
};

class LoadThenSave : public ProgressOnDisk, public ::testing::WithParamInterface<LoadSaveCase> {};

TEST_P(LoadThenSave, KeepsTheMarksAndRewritesTheBank) {
    const LoadSaveCase& c = GetParam();
    WriteBytes(m_path, c.bytes);
    const LoadedProgress loaded = Load();
    EXPECT_EQ(loaded.runCounter, c.counter);
    EXPECT_EQ(loaded.masteredCount, c.mastered);
    EXPECT_EQ(m_output, "");
    EXPECT_EQ(ReadBytes(m_path), c.bytes) << "loading changes nothing";
    ASSERT_TRUE(Save(loaded.runCounter + 1));
    EXPECT_EQ(ReadBytes(m_path), c.saved);
}

std::string LinesOfOnes(int count) {
    std::string bytes = "8\r\n";
    for (int line = 0; line < count; ++line) bytes += "1\r\n";
    return bytes;
}

const LoadSaveCase kLoadThenSaveCases[] = {
    LoadSaveCase{"CrLf", "5\r\n1\r\n\r\n1\r\n", 5, 2, FileOf("6", {"1", "", "1"})},
    LoadSaveCase{"LfOnly", "5\n1\n\n1\n", 5, 2, FileOf("6", {"1", "", "1"})},
    LoadSaveCase{"UnusualMarksByteForByte", "3\r\n10\r\n \r\n\xB5\xA5\r\n\r\r\n", 3, 3,
                 FileOf("4", {"10", " ", "\xB5\xA5", "\r"})},
    LoadSaveCase{"Negative", "-3\r\n1\r\n", -3, 1, FileOf("-2", {"1"})},
    LoadSaveCase{"LettersFirst", "abc\r\n", 0, 0, FileOf("1")},
    LoadSaveCase{"EndOfData", "4\r\n1\r\n1" + kEndOfData + "1\r\n1\r\n", 4, 2, FileOf("5", {"1", "1"})},
    // The 46 lines past the bank count at start-up but are not written back.
    LoadSaveCase{"CapacityFull", LinesOfOnes(kRowCapacity), 8, kRowCapacity,
                 FileOf("9", std::vector<std::string>(1754, "1"))},
    LoadSaveCase{"LongerThanTheCapacity", LinesOfOnes(2000), 8, kRowCapacity,
                 FileOf("9", std::vector<std::string>(1754, "1"))},
};

INSTANTIATE_TEST_SUITE_P(Files, LoadThenSave, ::testing::ValuesIn(kLoadThenSaveCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Holds the file open the way another copy of the program does while it loads.
class HeldByAnotherCopy {
public:
    explicit HeldByAnotherCopy(const std::filesystem::path& path) {
#ifdef _WIN32
        m_handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(m_handle, INVALID_HANDLE_VALUE);
#else
        m_fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        EXPECT_GE(m_fd, 0);
        EXPECT_EQ(::flock(m_fd, LOCK_EX | LOCK_NB), 0);
#endif
    }
    ~HeldByAnotherCopy() {
#ifdef _WIN32
        CloseHandle(m_handle);
#else
        ::close(m_fd);
#endif
    }
    HeldByAnotherCopy(const HeldByAnotherCopy&) = delete;
    HeldByAnotherCopy& operator=(const HeldByAnotherCopy&) = delete;

private:
#ifdef _WIN32
    HANDLE m_handle;
#else
    int m_fd;
#endif
};

TEST_F(ProgressOnDisk, BusyFileIsNeverEmptied) {
    const std::string bytes = "5\r\n1\r\n\r\n1\r\n";
    WriteBytes(m_path, bytes);
    LoadedProgress loaded;
    {
        HeldByAnotherCopy other(m_path);
        loaded = Load();
    }
    EXPECT_EQ(m_output, texts::kOpenFailed);
#ifdef _WIN32
    // Held without sharing: not even reading is possible, so the run starts as on an empty file.
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(loaded.masteredCount, 0);
#else
    // Held for longer than the retries: read without the lock.
    EXPECT_EQ(loaded.runCounter, 5);
    EXPECT_EQ(loaded.masteredCount, 2);
    EXPECT_EQ(m_marks[2], "1");
#endif
    EXPECT_EQ(ReadBytes(m_path), bytes);
}

TEST_F(ProgressOnDisk, FolderInPlaceOfTheFileStartsEmptyAndIsNotReplaced) {
    // Cannot be read as a file on any platform, also not for an administrator.
    std::filesystem::create_directory(m_path);
    const LoadedProgress loaded = Load();
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(loaded.masteredCount, 0);
    EXPECT_EQ(m_output, texts::kOpenFailed);

    m_output.clear();
    EXPECT_FALSE(Save(2));
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_TRUE(std::filesystem::is_directory(m_path));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"}) << "the temporary file is removed";
}

TEST_F(ProgressOnDisk, SaveIntoAMissingFolderFails) {
    const ProgressFile file(m_dir / "missing" / "ZbXxYy.zb", [this](std::string_view line) { m_output += line; });
    EXPECT_FALSE(file.Save(2, BankRowsOf(m_marks)));
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(ProgressOnDisk, LeftoverOfACrashedSaveIsNotReused) {
    // A temporary file of an earlier process with the same id, killed while saving.
    const std::filesystem::path leftover = TemporaryPathBeside(m_path, 0);
    WriteBytes(leftover, "half a fi");
    m_marks[0] = "1";
    ASSERT_TRUE(Save(3));
    EXPECT_EQ(ReadBytes(m_path), FileOf("3", {"1"}));
    EXPECT_EQ(ReadBytes(leftover), "half a fi");
    EXPECT_EQ(FolderEntries().size(), 2u);
}

#ifndef _WIN32
// Permissions do not stop an administrator; these tests only mean something for a normal user.
bool CanOpen(const std::filesystem::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

TEST_F(ProgressOnDisk, UnreadableFileStartsEmptyAndStaysUnchanged) {
    WriteBytes(m_path, "5\r\n1\r\n");
    std::filesystem::permissions(m_path, std::filesystem::perms::none);
    if (CanOpen(m_path, O_RDONLY)) GTEST_SKIP() << "permissions do not apply to this user";
    const LoadedProgress loaded = Load();
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(loaded.masteredCount, 0);
    EXPECT_EQ(m_output, texts::kOpenFailed);
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_read);
    EXPECT_EQ(ReadBytes(m_path), "5\r\n1\r\n");
}

TEST_F(ProgressOnDisk, ReadOnlyFileIsReadAndStaysUnchanged) {
    WriteBytes(m_path, "5\r\n1\r\n");
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_read);
    if (CanOpen(m_path, O_RDWR)) GTEST_SKIP() << "permissions do not apply to this user";
    const LoadedProgress loaded = Load();
    EXPECT_EQ(loaded.runCounter, 5);
    EXPECT_EQ(loaded.masteredCount, 1);
    EXPECT_EQ(ReadBytes(m_path), "5\r\n1\r\n");
}

TEST_F(ProgressOnDisk, SaveIntoAReadOnlyFolderLeavesTheOldFileWhole) {
    WriteBytes(m_path, "5\r\n1\r\n");
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::filesystem::path probe = m_dir / "probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
        GTEST_SKIP() << "permissions do not apply to this user";
    }
    EXPECT_FALSE(Save(6));
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_EQ(ReadBytes(m_path), "5\r\n1\r\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"});
}
#endif

// ---------------------------------------------------------------------------------------------
// Through the dialog (the start and the close themselves are tested with the window's ending).

using ProgressInTheDialog = DrillTest;

TEST_F(ProgressInTheDialog, AMarkGainedIsSaved) {
    Start("5\r\n1\r\n\r\n1\r\n");
    const int row = Row();
    Answer(AnswerOf(row));
    m_window.CloseBox();
    std::vector<std::string> marks(1754);
    marks[0] = marks[2] = marks[static_cast<std::size_t>(row)] = "1";
    EXPECT_EQ(ReadBytes(m_file), FileOf("6", marks));
}

}  // namespace
}  // namespace zembra::testing
