// The drill's steps against their time budgets, and the heap allocations of a selection.
//
//   build/linux/bench/zembra_drill_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
//
// Budgets (median): SelectNextRow 10 us, OnFilterChange 30 us, LoadProgress 100 us, SaveProgress
// without the flush to disk 100 us, the check of one submission against 16 further answers 1 us, the
// alignment of a miss (two 64-byte texts) 20 us, the import of an 1800-row word list with its copy
// flushed to disk 50 ms; a start with ten word lists waiting is within the noise of one with none.
// In 复习 the same budgets hold, for the draw and for the choice of the entry.
// The "allocs" counter is heap allocations per iteration; the selection benchmarks (in 全选, in 错题
// over rows answered wrong, in 复习 over rows due) run with a pool of 1 row and with the whole bank,
// and the figure is the same for both: whatever a selection allocates, it allocates nothing per
// row. The check and the alignment allocate nothing.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/allocation_counter.h"
#include "data/word_bank.h"
#include "drill/answer_alignment.h"
#include "drill/answer_check.h"
#include "drill/practice_dialog.h"
#include "drill/progress_file.h"
#include "drill/review_schedule.h"
#include "drill/word_lists.h"
#include "framework/code_page.h"
#include "framework/local_day.h"
#include "framework/text_file.h"
#include "tests/support/memory_dialog.h"
#include "tests/support/temp_dir.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"

namespace zembra {
namespace {

using testing::MemoryDialog;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kFileName = "ZbXxYy.zb";
constexpr std::int64_t kClock = 1700000000;

// A progress file in which the first `unmastered` rows hold `mark` (not mastered: empty, or "0"
// for a row answered wrong) and all others are mastered.
std::string ProgressWithUnmastered(int unmastered, std::string_view mark = "") {
    std::string bytes = "3\r\n";
    for (int row = 0; row < kBankRows; ++row) bytes.append(row < unmastered ? mark : "1").append("\r\n");
    return bytes;
}

// The dialog on the in-memory backend, started on a given progress file, with a clock that moves
// on at every selection (so the rows drawn vary) and diagnostics that go nowhere.
class StartedDrill {
public:
    // `lists`: the folder of the pupil's word lists; none by default.
    explicit StartedDrill(const std::string& fileBytes, const std::filesystem::path& lists = {}) {
        WriteBytes(m_dir / kFileName, fileBytes);
        m_dialog = std::make_unique<PracticeDialog>(
            m_window,
            DrillEnvironment{m_dir / kFileName, [this] { return ++m_now; }, [](std::string_view) {}, false, lists});
        m_window.Start(*m_dialog);
    }
    PracticeDialog& Dialog() { return *m_dialog; }
    MemoryDialog& Window() { return m_window; }

private:
    TempDir m_dir;
    MemoryDialog m_window{MainDialogTemplate(), MainDialogComboLists()};
    std::int64_t m_now = kClock;
    std::unique_ptr<PracticeDialog> m_dialog;
};

void ReportAllocations(benchmark::State& state, std::uint64_t before) {
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

// Times OnNext, which is SelectNextRow plus enabling the submit button, in the filter chosen.
void TimeDraws(benchmark::State& state, StartedDrill& drill) {
    for (int warm = 0; warm < 200; ++warm) drill.Dialog().OnNext();  // control texts reach their size
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        drill.Dialog().OnNext();
        benchmark::DoNotOptimize(drill.Dialog().CurrentRow());
    }
    ReportAllocations(state, before);
}

void BM_SelectNextRow(benchmark::State& state) {
    StartedDrill drill(ProgressWithUnmastered(static_cast<int>(state.range(0))));
    TimeDraws(state, drill);
}
BENCHMARK(BM_SelectNextRow)->ArgName("unmastered")->Arg(1)->Arg(kBankRows)->Unit(benchmark::kMicrosecond);

constexpr int kMissedEntry = 13;  // 错题
constexpr int kReviewEntry = 14;  // 复习

// The same with 错题 chosen: the pool is the rows answered wrong.
void BM_SelectNextMissedRow(benchmark::State& state) {
    StartedDrill drill(ProgressWithUnmastered(static_cast<int>(state.range(0)), "0"));
    drill.Window().ChooseComboItem(ids::kCategoryCombo, kMissedEntry);
    TimeDraws(state, drill);
}
BENCHMARK(BM_SelectNextMissedRow)->ArgName("missed")->Arg(1)->Arg(kBankRows)->Unit(benchmark::kMicrosecond);

// A file whose first `due` rows are due for review (since day 1, long past) and whose others are
// mastered with a review a month ahead of the benchmarks' clock, so that every row's schedule is read.
std::string ProgressWithDue(int due) {
    const std::string later = WriteSchedule({3, LocalDay(kClock) + 30});
    std::string bytes = "3\r\n";
    for (int row = 0; row < kBankRows; ++row) bytes.append(row < due ? "c1" : later).append("\r\n");
    return bytes;
}

// The same with 复习 chosen: the pool is the rows due, read from their schedules at each draw.
void BM_SelectNextReviewRow(benchmark::State& state) {
    StartedDrill drill(ProgressWithDue(static_cast<int>(state.range(0))));
    drill.Window().ChooseComboItem(ids::kCategoryCombo, kReviewEntry);
    TimeDraws(state, drill);
}
BENCHMARK(BM_SelectNextReviewRow)->ArgName("due")->Arg(1)->Arg(kBankRows)->Unit(benchmark::kMicrosecond);

// A choice in the category list: recount the pool and its mastered rows, then a selection.
void BM_OnFilterChange(benchmark::State& state) {
    StartedDrill drill(ProgressWithUnmastered(kBankRows / 2));
    const int entries = static_cast<int>(drill.Window().ComboItems(ids::kCategoryCombo).size());
    int entry = 0;
    for (int warm = 0; warm < 200; ++warm) drill.Window().ChooseComboItem(ids::kCategoryCombo, warm % entries);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        drill.Window().ChooseComboItem(ids::kCategoryCombo, entry);
        entry = (entry + 1) % entries;
        benchmark::DoNotOptimize(drill.Dialog().PoolSize());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_OnFilterChange)->Unit(benchmark::kMicrosecond);

// 复习 chosen again and again, half the bank due: the count of the rows due, then a selection.
void BM_OnFilterChangeToReview(benchmark::State& state) {
    StartedDrill drill(ProgressWithDue(kBankRows / 2));
    for (int warm = 0; warm < 200; ++warm) drill.Window().ChooseComboItem(ids::kCategoryCombo, kReviewEntry);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        drill.Window().ChooseComboItem(ids::kCategoryCombo, kReviewEntry);
        benchmark::DoNotOptimize(drill.Dialog().PoolSize());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_OnFilterChangeToReview)->Unit(benchmark::kMicrosecond);

// The check of one submission against the answer and a list of further answers that differ from
// the typed text only at its end, typed with full-width forms and outer spaces: the worst case,
// every text read to its end. Allocates nothing.
void BM_IsRightAnswer(benchmark::State& state) {
    const std::string typed = Utf8ToGbk("  ｏｎ the one hand；on the other hand　");
    const std::string answer = Utf8ToGbk("on the one hand；on the other hand!");
    std::vector<std::string> also;
    for (int k = 1; k < state.range(0); ++k) also.push_back(answer + std::to_string(k));
    also.push_back("on the one hand;on the other hand");
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) benchmark::DoNotOptimize(IsRightAnswer(typed, answer, also));
    ReportAllocations(state, before);
}
BENCHMARK(BM_IsRightAnswer)->ArgName("further")->Arg(1)->Arg(16)->Unit(benchmark::kNanosecond);

// The same where every text holds "/": the typed forms are each looked for among the forms of every
// stored text, the last of which holds the second form. Allocates nothing.
void BM_IsRightAnswerWithSlashes(benchmark::State& state) {
    const std::string typed = Utf8ToGbk("  ｈave supper / have dinner　");
    const std::string answer = "have supper/breakfast";
    std::vector<std::string> also;
    for (int k = 1; k < state.range(0); ++k) also.push_back("have supper/lunch" + std::to_string(k));
    also.push_back("have tea/dinner");
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) benchmark::DoNotOptimize(IsRightAnswer(typed, answer, also));
    ReportAllocations(state, before);
}
BENCHMARK(BM_IsRightAnswerWithSlashes)->ArgName("further")->Arg(1)->Arg(16)->Unit(benchmark::kNanosecond);

// The alignment of a miss, two texts of 64 bytes with slips all along (a capital, a swap, a letter
// lacking, one too many, a full-width letter), against the answer and one further answer of the
// same length (further:1: two tables filled, one traced back) or alone (further:0: the budget of
// 20 us is for this one). Allocates nothing.
void BM_AlignAnswer(benchmark::State& state) {
    const std::string answer = "on the one hand we study English, on the other hand we play game";
    const std::string typed = Utf8ToGbk("On teh one hnd we studdy English, on the othr hand we ｐlay gme!");
    std::vector<std::string> also;
    if (state.range(0) > 0) also.emplace_back("on the one hand we study English; on the other hand we play game");
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) benchmark::DoNotOptimize(AlignAnswer(typed, answer, also));
    ReportAllocations(state, before);
}
BENCHMARK(BM_AlignAnswer)->ArgName("further")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// LoadProgress of a fresh 3511-byte file: open, lock, read, close.
void BM_LoadProgress(benchmark::State& state) {
    TempDir dir;
    WriteBytes(dir / kFileName, ProgressWithUnmastered(kBankRows).replace(0, 1, "2"));
    ProgressFile file(dir / kFileName, [](std::string_view) {});
    std::array<std::string, kRowCapacity> marks;
    for (auto _ : state) benchmark::DoNotOptimize(file.Load(marks));
}
BENCHMARK(BM_LoadProgress)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A whole start of the dialog on the in-memory backend: the file read, every mark's schedule read
// (and, for a file of bare "1" marks, a review day given to each), the rows due counted and the
// first question asked.
void BM_DialogStart(benchmark::State& state) {
    const std::string bytes = state.range(0) ? ProgressWithDue(kBankRows / 2) : ProgressWithUnmastered(0);
    for (auto _ : state) {
        StartedDrill drill(bytes);
        benchmark::DoNotOptimize(drill.Dialog().CurrentRow());
    }
}
BENCHMARK(BM_DialogStart)->ArgName("scheduled")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same start with that many word lists of 30 rows in the lists folder: their names are listed,
// none is read.
void BM_DialogStartWithLists(benchmark::State& state) {
    const std::string bytes = ProgressWithDue(kBankRows / 2);
    TempDir lists;
    for (int list = 0; list < state.range(0); ++list) {
        std::string rows;
        for (int row = 0; row < 30; ++row) rows += "word" + std::to_string(row) + "\t\xE8\xAF\x8D\n";
        WriteBytes(lists / ("Unit " + std::to_string(list) + ".txt"), rows);
    }
    for (auto _ : state) {
        StartedDrill drill(bytes, lists.Path());
        benchmark::DoNotOptimize(drill.Dialog().CurrentRow());
    }
}
BENCHMARK(BM_DialogStartWithLists)->ArgName("lists")->Arg(0)->Arg(10)->Unit(benchmark::kMicrosecond)->UseRealTime();

// An import of a list of 1800 rows, as 导入词表… makes it: the file read, its rows taken, the UTF-8
// copy written in place and flushed, the marks file made. Budget 50 ms.
void BM_ImportList(benchmark::State& state) {
    TempDir dir;
    std::string bytes;
    for (int row = 0; row < kRowCapacity; ++row) {
        bytes += "word" + std::to_string(row) + " \xE8\xAF\x8D" + std::to_string(row % 10) + "\r\n";
    }
    WriteBytes(dir / "Unit 1.txt", bytes);
    for (auto _ : state) {
        WordLists lists(dir / "lists", [](std::string_view) {});
        const ImportOutcome outcome = lists.Import(dir / "Unit 1.txt", CategoryComboEntries());
        if (outcome.reading.rows.size() != kRowCapacity) state.SkipWithError("the list was not read whole");
    }
}
BENCHMARK(BM_ImportList)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reading alone, from bytes in memory.
void BM_ReadProgressFromMemory(benchmark::State& state) {
    const std::string bytes = ProgressWithUnmastered(kBankRows / 2);
    std::array<std::string, kRowCapacity> marks;
    for (auto _ : state) {
        TextReader reader = TextReader::OverBytes(bytes);
        benchmark::DoNotOptimize(ReadProgress(reader, marks));
    }
}
BENCHMARK(BM_ReadProgressFromMemory)->Unit(benchmark::kMicrosecond);

// The bytes of a save, in memory.
void BM_FormatProgress(benchmark::State& state) {
    std::array<std::string, kRowCapacity> marks;
    for (std::size_t row = 0; row < marks.size(); row += 2) marks[row].push_back('1');
    const std::span<const std::string> rows(marks.data(), static_cast<std::size_t>(kBankRows));
    for (auto _ : state) benchmark::DoNotOptimize(FormatProgress(2, rows));
}
BENCHMARK(BM_FormatProgress)->Unit(benchmark::kMicrosecond);

// ProgressFile::Replace whole, again and again, in a new folder inside `parent`: follow a link,
// check the file may be written, format, write a new file beside the old one with its
// permissions, flush, replace, clear leftovers.
void SaveRepeatedly(benchmark::State& state, const std::filesystem::path& parent) {
    TempDir dir(parent);
    ProgressFile file(dir / kFileName, [](std::string_view) {});
    const std::array<std::string, kRowCapacity> marks;
    const std::span<const std::string> rows(marks.data(), static_cast<std::size_t>(kBankRows));
    std::int32_t counter = 2;
    for (auto _ : state) {
        if (!file.Replace(counter++, rows)) {
            state.SkipWithError("cannot save");
            break;
        }
    }
}

// SaveProgress without the flush: the save on a file system held in memory, where a flush waits
// for no disk. On a disk's file system even a save without fsync waits for it: ext4 writes the
// new file's blocks out when a rename replaces an older file, which cost most of the 200 us this
// step once measured there.
void BM_SaveProgressWithoutFlush(benchmark::State& state) {
    const std::filesystem::path memory = "/dev/shm";
    std::error_code error;
    if (!std::filesystem::is_directory(memory, error)) {
        state.SkipWithError("no /dev/shm: no file system in memory to save to");
        return;
    }
    SaveRepeatedly(state, memory);
}
BENCHMARK(BM_SaveProgressWithoutFlush)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same save in the system's folder for temporary files, on a disk: with the disk's waits.
void BM_SaveProgressWithFlush(benchmark::State& state) {
    SaveRepeatedly(state, std::filesystem::temp_directory_path());
}
BENCHMARK(BM_SaveProgressWithFlush)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace zembra

BENCHMARK_MAIN();
