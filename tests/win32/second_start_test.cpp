// The built program started twice in one session, as a pupil double-clicks its icon: the second
// start brings the running copy's dialog forward, restored and in the foreground, writes one line
// and ends with status 0, without a window and without touching the progress file, which the
// running copy's close then saves once. A copy killed outright leaves nothing that keeps the next
// start from running.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/window_search.h"
#include "tests/win32/program_file.h"
#include "ui/control_ids.h"

namespace zembra {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

constexpr int kBankRows = 1754;
// The program's fixed progress file, in the test's Wine prefix.
const std::filesystem::path kProgressFile = LR"(C:\windows\ZbXxYy.zb)";

std::string ProgressFile(int counter) {
    std::string text = std::to_string(counter) + "\r\n";
    for (int row = 0; row < kBankRows; ++row) text += "\r\n";
    return text;
}

int CounterOf(const std::string& text) { return std::stoi(text.substr(0, text.find('\r'))); }

// A started program, its standard output read from a pipe when it has ended.
struct Started {
    PROCESS_INFORMATION process{};
    HANDLE output = nullptr;

    ~Started() {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 10000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        if (output) CloseHandle(output);
    }

    bool EndsWithin(DWORD ms) const { return WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
    std::string Output() const {
        std::string text;
        char buffer[256];
        DWORD read = 0;
        while (ReadFile(output, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
        return text;
    }
};

class SecondStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code error;
        m_hadFile = std::filesystem::exists(kProgressFile, error);
        if (m_hadFile) m_saved = ReadBytes(kProgressFile);
        WriteBytes(kProgressFile, ProgressFile(7));
    }
    void TearDown() override {
        if (m_hadFile) {
            WriteBytes(kProgressFile, m_saved);
        } else {
            std::error_code error;
            std::filesystem::remove(kProgressFile, error);
        }
    }

    static std::unique_ptr<Started> Start() {
        auto started = std::make_unique<Started>();
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE write = nullptr;
        EXPECT_TRUE(CreatePipe(&started->output, &write, &inherit, 1 << 16));
        SetHandleInformation(started->output, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        std::wstring program = testing::ProgramFile();
        std::wstring commandLine = L"\"" + program + L"\"";
        EXPECT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &startup, &started->process))
            << "error " << GetLastError();
        CloseHandle(write);
        return started;
    }

    // The shown windows of the dialog class of the process that have the given owner: the main
    // dialog has none, a message box has the dialog.
    static std::vector<HWND> DialogsOf(const Started& started, HWND owner = nullptr) {
        std::vector<HWND> found;
        testing::FindTopLevelWindow([&](HWND window) {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (processId == started.process.dwProcessId && IsWindowVisible(window) &&
                std::wstring(className) == L"#32770" && GetWindow(window, GW_OWNER) == owner) {
                found.push_back(window);
            }
            return false;
        });
        return found;
    }

    // A window of this test, made the foreground window.
    static HWND TakeForeground() {
        const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(other);
        return other;
    }

    // Starts the program again and checks that it ended at once with status 0 and one line,
    // without a dialog, and left the progress file as it was.
    static void StartAgain() {
        WIN32_FILE_ATTRIBUTE_DATA before{};
        ASSERT_TRUE(GetFileAttributesExW(kProgressFile.c_str(), GetFileExInfoStandard, &before));
        const std::string contents = ReadBytes(kProgressFile);
        const std::unique_ptr<Started> second = Start();
        ASSERT_TRUE(second->EndsWithin(10000)) << "the second start did not end";
        EXPECT_EQ(second->ExitCode(), 0u);
        const std::string output = second->Output();
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
        EXPECT_NE(output.find("Zembra"), std::string::npos) << output;
        EXPECT_TRUE(DialogsOf(*second).empty());
        WIN32_FILE_ATTRIBUTE_DATA after{};
        ASSERT_TRUE(GetFileAttributesExW(kProgressFile.c_str(), GetFileExInfoStandard, &after));
        EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
        EXPECT_EQ(ReadBytes(kProgressFile), contents);
    }

    static HWND WaitForDialog(const Started& started) {
        for (int i = 0; i < 400; ++i) {
            if (const std::vector<HWND> dialogs = DialogsOf(started); !dialogs.empty()) return dialogs.front();
            Sleep(50);
        }
        ADD_FAILURE() << "the program showed no dialog within 20 s";
        return nullptr;
    }

    // The close box, which saves.
    static void Close(const Started& started, HWND dialog) {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(started.EndsWithin(20000)) << "the program did not end after its close box";
    }

    static bool Eventually(const std::function<bool()>& condition) {
        for (int i = 0; i < 100; ++i) {
            if (condition()) return true;
            Sleep(50);
        }
        return condition();
    }

    bool m_hadFile = false;
    std::string m_saved;
};

TEST_F(SecondStartTest, BringsTheRunningCopyForwardAndEndsWithoutTouchingTheFile) {
    const std::unique_ptr<Started> first = Start();
    const HWND dialog = WaitForDialog(*first);
    ASSERT_NE(dialog, nullptr);

    // The running copy is minimised, and a window of this test is in the foreground.
    ShowWindow(dialog, SW_MINIMIZE);
    const HWND other = TakeForeground();
    ASSERT_TRUE(Eventually([&] { return IsIconic(dialog) && GetForegroundWindow() == other; }));

    StartAgain();
    EXPECT_EQ(DialogsOf(*first), std::vector<HWND>{dialog});
    EXPECT_TRUE(Eventually([&] { return !IsIconic(dialog) && GetForegroundWindow() == dialog; }))
        << "iconic " << IsIconic(dialog) << ", foreground " << GetForegroundWindow() << " instead of " << dialog;
    EXPECT_EQ(ReadBytes(kProgressFile), ProgressFile(7));
    DestroyWindow(other);

    Close(*first, dialog);
    EXPECT_EQ(CounterOf(ReadBytes(kProgressFile)), 8);
}

// The running copy asks a question (再来一遍 asks before it clears the marks): the question is what
// comes forward, since the dialog below it takes no input until it is answered.
TEST_F(SecondStartTest, AQuestionOpenInTheRunningCopyIsWhatComesForward) {
    const std::unique_ptr<Started> first = Start();
    const HWND dialog = WaitForDialog(*first);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(GetDlgItem(dialog, ids::kResetAll), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(Eventually([&] {
        const std::vector<HWND> boxes = DialogsOf(*first, dialog);
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
    })) << "no question was asked";
    const HWND other = TakeForeground();
    ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == other; }));

    StartAgain();
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == box; }))
        << "foreground " << GetForegroundWindow() << " instead of the question " << box;
    DestroyWindow(other);

    PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    ASSERT_TRUE(Eventually([&] { return DialogsOf(*first, dialog).empty(); }));
    Close(*first, dialog);
    EXPECT_EQ(CounterOf(ReadBytes(kProgressFile)), 8);
}

TEST_F(SecondStartTest, AStartAfterAKilledCopyRuns) {
    {
        const std::unique_ptr<Started> killed = Start();
        ASSERT_NE(WaitForDialog(*killed), nullptr);
        TerminateProcess(killed->process.hProcess, 9);
        ASSERT_TRUE(killed->EndsWithin(10000));
    }
    const std::unique_ptr<Started> next = Start();
    const HWND dialog = WaitForDialog(*next);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(next->EndsWithin(1000)) << "the start after a killed copy ended with " << next->ExitCode();
    Close(*next, dialog);
    EXPECT_EQ(CounterOf(ReadBytes(kProgressFile)), 8);
}

// A copy started elevated, or as another user in this session, holds the mutex and the section
// with no access for this user: a start here says so and ends, as when a copy of its own runs.
TEST_F(SecondStartTest, AMutexThisUserMayNotOpenMeansAnotherCopyRuns) {
    SECURITY_DESCRIPTOR closed{};
    ACL empty{};
    ASSERT_TRUE(InitializeSecurityDescriptor(&closed, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(InitializeAcl(&empty, sizeof empty, ACL_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&closed, TRUE, &empty, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &closed, FALSE};
    const HANDLE mutex = CreateMutexW(&attributes, TRUE, L"Local\\Zembra.ZbXxYy.zb");
    const HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, sizeof(LONG),
                                              L"Local\\Zembra.ZbXxYy.zb.process");
    ASSERT_NE(mutex, nullptr);
    ASSERT_EQ(CreateMutexW(nullptr, FALSE, L"Local\\Zembra.ZbXxYy.zb"), nullptr) << "the system checks no access";
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    StartAgain();
    if (section) CloseHandle(section);
    CloseHandle(mutex);
}

}  // namespace
}  // namespace zembra
