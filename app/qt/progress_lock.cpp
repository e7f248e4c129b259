#include "app/qt/progress_lock.h"

#include <fcntl.h>
#include <sys/syscall.h>
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

// Which process holds the lock on `fd` now; 0 for none or one the kernel does not name, -1 when
// the lock is free.
pid_t LockHolder(int fd) {
    struct flock probe = WholeFile(F_WRLCK);
    if (fcntl(fd, F_GETLK, &probe) != 0) return 0;
    if (probe.l_type == F_UNLCK) return -1;
    return probe.l_pid > 0 ? probe.l_pid : 0;
}

// The failures worth a word: a read-only file system is no fault of the lock.
int Reported(int error) { return error == EROFS ? 0 : error; }

}  // namespace

std::filesystem::path ProgressLock::LockFileFor(const std::filesystem::path& progressFile) {
    std::filesystem::path lockFile = progressFile;
    lockFile += ".lock";
    return lockFile;
}

ProgressLock::ProgressLock(const std::filesystem::path& progressFile) {
    // Opened for writing, as a write lock needs; the file's contents are never read or written.
    m_fd = open(LockFileFor(progressFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                S_IRUSR | S_IWUSR);
    if (m_fd < 0) {
        m_failure = Reported(errno);
        return;
    }
    struct flock lock = WholeFile(F_WRLCK);
    if (fcntl(m_fd, F_SETLK, &lock) == 0) {
        m_state = State::Held;
        return;
    }
    if (errno == EACCES || errno == EAGAIN) {
        m_state = State::HeldElsewhere;
        const pid_t holder = LockHolder(m_fd);
        if (holder < 0) {
            // The holder ended in between: the lock is free.
            struct flock retry = WholeFile(F_WRLCK);
            if (fcntl(m_fd, F_SETLK, &retry) == 0) {
                m_state = State::Held;
                return;
            }
        } else if (holder > 0) {
            m_holder = holder;
            // The pidfd names one process for good; if the holder's id was taken by another process
            // before it was opened, the lock no longer names that id.
            const long fd = syscall(SYS_pidfd_open, holder, 0);
            if (fd >= 0 && LockHolder(m_fd) == holder) {
                m_holderFd = static_cast<int>(fd);
            } else if (fd >= 0) {
                close(static_cast<int>(fd));
            }
        }
    } else {
        m_failure = Reported(errno);
    }
    if (m_state != State::HeldElsewhere) {
        close(m_fd);
        m_fd = -1;
    }
}

ProgressLock::~ProgressLock() {
    // Closing the descriptor releases the lock.
    if (m_fd >= 0) close(m_fd);
    if (m_holderFd >= 0) close(m_holderFd);
}

}  // namespace zembra
