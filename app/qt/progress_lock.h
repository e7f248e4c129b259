// One copy of the program per progress file: a lock held on a file beside it for as long as the
// copy runs. The lock is a POSIX record lock, which the kernel releases when the process ends in
// any way, killed included, so a lock file left behind never keeps a later start from running;
// the lock file itself is never removed (removing it would let a start lock a new file while the
// running copy holds the old one).
#pragma once

#include <sys/types.h>

#include <filesystem>

namespace zembra {

class ProgressLock {
public:
    // The lock file of a progress file: its name with ".lock" added, in the same folder.
    static std::filesystem::path LockFileFor(const std::filesystem::path& progressFile);

    // Tries once, without waiting, to lock the progress file's lock file, creating it (for its
    // owner only) when it is missing.
    explicit ProgressLock(const std::filesystem::path& progressFile);
    ~ProgressLock();
    ProgressLock(const ProgressLock&) = delete;
    ProgressLock& operator=(const ProgressLock&) = delete;

    // True when this process holds the lock, and also when the lock file could not be made or
    // locked at all (a read-only folder, a file system without locks): the program then runs as
    // it did without one, since a copy that cannot lock cannot be told apart from a first one;
    // the progress file's save merges what two such copies saved.
    bool Acquired() const { return m_state != State::HeldElsewhere; }
    // When another process holds the lock: its process id as the kernel reports it, 0 when the
    // kernel does not say (a process of another pid namespace). Otherwise 0.
    pid_t Holder() const { return m_holder; }
    // A pidfd of that holder, opened right after the kernel named it and checked against the lock
    // once more, so that it never names a process that took the holder's id later; -1 when there
    // is none. Owned by this object.
    int HolderFd() const { return m_holderFd; }
    // Why the lock could not be taken at all (an errno value); 0 when it was taken, is held
    // elsewhere, or the file system is read-only (where no copy can save anyway).
    int Failure() const { return m_failure; }

private:
    enum class State { Held, Unavailable, HeldElsewhere };
    int m_fd = -1;
    State m_state = State::Unavailable;
    pid_t m_holder = 0;
    int m_holderFd = -1;
    int m_failure = 0;
};

}  // namespace zembra
