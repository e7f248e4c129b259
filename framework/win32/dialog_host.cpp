#include "framework/win32/dialog_host.h"

#include <cwchar>
#include <iterator>

#include "framework/win32/dialog_init.h"
#include "framework/win32/screen_dpi.h"
#include "framework/win32/wide_text.h"

namespace zembra::win32 {
namespace {

Key KeyOf(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
            return Key::Enter;
        case VK_ESCAPE:
            return Key::Escape;
        case VK_TAB:
            return Key::Tab;
        default:
            return Key::Other;  // VK_PROCESSKEY too: a key the input method is composing with
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

DialogHost::DialogHost(int templateId, int iconId)
    : m_templateId(templateId),
      m_module(GetModuleHandleW(nullptr)),
      m_icon(LoadIconW(m_module, MAKEINTRESOURCEW(iconId))),
      m_images(m_module),
      m_dpi(kStandardDpi),
      m_layoutDpi(kStandardDpi) {}

DialogHost::~DialogHost() {
    for (const PointFont& font : m_fonts) DeleteObject(font.handle);
}

INT_PTR DialogHost::DoModal(Dialog& dialog) {
    if (FindResourceW(m_module, MAKEINTRESOURCEW(m_templateId), RT_DIALOG) == nullptr) return -1;
    m_dialog = &dialog;
    m_ended = false;
    m_endCode = -1;
    m_template = LoadDialogResource(m_module, m_templateId);
    // WM_INITDIALOG arrives inside this call; the template's visible style shows the window after.
    if (CreateDialogParamW(m_module, MAKEINTRESOURCEW(m_templateId), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        m_dialog = nullptr;
        return -1;
    }

    // The modal loop: every message goes to PreTranslateMessage first, then to the dialog
    // manager (Enter, Escape, Tab), and only then to the window it is for.
    MSG message;
    while (!m_ended && IsWindow(m_window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for whoever runs the next loop
            break;
        }
        if (PreTranslateMessage(message) || IsDialogMessageW(m_window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    ShowWindow(m_window, SW_HIDE);
    ClearForScreenReader();
    DestroyWindow(m_window);
    m_images.Clear();
    m_items.clear();
    m_toolTip = nullptr;  // gone with the window that owned it
    m_toolTips.clear();
    m_window = nullptr;
    m_dialog = nullptr;
    return m_endCode;
}

bool DialogHost::PreTranslateMessage(const MSG& message) const {
    if (message.hwnd != m_window && !IsChild(m_window, message.hwnd)) return false;
    const bool keyDown = message.message == WM_KEYDOWN;
    const Key key = keyDown || message.message == WM_KEYUP ? KeyOf(message.wParam) : Key::Other;
    return m_dialog->PreTranslateMessage(KeyMessage{keyDown, key});
}

// Only finds the host that CreateDialogParamW was given and lets it handle the message.
INT_PTR CALLBACK DialogHost::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* host = reinterpret_cast<DialogHost*>(GetWindowLongPtrW(window, DWLP_USER));
    if (host == nullptr) return FALSE;
    if (message == WM_INITDIALOG) return host->OnInitDialog(window);
    return host->HandleMessage(message, wParam, lParam);
}

// The message map. What it does not handle (FALSE) goes on to the dialog manager's defaults.
INT_PTR DialogHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return OnQueryDragIcon();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CANCELMODE:
            return OnCancelMode();
        case WM_CLOSE:
            return OnClose();
        case WM_DPICHANGED:
            return OnDpiChanged(LOWORD(wParam));
        case kApplyScaleMessage:
            ApplyScale();
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR DialogHost::OnInitDialog(HWND window) {
    m_window = window;
    TakeScale(WindowDpi(window));
    // The base initialisation: the strings of the template's initialisation data.
    ApplyDialogInit(window, m_module, m_templateId);
    const bool focusFirstTabStop = m_dialog->OnInitDialog();
    ApplyScale();
    NameAllForScreenReader();
    CentreInWorkArea();
    if (focusFirstTabStop) FocusFirstTabStop();
    // The focus is placed; the dialog manager has nothing more to do.
    return FALSE;
}

// The focus goes to the first shown, enabled tab stop through the dialog manager's own focus
// move, which also makes a push button that takes the focus the default one, so that Enter
// presses it. (Wine's handling of a TRUE from WM_INITDIALOG sets the focus without moving the
// default button; Windows moves it. Doing the move here gives the same on both.)
void DialogHost::FocusFirstTabStop() const {
    if (HWND first = GetNextDlgTabItem(m_window, nullptr, FALSE)) {
        SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
}

// An owner-less dialog opens in the middle of the primary screen's work area, moved back inside
// it where it would stick out.
void DialogHost::CentreInWorkArea() const {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT frame{};
    GetWindowRect(m_window, &frame);
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    LONG x = (area.left + area.right) / 2 - width / 2;
    LONG y = (area.top + area.bottom) / 2 - height / 2;
    if (x + width > area.right) x = area.right - width;
    if (x < area.left) x = area.left;
    if (y + height > area.bottom) y = area.bottom - height;
    if (y < area.top) y = area.top;
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Minimised, the client area shows the application icon in its middle.
INT_PTR DialogHost::OnPaint() {
    if (!IsIconic(m_window)) return FALSE;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    SendMessageW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(m_window, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_icon);
    EndPaint(m_window, &paint);
    return TRUE;
}

INT_PTR DialogHost::OnQueryDragIcon() const { return reinterpret_cast<INT_PTR>(m_icon); }

INT_PTR DialogHost::OnCommand(int id, int code) {
    // IDOK and IDCANCEL end the dialog as the base does; Escape issues IDCANCEL.
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(id);
        return TRUE;
    }
    if (code == BN_CLICKED)
        m_dialog->OnCommand(id, Notification::Clicked);
    else if (code == CBN_SELCHANGE)
        m_dialog->OnCommand(id, Notification::SelectionChanged);
    return TRUE;
}

// The platform's colours and brush first (the dialog sets none of its own), then the dialog's
// text colour for the control about to draw.
INT_PTR DialogHost::OnCtlColor(UINT message, HDC dc, HWND control) const {
    const LRESULT brush =
        DefWindowProcW(m_window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    if (const std::optional<Colour> colour = m_dialog->OnCtlColor(GetDlgCtrlID(control))) SetTextColor(dc, *colour);
    return static_cast<INT_PTR>(brush);
}

INT_PTR DialogHost::OnCancelMode() const { return FALSE; }

// The close request: the dialog saves, then the default handling issues IDCANCEL.
INT_PTR DialogHost::OnClose() {
    m_dialog->OnClose();
    return FALSE;
}

void DialogHost::EndDialog(INT_PTR code) {
    m_endCode = code;
    m_ended = true;
}

HWND DialogHost::Item(int id) const {
    if (m_window == nullptr) return nullptr;
    const auto [entry, added] = m_items.try_emplace(id, nullptr);
    if (added) entry->second = GetDlgItem(m_window, id);
    return entry->second;
}

bool DialogHost::HasVisibleStyle(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

bool DialogHost::IsShown(HWND control) const {
    return control != nullptr && HasVisibleStyle(control) && HasVisibleStyle(m_window);
}

void DialogHost::SetItemText(int id, const std::string& text) {
    HWND control = Item(id);
    if (text.empty() && IsEmptyAsSet(control)) return;
    SetWindowTextW(control, Wide(text).c_str());
    TextChangedForScreenReader(id);
}

// Emptying a text that is empty changes nothing, and each row asks that of some sixty hidden
// controls: a text static's, or an edit's that the user has not touched since it was last set (no
// typing, nothing to undo), is left alone. What such an edit would lose is its EN_CHANGE, which
// the host passes to no dialog; a screen reader has nothing to hear, a live control announces
// only a text that is not empty. Other controls (a picture static takes its text as the name of
// its picture) are always set.
bool DialogHost::IsEmptyAsSet(HWND control) {
    if (GetWindowTextLengthW(control) != 0) return false;
    wchar_t className[8] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    if (_wcsicmp(className, L"Edit") == 0) {
        return SendMessageW(control, EM_GETMODIFY, 0, 0) == 0 && SendMessageW(control, EM_CANUNDO, 0, 0) == 0;
    }
    if (_wcsicmp(className, L"Static") != 0) return false;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    return type != SS_ICON && type != SS_BITMAP && type != SS_ENHMETAFILE && type != SS_OWNERDRAW;
}

std::string DialogHost::GetItemText(int id) const { return Gbk(WindowText(Item(id))); }

void DialogHost::ShowItem(int id, bool show) {
    HWND control = Item(id);
    // A control hidden already stays as it is (its own visible style: while the dialog starts,
    // the dialog itself is hidden and so every control is invisible).
    if (!show) {
        if (HasVisibleStyle(control)) ShowWindow(control, SW_HIDE);
        return;
    }
    FitImage(id);
    ShowWindow(control, SW_SHOW);
    ShownForScreenReader(id);
}

bool DialogHost::IsItemVisible(int id) const { return IsShown(Item(id)); }

void DialogHost::EnableItem(int id, bool enable) { EnableWindow(Item(id), enable ? TRUE : FALSE); }

bool DialogHost::IsItemEnabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

void DialogHost::SetItemFocus(int id) { SetFocus(Item(id)); }

std::optional<std::string> DialogHost::GetComboSelectionText(int id) const {
    HWND combo = Item(id);
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::nullopt;
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return Gbk(text);
}

void DialogHost::RepaintDialog() {
    InvalidateRect(m_window, nullptr, TRUE);
    UpdateWindow(m_window);
}

bool DialogHost::AskYesNo(const std::string& text, const std::string& caption) {
    return MessageBoxW(m_window, Wide(text).c_str(), Wide(caption).c_str(), MB_YESNO) == IDYES;
}

void DialogHost::SetWindowIcons() {
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
}

}  // namespace zembra::win32
