// The progress file: the run counter on its first line, then one mastery mark per word-bank row.
// Read once at start-up, rewritten whole at the close request. Text-mode rules are our own
// (TextFile), so every platform reads and writes the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace zembra {

class TextReader;

struct LoadedProgress {
    std::int32_t runCounter = 1;
    std::int32_t markLineCount = 0;
    std::int32_t masteredCount = 0;  // over every mark line read
};

// The leading decimal integer of a line as `atoi` reads it (white space, optional sign, digits),
// saturating at the 32-bit limits; 0 when there are no digits.
std::int32_t ParseRunCounter(std::string_view line);

// Reads the counter line and up to marks.size() mark lines; later lines are ignored.
LoadedProgress ReadProgress(TextReader& reader, std::span<std::string> marks);

// The file's bytes for a counter and the marks of the rows in use, with CR LF line ends.
std::string FormatProgress(std::int32_t runCounter, std::span<const std::string> marks);

class ProgressFile {
public:
    using Diagnostics = std::function<void(std::string_view)>;
    ProgressFile(std::filesystem::path path, Diagnostics diagnostics);

    // Never truncates an existing file: a missing file is created empty; one that exists but
    // cannot be opened for reading and writing is retried briefly, then read read-only; when it
    // cannot be read at all, loading gives what an empty file gives.
    LoadedProgress Load(std::span<std::string> marks) const;

    // Writes the new content to a temporary file beside the old one, flushes it to disk and
    // replaces the old file in one step, so a crash leaves the old file or the new one, whole.
    // Returns false, with a diagnostic line, when nothing could be saved.
    bool Save(std::int32_t runCounter, std::span<const std::string> marks) const;

private:
    std::filesystem::path m_path;
    Diagnostics m_diagnostics;
};

}  // namespace zembra
