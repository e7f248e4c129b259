#include "drill/progress_file.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "data/word_bank.h"
#include "drill/practice_dialog.h"
#include "drill/review_schedule.h"
#include "framework/file_io.h"
#include "framework/text_file.h"
#include "ui/texts.h"

namespace zembra {
namespace {

// How often an open is tried while another copy of the program holds the file (50 ms apart).
constexpr int kOpenAttempts = 20;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

ProgressFault FaultOf(OpenStatus status) {
    if (status == OpenStatus::NotFound) return ProgressFault::None;
    return status == OpenStatus::NotAFile ? ProgressFault::NotAFile : ProgressFault::Unreadable;
}

}  // namespace

std::int32_t ParseRunCounter(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsSpace(line[i])) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    std::int64_t value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > static_cast<std::int64_t>(INT32_MAX) + 1) break;  // saturated either way
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

std::int32_t NextRunCounter(std::int32_t runCounter) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(runCounter) + 1u);
}

LoadedProgress ReadProgress(TextReader& reader, std::span<std::string> marks) {
    reader.Limit(kMarkLineLimit, kProgressFileLimit);
    LoadedProgress loaded;
    std::string line;
    loaded.runCounter = reader.ReadLine(line) ? ParseRunCounter(line) : 1;
    // Lines past the capacity are not read at all.
    while (loaded.markLineCount < static_cast<std::int32_t>(marks.size()) &&
           reader.ReadLine(marks[static_cast<std::size_t>(loaded.markLineCount)])) {
        // Lines past the bank are kept but belong to no row: they are never counted.
        if (loaded.markLineCount < kBankRows &&
            PracticeDialog::IsMastered(marks[static_cast<std::size_t>(loaded.markLineCount)])) {
            ++loaded.masteredCount;
        }
        ++loaded.markLineCount;
    }
    loaded.readWhole = !reader.Failed();
    loaded.tooLarge = reader.TooLarge();
    return loaded;
}

std::string FormatProgress(std::int32_t runCounter, std::span<const std::string> marks) {
    const std::string counter = std::to_string(runCounter);
    // Sized once for the worst case (every byte an LF, written as CR LF) and filled in place: a
    // save is 1754 short lines, each cheaper than an append.
    std::size_t room = 2 * counter.size() + 2;
    for (const std::string& mark : marks) room += 2 * mark.size() + 2;
    std::string bytes(room, '\0');
    char* out = bytes.data();
    const auto line = [&out](std::string_view text) {
        if (text.find('\n') == std::string_view::npos) {
            if (!text.empty()) std::memcpy(out, text.data(), text.size());
            out += text.size();
        } else {
            for (const char c : text) {
                if (c == '\n') *out++ = '\r';
                *out++ = c;
            }
        }
        *out++ = '\r';
        *out++ = '\n';
    };
    line(counter);
    for (const std::string& mark : marks) line(mark);
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}

namespace {

// Whether `session` and `file` are both mastered and the session's schedule comes due after the
// file's (or the file's has none): the review that is due later is the one that was made later.
bool DueLater(const std::string& session, const std::string& file) {
    if (!PracticeDialog::IsMastered(session) || !PracticeDialog::IsMastered(file)) return false;
    const std::optional<ReviewSchedule> ours = ReadSchedule(session);
    if (!ours) return false;
    const std::optional<ReviewSchedule> theirs = ReadSchedule(file);
    return !theirs || ours->dueDay > theirs->dueDay;
}

}  // namespace

void MergeSessionMarks(std::span<const std::string> sessionMarks, std::size_t rowsReset,
                       std::span<std::string> fileMarks) {
    for (std::size_t row = 0; row < fileMarks.size() && row < sessionMarks.size(); ++row) {
        const std::string& session = sessionMarks[row];
        std::string& file = fileMarks[row];
        if (row < rowsReset || (PracticeDialog::IsMastered(session) && !PracticeDialog::IsMastered(file)) ||
            (file.empty() && PracticeDialog::IsMissed(session)) || DueLater(session, file)) {
            file = session;
        }
    }
}

ProgressFile::ProgressFile(std::filesystem::path path, Diagnostics diagnostics)
    : m_path(std::move(path)), m_diagnostics(std::move(diagnostics)) {}

LoadedProgress ProgressFile::Load(std::span<std::string> marks) {
    TextFile file;
    OpenStatus status = file.OpenExisting(m_path);
    const bool reported = status != OpenStatus::Opened;
    if (reported) m_diagnostics(texts::kOpenFailed);
    for (int attempt = 1; status != OpenStatus::Opened && attempt < kOpenAttempts; ++attempt) {
        if (status == OpenStatus::NotFound) {
            // Created empty; if another copy created it meanwhile, it is opened as it stands.
            status = file.CreateNew(m_path);
            if (status == OpenStatus::Exists) status = file.OpenExisting(m_path);
            if (status != OpenStatus::Busy) break;
        } else if (status == OpenStatus::Busy) {
            PauseBeforeRetry();
            status = file.OpenExisting(m_path);
        } else {
            break;
        }
    }
    // Held by another program for too long, or not writable: read what can be read.
    if (status == OpenStatus::Busy || status == OpenStatus::Failed) status = file.OpenReadOnly(m_path);
    m_identity.reset();
    if (status != OpenStatus::Opened) {
        // Nothing read: the run starts as on an empty new file. Only when there is no file at all
        // is there nothing that a save could lose.
        LoadedProgress nothing;
        nothing.readWhole = status == OpenStatus::NotFound;
        m_fault = FaultOf(status);
        if (status == OpenStatus::NotAFile) m_diagnostics(texts::kNotAFile);
        m_knowsTheFile = nothing.readWhole;
        m_rowsRead = 0;
        return nothing;
    }
    const LoadedProgress loaded = ReadOpenFile(file, marks);
    file.Close();
    // A read error is a failed load, not the end of the file.
    if (!loaded.readWhole && !reported) m_diagnostics(texts::kOpenFailed);
    if (loaded.tooLarge) m_diagnostics(texts::kTooLarge);
    m_knowsTheFile = loaded.readWhole;
    m_rowsRead = static_cast<std::size_t>(loaded.markLineCount);
    return loaded;
}

LoadedProgress ProgressFile::ReadOpenFile(TextFile& file, std::span<std::string> marks) {
    const LoadedProgress loaded = ReadProgress(file.Reader(), marks);
    m_identity = file.Identity();
    m_fault = loaded.tooLarge ? ProgressFault::TooLarge
                              : (loaded.readWhole ? ProgressFault::None : ProgressFault::Unreadable);
    return loaded;
}

std::optional<LoadedProgress> ProgressFile::ReadAgain(std::span<std::string> marks) {
    TextFile file;
    OpenStatus status = file.OpenReadOnly(m_path);
    for (int attempt = 1; status == OpenStatus::Busy && attempt < kOpenAttempts; ++attempt) {
        PauseBeforeRetry();
        status = file.OpenReadOnly(m_path);
    }
    if (status == OpenStatus::NotFound) {  // removed meanwhile: nothing to keep
        m_identity.reset();
        return LoadedProgress{};
    }
    if (status != OpenStatus::Opened) {
        m_fault = FaultOf(status);
        return std::nullopt;
    }
    const LoadedProgress loaded = ReadOpenFile(file, marks);
    file.Close();
    if (!loaded.readWhole) return std::nullopt;
    return loaded;
}

std::optional<std::int32_t> ProgressFile::Save(std::int32_t runCounter, std::span<const std::string> marks,
                                               bool resetInSession) {
    // Another copy may have saved since: without a lock, or with one that a second start could
    // not take (a folder or a foreign file in its place, a file system without locks).
    if (m_knowsTheFile && IdentityOf(m_path) == m_identity) {
        const std::int32_t next = NextRunCounter(runCounter);
        if (!Replace(next, marks)) return std::nullopt;
        return next;
    }
    // The start-up did not read the file whole, or the file changed: the session's marks alone
    // would replace the pupil's progress by a part of it, or by nothing.
    std::vector<std::string> fileMarks(marks.size());
    const std::optional<LoadedProgress> now = ReadAgain(fileMarks);
    if (!now) {
        m_diagnostics(texts::kSaveFailed);
        return std::nullopt;
    }
    MergeSessionMarks(marks, resetInSession ? m_rowsRead : 0, fileMarks);
    const std::int32_t next = NextRunCounter(now->runCounter);
    if (!Replace(next, fileMarks)) return std::nullopt;
    return next;
}

bool ProgressFile::Replace(std::int32_t runCounter, std::span<const std::string> marks) {
    // A link keeps pointing where the user made it point: the file it names is replaced.
    const std::filesystem::path target = FollowLinks(m_path);
    std::optional<FileIdentity> written;
    if (!IsWriteProtected(target) && WriteInPlaceOf(target, FormatProgress(runCounter, marks), written)) {
        m_knowsTheFile = true;
        m_identity = written;
        m_fault = ProgressFault::None;
        RemoveLeftoverTemporaries(target);
        return true;
    }
    m_fault = ProgressFault::NotWritten;
    m_diagnostics(texts::kSaveFailed);
    return false;
}

}  // namespace zembra
