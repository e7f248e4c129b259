// Starts a program and measures the time until it shows its first question, and its peak working
// set then. The question counts as shown when the program's dialog is visible with its answer box
// (control 1035) visible: Zembra's template hides that box and the drill shows it when it asks a
// row; the baseline dialog's edit has the same id and is shown from the start. The program is
// then cancelled (IDCANCEL, which for Zembra saves nothing).
//
//   first_question_probe PROGRAM.exe
//
// Prints one line: "<milliseconds> <peak working set in KiB>".
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <cstdio>
#include <string>

#include "tests/support/window_search.h"
#include "ui/control_ids.h"

namespace {

HWND VisibleWindowOf(DWORD process) {
    return zembra::testing::FindTopLevelWindow([process](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner == process && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr;
    });
}

bool ShowsQuestion(HWND dialog) {
    HWND answerBox = GetDlgItem(dialog, zembra::ids::kAnswerBox);
    return answerBox != nullptr && IsWindowVisible(answerBox);
}

}  // namespace

// The entry point of a wide-character (-municode) program, which the compiler knows by no name.
int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: first_question_probe PROGRAM.exe\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";

    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fwprintf(stderr, L"cannot start %ls\n", argv[1]);
        return 1;
    }

    HWND dialog = nullptr;
    for (;;) {
        dialog = VisibleWindowOf(process.dwProcessId);
        if (dialog != nullptr && ShowsQuestion(dialog)) break;
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
            std::fwprintf(stderr, L"the program ended before showing its question\n");
            return 1;
        }
    }
    QueryPerformanceCounter(&now);
    const double milliseconds =
        1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);

    // Let the first painting finish before the memory is read.
    Sleep(300);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);

    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::wprintf(L"%.1f %zu\n", milliseconds, static_cast<std::size_t>(memory.PeakWorkingSetSize / 1024));
    return 0;
}
