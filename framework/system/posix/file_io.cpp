#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "framework/file_io.h"

namespace zembra {
namespace {

OpenStatus StatusOf(int error) {
    if (error == ENOENT) return OpenStatus::NotFound;
    if (error == EWOULDBLOCK) return OpenStatus::Busy;
    return OpenStatus::Failed;
}

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

OpenStatus RawFile::OpenExisting(const std::filesystem::path& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return StatusOf(errno);
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return StatusOf(errno);
    m_file = fd;
    return OpenStatus::Opened;
}

OpenStatus RawFile::CreateNew(const std::filesystem::path& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? OpenStatus::Exists : StatusOf(errno);
    m_file = fd;
    return OpenStatus::Opened;
}

long RawFile::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(Descriptor(m_file), buffer, size);
        if (n >= 0) return static_cast<long>(n);
        if (errno != EINTR) return -1;
    }
}

bool RawFile::Write(const char* data, std::size_t size) {
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

bool RawFile::Flush() { return ::fsync(Descriptor(m_file)) == 0; }

bool RawFile::Close() {
    if (m_file == kNoFile) return true;
    const bool ok = ::close(Descriptor(m_file)) == 0;
    m_file = kNoFile;
    return ok;
}

bool ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (::rename(source.c_str(), target.c_str()) != 0) return false;
    // Make the rename itself durable.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool RemoveFileIfPresent(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target, unsigned attempt) {
    std::filesystem::path result = target;
    result += "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp";
    return result;
}

void PauseBeforeRetry() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

}  // namespace zembra
