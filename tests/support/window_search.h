// Finding a top-level window by a condition, for the tests and the start-up probe that drive real
// windows from outside their message handling.
#pragma once

#include <windows.h>

#include <functional>

namespace zembra::testing {

namespace detail {

struct WindowSearch {
    const std::function<bool(HWND)>* matches;
    HWND found;
};

inline BOOL CALLBACK CheckWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (!(*search->matches)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace detail

// The first top-level window of the desktop, of any thread or process, for which `matches` is
// true; nullptr when there is none.
inline HWND FindTopLevelWindow(const std::function<bool(HWND)>& matches) {
    detail::WindowSearch search{&matches, nullptr};
    EnumWindows(detail::CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace zembra::testing
