#include "app/qt/progress_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace zembra {

namespace {

struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;  // to the end, however long the file grows
    return lock;
}

}  // namespace

std::filesystem::path ProgressLock::LockFileFor(const std::filesystem::path& progressFile) {
    std::filesystem::path lockFile = progressFile;
    lockFile += ".lock";
    return lockFile;
}

ProgressLock::ProgressLock(const std::filesystem::path& progressFile) {
    // Opened for writing, as a write lock needs; the file's contents are never read or written.
    m_fd = open(LockFileFor(progressFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (m_fd < 0) return;
    struct flock lock = WholeFile(F_WRLCK);
    if (fcntl(m_fd, F_SETLK, &lock) == 0) {
        m_state = State::Held;
        return;
    }
    if (errno == EACCES || errno == EAGAIN) {
        m_state = State::HeldElsewhere;
        // The holder may have ended in between: then the lock is free and the answer F_UNLCK.
        struct flock probe = WholeFile(F_WRLCK);
        if (fcntl(m_fd, F_GETLK, &probe) == 0) {
            if (probe.l_type == F_UNLCK) {
                struct flock retry = WholeFile(F_WRLCK);
                if (fcntl(m_fd, F_SETLK, &retry) == 0) {
                    m_state = State::Held;
                    return;
                }
            } else if (probe.l_pid > 0) {
                m_holder = probe.l_pid;
            }
        }
    }
    if (m_state != State::HeldElsewhere) {
        close(m_fd);
        m_fd = -1;
    }
}

ProgressLock::~ProgressLock() {
    // Closing the descriptor releases the lock.
    if (m_fd >= 0) close(m_fd);
}

}  // namespace zembra
