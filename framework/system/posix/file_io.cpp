#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "framework/file_faults.h"
#include "framework/file_io.h"

namespace zembra {
namespace {

OpenStatus StatusOf(int error) {
    if (error == ENOENT) return OpenStatus::NotFound;
    if (error == EWOULDBLOCK) return OpenStatus::Busy;
    return OpenStatus::Failed;
}

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// Opens `path` without waiting (a FIFO would block until a writer comes) and keeps it only when
// it is a regular file: a pipe or a device may never end, a folder is not a file. Checked before
// the open, so that no device is even opened, and on the descriptor, which is what is read.
OpenStatus OpenRegular(const std::filesystem::path& path, int flags, int& fd) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return StatusOf(errno);
    if (!S_ISREG(status.st_mode)) return OpenStatus::NotAFile;
    fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return StatusOf(errno);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        fd = -1;
        return OpenStatus::NotAFile;
    }
    return OpenStatus::Opened;
}

FileIdentity IdentityFrom(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

// How many links are followed before a loop of links is assumed (the system's own limit).
constexpr int kMaxLinks = 40;

}  // namespace

OpenStatus RawFile::OpenExisting(const std::filesystem::path& path) {
    Close();
    if (FileOperationFails(FileOperation::Open)) return OpenStatus::Failed;
    int fd = -1;
    if (const OpenStatus status = OpenRegular(path, O_RDWR, fd); status != OpenStatus::Opened) return status;
    // Another copy of the program holds the file only while it loads it: the lock stands in for
    // the exclusive sharing mode of Windows.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return StatusOf(error);
    }
    m_file = fd;
    return OpenStatus::Opened;
}

OpenStatus RawFile::OpenReadOnly(const std::filesystem::path& path) {
    Close();
    if (FileOperationFails(FileOperation::Open)) return OpenStatus::Failed;
    int fd = -1;
    if (const OpenStatus status = OpenRegular(path, O_RDONLY, fd); status != OpenStatus::Opened) return status;
    m_file = fd;
    return OpenStatus::Opened;
}

OpenStatus RawFile::CreateNew(const std::filesystem::path& path) {
    Close();
    if (FileOperationFails(FileOperation::Open)) return OpenStatus::Failed;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? OpenStatus::Exists : StatusOf(errno);
    m_file = fd;
    return OpenStatus::Opened;
}

long RawFile::Read(char* buffer, std::size_t size) {
    if (FileOperationFails(FileOperation::Read)) return -1;
    for (;;) {
        const ssize_t n = ::read(Descriptor(m_file), buffer, size);
        if (n >= 0) return static_cast<long>(n);
        if (errno != EINTR) return -1;
    }
}

bool RawFile::Write(const char* data, std::size_t size) {
    if (FileOperationFails(FileOperation::Write)) return false;
    while (size > 0) {
        const ssize_t n = ::write(Descriptor(m_file), data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool RawFile::Flush() {
    if (FileOperationFails(FileOperation::Flush)) return false;
    return ::fsync(Descriptor(m_file)) == 0;
}

bool RawFile::MatchPermissions(const std::filesystem::path& model) {
    struct stat status {};
    if (::stat(model.c_str(), &status) != 0) return errno == ENOENT;
    return ::fchmod(Descriptor(m_file), status.st_mode & 0777) == 0;
}

bool RawFile::Close() {
    if (m_file == kNoFile) return true;
    const bool ok = ::close(Descriptor(m_file)) == 0;
    m_file = kNoFile;
    return !FileOperationFails(FileOperation::Close) && ok;
}

std::optional<FileIdentity> RawFile::Identity() const {
    struct stat status {};
    if (m_file == kNoFile || ::fstat(Descriptor(m_file), &status) != 0) return std::nullopt;
    return IdentityFrom(status);
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return IdentityFrom(status);
}

ReplaceStatus ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (FileOperationFails(FileOperation::Rename)) return ReplaceStatus::Failed;
    if (::rename(source.c_str(), target.c_str()) != 0) return ReplaceStatus::Failed;
    // Make the rename itself durable.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return ReplaceStatus::Replaced;
}

bool RemoveFileIfPresent(const std::filesystem::path& path) {
    if (FileOperationFails(FileOperation::Remove)) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool IsWriteProtected(const std::filesystem::path& path) {
    // Asks the system itself: an open for writing that neither creates nor truncates.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int links = 0; links < kMaxLinks; ++links) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
        std::string target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 256) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return current;
        target.resize(static_cast<std::size_t>(length));
        const std::filesystem::path next(target);
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(::getpid()); }

bool ProcessHasEnded(unsigned long id) {
    const auto pid = static_cast<pid_t>(id);
    if (pid <= 0 || static_cast<unsigned long>(pid) != id) return false;
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

void PauseBeforeRetry() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

}  // namespace zembra
