#include "framework/win32/dialog_host.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "framework/win32/dialog_init.h"
#include "framework/win32/dpi_layout.h"
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
    const std::span<const std::uint8_t> bytes = DialogResourceBytes(m_module, m_templateId);
    if (bytes.empty()) return -1;
    m_dialog = &dialog;
    m_ended = false;
    m_endCode = -1;
    m_template = ParseDialogTemplate(bytes);
    // The dialog manager creates the controls that are needed from the start; a template that
    // cannot be read here is left to it whole.
    const std::vector<DWORD> created =
        m_template ? TemplateWithItems(bytes, *m_template, PrepareControls()) : std::vector<DWORD>();
    // WM_INITDIALOG arrives inside this call; the template's visible style shows the window after.
    const auto parameter = reinterpret_cast<LPARAM>(this);
    HWND window = created.empty()
                      ? CreateDialogParamW(m_module, MAKEINTRESOURCEW(m_templateId), nullptr, DialogProc, parameter)
                      : CreateDialogIndirectParamW(m_module, reinterpret_cast<LPCDLGTEMPLATEW>(created.data()), nullptr,
                                                   DialogProc, parameter);
    if (window == nullptr) {
        m_dialog = nullptr;
        m_controls.clear();
        m_byId.clear();
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
    m_controls.clear();
    m_byId.clear();
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
        case WM_DRAWITEM:
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_CANCELMODE:
            return OnCancelMode();
        case WM_CLOSE:
            return OnClose();
        case WM_QUERYENDSESSION:
            return OnQueryEndSession();
        case WM_ENDSESSION:
            return OnEndSession(wParam != FALSE);
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
    TakeControlWindows();
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

// The session may end: the dialog never holds it up, and keeps nothing until it does end.
INT_PTR DialogHost::OnQueryEndSession() {
    SetWindowLongPtrW(m_window, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// The session ends (shutdown, sign-out, an update's restart): the system may end the process as
// soon as this returns, and sends no close request, so the dialog saves now and then ends.
INT_PTR DialogHost::OnEndSession(bool ending) {
    if (!ending || m_ended) return FALSE;
    m_dialog->OnEndSession();
    // A question open above the dialog is answered No, so that the program can end at once.
    if (HWND box = GetLastActivePopup(m_window); box != m_window && box != nullptr) ::EndDialog(box, IDNO);
    EndDialog(IDCANCEL);
    SetWindowLongPtrW(m_window, DWLP_MSGRESULT, 0);
    return TRUE;
}

void DialogHost::EndDialog(INT_PTR code) {
    m_endCode = code;
    m_ended = true;
}

std::vector<bool> DialogHost::PrepareControls() {
    m_controls.clear();
    m_byId.clear();
    std::vector<int> filled;  // the controls whose lists the initialisation data fills
    for (const DialogInitRecord& record : LoadDialogInit(m_module, m_templateId)) filled.push_back(record.control);
    const auto told = [this](int id) {
        return std::any_of(m_accessibleNames.begin(), m_accessibleNames.end(),
                           [id](const AccessibleName& n) { return n.control == id || n.label == id; });
    };
    std::vector<bool> created;
    for (const DialogItemResource& item : m_template->items) {
        Control control;
        control.item = &item;
        const bool defaultButton = item.ClassName() == L"Button" && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        control.deferred = (item.style & WS_VISIBLE) == 0 && item.id != -1 && !m_byId.contains(item.id) &&
                           !told(item.id) && !defaultButton &&
                           std::find(filled.begin(), filled.end(), item.id) == filled.end();
        control.text = item.WindowName();
        control.enabled = (item.style & WS_DISABLED) == 0;
        if (item.id != -1) m_byId.emplace(item.id, m_controls.size());
        created.push_back(!control.deferred);
        m_controls.push_back(std::move(control));
    }
    return created;
}

// The dialog manager's controls stand in z-order as they stand in its template.
void DialogHost::TakeControlWindows() {
    HWND child = GetWindow(m_window, GW_CHILD);
    for (Control& control : m_controls) {
        if (control.deferred) continue;
        control.window = child;
        if (child != nullptr) child = GetWindow(child, GW_HWNDNEXT);
    }
}

DialogHost::Control* DialogHost::Deferred(int id) {
    const auto found = m_byId.find(id);
    if (found == m_byId.end()) return nullptr;
    Control& control = m_controls[found->second];
    return control.window == nullptr && control.deferred ? &control : nullptr;
}

const DialogHost::Control* DialogHost::Deferred(int id) const { return const_cast<DialogHost*>(this)->Deferred(id); }

HWND DialogHost::WindowOf(int id) const {
    if (m_window == nullptr) return nullptr;
    if (m_controls.empty()) return GetDlgItem(m_window, id);  // a template the host could not read
    const auto found = m_byId.find(id);
    return found == m_byId.end() ? nullptr : m_controls[found->second].window;
}

HWND DialogHost::Item(int id) const { return const_cast<DialogHost*>(this)->Made(id); }

// A control's window made as the dialog manager makes it, hidden, with what the control holds,
// and put in its template place in the z-order, which is also the tab order.
HWND DialogHost::Made(int id) {
    Control* control = Deferred(id);
    if (control == nullptr || m_window == nullptr) return WindowOf(id);
    const DialogItemResource& item = *control->item;
    const RECT rect = DeferredRect(item);
    DWORD style = (item.style | WS_CHILD) & ~static_cast<DWORD>(WS_VISIBLE | WS_DISABLED);
    if (!control->enabled) style |= WS_DISABLED;
    HWND window = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, item.ClassName().c_str(), control->text.c_str(),
                                  style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), m_module, nullptr);
    if (window == nullptr) return nullptr;
    control->window = window;
    control->text.clear();
    const auto font = m_itemFonts.find(id);
    if (font != m_itemFonts.end()) {
        SendFont(id, m_fonts[static_cast<std::size_t>(font->second) - 1].handle, false);
    } else {
        SendMessageW(window, WM_SETFONT, static_cast<WPARAM>(SendMessageW(m_window, WM_GETFONT, 0, 0)), FALSE);
    }
    // Beneath the nearest earlier control that has a window, else above them all.
    HWND above = HWND_TOP;
    for (auto earlier = m_controls.begin() + (control - m_controls.data()); earlier != m_controls.begin();) {
        if ((--earlier)->window != nullptr) {
            above = earlier->window;
            break;
        }
    }
    SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return window;
}

// Where the control stands in the layout of the moment: the dialog manager's own at 96 dots per
// inch, with position and size each converted on its own as it converts them, else the 96-DPI
// layout scaled.
RECT DialogHost::DeferredRect(const DialogItemResource& item) const {
    if (m_layoutDpi != kStandardDpi) {
        return ItemRectForDpi(item, TemplateBaseUnits(*m_template, kStandardDpi), m_layoutDpi);
    }
    RECT position{item.rect.x, item.rect.y, 0, 0};
    RECT size{0, 0, item.rect.width, item.rect.height};
    MapDialogRect(m_window, &position);
    MapDialogRect(m_window, &size);
    return {position.left, position.top, position.left + size.right, position.top + size.bottom};
}

bool DialogHost::HasVisibleStyle(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

bool DialogHost::IsShown(HWND control) const {
    return control != nullptr && HasVisibleStyle(control) && HasVisibleStyle(m_window);
}

void DialogHost::SetItemText(int id, const std::string& text) {
    HWND control = WindowOf(id);
    if (control == nullptr) {
        if (Control* deferred = Deferred(id)) deferred->text = Wide(text);
        return;
    }
    if (const auto marked = m_marked.find(id); marked != m_marked.end()) {
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        SetWindowLongW(control, GWL_STYLE, (style & ~SS_TYPEMASK) | marked->second.plainType);
        m_marked.erase(marked);
        InvalidateRect(control, nullptr, TRUE);
    }
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

// The window keeps the text, which a screen reader reads; the runs are drawn in its place.
void DialogHost::SetItemMarkedText(int id, const std::string& text, std::span<const TextRun> runs) {
    SetItemText(id, text);
    HWND control = Made(id);
    if (control == nullptr) return;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    m_marked[id] = {std::vector<TextRun>(runs.begin(), runs.end()), style & SS_TYPEMASK};
    SetWindowLongW(control, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_OWNERDRAW);
    InvalidateRect(control, nullptr, TRUE);
}

INT_PTR DialogHost::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const auto marked = m_marked.find(static_cast<int>(item.CtlID));
    if (item.CtlType != ODT_STATIC || marked == m_marked.end()) return FALSE;
    const std::vector<TextRun>& runs = marked->second.runs;
    HDC dc = item.hDC;
    const RECT area = item.rcItem;
    // The background the static would have had.
    const auto brush = static_cast<HBRUSH>(reinterpret_cast<HGDIOBJ>(DefWindowProcW(
        m_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item.hwndItem))));
    FillRect(dc, &area, brush);
    LOGFONTW base{};
    const auto controlFont = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    GetObjectW(controlFont ? static_cast<HGDIOBJ>(controlFont) : GetStockObject(DEFAULT_GUI_FONT), sizeof base, &base);

    std::vector<std::wstring> texts;
    for (const TextRun& run : runs) texts.push_back(Wide(run.text));
    const auto fontOf = [&](const TextRun& run, LONG height) {
        LOGFONTW font = base;
        font.lfHeight = height;
        font.lfWidth = 0;
        font.lfWeight = run.bold ? FW_BOLD : FW_NORMAL;
        font.lfUnderline = run.underline;
        font.lfStrikeOut = run.strikeOut;
        return CreateFontIndirectW(&font);
    };
    const auto widthAt = [&](LONG height) {
        LONG total = 0;
        for (std::size_t k = 0; k < runs.size(); ++k) {
            HFONT font = fontOf(runs[k], height);
            const HGDIOBJ old = SelectObject(dc, font);
            SIZE size{};
            GetTextExtentPoint32W(dc, texts[k].c_str(), static_cast<int>(texts[k].size()), &size);
            SelectObject(dc, old);
            DeleteObject(font);
            total += size.cx;
        }
        return total;
    };
    // One line; a line wider than the control is drawn in a smaller font until it fits.
    const LONG available = area.right - area.left;
    LONG height = base.lfHeight;
    LONG width = widthAt(height);
    if (width > available && width > 0) {
        height = static_cast<LONG>(static_cast<long long>(height) * available / width);
        width = widthAt(height);
    }
    const LONG type = marked->second.plainType;
    LONG x = area.left;
    if (type == SS_CENTER) x += std::max<LONG>(0, (available - width) / 2);
    if (type == SS_RIGHT) x += std::max<LONG>(0, available - width);
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t k = 0; k < runs.size(); ++k) {
        HFONT font = fontOf(runs[k], height);
        const HGDIOBJ old = SelectObject(dc, font);
        SetTextColor(dc, runs[k].colour);
        TextOutW(dc, x, area.top, texts[k].c_str(), static_cast<int>(texts[k].size()));
        SIZE size{};
        GetTextExtentPoint32W(dc, texts[k].c_str(), static_cast<int>(texts[k].size()), &size);
        x += size.cx;
        SelectObject(dc, old);
        DeleteObject(font);
    }
    return TRUE;
}

void DialogHost::CheckItem(int id, bool checked) {
    if (HWND control = Made(id)) SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool DialogHost::IsItemChecked(int id) const {
    HWND control = WindowOf(id);
    return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string DialogHost::GetItemText(int id) const {
    if (const Control* deferred = Deferred(id)) return Gbk(deferred->text);
    return Gbk(WindowText(WindowOf(id)));
}

void DialogHost::ShowItem(int id, bool show) {
    // A control without a window is hidden; the first show makes it.
    HWND control = show ? Made(id) : WindowOf(id);
    if (control == nullptr) return;
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

bool DialogHost::IsItemVisible(int id) const { return IsShown(WindowOf(id)); }

void DialogHost::EnableItem(int id, bool enable) {
    if (Control* deferred = Deferred(id)) {
        deferred->enabled = enable;
        return;
    }
    EnableWindow(WindowOf(id), enable ? TRUE : FALSE);
}

bool DialogHost::IsItemEnabled(int id) const {
    if (const Control* deferred = Deferred(id)) return deferred->enabled;
    return IsWindowEnabled(WindowOf(id)) != FALSE;
}

void DialogHost::SetItemFocus(int id) { SetFocus(Made(id)); }

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

// What the changes since the last painting touched is painted now, backgrounds included: each
// control the drill changes invalidates itself, and a hidden one the part of the dialog beneath
// it, so the dialog then looks as after a repaint of the whole of it (the Enter benchmark compares
// the two screen by screen), at a fraction of its time: the poster, the frames and every control
// drawn again made most of the time of a next row's Enter.
void DialogHost::RepaintDialog() { UpdateWindow(m_window); }

bool DialogHost::AskYesNo(const std::string& text, const std::string& caption) {
    return MessageBoxW(m_window, Wide(text).c_str(), Wide(caption).c_str(), MB_YESNO) == IDYES;
}

// CB_ messages send the dialog no notification: only the pupil's own choices reach it.
void DialogHost::AddComboItem(int id, const std::string& text) {
    SendMessageW(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void DialogHost::RemoveComboItem(int id, int index) {
    HWND combo = Item(id);
    const bool selected = SendMessageW(combo, CB_GETCURSEL, 0, 0) == index;
    SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    if (selected) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void DialogHost::SelectComboItem(int id, int index) {
    SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogHost::Tell(const std::string& text, const std::string& caption) {
    MessageBoxW(m_window, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONINFORMATION);
}

std::optional<std::filesystem::path> DialogHost::AskFileToOpen(const std::string& title, const std::string& filterName,
                                                               std::span<const std::string_view> patterns) {
    // The filter is pairs of a shown name and its patterns, each ended by a null, the list by another.
    std::wstring globs;
    for (std::string_view pattern : patterns) {
        if (!globs.empty()) globs += L';';
        globs += Wide(pattern);
    }
    std::wstring filter = Wide(filterName) + L" (" + globs + L')';
    filter += L'\0';
    filter += globs;
    filter += L'\0';
    filter += L'\0';
    const std::wstring caption = Wide(title);
    // Room for the longest path the system has.
    std::wstring file(32768, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = m_window;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrTitle = caption.c_str();
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_DONTADDTORECENT;
    // The dialog makes the chosen file's folder the process's current one (OFN_NOCHANGEDIR does
    // not hold for an open dialog), which would keep that folder, a memory stick's say, in use to
    // the end of the program; the one the program started in is put back.
    std::wstring startedIn(GetCurrentDirectoryW(0, nullptr), L'\0');
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(startedIn.size()), startedIn.data());
    startedIn.resize(length < startedIn.size() ? length : 0);
    const BOOL chosen = GetOpenFileNameW(&request);
    if (!startedIn.empty()) SetCurrentDirectoryW(startedIn.c_str());
    if (!chosen) return std::nullopt;
    file.resize(std::wcslen(file.c_str()));
    return std::filesystem::path(file);
}

void DialogHost::SetWindowIcons() {
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
}

}  // namespace zembra::win32
