#include "drill/progress_file.h"

#include <cctype>
#include <climits>
#include <cstdio>

#include "drill/practice_dialog.h"
#include "framework/text_file.h"
#include "ui/texts.h"

namespace zembra {
namespace {

// How often an open is tried while another copy of the program holds the file (50 ms apart).
constexpr int kOpenAttempts = 20;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

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

LoadedProgress ReadProgress(TextReader& reader, std::span<std::string> marks) {
    LoadedProgress loaded;
    std::string line;
    loaded.runCounter = reader.ReadLine(line) ? ParseRunCounter(line) : 1;
    // Lines past the capacity are not read at all.
    while (loaded.markLineCount < static_cast<std::int32_t>(marks.size()) &&
           reader.ReadLine(marks[static_cast<std::size_t>(loaded.markLineCount)])) {
        if (PracticeDialog::IsMastered(marks[static_cast<std::size_t>(loaded.markLineCount)])) {
            ++loaded.masteredCount;
        }
        ++loaded.markLineCount;
    }
    return loaded;
}

std::string FormatProgress(std::int32_t runCounter, std::span<const std::string> marks) {
    std::string text = std::to_string(runCounter) + '\n';
    for (const std::string& mark : marks) {
        text += mark;
        text += '\n';
    }
    return ToTextModeBytes(text);
}

ProgressFile::ProgressFile(std::filesystem::path path, Diagnostics diagnostics)
    : m_path(std::move(path)), m_diagnostics(std::move(diagnostics)) {}

LoadedProgress ProgressFile::Load(std::span<std::string> marks) const {
    TextFile file;
    OpenStatus status = file.OpenExisting(m_path);
    if (status != OpenStatus::Opened) m_diagnostics(texts::kOpenFailed);
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
    if (status != OpenStatus::Opened) return LoadedProgress{};  // as an empty new file
    const LoadedProgress loaded = ReadProgress(file.Reader(), marks);
    file.Close();
    return loaded;
}

bool ProgressFile::Save(std::int32_t runCounter, std::span<const std::string> marks) const {
    const std::string bytes = FormatProgress(runCounter, marks);
    for (unsigned attempt = 0; attempt < static_cast<unsigned>(kOpenAttempts); ++attempt) {
        const std::filesystem::path temporary = TemporaryPathBeside(m_path, attempt);
        RawFile file;
        const OpenStatus status = file.CreateNew(temporary);
        if (status == OpenStatus::Exists) continue;  // a leftover of a crash: take another name
        if (status != OpenStatus::Opened) break;
        const bool written = file.Write(bytes.data(), bytes.size()) && file.Flush();
        const bool closed = file.Close();
        if (written && closed) {
            // The old file may be held open for a moment by another copy that loads it.
            for (int wait = 0; wait < kOpenAttempts; ++wait) {
                if (ReplaceFileAtomically(temporary, m_path)) return true;
                PauseBeforeRetry();
            }
        }
        RemoveFileIfPresent(temporary);
        break;
    }
    m_diagnostics(texts::kSaveFailed);
    return false;
}

}  // namespace zembra
