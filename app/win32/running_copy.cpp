#include "app/win32/running_copy.h"

namespace zembra::win32 {

namespace {

// In the session's namespace (Local\), so that every user session has a running copy of its own.
constexpr wchar_t kMutexName[] = L"Local\\Zembra.ZbXxYy.zb";
constexpr wchar_t kSectionName[] = L"Local\\Zembra.ZbXxYy.zb.process";
constexpr DWORD kPollMs = 50;

struct DialogSearch {
    DWORD processId;
    HWND found;
};

// The running copy's dialog: its shown top-level window of the dialog class that has no owner (a
// message box it shows has the dialog as its owner).
BOOL CALLBACK CheckWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    wchar_t className[16] = {};
    if (GetClassNameW(window, className, 16) == 0 || lstrcmpW(className, L"#32770") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

HWND DialogOf(DWORD processId) {
    DialogSearch search{processId, nullptr};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

RunningCopy::RunningCopy() {
    m_section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), kSectionName);
    if (m_section) {
        m_processId = static_cast<volatile LONG*>(MapViewOfFile(m_section, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    }
    m_mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (!m_mutex) {
        // The mutex is there but not to be opened by this copy: a copy started elevated, or as
        // another user in this session, runs.
        m_deniedToThisCopy = GetLastError() == ERROR_ACCESS_DENIED;
        return;
    }
    // WAIT_ABANDONED: the last owner ended without releasing it; this start owns it now.
    const DWORD wait = WaitForSingleObject(m_mutex, 0);
    m_owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (m_owned && m_processId) InterlockedExchange(m_processId, static_cast<LONG>(GetCurrentProcessId()));
}

RunningCopy::~RunningCopy() {
    if (m_owned) {
        if (m_processId) InterlockedCompareExchange(m_processId, 0, static_cast<LONG>(GetCurrentProcessId()));
        ReleaseMutex(m_mutex);
    }
    if (m_mutex) CloseHandle(m_mutex);
    if (m_processId) UnmapViewOfFile(const_cast<LONG*>(m_processId));
    if (m_section) CloseHandle(m_section);
}

bool RunningCopy::BringRunningCopyForward(DWORD timeoutMs) const {
    if (!m_processId) return false;
    const DWORD started = GetTickCount();
    HWND dialog = nullptr;
    for (;;) {
        // The owner publishes its id just after taking the mutex; until then it reads 0.
        const auto processId = static_cast<DWORD>(InterlockedCompareExchange(m_processId, 0, 0));
        if (processId != 0 && (dialog = DialogOf(processId)) != nullptr) break;
        if (GetTickCount() - started >= timeoutMs) return false;
        Sleep(kPollMs);
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    // This start was just made by the pupil, so it may hand the foreground on.
    AllowSetForegroundWindow(processId);
    // Asynchronously: a first copy that hangs must not hang this start too.
    if (IsIconic(dialog)) ShowWindowAsync(dialog, SW_RESTORE);
    // A question the dialog asks (a message box it owns) is what the pupil must answer first.
    const HWND popup = GetLastActivePopup(dialog);
    SetForegroundWindow(popup ? popup : dialog);
    return true;
}

}  // namespace zembra::win32
