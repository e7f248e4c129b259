// Unbuffered file access for the text-file class and the progress file: framework/system/<platform>/
// file_io.cpp holds each platform's implementation, framework/file_io.cpp the parts that are the
// same everywhere. Every operation that reads or changes a file can be made to fail in tests
// (framework/file_faults.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zembra {

enum class OpenStatus {
    Opened,
    NotFound,  // the file does not exist
    Busy,      // another program holds the file open
    Exists,    // CreateNew: the file is already there
    NotAFile,  // a folder, a pipe, a device: never read (it may never end) nor replaced
    Failed,    // anything else: no permission, ...
};

// Which file a path named and the state it was in: another program that replaces or rewrites the
// file changes it (a new file, a new modification time or a new size).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the system's own unit
    bool operator==(const FileIdentity&) const = default;
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
    // Gives this file the permissions that the user set on `model` (on Windows its hidden, system
    // and not-indexed attributes); true when there is nothing to copy because `model` is missing.
    bool MatchPermissions(const std::filesystem::path& model);
    // False when closing reported an error (a write the system deferred may fail here).
    bool Close();
    // The open file's identity; nothing when the system does not tell it.
    std::optional<FileIdentity> Identity() const;

private:
    // The system's handle of the open file: a file descriptor, or a Windows HANDLE. -1 is both the
    // descriptor no file has and INVALID_HANDLE_VALUE, so it stands for "no file open" everywhere.
    using NativeHandle = std::intptr_t;
    static constexpr NativeHandle kNoFile = -1;

    NativeHandle m_file = kNoFile;
};

enum class ReplaceStatus {
    Replaced,
    Busy,    // another program holds the target open; worth trying again shortly
    Failed,  // anything else
};

// Replaces `target` by `source` in one step: afterwards `target` is either the old file or the
// new one, whole, also after a crash.
ReplaceStatus ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);
bool RemoveFileIfPresent(const std::filesystem::path& path);

// Whether an existing file is one that opening for writing would refuse (read-only, no permission);
// false for a missing file or one that is only busy.
bool IsWriteProtected(const std::filesystem::path& path);

// The identity of the file that `path` names (links followed); nothing when there is none.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// The file that `path` names once every symbolic link on the way is followed (a link to a missing
// file gives that missing file's path); `path` itself when it is no link.
std::filesystem::path FollowLinks(const std::filesystem::path& path);

// A name for a temporary file beside `target`, unique to this process: target.PID.ATTEMPT.tmp.
std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target, unsigned attempt);

// Writes `bytes` to a new temporary file beside `target`, with the target's permissions, flushes it
// to disk and puts it in the target's place in one step; `written` is then the new file's identity,
// which the rename keeps. False when nothing was replaced (the temporary file is gone again).
bool WriteInPlaceOf(const std::filesystem::path& target, const std::string& bytes,
                    std::optional<FileIdentity>& written);

// Removes the temporary files beside `target` that TemporaryPathBeside named for processes which
// have ended (saves cut short by a crash) and for this process; nothing else, and never the
// temporary of another copy that is saving right now. Failures are ignored.
void RemoveLeftoverTemporaries(const std::filesystem::path& target);

unsigned long CurrentProcessId();
// False for a process that is running or whose state cannot be told.
bool ProcessHasEnded(unsigned long id);

// Waits a little before an open is tried again.
void PauseBeforeRetry();

}  // namespace zembra
