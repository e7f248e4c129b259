// Names for a screen reader through the system's dynamic annotation (oleacc's IAccPropServices):
// the accessibility objects that the system makes for the standard controls report the name
// given here instead of the one they would find themselves, and a control marked live has its
// changes announced at once (the live-region property and event of Windows 8 and later).
#pragma once

#include <string>

#include <windows.h>

struct IAccPropServices;

namespace zembra::win32 {

class ScreenReaderNames {
public:
    // Starts COM on the calling thread for as long as it lives. Where the system has no
    // annotation service, every operation does nothing.
    ScreenReaderNames();
    ~ScreenReaderNames();
    ScreenReaderNames(const ScreenReaderNames&) = delete;
    ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

    void SetName(HWND control, const std::wstring& name, bool live);
    // Before the control is destroyed.
    void Clear(HWND control);
    // Tells a screen reader that a live control has changed.
    static void AnnounceChange(HWND control);

private:
    bool m_com = false;
    IAccPropServices* m_services = nullptr;
};

}  // namespace zembra::win32
