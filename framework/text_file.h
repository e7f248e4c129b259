// Text files with the same rules on every platform: a line end is written as CR LF; on reading,
// CR LF and a lone LF both end a line, a CR not followed by LF stays in the line, and a byte 0x1A
// ends the data as if the file ended there. Nothing else is converted.
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "framework/file_io.h"

namespace zembra {

// Reads lines of any length from a byte source in text mode.
class TextReader {
public:
    // Fills the buffer; returns the bytes given, 0 at the end, -1 on an error.
    using Source = std::function<long(char*, std::size_t)>;
    explicit TextReader(Source source) : m_source(std::move(source)) {}

    // The next line without its line end; false, with `line` empty, when nothing is left or a read
    // error came before the line's end.
    bool ReadLine(std::string& line);
    // Whether the source reported an error (as opposed to reaching the end), or ran past a limit.
    bool Failed() const { return m_failed; }
    // From now on a line longer than `lineBytes`, or more than `totalBytes` from the source, is a
    // failed read (TooLarge() then tells it): a source without end never exhausts memory.
    void Limit(std::size_t lineBytes, std::size_t totalBytes);
    bool TooLarge() const { return m_tooLarge; }

    // A reader over bytes in memory, which must outlive it.
    static TextReader OverBytes(std::string_view bytes);
    static TextReader OverBytes(std::string&&) = delete;

private:
    bool Refill();
    // Past a limit: the reading ends as after a read error.
    bool Overrun();
    // After a read error: empties the line cut short and gives true.
    bool Abandon(std::string& line);

    Source m_source;
    std::array<char, 4096> m_buffer{};
    std::size_t m_position = 0;
    std::size_t m_end = 0;
    bool m_ended = false;
    bool m_failed = false;
    bool m_tooLarge = false;
    std::size_t m_lineLimit = SIZE_MAX;
    std::size_t m_totalLimit = SIZE_MAX;
    std::size_t m_total = 0;
};

// The same text with every LF written as CR LF.
std::string ToTextModeBytes(std::string_view text);

class TextFile {
public:
    TextFile() : m_reader([this](char* buffer, std::size_t size) { return m_file.Read(buffer, size); }) {}
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    OpenStatus OpenExisting(const std::filesystem::path& path) { return m_file.OpenExisting(path); }
    OpenStatus OpenReadOnly(const std::filesystem::path& path) { return m_file.OpenReadOnly(path); }
    OpenStatus CreateNew(const std::filesystem::path& path) { return m_file.CreateNew(path); }

    bool ReadLine(std::string& line) { return m_reader.ReadLine(line); }
    TextReader& Reader() { return m_reader; }
    // Writes the text with CR LF line ends.
    bool WriteString(std::string_view text);
    // Pushes everything written through to the disk.
    bool Flush() { return m_file.Flush(); }
    bool Close() { return m_file.Close(); }
    std::optional<FileIdentity> Identity() const { return m_file.Identity(); }

private:
    RawFile m_file;
    TextReader m_reader;
};

}  // namespace zembra
