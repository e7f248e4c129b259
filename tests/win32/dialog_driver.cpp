#include "tests/win32/dialog_driver.h"

#include <gtest/gtest.h>

#include "drill/review_schedule.h"
#include "framework/local_day.h"
#include "tests/support/window_search.h"
#include "ui/accessible_names.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"

namespace zembra::testing {
namespace {

constexpr UINT kTickMilliseconds = 10;
constexpr int kTicksToEnd = 300;  // three seconds for the dialog to end after the last step

DialogDriver* g_running = nullptr;

LPARAM KeyParameter(UINT virtualKey, bool up, bool repeated) {
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    LPARAM value = 1 | (scan << 16);
    if (repeated || up) value |= LPARAM{1} << 30;
    if (up) value |= LPARAM{1} << 31;
    return value;
}

}  // namespace

DialogDriver::DialogDriver(std::filesystem::path progressFile, std::unique_ptr<win32::SapiEngine> engine)
    : m_host(ids::kDialog, ids::kAppIcon),
      m_speech(std::move(engine)),
      m_dialog(m_host,
               DrillEnvironment{progressFile, [] { return kDriverClock; },
                                [this](std::string_view line) { m_diagnostics += line; }, false,
                                progressFile.parent_path() / "lists"},
               &m_speech) {
    m_host.SetAccessibleNames(MainDialogAccessibleNames());
}

INT_PTR DialogDriver::Run(std::vector<Step> steps) {
    m_steps = std::move(steps);
    m_next = 0;
    m_idleTicks = 0;
    m_waitTicks = 0;
    m_repeats = 0;
    g_running = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, OnTimer);
    const INT_PTR result = m_host.DoModal(m_dialog);
    KillTimer(nullptr, timer);
    g_running = nullptr;
    EXPECT_EQ(m_next, m_steps.size()) << "the dialog ended before all steps ran";
    return result;
}

void DialogDriver::MakeEveryControl() const {
    const auto controls = MainDialogTemplate().controls;
    for (auto c = controls.rbegin(); c != controls.rend(); ++c) {
        if (c->id != kNoControlId) {
            EXPECT_NE(Item(c->id), nullptr) << c->id;
        }
    }
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_running != nullptr) g_running->Tick();
}

void DialogDriver::Tick() {
    if (Dialog() == nullptr) return;
    // The steps start once the voice has been looked for: creating it may run a message loop of
    // COM's, which would hand a posted key to its window past the dialog manager.
    if (!m_speech.Settled() && ++m_waitTicks < kTicksToEnd) return;
    if (m_next < m_steps.size()) {
        // Steps may run inside a message box's own loop; the next one waits for this one.
        const std::size_t current = m_next++;
        m_again = false;
        m_steps[current](*this);
        if (m_again && ++m_repeats < kTicksToEnd) {
            m_next = current;
        } else {
            if (m_again) ADD_FAILURE() << "step " << current << " waited in vain";
            m_repeats = 0;
        }
        m_again = false;
        return;
    }
    if (++m_idleTicks == kTicksToEnd) {
        ADD_FAILURE() << "the dialog is still open after the last step";
        if (HWND box = MessageBoxWindow()) EndDialog(box, IDNO);
        PostMessageW(Dialog(), WM_COMMAND, IDCANCEL, 0);
    }
}

std::wstring DialogDriver::TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int DialogDriver::FocusId() const {
    HWND focus = GetFocus();
    // The field of a drop-down combo box is an edit inside the combo box.
    if (focus != nullptr && GetParent(focus) != Dialog() && IsChild(Dialog(), focus)) focus = GetParent(focus);
    return focus != nullptr && IsChild(Dialog(), focus) ? GetDlgCtrlID(focus) : 0;
}

void DialogDriver::Press(UINT virtualKey, int repeats) {
    HWND target = GetFocus();
    for (int i = 0; i < repeats; ++i)
        PostMessageW(target, WM_KEYDOWN, virtualKey, KeyParameter(virtualKey, false, i > 0));
    PostMessageW(target, WM_KEYUP, virtualKey, KeyParameter(virtualKey, true, false));
}

void DialogDriver::Type(std::wstring_view text) {
    HWND target = GetFocus();
    for (wchar_t unit : text) PostMessageW(target, WM_CHAR, unit, 1);
}

void DialogDriver::Click(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(window, WM_LBUTTONUP, 0, middle);
}

HWND DialogDriver::MessageBoxWindow() const {
    HWND dialog = Dialog();
    return FindTopLevelWindow([dialog](HWND window) {
        return window != dialog && GetWindow(window, GW_OWNER) == dialog && IsWindowVisible(window);
    });
}

std::filesystem::path ListFile(std::string_view name) {
    return std::filesystem::absolute(std::filesystem::path(ZEMBRA_LIST_FILES) / name).make_preferred();
}

std::string ProgressFile(int runCounter, const std::vector<std::string>& marks) {
    std::string bytes = std::to_string(runCounter) + "\r\n";
    for (const std::string& mark : marks) bytes += mark + "\r\n";
    return bytes;
}

std::string FirstMastery() { return WriteSchedule({1, LocalDay(kDriverClock) + 1}); }

std::vector<std::string> Rescheduled(std::vector<std::string> marks) {
    for (std::size_t row = 0; row < marks.size(); ++row) {
        if (PracticeDialog::IsMastered(marks[row]) && !ReadSchedule(marks[row])) {
            marks[row] = ScheduleForUnknownMark(static_cast<int>(row), LocalDay(kDriverClock));
        }
    }
    return marks;
}

}  // namespace zembra::testing
