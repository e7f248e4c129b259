#include "framework/text_file.h"

#include <algorithm>
#include <cstring>

namespace zembra {
namespace {

constexpr char kEndOfData = '\x1A';

}  // namespace

bool TextReader::Refill() {
    if (m_ended) return false;
    const long got = m_source(m_buffer.data(), m_buffer.size());
    if (got <= 0) {
        m_failed = got < 0;
        m_ended = true;
        return false;
    }
    m_total += static_cast<std::size_t>(got);
    if (m_total > m_totalLimit) return Overrun();
    m_position = 0;
    m_end = static_cast<std::size_t>(got);
    // Whatever follows a 0x1A is not data.
    if (const void* stop = std::memchr(m_buffer.data(), kEndOfData, m_end)) {
        m_end = static_cast<std::size_t>(static_cast<const char*>(stop) - m_buffer.data());
        m_source = [](char*, std::size_t) { return 0L; };
    }
    return m_end > 0 || Refill();
}

void TextReader::Limit(std::size_t lineBytes, std::size_t totalBytes) {
    m_lineLimit = lineBytes;
    m_totalLimit = totalBytes;
}

bool TextReader::Overrun() {
    m_tooLarge = true;
    m_failed = true;
    m_ended = true;
    m_position = m_end = 0;
    return false;
}

bool TextReader::Abandon(std::string& line) {
    if (!m_failed) return false;
    line.clear();
    return true;
}

bool TextReader::ReadLine(std::string& line) {
    line.clear();
    bool readAny = false;
    for (;;) {
        // A line that a read error cut short is not a line: its rest is unknown.
        if (m_position == m_end && !Refill()) return readAny && !Abandon(line);
        readAny = true;
        const char* begin = m_buffer.data() + m_position;
        const char* end = m_buffer.data() + m_end;
        const char* special = std::find_if(begin, end, [](char c) { return c == '\n' || c == '\r'; });
        line.append(begin, special);
        if (line.size() > m_lineLimit) {
            Overrun();
            return !Abandon(line);
        }
        m_position = static_cast<std::size_t>(special - m_buffer.data());
        if (special == end) continue;
        ++m_position;
        if (*special == '\n') return true;
        // A CR: with an LF after it, the pair ends the line; alone, it belongs to the line.
        if (m_position == m_end && !Refill()) {
            if (Abandon(line)) return false;
            line.push_back('\r');
            return true;
        }
        if (m_buffer[m_position] == '\n') {
            ++m_position;
            return true;
        }
        line.push_back('\r');
    }
}

TextReader TextReader::OverBytes(std::string_view bytes) {
    return TextReader([bytes](char* buffer, std::size_t size) mutable {
        const std::size_t n = std::min(size, bytes.size());
        std::memcpy(buffer, bytes.data(), n);
        bytes.remove_prefix(n);
        return static_cast<long>(n);
    });
}

std::string ToTextModeBytes(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    for (char c : text) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(c);
    }
    return bytes;
}

bool TextFile::WriteString(std::string_view text) {
    const std::string bytes = ToTextModeBytes(text);
    return m_file.Write(bytes.data(), bytes.size());
}

}  // namespace zembra
