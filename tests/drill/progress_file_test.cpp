// The progress file: reading the counter and the marks, the bytes a save writes, and what happens
// to a file that is missing, busy, unreadable, cut short by a read error, read-only, a link, or
// cannot be replaced; what a save adds to a file that the start-up could not read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "data/word_bank.h"
#include "drill/progress_file.h"
#include "framework/file_faults.h"
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

TEST(ReadingCapacity, StoresAtMostTheCapacityAndCountsOnlyTheBanksRows) {
    // 2000 mark lines: every third of the first 1800 mastered, all 200 beyond them mastered too;
    // only the 585 among rows 0..1753 count.
    std::string bytes = "9\r\n";
    for (int line = 0; line < 2000; ++line) bytes += (line % 3 == 0 || line >= kRowCapacity) ? "1\r\n" : "\r\n";
    Marks marks;
    TextReader reader = TextReader::OverBytes(bytes);
    const LoadedProgress loaded = ReadProgress(reader, marks);
    EXPECT_EQ(loaded.runCounter, 9);
    EXPECT_EQ(loaded.markLineCount, kRowCapacity);
    EXPECT_EQ(loaded.masteredCount, 585);
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
// What a save adds to the marks a file holds when the start-up could not read it whole.

struct MergeCase {
    const char* name;
    friend void PrintTo(const MergeCase& c, std::ostream* out) { *out << c.name; }
    std::string session;
    std::string file;
    std::size_t rowsReset;  // the rows that the start-up read and the pupil then reset
    std::string saved;
};

class MergingMarks : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergingMarks, KeepsEveryMarkMasteredInEither) {
    const MergeCase& c = GetParam();
    // Row 1 carries the case, between a row mastered only on disk and one only in the session.
    const std::vector<std::string> session{"", c.session, "1"};
    std::vector<std::string> file{"x", c.file, ""};
    MergeSessionMarks(session, c.rowsReset, file);
    EXPECT_EQ(file[1], c.saved);
    EXPECT_EQ(file[0], c.rowsReset > 0 ? "" : "x");
    EXPECT_EQ(file[2], "1");
}

const MergeCase kMergingMarksCases[] = {
    MergeCase{"MasteredInTheSession", "1", "", 0, "1"},
    MergeCase{"MasteredOnDisk", "", "1", 0, "1"},
    MergeCase{"MasteredInBoth", "1", "1", 0, "1"},
    // A mark mastered on disk keeps the file's own bytes.
    MergeCase{"OtherMasteredTextOnDiskStays", "1", "x", 0, "x"},
    MergeCase{"SpaceOnDiskStays", "", " ", 0, " "},
    // Mastered in both with a review schedule: the one due later was made later, and a schedule
    // wins over a mastered mark of no known date.
    MergeCase{"LaterReviewOfTheSessionWins", "c25877", "b25876", 0, "c25877"},
    MergeCase{"LaterReviewOnDiskStays", "a25876", "d26111", 0, "d26111"},
    MergeCase{"ScheduleReplacesAnUndatedMastery", "a25876", "1", 0, "a25876"},
    // A mark on disk that holds a 0 is not mastered: the session's mastery replaces it, and
    // without one the file's text stays.
    MergeCase{"UnmasteredTextOnDiskGivesWay", "1", "10", 0, "1"},
    MergeCase{"UnmasteredTextOnDiskStays", "", "10", 0, "10"},
    MergeCase{"ZeroStays", "", "0", 0, "0"},
    // A miss of the session (a mark holding a 0) is kept where the file has no mark; a mark of the
    // file that is mastered, or missed already, stays.
    MergeCase{"SessionsMissIsKept", "0", "", 0, "0"},
    MergeCase{"SessionsMissGivesWayToMasteryOnDisk", "0", "1", 0, "1"},
    MergeCase{"SessionsMissLeavesTheFilesOwnMissedText", "0", "10", 0, "10"},
    MergeCase{"MissOnDiskGivesWayToTheSessionsMastery", "1", "0", 0, "1"},
    // A reset of rows the pupil saw: only what was mastered since counts.
    MergeCase{"ResetClearsWhatTheFileHeld", "", "1", 3, ""},
    MergeCase{"ResetThenMasteredAgain", "1", "x", 3, "1"},
    MergeCase{"ResetThenMissed", "0", "1", 3, "0"},
    // A reset never reaches a row that the start-up did not read.
    MergeCase{"ResetOfTheRowsReadOnly", "", "1", 1, "1"},
};

INSTANTIATE_TEST_SUITE_P(Marks, MergingMarks, ::testing::ValuesIn(kMergingMarksCases),
                         [](const auto& test) { return std::string(test.param.name); });

// ---------------------------------------------------------------------------------------------
// Loading and saving a real file.

class ProgressOnDisk : public ::testing::Test {
protected:
    LoadedProgress Load() { return m_file.Load(m_marks); }
    // The close request's save after Load: the counter one higher, the bank's marks.
    std::optional<std::int32_t> Close(std::int32_t counter, bool reset = false) {
        return m_file.Save(counter, BankRowsOf(m_marks), reset);
    }
    bool Replace(std::int32_t counter) { return m_file.Replace(counter, BankRowsOf(m_marks)); }
    std::vector<std::string> FolderEntries(const std::filesystem::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> FolderEntries() const { return FolderEntries(m_dir.Path()); }

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
    EXPECT_EQ(Close(loaded.runCounter), 2);
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
    EXPECT_EQ(Close(loaded.runCounter), NextRunCounter(c.counter));
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
    LoadSaveCase{"MissedMarks", "2\r\n0\r\n1\r\n\r\n0\r\n", 2, 1, FileOf("3", {"0", "1", "", "0"})},
    LoadSaveCase{"UnusualMarksByteForByte", "3\r\n10\r\n \r\n\xB5\xA5\r\n\r\r\n", 3, 3,
                 FileOf("4", {"10", " ", "\xB5\xA5", "\r"})},
    LoadSaveCase{"Negative", "-3\r\n1\r\n", -3, 1, FileOf("-2", {"1"})},
    LoadSaveCase{"LettersFirst", "abc\r\n", 0, 0, FileOf("1")},
    LoadSaveCase{"EndOfData", "4\r\n1\r\n1" + kEndOfData + "1\r\n1\r\n", 4, 2, FileOf("5", {"1", "1"})},
    LoadSaveCase{"LargestCounterWraps", "2147483647\r\n", INT32_MAX, 0, FileOf("-2147483648")},
    // The 46 lines past the bank belong to no row: not counted, not written back.
    LoadSaveCase{"CapacityFull", LinesOfOnes(kRowCapacity), 8, kBankRows,
                 FileOf("9", std::vector<std::string>(1754, "1"))},
    LoadSaveCase{"LongerThanTheCapacity", LinesOfOnes(2000), 8, kBankRows,
                 FileOf("9", std::vector<std::string>(1754, "1"))},
};

INSTANTIATE_TEST_SUITE_P(Files, LoadThenSave, ::testing::ValuesIn(kLoadThenSaveCases),
                         [](const auto& test) { return std::string(test.param.name); });

// A file as the program writes it with every row mastered but the last.
const std::string kAllButTheLastRow = ProgressFileAllMasteredBut(5, {kBankRows - 1});

TEST_F(ProgressOnDisk, AReadErrorIsAFailedLoadAndTheCloseAddsToTheFile) {
    WriteBytes(m_path, kAllButTheLastRow);
    LoadedProgress loaded;
    {
        // The file is longer than the reader's buffer: the second read fails.
        InjectedFileFaults faults(FailNth(FileOperation::Read, 2));
        loaded = Load();
    }
    EXPECT_FALSE(loaded.readWhole);
    EXPECT_EQ(m_output, texts::kOpenFailed);
    EXPECT_EQ(loaded.runCounter, 5);
    EXPECT_GT(loaded.masteredCount, 1000) << "what was read stays for the run";
    EXPECT_LT(loaded.masteredCount, kBankRows - 1);
    EXPECT_EQ(m_marks[kBankRows - 2], "") << "the rows after the error are not mastered in the session";

    m_output.clear();
    m_marks[kBankRows - 1] = "1";  // mastered in the session
    EXPECT_EQ(Close(loaded.runCounter), 6);
    EXPECT_EQ(m_output, "");
    EXPECT_EQ(ReadBytes(m_path), ProgressFileAllMasteredBut(6, {}));
}

TEST_F(ProgressOnDisk, AFileThatCannotBeReadAgainAtTheCloseIsLeftAsItIs) {
    WriteBytes(m_path, kAllButTheLastRow);
    {
        InjectedFileFaults faults(FailNth(FileOperation::Read, 2));
        Load();
    }
    m_output.clear();
    m_marks[kBankRows - 1] = "1";
    {
        InjectedFileFaults faults(FailNth(FileOperation::Read, 2));
        EXPECT_EQ(Close(5), std::nullopt);
    }
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_EQ(ReadBytes(m_path), kAllButTheLastRow);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"});
}

TEST_F(ProgressOnDisk, AResetAfterAStartUpThatReadNothingKeepsTheFilesMarks) {
    WriteBytes(m_path, kAllButTheLastRow);
    {
        InjectedFileFaults faults([](FileOperation operation) { return operation == FileOperation::Open; });
        EXPECT_FALSE(Load().readWhole);
    }
    m_marks[kBankRows - 1] = "1";  // mastered after the reset
    EXPECT_EQ(Close(1, true), 6);
    EXPECT_EQ(ReadBytes(m_path), ProgressFileAllMasteredBut(6, {}));
}

std::string NameOf(FileOperation operation) {
    constexpr const char* kNames[] = {"Open", "Read", "Write", "Flush", "Close", "Rename", "Remove"};
    return kNames[static_cast<int>(operation)];
}

// Each step of a save that fails leaves the old file whole, removes its temporary file and says
// so; the next save goes through.
class FailedStepOfASave : public ProgressOnDisk, public ::testing::WithParamInterface<FileOperation> {};

TEST_P(FailedStepOfASave, LeavesTheFileAndSaysSo) {
    const std::string before = FileOf("5", {"1"});
    WriteBytes(m_path, before);
    Load();
    m_marks[1] = "1";
    {
        InjectedFileFaults faults(FailNth(GetParam(), 1));
        EXPECT_EQ(Close(5), std::nullopt);
    }
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_EQ(ReadBytes(m_path), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"});

    m_output.clear();
    EXPECT_EQ(Close(5), 6);
    EXPECT_EQ(m_output, "");
    EXPECT_EQ(ReadBytes(m_path), FileOf("6", {"1", "1"}));
}

INSTANTIATE_TEST_SUITE_P(Operations, FailedStepOfASave,
                         ::testing::Values(FileOperation::Open, FileOperation::Write, FileOperation::Flush,
                                           FileOperation::Close, FileOperation::Rename),
                         [](const auto& test) { return NameOf(test.param); });

// Two copies on one file, as when the lock could not be taken: each save finds the file changed
// since it was read and adds its session to what the other saved.
TEST_F(ProgressOnDisk, TwoCopiesAtOnceKeepEachOthersMarks) {
    WriteBytes(m_path, FileOf("5", {"", "", "1"}));
    ProgressFile other(m_path, [](std::string_view) {});
    Marks otherMarks;
    Load();
    other.Load(otherMarks);
    otherMarks[0] = "1";
    otherMarks[3] = "0";
    EXPECT_EQ(other.Save(5, BankRowsOf(otherMarks), false), 6);
    m_marks[1] = "1";
    m_marks[0] = "0";  // missed here, mastered there: mastered
    EXPECT_EQ(Close(5), 7);
    EXPECT_EQ(ReadBytes(m_path), FileOf("7", {"1", "1", "1", "0"}));
    otherMarks[4] = "1";
    EXPECT_EQ(other.Save(6, BankRowsOf(otherMarks), false), 8);
    EXPECT_EQ(ReadBytes(m_path), FileOf("8", {"1", "1", "1", "0", "1"}));
    EXPECT_EQ(m_output, "");
}

TEST_F(ProgressOnDisk, AFileTooLargeToReadWholeIsNeverSavedOver) {
    // A mark longer than any mark, and marks of a line's length for every row.
    const std::string longMark(kMarkLineLimit + 1, '1');
    const std::string rowsTooLong = FileOf("5", std::vector<std::string>(kBankRows, std::string(700, '1')));
    for (const std::string& bytes : {FileOf("5", {"1", longMark}), rowsTooLong}) {
        WriteBytes(m_path, bytes);
        m_output.clear();
        const LoadedProgress loaded = Load();
        EXPECT_FALSE(loaded.readWhole);
        EXPECT_TRUE(loaded.tooLarge);
        EXPECT_EQ(m_output, std::string(texts::kOpenFailed) + texts::kTooLarge);
        m_marks[7] = "1";
        EXPECT_EQ(Close(loaded.runCounter), std::nullopt);
        EXPECT_EQ(m_file.Fault(), ProgressFault::TooLarge);
        EXPECT_TRUE(ReadBytes(m_path) == bytes) << "the file was changed";
    }
}

// Holds the file open the way another copy of the program does while it loads, or (on Windows)
// the way a virus scanner or a backup program may: without sharing.
class HeldByAnotherProgram {
public:
    explicit HeldByAnotherProgram(const std::filesystem::path& path) {
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
    ~HeldByAnotherProgram() {
#ifdef _WIN32
        CloseHandle(m_handle);
#else
        ::close(m_fd);
#endif
    }
    HeldByAnotherProgram(const HeldByAnotherProgram&) = delete;
    HeldByAnotherProgram& operator=(const HeldByAnotherProgram&) = delete;

private:
#ifdef _WIN32
    HANDLE m_handle;
#else
    int m_fd;
#endif
};

TEST_F(ProgressOnDisk, AFileHeldAtStartUpIsNeverEmptied) {
    const std::string bytes = "5\r\n1\r\n\r\n1\r\n";
    WriteBytes(m_path, bytes);
    LoadedProgress loaded;
    {
        HeldByAnotherProgram other(m_path);
        loaded = Load();
    }
    EXPECT_EQ(m_output, texts::kOpenFailed);
    EXPECT_EQ(ReadBytes(m_path), bytes);
    m_marks[1] = "1";  // mastered in the session
#ifdef _WIN32
    // Held without sharing: not even reading is possible, so the run starts as on an empty file.
    EXPECT_FALSE(loaded.readWhole);
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(loaded.masteredCount, 0);
    m_output.clear();
    {
        HeldByAnotherProgram stillHeld(m_path);
        EXPECT_EQ(Close(loaded.runCounter), std::nullopt);
    }
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_EQ(ReadBytes(m_path), bytes);
    // Free again at the next close: the file's marks and counter, with the session's added.
    m_output.clear();
    EXPECT_EQ(Close(loaded.runCounter), 6);
#else
    // Held for longer than the retries: read without the lock.
    EXPECT_TRUE(loaded.readWhole);
    EXPECT_EQ(loaded.runCounter, 5);
    EXPECT_EQ(loaded.masteredCount, 2);
    EXPECT_EQ(m_marks[2], "1");
    m_output.clear();
    EXPECT_EQ(Close(loaded.runCounter), 6);
#endif
    EXPECT_EQ(m_output, "");
    EXPECT_EQ(ReadBytes(m_path), FileOf("6", {"1", "1", "1"}));
}

TEST_F(ProgressOnDisk, FolderInPlaceOfTheFileStartsEmptyAndIsNotReplaced) {
    // Cannot be read as a file on any platform, also not for an administrator.
    std::filesystem::create_directory(m_path);
    const LoadedProgress loaded = Load();
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(loaded.masteredCount, 0);
#ifdef _WIN32
    EXPECT_EQ(m_output, texts::kOpenFailed);
#else
    EXPECT_EQ(m_output, std::string(texts::kOpenFailed) + texts::kNotAFile);
#endif

    m_output.clear();
    EXPECT_EQ(Close(loaded.runCounter), std::nullopt);
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_TRUE(std::filesystem::is_directory(m_path));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"}) << "nothing is left beside it";
}

TEST_F(ProgressOnDisk, SaveIntoAMissingFolderFails) {
    ProgressFile file(m_dir / "missing" / "ZbXxYy.zb", [this](std::string_view line) { m_output += line; });
    EXPECT_TRUE(file.Load(m_marks).readWhole) << "no file, so nothing to lose";
    m_output.clear();
    EXPECT_EQ(file.Save(1, BankRowsOf(m_marks), false), std::nullopt);
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(ProgressOnDisk, LeftoversOfCrashedSavesGoAtTheNextSave) {
    // Ours, of processes that have ended: an id above any the system gives, and this process's id
    // taken by an earlier process, more often than the old limit of names a save tried.
    const std::string ended = "ZbXxYy.zb.4194305.";
    const std::string own = "ZbXxYy.zb." + std::to_string(CurrentProcessId()) + ".";
    std::vector<std::string> leftovers{ended + "0.tmp", ended + "7.tmp"};
    for (int attempt = 0; attempt < 30; ++attempt) leftovers.push_back(own + std::to_string(attempt) + ".tmp");
    // Not ours, or not leftovers: other names, a folder, and (where it can be told) a copy saving now.
    std::vector<std::string> kept{"ZbXxYy.zb", "ZbXxYy.zb.tmp", "ZbXxYy.zb.12.tmp", ended + "0.tmp.old",
                                  "other.4194305.0.tmp"};
#ifndef _WIN32
    kept.push_back("ZbXxYy.zb." + std::to_string(::getppid()) + ".0.tmp");
#endif
    for (const std::string& name : leftovers) WriteBytes(m_dir / name, "half a fi");
    for (const std::string& name : kept) WriteBytes(m_dir / name, "keep");
    std::filesystem::create_directory(m_dir / (ended + "1.tmp"));
    kept.push_back(ended + "1.tmp");
    std::sort(kept.begin(), kept.end());

    m_marks[0] = "1";
    {
        // One that cannot be removed does not fail the save; the next save removes it.
        InjectedFileFaults faults(FailNth(FileOperation::Remove, 1));
        ASSERT_TRUE(Replace(3));
    }
    EXPECT_EQ(ReadBytes(m_path), FileOf("3", {"1"}));
    EXPECT_EQ(FolderEntries().size(), kept.size() + 1);
    ASSERT_TRUE(Replace(4));
    EXPECT_EQ(m_output, "");
    EXPECT_EQ(FolderEntries(), kept);
}

bool CanOpenForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    return handle != INVALID_HANDLE_VALUE;
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
#endif
}

TEST_F(ProgressOnDisk, ReadOnlyFileIsReadAndNeverReplaced) {
    const std::string bytes = FileOf("5", {"1"});
    WriteBytes(m_path, bytes);
    // On Windows this sets the read-only attribute, which binds an administrator too.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_read);
    const std::filesystem::perms before = std::filesystem::status(m_path).permissions();
    if (CanOpenForWriting(m_path)) GTEST_SKIP() << "permissions do not apply to this user";
    const LoadedProgress loaded = Load();
    EXPECT_EQ(loaded.runCounter, 5);
    EXPECT_EQ(loaded.masteredCount, 1);
    EXPECT_EQ(ReadBytes(m_path), bytes);

    m_output.clear();
    m_marks[1] = "1";
    EXPECT_EQ(Close(loaded.runCounter), std::nullopt);
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_EQ(ReadBytes(m_path), bytes);
    EXPECT_EQ(std::filesystem::status(m_path).permissions(), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"});
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

#ifndef _WIN32
// Permissions do not stop an administrator; these tests only mean something for a normal user.
bool CanOpen(const std::filesystem::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

TEST_F(ProgressOnDisk, UnreadableFileIsNotSavedOverAndIsAddedToOnceReadable) {
    const std::string bytes = FileOf("5", {"1", "", "1"});
    WriteBytes(m_path, bytes);
    std::filesystem::permissions(m_path, std::filesystem::perms::none);
    if (CanOpen(m_path, O_RDONLY)) GTEST_SKIP() << "permissions do not apply to this user";
    const LoadedProgress loaded = Load();
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(loaded.masteredCount, 0);
    EXPECT_EQ(m_output, texts::kOpenFailed);

    m_output.clear();
    m_marks[1] = "1";
    EXPECT_EQ(Close(loaded.runCounter), std::nullopt);
    EXPECT_EQ(m_output, texts::kSaveFailed);
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(ReadBytes(m_path), bytes);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"});

    m_output.clear();
    EXPECT_EQ(Close(loaded.runCounter), 6);
    EXPECT_EQ(m_output, "");
    EXPECT_EQ(ReadBytes(m_path), FileOf("6", {"1", "1", "1"}));
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
    EXPECT_FALSE(Replace(6));
    EXPECT_EQ(m_output, texts::kSaveFailed);
    EXPECT_EQ(ReadBytes(m_path), "5\r\n1\r\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"ZbXxYy.zb"});
}

class PermissionsOfTheFile : public ProgressOnDisk, public ::testing::WithParamInterface<int> {};

TEST_P(PermissionsOfTheFile, StayAsTheUserSetThem) {
    const auto mode = static_cast<std::filesystem::perms>(GetParam());
    WriteBytes(m_path, FileOf("5"));
    std::filesystem::permissions(m_path, mode);
    Load();
    EXPECT_EQ(Close(5), 6);
    EXPECT_EQ(ReadBytes(m_path), FileOf("6"));
    EXPECT_EQ(std::filesystem::status(m_path).permissions(), mode);
}

INSTANTIATE_TEST_SUITE_P(Modes, PermissionsOfTheFile, ::testing::Values(0600, 0640, 0660, 0664, 0604, 0666),
                         [](const auto& test) {
                             return "Mode0" + std::to_string(test.param / 64) + std::to_string(test.param / 8 % 8) +
                                    std::to_string(test.param % 8);
                         });

TEST_F(ProgressOnDisk, ALinkStaysALinkAndItsFileIsReplaced) {
    // ZbXxYy.zb -> elsewhere -> real/progress, both links relative to their folders.
    std::filesystem::create_directory(m_dir / "real");
    WriteBytes(m_dir / "real" / "progress", FileOf("5", {"1"}));
    std::filesystem::permissions(m_dir / "real" / "progress",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink("real/progress", m_dir / "elsewhere");
    std::filesystem::create_symlink("elsewhere", m_path);
    EXPECT_EQ(Load().masteredCount, 1);
    m_marks[1] = "1";
    EXPECT_EQ(Close(5), 6);
    EXPECT_TRUE(std::filesystem::is_symlink(m_path));
    EXPECT_EQ(std::filesystem::read_symlink(m_path), "elsewhere");
    EXPECT_EQ(ReadBytes(m_dir / "real" / "progress"), FileOf("6", {"1", "1"}));
    EXPECT_EQ(std::filesystem::status(m_dir / "real" / "progress").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"ZbXxYy.zb", "elsewhere", "real"}));
    EXPECT_EQ(FolderEntries(m_dir / "real"), std::vector<std::string>{"progress"});
}

// What may stand at the path instead of a file: read without waiting (a FIFO has no writer),
// never read to an end that never comes, never replaced.
struct NotAFileCase {
    const char* name;
    friend void PrintTo(const NotAFileCase& c, std::ostream* out) { *out << c.name; }
    void (*make)(const std::filesystem::path& path);
};

class NotAFileAtThePath : public ProgressOnDisk, public ::testing::WithParamInterface<NotAFileCase> {};

TEST_P(NotAFileAtThePath, StartsAsOnAnEmptyFileAndIsLeftAsItIs) {
    GetParam().make(m_path);
    const auto type = std::filesystem::status(m_path).type();
    const LoadedProgress loaded = Load();
    EXPECT_FALSE(loaded.readWhole);
    EXPECT_EQ(loaded.runCounter, 1);
    EXPECT_EQ(m_output, std::string(texts::kOpenFailed) + texts::kNotAFile);
    EXPECT_EQ(m_file.Fault(), ProgressFault::NotAFile);
    m_marks[0] = "1";
    EXPECT_EQ(Close(loaded.runCounter), std::nullopt);
    EXPECT_EQ(m_file.Fault(), ProgressFault::NotAFile);
    EXPECT_EQ(std::filesystem::status(m_path).type(), type);
}

const NotAFileCase kNotAFileCases[] = {
    {"Fifo", [](const std::filesystem::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
    {"LinkToAFifo",
     [](const std::filesystem::path& path) {
         ASSERT_EQ(::mkfifo((path.string() + ".fifo").c_str(), 0600), 0);
         std::filesystem::create_symlink(path.filename().string() + ".fifo", path);
     }},
    {"LinkToDevZero", [](const std::filesystem::path& path) { std::filesystem::create_symlink("/dev/zero", path); }},
};

INSTANTIATE_TEST_SUITE_P(Layouts, NotAFileAtThePath, ::testing::ValuesIn(kNotAFileCases),
                         [](const auto& test) { return std::string(test.param.name); });

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
    marks[0] = ScheduleForUnknownMark(0, Today());
    marks[2] = ScheduleForUnknownMark(2, Today());
    marks[static_cast<std::size_t>(row)] = FirstMastery();
    EXPECT_EQ(ReadBytes(m_file), FileOf("6", marks));
}

// A start-up cut short by a read error: the pupil sees the rows read, answers one of the others
// and perhaps resets first; the close reads the file again and adds the session to it.
class CutShortAtStartUp : public DrillTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CutShortAtStartUp, TheCloseAddsTheSessionToTheFile) {
    const bool reset = GetParam();
    WriteBytes(m_file, ProgressFileAllMasteredBut(5, {}));
    {
        InjectedFileFaults faults(FailNth(FileOperation::Read, 2));
        Start();
    }
    const int read = m_dialog->MasteredCount();  // every row read is mastered
    ASSERT_GT(read, 0);
    ASSERT_LT(read, kBankRows);
    EXPECT_EQ(m_dialog->RunCounter(), 5);
    if (reset) {
        m_window.AnswerNextQuestion(true);
        m_window.Click(1084);
    }
    const int row = Row();
    EXPECT_GE(row, read) << "a row read as mastered is not asked";
    Answer(AnswerOf(row));
    // Then one missed: kept where the file has no mark, which is only after a reset of the rows
    // read; a row mastered on disk stays mastered.
    m_now += 1;
    m_window.Click(1070);
    const int missed = Row();
    ASSERT_NE(missed, row);
    Answer("wrong");
    m_window.CloseBox();
    // The rows read were given their review days at the start-up, and the session's schedules
    // are the ones due later than the file's bare marks.
    std::map<int, std::string> marks;
    for (int seen = 0; seen < read; ++seen) marks[seen] = reset ? "" : ScheduleForUnknownMark(seen, Today());
    marks[row] = FirstMastery();
    if (reset) {
        ASSERT_LT(missed, read) << "the fixed clock draws a row that the reset cleared";
        marks[missed] = "0";
    }
    EXPECT_EQ(ReadBytes(m_file), ProgressFileWithMarks(6, marks));
}

INSTANTIATE_TEST_SUITE_P(Sessions, CutShortAtStartUp, ::testing::Values(false, true),
                         [](const auto& test) { return std::string(test.param ? "AfterAReset" : "Answered"); });

}  // namespace
}  // namespace zembra::testing
