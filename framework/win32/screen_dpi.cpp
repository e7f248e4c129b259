#include "framework/win32/screen_dpi.h"

namespace zembra::win32 {
namespace {

// A function of user32 that this Windows may not have; nullptr then.
template <typename Function>
Function* OptionalUser32Function(const char* name) {
    const FARPROC function = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(function));
}

int SessionDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

int WindowDpi(HWND window) {
    static auto* const getDpiForWindow = OptionalUser32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return static_cast<int>(dpi);
    }
    return SessionDpi();
}

int IconSizeForDpi(int dpi) {
    static auto* const getSystemMetricsForDpi = OptionalUser32Function<int WINAPI(int, UINT)>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi));
    // Without it the session has one scale, and the system's own metric is for that scale.
    return dpi == SessionDpi() ? GetSystemMetrics(SM_CXICON) : ScaleToDpi(32, dpi);
}

}  // namespace zembra::win32
