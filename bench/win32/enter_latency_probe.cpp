// The time from an Enter key's arrival to the end of the painting that shows its result, in the
// real dialog with the program's resources under its real modal loop: 200 presses alternating
// submit (every other one with the right answer typed) and next, after a few unmeasured ones.
//
// The key arrives when the modal loop takes its WM_KEYDOWN from the queue. The painting has ended
// when the loop next finds nothing waiting, paint messages included: the system makes WM_PAINT
// only when no other message is waiting, and a PeekMessage that finds nothing has handed what was
// drawn to the window system (under Wine, the window surfaces are flushed to X then). The probe
// watches the loop by taking the place of GetMessageW in its own import table, which the host's
// loop calls. Each step runs from a timer message, which comes only once everything before it,
// painting included, is done.
//
//   enter_latency_probe [--pictures DIR]
//
// With --pictures, the rows come in a fixed order and, once each press is drawn, the dialog's
// client area is read back from the screen: a checksum of it per press is printed, and the first
// pictures are written to DIR as bitmap files, so that two builds can be compared for what the
// pupil sees. Otherwise the probe prints the median and 99th percentile, in milliseconds, for all presses, the submits
// and the nexts, and the median number of WM_PAINT messages that the loop took for a press (painting that a handler
// does at once, as UpdateWindow does, comes without one).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/press_times.h"
#include "drill/practice_dialog.h"
#include "framework/win32/dialog_host.h"
#include "ui/accessible_names.h"
#include "ui/control_ids.h"

namespace {

using zembra::bench::kMeasuredPresses;
using zembra::bench::kWarmUpPresses;
constexpr UINT kStepMilliseconds = 15;

using GetMessageFunction = BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT);
GetMessageFunction g_getMessage = nullptr;

double Now() {
    static const double ticksPerMillisecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMillisecond;
}

LPARAM KeyParameter(bool up) {
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC));
    return 1 | (scan << 16) | (up ? (LPARAM{1} << 30) | (LPARAM{1} << 31) : 0);
}

// A message other than a timer's waits: the probe's own steps come by timer and are not part of
// a press.
bool SomethingWaits() {
    MSG waiting;
    return PeekMessageW(&waiting, nullptr, 0, WM_TIMER - 1, PM_NOREMOVE) ||
           PeekMessageW(&waiting, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_NOREMOVE);
}

// The dialog's client area as the screen shows it, in 32-bit pixels from the top row down.
std::vector<std::uint32_t> ScreenPixels(HWND window, int& width, int& height) {
    RECT client{};
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    // From the screen itself, which holds what was handed to the window system.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

void WriteBitmapFile(const std::filesystem::path& file, const std::vector<std::uint32_t>& pixels, int width,
                     int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const auto bytes = static_cast<DWORD>(pixels.size() * 4);
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + bytes;
    std::FILE* out = _wfopen(file.c_str(), L"wb");
    if (out == nullptr) return;
    std::fwrite(&fileHeader, sizeof fileHeader, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(pixels.data(), 1, bytes, out);
    std::fclose(out);
}

using zembra::bench::Press;

class Probe {
public:
    Probe(zembra::win32::DialogHost& host, std::filesystem::path pictures)
        : m_host(host), m_pictures(std::move(pictures)) {
        m_presses.reserve(kWarmUpPresses + kMeasuredPresses);
    }

    // The loop is about to take the next message: if none waits, the press is done and drawn.
    void BeforeWait() {
        if (m_open == nullptr || SomethingWaits()) return;
        m_open->drawn = Now();
        m_open = nullptr;
        if (!m_pictures.empty()) TakePicture();
    }

    void Took(const MSG& message) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && m_expecting) {
            m_expecting = false;
            m_presses.back().arrived = Now();
            m_open = &m_presses.back();
        } else if (message.message == WM_PAINT && m_open != nullptr) {
            ++m_open->paints;
        }
    }

    // One step per timer message: type (before a submit with the right answer), Enter down,
    // Enter up.
    void Step() {
        HWND dialog = m_host.Window();
        if (dialog == nullptr || m_open != nullptr || m_expecting) return;
        HWND focus = GetFocus();
        const int total = kWarmUpPresses + kMeasuredPresses;
        switch (m_phase) {
            case 0: {
                if (static_cast<int>(m_presses.size()) == total) {
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // ends without saving
                    m_phase = 3;
                    return;
                }
                // The first press is on 下一题, which has the focus at the start; then submit and
                // next take turns, as the enabled state of 提交 says.
                const bool submit = m_presses.size() > 0 && m_host.IsItemEnabled(zembra::ids::kSubmit);
                if (submit && ++m_submits % 2 == 0) {
                    m_host.SetItemText(zembra::ids::kAnswerBox, m_host.GetItemText(zembra::ids::kAnswerHolder));
                }
                m_presses.push_back({submit, 0});
                m_phase = 1;
                return;
            }
            case 1:
                m_expecting = true;
                PostMessageW(focus, WM_KEYDOWN, VK_RETURN, KeyParameter(false));
                m_phase = 2;
                return;
            case 2:
                PostMessageW(focus, WM_KEYUP, VK_RETURN, KeyParameter(true));
                m_phase = 0;
                return;
            default:
                return;
        }
    }

    int Report() const { return zembra::bench::ReportPresses(m_presses, false); }

private:
    void TakePicture() const {
        int width = 0, height = 0;
        const std::vector<std::uint32_t> pixels = ScreenPixels(m_host.Window(), width, height);
        std::uint64_t sum = 14695981039346656037u;  // FNV-1a
        for (std::uint32_t pixel : pixels) sum = (sum ^ (pixel & 0xFFFFFF)) * 1099511628211u;
        const std::size_t press = m_presses.size();
        std::printf("press %3zu %-6s %016llx\n", press, m_presses.back().submit ? "submit" : "next",
                    static_cast<unsigned long long>(sum));
        if (press <= kWarmUpPresses + 4) {
            WriteBitmapFile(m_pictures / ("press-" + std::to_string(press) + ".bmp"), pixels, width, height);
        }
    }

    zembra::win32::DialogHost& m_host;
    std::filesystem::path m_pictures;
    std::vector<Press> m_presses;
    Press* m_open = nullptr;
    bool m_expecting = false;
    int m_phase = 0;
    int m_submits = 0;
};

Probe* g_probe = nullptr;

BOOL WINAPI WatchedGetMessage(LPMSG message, HWND window, UINT first, UINT last) {
    if (g_probe != nullptr) g_probe->BeforeWait();
    const BOOL got = g_getMessage(message, window, first, last);
    if (got > 0 && g_probe != nullptr) g_probe->Took(*message);
    return got;
}

void CALLBACK OnStep(HWND, UINT, UINT_PTR, DWORD) {
    if (g_probe != nullptr) g_probe->Step();
}

// Puts WatchedGetMessage in the place of user32's GetMessageW in this program's import table.
bool WatchGetMessage() {
    auto* base = reinterpret_cast<std::uint8_t*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name != 0; ++module) {
        if (_stricmp(reinterpret_cast<const char*>(base + module->Name), "user32.dll") != 0) continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "GetMessageW") != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            g_getMessage = reinterpret_cast<GetMessageFunction>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<decltype(slots->u1.Function)>(&WatchedGetMessage);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
    const std::filesystem::path pictures = argc == 3 && std::wcscmp(argv[1], L"--pictures") == 0 ? argv[2] : L"";
    if (!pictures.empty()) std::filesystem::create_directories(pictures);
    if (!WatchGetMessage()) {
        std::fprintf(stderr, "GetMessageW is not imported by name\n");
        return 1;
    }
    // A progress file of the probe's own, with every third row mastered; nothing is saved.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zembra-enter-latency";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "ZbXxYy.zb";
    {
        std::string bytes = "3\r\n";
        for (int row = 0; row < 1754; ++row) bytes += row % 3 == 0 ? "1\r\n" : "\r\n";
        std::FILE* out = _wfopen(file.c_str(), L"wb");
        if (out == nullptr) return 1;
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }

    zembra::win32::DialogHost host(zembra::ids::kDialog, zembra::ids::kAppIcon);
    host.SetAccessibleNames(zembra::MainDialogAccessibleNames());
    // The rows drawn by the clock, or in a fixed order for the pictures.
    std::int64_t second = 1'700'000'000;
    std::function<std::int64_t()> clock = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    if (!pictures.empty()) clock = [&second] { return second++; };
    zembra::PracticeDialog dialog(host, zembra::DrillEnvironment{file, clock, [](std::string_view) {}});
    Probe probe(host, pictures);
    g_probe = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, kStepMilliseconds, OnStep);
    host.DoModal(dialog);
    KillTimer(nullptr, timer);
    g_probe = nullptr;
    std::filesystem::remove_all(folder);
    return probe.Report();
}
