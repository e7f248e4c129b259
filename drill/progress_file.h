// The progress file: the run counter on its first line, then one mastery mark per word-bank row
// (a review schedule such as "c25876" answered right, see drill/review_schedule.h; "0" answered
// wrong since; empty never answered right; any other text is kept as it is and counts by
// PracticeDialog::IsMastered).
// Read once at start-up, rewritten whole at the close request. Text-mode rules are our own
// (TextFile), so every platform reads and writes the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/file_io.h"

namespace zembra {

class TextFile;
class TextReader;

struct LoadedProgress {
    std::int32_t runCounter = 1;
    std::int32_t markLineCount = 0;
    std::int32_t masteredCount = 0;  // over the word bank's rows only
    bool readWhole = true;           // false when a read error cut the reading short
    bool tooLarge = false;           // the reading stopped at a limit (kMarkLineLimit, kProgressFileLimit)
};

// A mark is a few bytes: a line longer than this, or a file larger, is one that cannot be read
// whole (a link to /dev/zero, a file filled by something else), never one that exhausts memory.
inline constexpr std::size_t kMarkLineLimit = 4096;
inline constexpr std::size_t kProgressFileLimit = 1 << 20;

// Why the last Load or Save of a ProgressFile did not read or write the file.
enum class ProgressFault {
    None,
    NotAFile,    // a folder, pipe or device at the path
    TooLarge,    // past the limits above
    Unreadable,  // no permission, a read error, held by another program
    NotWritten,  // the new file could not be written or put in place
};

// The leading decimal integer of a line as `atoi` reads it (white space, optional sign, digits),
// saturating at the 32-bit limits; 0 when there are no digits.
std::int32_t ParseRunCounter(std::string_view line);

// The counter one higher, wrapping in 32 bits rather than overflowing.
std::int32_t NextRunCounter(std::int32_t runCounter);

// Reads the counter line and up to marks.size() mark lines; later lines are ignored.
LoadedProgress ReadProgress(TextReader& reader, std::span<std::string> marks);

// The file's bytes for a counter and the marks of the rows in use, with CR LF line ends.
std::string FormatProgress(std::int32_t runCounter, std::span<const std::string> marks);

// Adds what the session did to `fileMarks`, the marks that the file holds now, for a session whose
// start-up could not read the file whole. A row mastered in the session and not in the file takes
// the session's mark; a row missed in the session (PracticeDialog::IsMissed) whose file mark is
// empty takes the session's mark too, so a miss is kept wherever neither copy has the row
// mastered; a row mastered in both keeps the review schedule due later (drill/review_schedule.h),
// the session's when the file's has none; every other row keeps the file's mark byte for byte (the
// file may hold texts of its own, and either missed mark counts the same). The rows below
// `rowsReset` are those the pupil cleared with a reset after seeing them: they take the session's
// mark whatever the file holds. A reset cannot have meant rows the start-up never read, so those
// are merged as above.
void MergeSessionMarks(std::span<const std::string> sessionMarks, std::size_t rowsReset,
                       std::span<std::string> fileMarks);

class ProgressFile {
public:
    using Diagnostics = std::function<void(std::string_view)>;
    ProgressFile(std::filesystem::path path, Diagnostics diagnostics);

    // Only a regular file is read: a folder, a pipe or a device at the path (or a link to one)
    // reads as a file that cannot be read, and so does one past the limits above.
    // Never truncates an existing file: a missing file is created empty; one that exists but
    // cannot be opened for reading and writing is retried briefly, then read read-only; when it
    // cannot be read whole, the run starts with what was read (an empty file's values when
    // nothing was) and the close does not save over it unread (see Save).
    LoadedProgress Load(std::span<std::string> marks);

    // The close request's save of the bank's marks with the counter one higher. If the start-up
    // did not read the file whole, or the file is no longer the one read or written last (another
    // copy saved it, whatever the lock did), the file is read again first: when that succeeds, the marks
    // saved are the file's with the session's added (MergeSessionMarks) and the counter is the
    // file's one higher; when it fails, the file is left as it is. Returns the counter written, or
    // nothing, with a diagnostic line, when nothing was saved. `resetInSession`: the pupil cleared
    // every mark in this run.
    std::optional<std::int32_t> Save(std::int32_t runCounter, std::span<const std::string> marks, bool resetInSession);

    // Writes the new content to a temporary file beside the old one (beside the file a symbolic
    // link names), with the old file's permissions, flushes it to disk and replaces the old file in
    // one step, so a crash leaves the old file or the new one, whole. A file that the user made
    // read-only is left alone. Returns false, with a diagnostic line, when nothing was saved.
    bool Replace(std::int32_t runCounter, std::span<const std::string> marks);

    // Why the last Load or Save fell short; None after a whole read or a save.
    ProgressFault Fault() const { return m_fault; }

private:
    // Reads the file again without creating it; a missing file reads as an empty one. Nothing
    // when it cannot be read whole.
    std::optional<LoadedProgress> ReadAgain(std::span<std::string> marks);
    // Reads an open file, keeping its identity and why it fell short.
    LoadedProgress ReadOpenFile(TextFile& file, std::span<std::string> marks);

    std::filesystem::path m_path;
    Diagnostics m_diagnostics;
    // Whether what this object last read or wrote is the whole file on disk, or there was none:
    // only then may a save replace the file without reading it first.
    bool m_knowsTheFile = false;
    // The mark lines that the start-up read: the rows the pupil saw, which a reset may clear.
    std::size_t m_rowsRead = 0;
    // The file that was read or written last, as it was then; nothing when there was none.
    std::optional<FileIdentity> m_identity;
    ProgressFault m_fault = ProgressFault::None;
};

}  // namespace zembra
