// The progress file through the real file code with failures injected: the fuzzer's bytes choose a
// file on disk (or none, or a symbolic link to it), leftovers of crashed saves beside it, what the
// pupil does in the session (answers, resets) and which file operations fail (open, read, write,
// flush, close, rename, remove, at any step). After load -> session -> save the file on disk is
// checked against what it must be:
//   - saved: exactly the session's marks (start-up read the whole file), or the file's marks
//     merged with the session's (it did not), with the right counter; no leftover of ours remains;
//   - not saved: the save-failed line, and the file byte for byte as it was;
//   - never a mark mastered on disk lost, unless the pupil reset it after seeing it;
//   - never a miss of the session lost where the file has no mark for the row.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <system_error>
#include <string>
#include <string_view>
#include <vector>

#include "data/word_bank.h"
#include "drill/progress_file.h"
#include "framework/file_faults.h"
#include "ui/texts.h"

namespace {

namespace fs = std::filesystem;
using Marks = std::array<std::string, zembra::kRowCapacity>;

constexpr std::string_view kFileName = "ZbXxYy.zb";
// Marks a file may hold: what the program writes, and texts of other kinds (GBK bytes too).
constexpr std::string_view kMarkTexts[] = {"", "1", "0", "10", "x", " ", "\xB5\xA5"};
// Process ids above the largest the system hands out: temporaries named after them belong to
// processes that have ended.
constexpr unsigned long kEndedProcess = 4194304;

void Check(bool condition) {
    if (!condition) std::abort();
}

// Mastered, as the program counts it, written out again so that the check does not lean on it.
bool Mastered(std::string_view mark) { return !mark.empty() && mark.find('0') == std::string_view::npos; }
bool Missed(std::string_view mark) { return mark.find('0') != std::string_view::npos; }

std::int32_t OneMore(std::int32_t counter) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) + 1u);
}

std::optional<std::string> BytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(static_cast<bool>(out));
}

// What a save of these marks must be, formatted here independently of the program.
std::string SavedFile(std::int32_t counter, const std::vector<std::string>& marks) {
    std::string bytes = std::to_string(counter) + "\r\n";
    for (const std::string& mark : marks) bytes += mark + "\r\n";
    return bytes;
}

// A folder on a memory file system, so that flushing to disk costs nothing; made once, removed
// when the fuzzer ends without a crash (libFuzzer leaves through exit then; a crash keeps it to
// look at). Never destroyed, so that it is still there for the removal at exit.
const fs::path& Folder() {
    static const fs::path* const folder = [] {
        std::string name =
            (fs::exists("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string()) + "/zembra-file-fuzz-XXXXXX";
        Check(::mkdtemp(name.data()) != nullptr);
        return new fs::path(name);
    }();
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ignored;
                                          fs::remove_all(*folder, ignored);
                                      }) == 0;
    Check(removedAtExit);
    return *folder;
}

// Counts the file operations and fails those the input chooses: operation number k fails when bit
// `operation` of schedule byte k is set. Past the schedule nothing fails.
class Schedule {
public:
    explicit Schedule(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    bool Fails(zembra::FileOperation operation) {
        const std::size_t step = m_step++;
        const bool fails = step < m_bytes.size() && ((m_bytes[step] >> static_cast<int>(operation)) & 1) != 0;
        if (fails) m_failed.insert(operation);
        return fails;
    }
    bool Failed(zembra::FileOperation operation) const { return m_failed.count(operation) != 0; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_step = 0;
    std::set<zembra::FileOperation> m_failed;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const fs::path& folder = Folder();
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());

    // The progress path, perhaps a link to the file in a folder of its own.
    const bool linked = input.ConsumeBool();
    const fs::path path = folder / kFileName;
    const fs::path home = linked ? folder / "real" : folder;
    const fs::path file = home / kFileName;
    if (linked) {
        fs::create_directory(home);
        fs::create_symlink(fs::path("real") / kFileName, path);
    }

    // The file on disk before the run: a counter and mark lines, most of them one text, some not.
    const bool exists = input.ConsumeBool();
    const std::int32_t diskCounter = exists ? input.ConsumeIntegral<std::int32_t>() : 1;
    std::vector<std::string> diskMarks;
    if (exists) {
        diskMarks.assign(
            input.ConsumeIntegralInRange<std::size_t>(0, zembra::kRowCapacity + 10),
            std::string(kMarkTexts[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kMarkTexts) - 1)]));
        for (int n = input.ConsumeIntegralInRange(0, 32); n > 0 && !diskMarks.empty(); --n) {
            const std::size_t row = input.ConsumeIntegralInRange<std::size_t>(0, diskMarks.size() - 1);
            diskMarks[row] = kMarkTexts[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kMarkTexts) - 1)];
        }
        const char* end = input.ConsumeBool() ? "\r\n" : "\n";
        std::string bytes = std::to_string(diskCounter) + end;
        for (const std::string& mark : diskMarks) bytes += mark + end;
        Write(file, bytes);
    }
    const std::optional<std::string> before = BytesOf(file);

    // Leftovers of saves that were killed, ours to remove, and files that only look alike.
    std::set<fs::path> leftovers;
    for (int n = input.ConsumeIntegralInRange(0, 3); n > 0; --n) {
        const unsigned long process = input.ConsumeBool() ? static_cast<unsigned long>(::getpid())
                                                          : kEndedProcess + input.ConsumeIntegral<std::uint8_t>();
        const fs::path leftover = home / (std::string(kFileName) + "." + std::to_string(process) + "." +
                                          std::to_string(input.ConsumeIntegral<std::uint8_t>()) + ".tmp");
        Write(leftover, "half a fi");
        leftovers.insert(leftover);
    }
    const std::vector<fs::path> strangers = {home / (std::string(kFileName) + ".old"),
                                             home / (std::string(kFileName) + ".x.1.tmp"),
                                             home / ("other.zb." + std::to_string(kEndedProcess) + ".0.tmp")};
    for (const fs::path& stranger : strangers) Write(stranger, "not ours");

    // Which file operations fail, from the start-up to the end of the save.
    Schedule schedule(input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 48)));
    std::string output;
    zembra::ProgressFile progress(path, [&output](std::string_view line) { output += line; });
    static Marks marks;
    for (std::string& mark : marks) mark.clear();
    std::optional<std::int32_t> saved;
    zembra::LoadedProgress loaded;
    bool reset = false;
    {
        const zembra::InjectedFileFaults faults([&schedule](zembra::FileOperation op) { return schedule.Fails(op); });
        loaded = progress.Load(marks);
        // The start-up gave the file's own marks, as far as it read them (all of them if it says so).
        Check(static_cast<std::size_t>(loaded.markLineCount) <= std::min(diskMarks.size(), marks.size()));
        for (std::size_t row = 0; row < marks.size(); ++row) {
            Check(marks[row] == (static_cast<std::int32_t>(row) < loaded.markLineCount ? diskMarks[row] : ""));
        }

        // The session: rows answered right or wrong (only unmastered rows are asked) and resets.
        for (int n = input.ConsumeIntegralInRange(0, 8); n > 0; --n) {
            const int action = input.ConsumeIntegralInRange(0, 7);
            if (action == 0) {
                for (int row = 0; row < zembra::kBankRows; ++row) marks[static_cast<std::size_t>(row)].clear();
                reset = true;
            } else {
                std::string& mark = marks[input.ConsumeIntegralInRange<std::size_t>(0, zembra::kBankRows - 1)];
                if (!Mastered(mark)) mark = action <= 2 ? "0" : "1";
            }
        }
        saved = progress.Save(loaded.runCounter,
                              std::span<const std::string>(marks.data(), static_cast<std::size_t>(zembra::kBankRows)),
                              reset);
    }

    const auto diskMark = [&diskMarks](std::size_t row) { return row < diskMarks.size() ? diskMarks[row] : ""; };
    const std::size_t diskLines = std::min(diskMarks.size(), static_cast<std::size_t>(zembra::kRowCapacity));
    const auto rowsRead = static_cast<std::size_t>(loaded.markLineCount);
    if (loaded.readWhole) Check(rowsRead == diskLines && loaded.runCounter == diskCounter);

    if (linked) Check(fs::is_symlink(path));
    for (const fs::path& stranger : strangers) Check(BytesOf(stranger) == "not ours");
    const std::optional<std::string> after = BytesOf(file);
    const auto entriesBesideTheFile = [&home] {
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(home)) ++entries;
        return entries;
    };
    const std::size_t saveFailedLines = [&output] {
        std::size_t count = 0;
        for (std::size_t at = output.find(zembra::texts::kSaveFailed); at != std::string::npos;
             at = output.find(zembra::texts::kSaveFailed, at + 1)) {
            ++count;
        }
        return count;
    }();

    if (!saved) {
        // Nothing saved: said once, and the file as it was (or the empty file the start-up made).
        Check(saveFailedLines == 1);
        if (before) {
            Check(after == before);
        } else {
            Check(!after || after->empty());
        }
        // A save that failed removed its own temporary, unless removing was made to fail too.
        if (!schedule.Failed(zembra::FileOperation::Remove)) {
            Check(entriesBesideTheFile() == (after ? 1 : 0) + strangers.size() + leftovers.size());
        }
        return 0;
    }
    Check(saveFailedLines == 0);

    // Saved: the session's marks over a file read whole; otherwise the file's marks with the
    // session's added (a mastery over an unmastered mark, a miss over no mark), the rows the pupil
    // reset after seeing them taking the session's mark.
    std::vector<std::string> expected(static_cast<std::size_t>(zembra::kBankRows));
    for (std::size_t row = 0; row < expected.size(); ++row) {
        const std::string& session = marks[row];
        const std::string disk = diskMark(row);
        if (loaded.readWhole || (reset && row < rowsRead) || (Mastered(session) && !Mastered(disk)) ||
            (disk.empty() && Missed(session))) {
            expected[row] = session;
        } else {
            expected[row] = disk;
        }
        // Nothing mastered on disk is lost unless the pupil reset it after seeing it.
        if (Mastered(disk) && !(reset && row < rowsRead)) Check(Mastered(expected[row]));
        if (Missed(session) && disk.empty()) Check(Missed(expected[row]));
    }
    const std::int32_t counter = OneMore(loaded.readWhole ? loaded.runCounter : diskCounter);
    Check(*saved == counter);
    Check(after == SavedFile(counter, expected));

    // Our leftovers are gone once a save succeeded, unless removing them was made to fail.
    if (!schedule.Failed(zembra::FileOperation::Remove)) {
        for (const fs::path& leftover : leftovers) Check(!fs::exists(leftover));
        Check(entriesBesideTheFile() == 1 + strangers.size());
    }
    return 0;
}
