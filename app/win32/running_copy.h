// One copy of the program per user session, which is where the progress file is the same one (a
// standard user's file lies in that user's virtual store). The running copy owns a named mutex of
// the session's namespace and publishes its process id in a named shared memory section; a second
// start finds the mutex owned, brings the running copy's dialog forward and ends. A mutex whose
// owner ended without releasing it, killed included, is abandoned and taken by the next start.
#pragma once

#include <windows.h>

namespace zembra::win32 {

class RunningCopy {
public:
    // Takes the session's mutex, or finds it owned by a running copy, or finds it there but closed
    // to this copy (which only another copy makes). Any other failure of the system objects
    // counts as a first copy: the program then runs as it did without them.
    RunningCopy();
    ~RunningCopy();
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    // True for the copy that runs the drill.
    bool IsFirst() const { return m_owned || (!m_mutex && !m_deniedToThisCopy); }

    // For a second start: waits up to `timeoutMs` for the running copy's dialog to be shown (it
    // may be starting too), restores it if minimised and makes it the foreground window. False
    // when no such window appeared.
    bool BringRunningCopyForward(DWORD timeoutMs) const;

private:
    HANDLE m_mutex = nullptr;
    bool m_owned = false;
    bool m_deniedToThisCopy = false;
    HANDLE m_section = nullptr;
    volatile LONG* m_processId = nullptr;  // in the shared section: the running copy's, or 0
};

}  // namespace zembra::win32
