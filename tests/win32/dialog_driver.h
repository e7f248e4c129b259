// Runs the real dialog through its real modal loop and drives it with posted keyboard and mouse
// messages. Each step runs from a timer message; since the system makes timer messages only when
// no posted or input message is waiting, a step starts after everything the previous step posted
// (and the painting that followed) has been handled.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "drill/practice_dialog.h"
#include "framework/win32/dialog_host.h"
#include "framework/win32/sapi_speech.h"
#include "tests/support/temp_dir.h"

namespace zembra::testing {

class DialogDriver;
using Step = std::function<void(DialogDriver&)>;

class DialogDriver {
public:
    // The dialog reads and writes `progressFile` and keeps its word lists in the folder "lists"
    // beside it, with a fixed clock, its diagnostics kept, and the system's own SAPI 5 voice, or
    // the engine given.
    explicit DialogDriver(std::filesystem::path progressFile,
                          std::unique_ptr<win32::SapiEngine> engine = win32::MakeSapiEngine());

    // Runs the dialog modally and the steps one after another; returns the dialog's end code.
    // If the dialog is still open a while after the last step, the test fails and the dialog
    // (and any message box) is closed without saving.
    INT_PTR Run(std::vector<Step> steps);

    HWND Dialog() const { return m_host.Window(); }
    // The control's window, made by the host if the control has none yet.
    HWND Item(int id) const { return m_host.Item(id); }
    // Every control of the template asked for, in reverse template order, so that the dialog's
    // windows are the whole template, for a test that walks them.
    void MakeEveryControl() const;
    PracticeDialog& Logic() { return m_dialog; }
    win32::DialogHost& Host() { return m_host; }
    const std::string& Diagnostics() const { return m_diagnostics; }

    std::wstring Text(int id) const { return TextOf(Item(id)); }
    static std::wstring TextOf(HWND window);
    bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    // The id of the control with the keyboard focus, 0 when the focus is elsewhere.
    int FocusId() const;

    // A key press (down and up) posted to the window with the focus, as the keyboard gives it.
    void Press(UINT virtualKey, int repeats = 1);
    // Characters posted to the window with the focus, one WM_CHAR per UTF-16 unit.
    void Type(std::wstring_view text);
    // A left click posted to the middle of a window.
    static void Click(HWND window);
    void Click(int id) { Click(Item(id)); }

    // The box that the dialog has open (a message box, the file dialog), or nullptr.
    HWND MessageBoxWindow() const;
    // Runs the current step once more at the next tick, for a window that is not there yet.
    void RunAgain() { m_again = true; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    win32::DialogHost m_host;
    win32::SapiSpeech m_speech;
    std::string m_diagnostics;
    PracticeDialog m_dialog;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_idleTicks = 0;
    int m_waitTicks = 0;
    bool m_again = false;
    int m_repeats = 0;
};

// A word list of tests/data/lists, with its full path.
std::filesystem::path ListFile(std::string_view name);

// A progress file as the program writes it: the counter, then one mark line per row.
std::string ProgressFile(int runCounter, const std::vector<std::string>& marks);

// The driver's fixed clock, in seconds since the epoch.
inline constexpr std::int64_t kDriverClock = 1'700'000'000;
// The mark of a row first answered right on the driver's day.
std::string FirstMastery();
// Marks as a start-up on the driver's day leaves them: each mastered row of no known date has
// been given its review day.
std::vector<std::string> Rescheduled(std::vector<std::string> marks);

}  // namespace zembra::testing
