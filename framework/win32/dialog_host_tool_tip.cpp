// Tips for the controls: one tooltip control of the dialog, each tip a rectangle of the dialog
// over its control. A tool of the control's own window would never show on a disabled control,
// which gets no mouse messages, and a disabled control is where a tip is most needed.
#include "framework/win32/dialog_host.h"
// After <windows.h>, which it needs.
#include <commctrl.h>

#include "framework/win32/wide_text.h"

namespace zembra::win32 {
namespace {

TTTOOLINFOW ToolOf(HWND dialog, int id) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog;
    tool.uId = static_cast<UINT_PTR>(id);
    return tool;
}

}  // namespace

void DialogHost::SetItemToolTip(int id, const std::string& text) {
    if (m_window == nullptr) return;
    m_toolTips[id] = Wide(text);
    if (m_toolTip == nullptr) {
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
        m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                    m_module, nullptr);
        if (m_toolTip == nullptr) return;
    }
    TTTOOLINFOW tool = ToolOf(m_window, id);
    SendMessageW(m_toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (text.empty()) {
        m_toolTips.erase(id);
        return;
    }
    tool.uFlags = TTF_SUBCLASS;
    tool.hinst = nullptr;
    tool.lpszText = m_toolTips[id].data();
    PlaceToolTips();
    tool.rect = ToolRect(id);
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

RECT DialogHost::ToolRect(int id) const {
    RECT rect{};
    GetWindowRect(Item(id), &rect);
    MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// After a change of layout (the screen scale) each tip follows its control.
void DialogHost::PlaceToolTips() {
    if (m_toolTip == nullptr) return;
    for (const auto& [id, text] : m_toolTips) {
        TTTOOLINFOW tool = ToolOf(m_window, id);
        tool.rect = ToolRect(id);
        SendMessageW(m_toolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::wstring DialogHost::ToolTipOf(int id) const {
    if (m_toolTip == nullptr) return {};
    wchar_t text[256] = {};
    TTTOOLINFOW tool = ToolOf(m_window, id);
    tool.lpszText = text;
    SendMessageW(m_toolTip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

}  // namespace zembra::win32
