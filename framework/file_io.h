// Unbuffered file access for the text-file class; framework/system/<platform>/file_io.cpp holds
// each platform's implementation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace zembra {

enum class OpenStatus {
    Opened,
    NotFound,  // the file does not exist
    Busy,      // another program holds the file open
    Exists,    // CreateNew: the file is already there
    Failed,    // anything else: no permission, not a file, ...
};

class RawFile {
public:
    RawFile() = default;
    ~RawFile() { Close(); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    // An existing file, for reading and writing, held exclusively while it is open.
    OpenStatus OpenExisting(const std::filesystem::path& path);
    // An existing file, for reading only, shared with others.
    OpenStatus OpenReadOnly(const std::filesystem::path& path);
    // Creates a file that does not exist yet, for writing; never replaces or truncates one.
    OpenStatus CreateNew(const std::filesystem::path& path);

    // Bytes read into `buffer`; 0 at the end; -1 on an error.
    long Read(char* buffer, std::size_t size);
    // Writes all of `data`; false on an error such as a full disk.
    bool Write(const char* data, std::size_t size);
    // Pushes what was written through to the disk.
    bool Flush();
    // False when closing reported an error (a write the system deferred may fail here).
    bool Close();

private:
    // The system's handle of the open file: a file descriptor, or a Windows HANDLE. -1 is both the
    // descriptor no file has and INVALID_HANDLE_VALUE, so it stands for "no file open" everywhere.
    using NativeHandle = std::intptr_t;
    static constexpr NativeHandle kNoFile = -1;

    NativeHandle m_file = kNoFile;
};

// Replaces `target` by `source` in one step: afterwards `target` is either the old file or the
// new one, whole, also after a crash.
bool ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);
bool RemoveFileIfPresent(const std::filesystem::path& path);
// A name for a temporary file beside `target`, unique to this process.
std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target, unsigned attempt);
// Waits a little before an open is tried again.
void PauseBeforeRetry();

}  // namespace zembra
